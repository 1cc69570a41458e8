#pragma once

#include "model/design.h"

#include <QString>

namespace qm {

// The longest Title and Blurb texts the program takes. A Title is one line
// and a Blurb a few; both limits are far beyond what an area on the design
// surface can show. The areas lay out a word that does not fit on a line in
// time that grows with the square of its length, so a text of a megabyte
// would hold the window for minutes.
inline constexpr qsizetype MaxTitleChars = 4096;
inline constexpr qsizetype MaxBlurbChars = 32768;

// The first text of the design beyond those limits, in words for the user
// ("the Blurb text of button 3 has 52428800 characters; a Blurb text may
// have up to 32768"); empty when every text is within them.
QString overlongText(const Design &design);

// The same text named as a field of the file, as Save's read-back names the
// values it could not store ("Blurb text of button 3 (52428800 characters,
// at most 32768)"); empty when every text is within the limits.
QString overlongField(const Design &design);

} // namespace qm
