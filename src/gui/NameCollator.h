#pragma once

#include <QCollator>

namespace orlenta {

// The order in which the window lists names: the locale's collation, case-sensitive. Without a
// language (the C locale of a bare session) collation would be byte order, which puts every
// capital before every small letter; the neutral English order reads better.
QCollator NameCollator();

} // namespace orlenta
