#pragma once

#include "model/design.h"

#include <QString>
#include <optional>

namespace qm {

// FileName, FileDir and their upper-case forms from the path of a project file.
void setProjectFileNames(Design &design, const QString &path);

// The project file a chosen name stands for: the name itself, or the file
// whose name differs from it only in letter case. Empty, with Open's message
// in `message`, when there is no such file.
QString findProjectFile(const QString &chosen, QString *message = nullptr);

// The messages of Open: a chosen file that does not exist, a file that
// cannot be read as a project (named by the design's upper-case names).
QString openingErrorMessage(const QString &chosen);
QString corruptFileMessage(const Design &design);

// Reads the project file at `path` into a copy of `base`, as Open does:
// nullopt when the file cannot be read, is far too large to be a project
// file, is corrupt, or holds a text far too long for its area. `message`
// then says which, naming the file by the upper-case names of `base`.
std::optional<Design> loadProject(const QString &path, const Design &base, QString *message = nullptr);

// The same for a project file's bytes that are already read.
std::optional<Design> loadProjectBytes(const QByteArray &bytes, const Design &base, QString *message = nullptr);

} // namespace qm
