// LoadSetup and SaveSetup: the main window's state kept in "generate.stp"
// beside the program between runs.
#include <QAction>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QPlainTextEdit>
#include <QSaveFile>
#include <QScreen>
#include <QToolButton>

#include "deals/DealCollection.h"
#include "mainwindow/MainWindow.h"
#include "widgets/NumberField.h"
#include "files/SetupFormat.h"

namespace {
// A restored size below this is no window anyone could use: the default stays.
constexpr int SmallestRestoredSide = 100;

QString FileFailure(const QString& fileName, const QString& reason) {
    return QDir::toNativeSeparators(fileName) + QStringLiteral(": ") + reason;
}
}  // namespace

void TMainWindow::LoadSetup() {
    QFile file(SetupFileName());
    if (!file.exists()) return;
    if (!file.open(QIODevice::ReadOnly)) {
        ShowFileError(FileFailure(file.fileName(), file.errorString()));
        return;  // the defaults stay
    }
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        ShowFileError(FileFailure(file.fileName(), file.errorString()));  // what was read is used
    file.close();
    const TSetupContent content = ParseSetup(bytes);
    const TStateRecord& state = content.State;

    for (int seat = 1; seat <= 4; ++seat) {
        const bool shown = state.SeatShown[seat - 1];
        tbSeats[seat - 1]->setChecked(shown);
        itmSeats[seat - 1]->setChecked(shown);
        SetSeatVisible(seat, shown);
    }
    seKeyValue->SetValue(state.KeyValue);
    seTotal->SetValue(state.Total);
    seCurrentDeal->SetValue(state.CurrentDeal);
    seColumnsCount->SetValue(state.ColumnsCount);

    move(state.Left, state.Top);
    // A size that is missing, tiny or larger than the screens could hold (a
    // damaged file) keeps the default of that side.
    const QSize screens = screen() ? screen()->availableVirtualSize() : QSize(4096, 4096);
    auto restored = [](bool has, int side, int largest, int fallback) {
        return has && side >= SmallestRestoredSide && side <= largest ? side : fallback;
    };
    const int restoredWidth = restored(state.HasWidth, state.Width, screens.width(), -1);
    const int restoredHeight = restored(state.HasHeight, state.Height, screens.height(), -1);
    if (restoredWidth > 0) clientToFit_.setWidth(-1);
    if (restoredHeight > 0) clientToFit_.setHeight(-1);
    resize(restoredWidth > 0 ? restoredWidth : width(),
           restoredHeight > 0 ? restoredHeight : height());
    if (state.WindowState == 2) setWindowState(Qt::WindowMaximized);

    dealsChooser_.Folder = content.DealsFolder;
    conditionsChooser_.Folder = content.ConditionsFolder;
    const TFixedCardsReading fixed = ReadFixedCards(state.FixedCards.toStdString());
    if (!fixed.Error.empty())
        ShowFileError(FileFailure(file.fileName(), QString::fromStdString(fixed.Error)));
    SetFixedCards(fixed.Cards);

    for (const QByteArray& line : content.DealLines) {
        TDeal deal;
        deal.FromText(std::string_view(line.constData(), size_t(line.size())));
        run_->Deals().Add(deal);
    }
    RichEdit->setPlainText(content.ConditionLines.join(u'\n'));
    RichEdit->moveCursor(QTextCursor::Start);

    if (run_->Deals().Count() > 0) {
        SetDealRange(1, run_->Deals().Count());
        ShowDealCount();
        DisplayDeal(-1);
    }
}

void TMainWindow::SaveSetup() {
    if (!QDir(setupFolder_).exists()) return;
    TSetupContent content;
    TStateRecord& state = content.State;
    for (int seat = 1; seat <= 4; ++seat) state.SeatShown[seat - 1] = SeatShown(seat);
    state.KeyValue = seKeyValue->Value();
    state.Total = seTotal->Value();
    state.CurrentDeal = seCurrentDeal->Value();
    state.ColumnsCount = seColumnsCount->Value();
    state.WindowState = isMaximized() ? 2 : isMinimized() ? 1 : 0;
    // A maximised or minimised window keeps the bounds it returns to.
    const QRect bounds = state.WindowState == 0 ? QRect(pos(), size()) : normalGeometry();
    state.Left = bounds.left();
    state.Top = bounds.top();
    state.Width = bounds.width();
    state.Height = bounds.height();
    state.FixedCards = QString::fromStdString(fixedCards_.ToText());
    content.DealsFolder = dealsChooser_.Folder;
    content.ConditionsFolder = conditionsChooser_.Folder;
    for (int index = 0; index < run_->Deals().Count(); ++index)
        content.DealLines.append(QByteArray::fromStdString(run_->Deals().GetDeal(index)->ToText()));
    content.ConditionLines = ConditionLines();

    // A new file replaces the old one only once it is whole, so a failure never
    // destroys the state saved before.
    QSaveFile file(SetupFileName());
    if (!file.open(QIODevice::WriteOnly) || file.write(FormatSetup(content)) < 0 || !file.commit())
        ShowFileError(FileFailure(SetupFileName(), file.errorString()));
}
