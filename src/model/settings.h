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

// Writes the three settings in the order "DragText" ("1" or "0"), "Browser",
// "SplashState". A key that cannot be written stops the writing there: the
// keys before it are written, the rest are not. False then, with the
// system's reason in `error`.
bool writeSettings(const QString &appDir, const Settings &settings, QString *error = nullptr);

// Writes "Browser" alone (Preview, once the user has picked a browser).
bool writeBrowserSetting(const QString &appDir, const QString &browser, QString *error = nullptr);

} // namespace qm
