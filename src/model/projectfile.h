#pragma once

#include "model/design.h"
#include "model/linebreaker.h"
#include "platform/fileops.h"

#include <QByteArray>
#include <QString>
#include <optional>

namespace qm {

// A project file of a thousand buttons takes a few hundred kilobytes; a file
// far beyond this is no project file and is not read into memory.
inline constexpr qint64 MaxProjectFileBytes = qint64(64) * 1024 * 1024;

// A one-line value ends at its first CR or LF: either would split its line.
QString oneLine(const QString &text);

// A double quote, the text, a double quote.
QString Quotes(const QString &text);

// The line without its first and last character, whatever they are; a line
// shorter than two characters gives the empty text.
QString RemoveQuotes(const QString &line);

// One value of a project file: the field it stores, as a message names it,
// and its text as the file holds it, without the enclosing quotes.
struct StoredValue {
    QString field;
    QString text;
    bool operator==(const StoredValue &) const = default;
};

// Every value of the design's project file, in file order, in the form the
// file holds it:
// - Titles are their first line in the Title area;
// - every other one-line value is its text up to its first CR or LF, so no
//   value ever splits a line (the dialogs let no line break in);
// - Blurbs have CR LF line breaks, and a line that is not the last and ends
//   with a double quote gets one space after it, since the reader takes such
//   a line for the end of the value (the space does not show on screen or
//   in the applet).
// A design without line breaks in one-line values, other line break forms
// or such quotes in its Blurbs is written exactly as held.
QList<StoredValue> storedValues(const Design &design, const LineBreaker &lines);

// The file of those values: one quoted value per line, CR LF line ends, UTF-8.
QByteArray projectBytes(const QList<StoredValue> &values);

// The project file of a design: projectBytes(storedValues(...)).
QByteArray writeProject(const Design &design, const LineBreaker &lines);

// Reads `bytes` back with the project reader, as Open would, and compares
// what it reads with `values`. The field of the first value that does not
// come back unchanged, or nullopt when every one does. `base` as for
// readProject.
std::optional<QString> fieldNotReadBack(const QByteArray &bytes, const QList<StoredValue> &values,
                                        const Design &base);

// Reads a project file into a copy of `base` (a freshly reset design that
// carries the program paths, the settings and the file names). nullopt when
// the file is corrupt: a marker or the version is wrong, a number line holds
// no integer, or the file ends inside a value. The loaded-image names are
// derived from the entered ones; the buttons keep the file's order.
std::optional<Design> readProject(const QByteArray &bytes, const Design &base);

} // namespace qm
