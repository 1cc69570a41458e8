#pragma once

#include <QString>

namespace qm {

// Turns a filter of the form "Text|patterns|Text|patterns" into Qt's form
// "Text (patterns);;Text (patterns)": the text keeps its words, and the
// patterns, separated by ';', become the blank-separated list Qt reads.
QString qtFileFilter(const QString &filter);

} // namespace qm
