#pragma once

#include <QString>
#include <QStringList>

namespace qm {

// Turns a filter of the form "Text|patterns|Text|patterns" into Qt's form
// "Text (patterns);;Text (patterns)": the text keeps its words, and the
// patterns, separated by ';', become the blank-separated list Qt reads.
QString qtFileFilter(const QString &filter);

// The filters of a Qt-form filter list as a file dialog should get them.
// On Windows "*.*" matches every file, also one without a dot in its name;
// in a Qt dialog it would hide those. When a filter holds "*.*", every
// filter keeps its whole text, which is what the user reads, and gets the
// patterns the dialog is to match in a last pair of parentheses, "*" for
// "*.*"; `hideDetails` is then true, and the dialog must not show those
// last parentheses (QFileDialog::HideNameFilterDetails). A list without
// "*.*" stays as it is.
QStringList dialogFilters(const QString &qtFilter, bool *hideDetails);

} // namespace qm
