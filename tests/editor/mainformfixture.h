#pragma once

#include "editor/tmainform.h"
#include "platform/clipboard.h"
#include "platform/fileops.h"
#include "scriptedprompts.h"
#include "testsupport.h"

#include <QDir>
#include <memory>

// A main window started inside a throw-away program folder, with scripted
// prompts. The current directory is the program folder while it lives.
struct MainFormFixture {
    MainFormFixture();
    ~MainFormFixture();

    qmtest::ProgramFolder folder;
    qm::ScriptedPrompts prompts;
    qm::LocalFileOps files;
    qm::SystemClipboard clipboard;
    MainFormServices services;
    std::unique_ptr<TMainForm> form;
    QString previousDir;

    // Restarts the main window (the folder and prompts stay).
    void restart();
};
