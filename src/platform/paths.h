#pragma once

#include <QString>

namespace qm {

// How path strings are taken apart. Windows style: backslash separator, and
// the folder part also ends at a drive colon. POSIX style: slash separator.
enum class PathStyle { Windows, Posix };

// The style the program uses for the files of this machine.
inline constexpr PathStyle NativePathStyle = PathStyle::Posix;

QChar separator(PathStyle style);

// Index of the last character that ends a folder part, or -1.
qsizetype lastDelimiter(const QString &path, PathStyle style);

// The text after the last separator (or drive colon); the whole text when there is none.
QString fileNamePart(const QString &path, PathStyle style = NativePathStyle);

// The text up to and including the last separator (or drive colon); empty when there is none.
QString folderPart(const QString &path, PathStyle style = NativePathStyle);

// The extension of the file name part, dot included; empty when the name has no dot.
QString fileExtension(const QString &path, PathStyle style = NativePathStyle);

// Joins the program folder and a program-relative name ("images/default.gif").
QString programPath(const QString &appDir, const QString &relative);

} // namespace qm
