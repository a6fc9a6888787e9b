#include "reports/windows/EditorWindow.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QPainterPath>
#include <QPlainTextEdit>
#include <QPrinter>
#include <QTextBlock>
#include <QToolBar>
#include <QVBoxLayout>

#include "reports/DealListing.h"
#include "reports/StatisticsReport.h"
#include "reports/windows/ReportFiles.h"
#include "reports/windows/ReportPrinting.h"
#include "reports/windows/ReportServices.h"
#include "reports/windows/internal/ReportPages.h"
#include "widgets/ScreenFit.h"

namespace {

// The report font: Courier New 9 points (12 pixels at 96 dots per inch); where
// it is missing, Liberation Mono has the same metrics.
QFont ReportFont() {
    QFont font;
    font.setFamilies({QStringLiteral("Courier New"), QStringLiteral("Liberation Mono")});
    font.setStyleHint(QFont::TypeWriter);
    font.setFixedPitch(true);
    font.setPointSize(9);
    return font;
}

// The tool bar pictures and the window icon, drawn at 16 by 16.
QIcon DrawnIcon(void (*draw)(QPainter&)) {
    QPixmap pixmap(16, 16);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    draw(painter);
    return QIcon(pixmap);
}

void DrawPrinter(QPainter& p) {
    p.setPen(QPen(QColor(40, 40, 40), 1));
    p.setBrush(Qt::white);
    p.drawRect(QRectF(4.5, 1.5, 7, 5));  // sheet going in
    p.setBrush(QColor(150, 150, 160));
    p.drawRoundedRect(QRectF(1.5, 6.5, 13, 6), 1, 1);  // body
    p.setBrush(Qt::white);
    p.drawRect(QRectF(4.5, 10.5, 7, 4));  // sheet coming out
    p.setPen(QColor(60, 160, 60));
    p.drawPoint(QPointF(12.5, 8.5));
}

void DrawDisk(QPainter& p) {
    p.setPen(QPen(QColor(20, 30, 80), 1));
    p.setBrush(QColor(50, 80, 170));
    QPainterPath body;
    body.moveTo(1.5, 1.5);
    body.lineTo(12.5, 1.5);
    body.lineTo(14.5, 3.5);
    body.lineTo(14.5, 14.5);
    body.lineTo(1.5, 14.5);
    body.closeSubpath();
    p.drawPath(body);
    p.setBrush(Qt::white);
    p.drawRect(QRectF(3.5, 1.5, 8, 5));  // label
    p.setBrush(QColor(190, 190, 200));
    p.drawRect(QRectF(4.5, 9.5, 7, 5));  // shutter
}

void DrawPage(QPainter& p) {
    p.setPen(QPen(QColor(60, 60, 60), 1));
    p.setBrush(Qt::white);
    p.drawRect(QRectF(2.5, 0.5, 11, 15));
    p.setPen(QColor(40, 40, 140));
    for (qreal y = 3.5; y < 14; y += 2) p.drawLine(QPointF(4.5, y), QPointF(11.5, y));
}

}  // namespace

TEditorWindow::TEditorWindow(QWidget* owner, TReportServices* services)
    : QDialog(owner),
      OwnServices(services ? nullptr : std::make_unique<TDesktopReportServices>()),
      Services(services ? services : OwnServices.get()) {
    setObjectName(QStringLiteral("EditorWindow"));
    setWindowFlags(Qt::Window);
    setWindowIcon(DrawnIcon(DrawPage));
    setGeometry(25, 82, 757, 450);
    FitIntoScreen(this);

    ToolBar1 = new QToolBar(this);
    ToolBar1->setObjectName(QStringLiteral("ToolBar1"));
    ToolBar1->setFixedHeight(29);
    ToolBar1->setToolButtonStyle(Qt::ToolButtonIconOnly);
    tbPrint = ToolBar1->addAction(DrawnIcon(DrawPrinter), QString());
    tbPrint->setObjectName(QStringLiteral("tbPrint"));
    tbSave = ToolBar1->addAction(DrawnIcon(DrawDisk), QString());
    tbSave->setObjectName(QStringLiteral("tbSave"));
    connect(tbPrint, &QAction::triggered, this, &TEditorWindow::tbPrintClick);
    connect(tbSave, &QAction::triggered, this, &TEditorWindow::tbSaveClick);

    RichEdit = new QPlainTextEdit(this);
    RichEdit->setObjectName(QStringLiteral("RichEdit"));
    RichEdit->setFont(ReportFont());
    RichEdit->setLineWrapMode(QPlainTextEdit::NoWrap);
    RichEdit->setTabStopDistance(
        kTabColumns * QFontMetricsF(RichEdit->font()).horizontalAdvance(QLatin1Char(' ')));
    // No scroll bars: the view follows the caret (and the wheel).
    RichEdit->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    RichEdit->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(6);
    layout->addWidget(ToolBar1);
    layout->addWidget(RichEdit, 1);
    RichEdit->setFocus();
}

TEditorWindow::~TEditorWindow() = default;

void TEditorWindow::ShowStatistics(TDeals& deals) {
    listing_ = false;
    FillLines(QStringLiteral("Статистика"), StatisticsReportLines(deals));
}

void TEditorWindow::ShowAnalysis(const std::vector<std::string>& lines) {
    listing_ = false;
    FillLines(QStringLiteral("Анализ в открытую"), lines);
}

void TEditorWindow::ShowListing(TDeals& deals, bool north, bool east, bool south, bool west,
                                int columns) {
    listing_ = true;
    FillLines(QStringLiteral("Просмотр раздач"),
              DealListingLines(deals, TListingSeats{north, east, south, west}, columns));
}

void TEditorWindow::FillLines(const QString& caption, const std::vector<std::string>& lines) {
    setWindowTitle(caption);
    QString text;
    std::size_t size = 0;
    for (const std::string& line : lines) size += line.size() + 1;
    text.reserve(static_cast<qsizetype>(size));
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (i > 0) text += QLatin1Char('\n');
        text += QString::fromStdString(lines[i]);
    }
    // One replacement of the whole text, with the area not painting meanwhile.
    RichEdit->setUpdatesEnabled(false);
    RichEdit->setPlainText(text);
    RichEdit->moveCursor(QTextCursor::Start);
    RichEdit->setUpdatesEnabled(true);
    RichEdit->ensureCursorVisible();
}

QStringList TEditorWindow::ReportLines() const {
    QStringList lines;
    for (QTextBlock block = RichEdit->document()->begin(); block.isValid(); block = block.next())
        // A line break typed inside a paragraph is a line break in the file too.
        lines += block.text().split(QChar::LineSeparator);
    return lines;
}

void TEditorWindow::tbSaveClick() {
    const std::optional<TSaveChoice> choice = Services->ChooseSaveFile(this);
    if (!choice) return;
    const QString failure =
        WriteReportFile(choice->Path, FormatOfFileType(choice->TypeIndex), ReportLines());
    if (!failure.isEmpty()) Services->ShowError(this, choice->Path + QLatin1Char('\n') + failure);
}

void TEditorWindow::tbPrintClick() {
    QPrinter printer(QPrinter::HighResolution);
    printer.setDocName(QString());
    printer.setFullPage(false);
    SetUsualMargins(printer);
    const QStringList lines = ReportLines();
    // A row of deal diagrams, or a paragraph of any other report, is kept on one page.
    const QList<qsizetype> groups = listing_ ? DealRowStarts(lines) : ParagraphStarts(lines);
    bool failed = false;
    const bool printed = Services->PreviewAndPrint(this, printer, [&](QPrinter& target) {
        // Whatever range or selection the dialog chose, the whole report is printed.
        target.setPrintRange(QPrinter::AllPages);
        failed = PrintReport(target, RichEdit->font(), lines, groups,
                             listing_ ? kSmallestListingPoints : kSmallestPrintPoints) < 0;
    });
    if (printed && failed) Services->ShowError(this, PrinterFailureText(printer));
}
