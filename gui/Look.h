#pragma once
// Fonts and colours of the window. The window was laid out for "MS Sans Serif" 8 pt and bold
// "Tahoma" 8 pt; where those are missing a close sans-serif of the same pixel size stands in.

#include <QColor>
#include <QFont>

namespace kel {

QFont WindowFont();       // "MS Sans Serif" 8 pt (11 pixels)
QFont ValueFont();        // bold "Tahoma" 8 pt, the panel values
QFont PanelCaptionFont(); // bold 10 pt, captions of the three panels
QFont AboutTitleFont();   // bold 11 pt

inline const QColor Maroon{128, 0, 0};
inline const QColor Navy{0, 0, 128};

} // namespace kel
