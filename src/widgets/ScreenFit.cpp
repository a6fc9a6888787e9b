#include "widgets/ScreenFit.h"

#include <QGuiApplication>
#include <QScreen>
#include <QTimer>
#include <QWidget>
#include <algorithm>

namespace {

void Fit(QWidget* window) {
    const QScreen* screen = window->screen() ? window->screen() : QGuiApplication::primaryScreen();
    if (screen == nullptr) return;
    const QRect area = screen->availableGeometry();
    // The frame (title bar, borders) beside the client size, as far as it is known.
    const QSize frame = window->frameGeometry().size() - window->size();
    const QSize room = (area.size() - frame).expandedTo(QSize(1, 1));
    if (window->width() > room.width() || window->height() > room.height())
        window->resize(window->size().boundedTo(room));
    const QSize outer = window->size() + frame;
    const int left = std::clamp(window->x(), area.left(), area.right() + 1 - outer.width());
    const int top = std::clamp(window->y(), area.top(), area.bottom() + 1 - outer.height());
    if (left != window->x() || top != window->y()) window->move(left, top);
}

}  // namespace

void FitIntoScreen(QWidget* window) {
    Fit(window);
    // Once shown, the window's frame is known: fit the frame too.
    QTimer::singleShot(0, window, [window] { Fit(window); });
}
