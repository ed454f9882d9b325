#pragma once
// The program's own pictures, drawn at run time.

#include <QIcon>
#include <QPixmap>

namespace kel {

// A stopwatch over a chequered strip: the window, task-bar, tray and About box icon.
QIcon AppIcon();
QPixmap AppIconPixmap(int size);

// The 21 x 24 picture of the filter button: a funnel.
QPixmap FilterPicture();

// The 21 x 24 picture of the progress button: falling times with a best-so-far step.
QPixmap ProgressPicture();

} // namespace kel
