#pragma once

#include <QString>

namespace qm {

// Where the program runs and what its settings say: what every design is
// made with, but no part of one. The document keeps it beside the design.
struct ProgramSetup {
    // Program paths.
    QString AppDir;
    QString StartDir;
    QString DefaultImage;
    QString DefaultImageUpper;
    QString DefaultMouseOverImage;
    QString DefaultMouseOverImageUpper;
    QString DefaultSound;

    // Settings, read again at every reset.
    QString Browser;
    QString SplashState;
    bool DragText = false;
};

// The program paths of the program folder AppDir, and its settings read
// again. A settings file that is not read (see readSettings) leaves the
// default settings and its reason in `settingsProblem`.
void readProgramSetup(ProgramSetup &setup, QString *settingsProblem = nullptr);

// The setup of the program in `appDir`, started there.
ProgramSetup programSetup(const QString &appDir, QString *settingsProblem = nullptr);

} // namespace qm
