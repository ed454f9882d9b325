#include "gui/ScreenPlace.h"

#include "settings/WindowPlace.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

#include <vector>

namespace kel {

QRect PlaceOnScreens(const QRect& bounds, const QPoint& defaultPos) {
    std::vector<WindowRect> areas;
    const QScreen* primary = QGuiApplication::primaryScreen();
    if (primary) {
        const QRect a = primary->availableGeometry();
        areas.push_back({a.x(), a.y(), a.width(), a.height()});
    }
    for (const QScreen* screen : QGuiApplication::screens())
        if (screen != primary) {
            const QRect a = screen->availableGeometry();
            areas.push_back({a.x(), a.y(), a.width(), a.height()});
        }
    const WindowRect placed =
        PlaceWindow({bounds.x(), bounds.y(), bounds.width(), bounds.height()}, areas, defaultPos.x(), defaultPos.y());
    return {placed.X, placed.Y, placed.Width, placed.Height};
}

void KeepOnScreen(QWidget& window, const QPoint& defaultPos) {
    const QRect frame = window.frameGeometry();
    const QRect placed = PlaceOnScreens(frame, defaultPos);
    if (placed == frame)
        return;
    const QSize extra = frame.size() - window.size();
    window.move(placed.topLeft());
    window.resize(placed.size() - extra);
}

} // namespace kel
