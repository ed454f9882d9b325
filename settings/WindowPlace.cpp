#include "settings/WindowPlace.h"

#include <algorithm>

namespace kel {
namespace {

// Edges in 64 bits: saved values may be anything a settings file holds.
int64_t Overlap(int64_t a0, int64_t a1, int64_t b0, int64_t b1) { return std::max<int64_t>(0, std::min(a1, b1) - std::max(a0, b0)); }

int32_t KeepInside(int64_t pos, int32_t size, int32_t areaPos, int32_t areaSize) {
    const int64_t last = static_cast<int64_t>(areaPos) + areaSize - size;
    return static_cast<int32_t>(std::clamp<int64_t>(pos, areaPos, std::max<int64_t>(areaPos, last)));
}

} // namespace

WindowRect PlaceWindow(const WindowRect& saved, std::span<const WindowRect> screens, int32_t defaultX,
                       int32_t defaultY) {
    if (screens.empty())
        return saved;
    const int64_t left = saved.X, top = saved.Y;
    const int64_t right = left + std::max(0, saved.Width), bottom = top + std::max(0, saved.Height);
    const WindowRect* screen = nullptr;
    int64_t bestArea = -1;
    for (const WindowRect& s : screens) {
        const int64_t w = Overlap(left, right, s.X, static_cast<int64_t>(s.X) + s.Width);
        const int64_t h = Overlap(top, bottom, s.Y, static_cast<int64_t>(s.Y) + s.Height);
        if (w >= MinVisibleWidth && h >= MinVisibleHeight && w * h > bestArea) {
            bestArea = w * h;
            screen = &s;
        }
    }
    WindowRect placed = saved;
    if (!screen) {
        screen = &screens.front();
        placed.X = defaultX;
        placed.Y = defaultY;
    }
    placed.Width = std::clamp(saved.Width, 1, std::max(1, screen->Width));
    placed.Height = std::clamp(saved.Height, 1, std::max(1, screen->Height));
    placed.X = KeepInside(placed.X, placed.Width, screen->X, screen->Width);
    placed.Y = KeepInside(placed.Y, placed.Height, screen->Y, screen->Height);
    return placed;
}

} // namespace kel
