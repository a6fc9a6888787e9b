#include "mainwindow/ToolbarImages.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace {

constexpr int Size = 16;

void DrawLetter(QPainter& painter, const QString& letter, const QColor& color) {
    QFont font(QStringLiteral("Liberation Sans"));
    font.setPixelSize(13);
    font.setBold(true);
    painter.setFont(font);
    painter.setPen(color);
    painter.drawText(QRect(0, 0, Size, Size), Qt::AlignCenter, letter);
}

void DrawOpen(QPainter& p) {
    p.setPen(QColor(120, 90, 0));
    p.setBrush(QColor(240, 200, 80));
    p.drawPolygon(QPolygonF({{1, 3}, {6, 3}, {7, 5}, {14, 5}, {14, 13}, {1, 13}}));
    p.setBrush(QColor(255, 225, 120));
    p.drawPolygon(QPolygonF({{3, 7}, {15.5, 7}, {13.5, 13}, {1, 13}}));
}

void DrawSave(QPainter& p) {
    p.setPen(QColor(0, 0, 80));
    p.setBrush(QColor(40, 70, 160));
    p.drawRect(QRectF(1.5, 1.5, 13, 13));
    p.setBrush(Qt::white);
    p.drawRect(QRectF(4, 2, 8, 5));
    p.setBrush(QColor(200, 200, 200));
    p.drawRect(QRectF(4.5, 9.5, 7, 5));
}

void DrawGenerate(QPainter& p) {
    // A fanned pair of cards.
    p.setPen(QColor(60, 60, 60));
    p.setBrush(Qt::white);
    p.save();
    p.translate(8, 8);
    p.rotate(-15);
    p.drawRoundedRect(QRectF(-6, -7, 9, 13), 1.5, 1.5);
    p.rotate(30);
    p.drawRoundedRect(QRectF(-3, -7, 9, 13), 1.5, 1.5);
    p.restore();
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(200, 0, 0));
    QPainterPath heart;
    heart.moveTo(10, 12);
    heart.cubicTo(6, 9, 7, 5, 10, 7.5);
    heart.cubicTo(13, 5, 14, 9, 10, 12);
    p.drawPath(heart);
}

void DrawPrint(QPainter& p) {
    p.setPen(QColor(60, 60, 60));
    p.setBrush(Qt::white);
    p.drawRect(QRectF(4.5, 1.5, 7, 6));
    p.setBrush(QColor(170, 170, 170));
    p.drawRect(QRectF(1.5, 6.5, 13, 6));
    p.setBrush(Qt::white);
    p.drawRect(QRectF(4.5, 10.5, 7, 4));
    p.setPen(QColor(0, 160, 0));
    p.drawPoint(QPointF(12.5, 8.5));
}

void DrawFunction(QPainter& p) {
    QFont font(QStringLiteral("Liberation Serif"));
    font.setPixelSize(14);
    font.setItalic(true);
    font.setBold(true);
    p.setFont(font);
    p.setPen(QColor(0, 0, 128));
    p.drawText(QRect(0, 0, Size, Size), Qt::AlignCenter, QStringLiteral("f"));
}

void DrawClear(QPainter& p) {
    QPen pen(QColor(200, 0, 0), 2.5, Qt::SolidLine, Qt::RoundCap);
    p.setPen(pen);
    p.drawLine(QPointF(3.5, 3.5), QPointF(12.5, 12.5));
    p.drawLine(QPointF(12.5, 3.5), QPointF(3.5, 12.5));
}

void DrawStatistics(QPainter& p) {
    p.setPen(QColor(40, 40, 40));
    p.drawLine(QPointF(1.5, 14.5), QPointF(14.5, 14.5));
    const QColor colors[3] = {QColor(0, 0, 160), QColor(0, 140, 0), QColor(200, 0, 0)};
    const double heights[3] = {6, 11, 8};
    for (int bar = 0; bar < 3; ++bar) {
        p.setBrush(colors[bar]);
        p.drawRect(QRectF(2.5 + bar * 4, 14.5 - heights[bar], 3, heights[bar]));
    }
}

void DrawStop(QPainter& p) {
    p.setPen(QColor(120, 0, 0));
    p.setBrush(QColor(220, 30, 30));
    p.drawPolygon(
        QPolygonF({{5, 1}, {11, 1}, {15, 5}, {15, 11}, {11, 15}, {5, 15}, {1, 11}, {1, 5}}));
    p.setPen(QPen(Qt::white, 2));
    p.drawLine(QPointF(5, 8), QPointF(11, 8));
}

// A card held down by a red pin: cards fixed before dealing.
void DrawFixedCards(QPainter& p) {
    p.setPen(QColor(60, 60, 60));
    p.setBrush(Qt::white);
    p.drawRoundedRect(QRectF(2.5, 3.5, 9, 12), 1.5, 1.5);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0, 0, 0));
    QPainterPath spade;
    spade.moveTo(7, 8);
    spade.cubicTo(4, 11, 5, 13.5, 7, 12);
    spade.cubicTo(9, 13.5, 10, 11, 7, 8);
    p.drawPath(spade);
    p.setPen(QPen(QColor(90, 90, 90), 1.2));
    p.drawLine(QPointF(11, 5), QPointF(8.5, 8.5));
    p.setPen(QColor(120, 0, 0));
    p.setBrush(QColor(220, 30, 30));
    p.drawEllipse(QPointF(12, 3.5), 3, 3);
}

// A small table of tricks: a frame, its grid and a highlighted cell.
void DrawDoubleDummy(QPainter& p) {
    p.setPen(QColor(40, 40, 40));
    p.setBrush(QColor(255, 255, 230));
    p.drawRect(QRectF(1.5, 2.5, 13, 11));
    for (double x : {5.5, 9.5}) p.drawLine(QPointF(x, 2.5), QPointF(x, 13.5));
    for (double y : {6.5, 10.5}) p.drawLine(QPointF(1.5, y), QPointF(14.5, y));
    p.fillRect(QRectF(6, 7, 3, 3), QColor(200, 0, 0));
}

}  // namespace

QIcon ToolbarImage(TToolbarImage image) {
    QPixmap pixmap(Size * 2, Size * 2);
    pixmap.setDevicePixelRatio(2);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    switch (image) {
        case TToolbarImage::Open:
            DrawOpen(painter);
            break;
        case TToolbarImage::Save:
            DrawSave(painter);
            break;
        case TToolbarImage::Generate:
            DrawGenerate(painter);
            break;
        case TToolbarImage::Print:
            DrawPrint(painter);
            break;
        case TToolbarImage::Function:
            DrawFunction(painter);
            break;
        case TToolbarImage::North:
            DrawLetter(painter, QStringLiteral("N"), QColor(0, 0, 128));
            break;
        case TToolbarImage::East:
            DrawLetter(painter, QStringLiteral("E"), QColor(0, 0, 128));
            break;
        case TToolbarImage::South:
            DrawLetter(painter, QStringLiteral("S"), QColor(0, 0, 128));
            break;
        case TToolbarImage::West:
            DrawLetter(painter, QStringLiteral("W"), QColor(0, 0, 128));
            break;
        case TToolbarImage::Clear:
            DrawClear(painter);
            break;
        case TToolbarImage::Constant:
            DrawLetter(painter, QStringLiteral("C"), QColor(0, 110, 0));
            break;
        case TToolbarImage::Operator:
            DrawLetter(painter, QStringLiteral("±"), QColor(128, 0, 0));
            break;
        case TToolbarImage::Statistics:
            DrawStatistics(painter);
            break;
        case TToolbarImage::Stop:
            DrawStop(painter);
            break;
        case TToolbarImage::FixedCards:
            DrawFixedCards(painter);
            break;
        case TToolbarImage::DoubleDummy:
            DrawDoubleDummy(painter);
            break;
    }
    painter.end();
    return QIcon(pixmap);
}
