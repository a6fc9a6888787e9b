#include "printing/HandoutPainter.h"

#include <QBuffer>
#include <QFont>
#include <QFontMetricsF>
#include <QPageSize>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPdfWriter>
#include <cerrno>
#include <string_view>
#include <system_error>

#include "text/FileError.h"
#include "text/ReplacingFile.h"

namespace {

constexpr double kPointsPerInch = 72;

// Draws the texts and frames of pages in points, whatever the device's resolution.
class THandoutPainter {
public:
    explicit THandoutPainter(QPagedPaintDevice& device)
        : device_(device), scale_(device.logicalDpiY() / kPointsPerInch) {}

    bool Begin() {
        if (!painter_.begin(&device_)) return false;
        painter_.scale(device_.logicalDpiX() / kPointsPerInch, scale_);
        return true;
    }
    void End() { painter_.end(); }

    void Draw(const THandoutPage& page) {
        painter_.setPen(QPen(Qt::black, 0.6));
        for (const THandoutFrame& frame : page.Frames)
            painter_.drawRect(QRectF(frame.Left, frame.Top, frame.Width, frame.Height));
        for (const THandoutText& text : page.Texts) Draw(text);
    }

private:
    // The font at `size` points on the page (the painter's scale undone).
    QFont Font(double size, bool bold) const {
        QFont font(QStringLiteral("DejaVu Sans"));
        font.setStyleHint(QFont::SansSerif);
        font.setBold(bold);
        font.setPointSizeF(size / scale_);
        return font;
    }

    void Draw(const THandoutText& text) {
        const QString string = QString::fromStdString(text.Text);
        QFont font = Font(text.Size, text.Bold);
        // The baseline of the text at its own size, in the middle of its box:
        // a text set smaller keeps the line of its neighbours.
        const QFontMetricsF metrics(font, &device_);
        const qreal baseline =
            text.Top + (text.Height - metrics.ascent() - metrics.descent()) / 2 + metrics.ascent();
        // A text too wide for its box is set smaller, never over the box's edge.
        qreal width = metrics.horizontalAdvance(string);
        if (width > text.Width && width > 0) {
            font = Font(text.Size * text.Width / width * 0.98, text.Bold);
            width = QFontMetricsF(font, &device_).horizontalAdvance(string);
        }
        qreal left = text.Left;
        if (text.Align == THandoutAlign::Centre) left += (text.Width - width) / 2;
        if (text.Align == THandoutAlign::Right) left += text.Width - width;
        painter_.setFont(font);
        painter_.setPen(text.Red ? QColor(200, 0, 0) : QColor(Qt::black));
        painter_.drawText(QPointF(left, baseline), string);
    }

    QPagedPaintDevice& device_;
    qreal scale_;
    QPainter painter_;
};

}  // namespace

void SetHandoutPaper(QPagedPaintDevice& device, const THandoutOptions& options) {
    device.setPageSize(
        QPageSize(options.Paper == THandoutPaper::Letter ? QPageSize::Letter : QPageSize::A4));
    device.setPageOrientation(QPageLayout::Portrait);
    device.setPageMargins(QMarginsF(0, 0, 0, 0));
}

bool PaintHandout(QPagedPaintDevice& device, std::span<const TBoard> boards,
                  const THandoutOptions& options) {
    THandoutPainter painter(device);
    if (!painter.Begin()) return false;
    const int32_t pages = HandoutPageCount(static_cast<int64_t>(boards.size()), options);
    for (int32_t page = 0; page < pages; ++page) {
        if (page > 0) device.newPage();
        painter.Draw(HandoutPage(boards, options, page));
    }
    painter.End();
    return true;
}

QString WriteHandoutPdf(const QString& fileName, std::span<const TBoard> boards,
                        const THandoutOptions& options) {
    // Drawn in memory, then saved as every file of the program is: whole or
    // not at all, keeping the old file's owner and mode, and straight into a
    // device or a pipe rather than in place of it.
    QByteArray bytes;
    {
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        QPdfWriter writer(&buffer);
        writer.setCreator(QStringLiteral("Korvana"));
        writer.setTitle(QString::fromStdString(options.Title));
        SetHandoutPaper(writer, options);
        if (!PaintHandout(writer, boards, options)) return QStringLiteral("не удалось начать PDF");
    }
    try {
        TReplacingFile file(fileName.toStdString());
        file.Write(std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())));
        file.Commit();
    } catch (const TFileError& failure) {
        return failure.ErrorNumber() == EINVAL
                   ? QString::fromStdString(failure.what())
                   : QString::fromStdString(std::system_category().message(failure.ErrorNumber()));
    }
    return {};
}
