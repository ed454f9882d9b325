#pragma once
// The screens as the window layer sees them, for PlaceWindow (settings/WindowPlace.h).

#include <QPoint>
#include <QRect>

class QWidget;

namespace kel {

// `bounds` (outer bounds, frame included) placed on the screens' available areas: kept on the
// screen they overlap most when that overlap can be grabbed, otherwise at `defaultPos` on the
// primary screen; always limited to and moved inside that screen's available area.
QRect PlaceOnScreens(const QRect& bounds, const QPoint& defaultPos);

// Moves and sizes a top-level window so that its frame lies within a screen's available area
// (its frame as far as it is known yet).
void KeepOnScreen(QWidget& window, const QPoint& defaultPos);

} // namespace kel
