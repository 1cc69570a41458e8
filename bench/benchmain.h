#pragma once

#include "editor/tmainform.h"
#include "platform/fileops.h"
#include "scriptedprompts.h"

#include <QString>
#include <memory>

namespace qmbench {

// A temporary folder for the benchmark's files; it is also the current
// directory, which the main window takes as its program folder.
QString workDir();

// A main window with scripted prompts and real file copies, started in the
// working folder.
struct Form {
    Form();
    qm::ScriptedPrompts prompts;
    qm::LocalFileOps files;
    MainFormServices services;
    std::unique_ptr<TMainForm> form;
};

} // namespace qmbench
