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

// A settings file is a few lines; one beyond this is no settings file.
inline constexpr qint64 MaxSettingsFileBytes = qint64(1024) * 1024;

// Reads the settings; missing file, section or keys give the defaults.
// Only a regular file up to MaxSettingsFileBytes is read: a pipe would hold
// the program before its window appears, a device or a huge file would fill
// the memory. Such a file gives the defaults, and `problem` (when given)
// says why, in words for the user; it stays empty otherwise.
Settings readSettings(const QString &appDir, QString *problem = nullptr);

// Writes the three settings in the order "DragText" ("1" or "0"), "Browser",
// "SplashState". A key that cannot be written stops the writing there: the
// keys before it are written, the rest are not. False then, with the
// system's reason in `error`. A settings file that readSettings would not
// read is not written either.
bool writeSettings(const QString &appDir, const Settings &settings, QString *error = nullptr);

// Writes "Browser" alone (Preview, once the user has picked a browser).
bool writeBrowserSetting(const QString &appDir, const QString &browser, QString *error = nullptr);

} // namespace qm
