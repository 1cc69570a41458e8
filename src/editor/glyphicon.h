#pragma once

#include "editor/artwork.h"

#include <QIcon>

namespace qm::artwork {

// The glyph as an icon that draws itself when first painted, at the size
// and pixel ratio it is painted at, and keeps what it drew. Start-up thus
// draws no glyph before the window is on the screen, and never one in a
// size the screen does not use.
QIcon toolGlyph(Glyph g);

} // namespace qm::artwork
