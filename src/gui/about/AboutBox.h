#pragma once

class QWidget;

namespace orlenta {

// Shows the About box with the years from firstYear to this year, fading it in and out, and
// returns once it has closed. mainWindow stays disabled meanwhile and is enabled again however
// the box ends.
void ShowAboutBox(QWidget* mainWindow, int firstYear);

} // namespace orlenta
