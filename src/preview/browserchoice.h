#pragma once

#include "platform/prompts.h"

#include <QString>
#include <optional>

namespace qm {

// True when `path` names a browser the launcher can start: an existing
// executable file.
bool isUsableBrowser(const QString &path);

// The file dialog that picks a browser. It starts in the folder of
// `current` when that names an existing file, otherwise where browsers are
// installed (/usr/bin), or in `appDir` on a system without that folder.
// Programs here have no ".EXE": the dialog keeps the "Program Files" filter
// but shows all files first.
FileDialogRequest browserDialogRequest(const QString &current, const QString &appDir);

// Runs that dialog. The chosen file's full path, or nullopt when the user
// cancelled or chose a file that is no program (the user is told so).
std::optional<QString> chooseBrowser(Prompts &prompts, const QString &current, const QString &appDir);

} // namespace qm
