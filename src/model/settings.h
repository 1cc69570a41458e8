#pragma once

#include <QString>

namespace qm {

// The three user settings kept in QM.INI, section "GLOBAL".
struct Settings {
    QString Browser;
    QString SplashState = QStringLiteral("Splash And Sound");
    bool DragText = false;
};

// Path of the settings file of a program folder.
QString settingsFilePath(const QString &appDir);

// Reads the settings; missing file, section or keys give the defaults.
Settings readSettings(const QString &appDir);

} // namespace qm
