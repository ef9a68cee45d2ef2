#pragma once

#include <QIcon>

namespace orlenta {

// The program's own icon, from the resources compiled into the window library.
QIcon ApplicationIcon();

} // namespace orlenta
