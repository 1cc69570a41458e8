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

// A double quote, the text, a double quote.
QString Quotes(const QString &text);

// The line without its first and last character, whatever they are; a line
// shorter than two characters gives the empty text.
QString RemoveQuotes(const QString &line);

// The project file of a design: one quoted value per line, CR LF line ends,
// UTF-8. Title texts are written as their first line in the Title area.
QByteArray writeProject(const Design &design, const LineBreaker &lines);

// Reads a project file into a copy of `base` (a freshly reset design that
// carries the program paths, the settings and the file names). nullopt when
// the file is corrupt: a marker or the version is wrong, a number line holds
// no integer, or the file ends inside a value. The loaded-image names are
// derived from the entered ones; the buttons keep the file's order.
std::optional<Design> readProject(const QByteArray &bytes, const Design &base);

} // namespace qm
