#pragma once
// A fixed offscreen screen (by default 1280 x 1024 pixels) at 96 dpi, so that tests, screenshots and
// benchmarks see the same geometry on every machine.

class QString;

namespace kel {

// Writes the screen description into `folder` and, when no platform or the plain offscreen
// platform is asked for, selects the offscreen platform with it. Call before QApplication.
void UseFixedOffscreenScreen(const QString& folder, int width = 1280, int height = 1024);

} // namespace kel
