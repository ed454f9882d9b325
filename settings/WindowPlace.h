#pragma once
// Where a window opens: its saved bounds, kept on a screen that can show it.

#include <cstdint>
#include <span>

namespace kel {

struct WindowRect {
    int32_t X = 0;
    int32_t Y = 0;
    int32_t Width = 0;
    int32_t Height = 0;

    bool operator==(const WindowRect&) const = default;
};

// Least overlap of a window with a screen's work area that still counts as on that screen: a
// smaller piece cannot be grabbed to drag the window back.
inline constexpr int32_t MinVisibleWidth = 100;
inline constexpr int32_t MinVisibleHeight = 50;

// The bounds to open a window at. `screens` are the screens' available areas (the desktop less
// task bars), the primary screen first. A window that overlaps some screen's area by at least
// MinVisibleWidth x MinVisibleHeight stays on the screen it overlaps most; otherwise (a monitor
// since removed, hand-edited bounds) it moves to `defaultPos` on the primary screen. Either way
// its size is limited to that screen's area and it is moved, as little as possible, to lie
// wholly inside it. No screens: the bounds are returned unchanged.
WindowRect PlaceWindow(const WindowRect& saved, std::span<const WindowRect> screens, int32_t defaultX,
                       int32_t defaultY);

} // namespace kel
