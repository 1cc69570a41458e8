#pragma once

#include <QIcon>

namespace qm {

// The program's icon in the sizes a window uses, as drawn when the program
// was built (the build writes the function from qm::artwork::appIcon).
QIcon windowIcon();

} // namespace qm
