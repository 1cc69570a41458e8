#include "model/settings.h"

#include "platform/caseresolve.h"
#include "platform/fileops.h"
#include "platform/paths.h"
#include "platform/profile.h"

#include <QFile>
#include <QFileInfo>

namespace qm {

namespace {
const QString kSection = QStringLiteral("GLOBAL");
}

QString settingsFilePath(const QString &appDir)
{
    const QString name = programPath(appDir, QStringLiteral("QM.INI"));
    const QString found = resolveCaseInsensitive(name);
    return found.isEmpty() ? name : found;
}

namespace {

// Why the settings file is not to be read or written; empty when it may be,
// and when there is no file (the defaults then, without a word).
QString unusableSettingsFile(const QString &file)
{
    if (!QFileInfo::exists(file))
        return QString();
    QFile f;
    QString why;
    if (openRegularFile(file, f, MaxSettingsFileBytes, &why))
        return QString();
    return why.isEmpty() ? QStringLiteral("it cannot be read") : why;
}

} // namespace

Settings readSettings(const QString &appDir, QString *problem)
{
    const QString file = settingsFilePath(appDir);
    Settings s;
    const QString why = unusableSettingsFile(file);
    if (problem)
        *problem = why.isEmpty() ? QString()
                                 : QLatin1String("The settings file ") + file + QLatin1String(" is not read: ") + why
                                       + QLatin1String(". Quillmap uses its default settings.");
    if (!why.isEmpty())
        return s;
    s.Browser = profile::readString(file, kSection, QStringLiteral("Browser"), QString());
    s.SplashState = profile::readString(file, kSection, QStringLiteral("SplashState"),
                                        QStringLiteral("Splash And Sound"));
    s.DragText = profile::readInt(file, kSection, QStringLiteral("DragText"), 0) != 0;
    return s;
}

bool writeSettings(const QString &appDir, const Settings &s, QString *error)
{
    const QString file = settingsFilePath(appDir);
    if (const QString why = unusableSettingsFile(file); !why.isEmpty()) {
        if (error)
            *error = why;
        return false;
    }
    return profile::writeString(file, kSection, QStringLiteral("DragText"),
                                s.DragText ? QStringLiteral("1") : QStringLiteral("0"), error)
        && profile::writeString(file, kSection, QStringLiteral("Browser"), s.Browser, error)
        && profile::writeString(file, kSection, QStringLiteral("SplashState"), s.SplashState, error);
}

bool writeBrowserSetting(const QString &appDir, const QString &browser, QString *error)
{
    const QString file = settingsFilePath(appDir);
    if (const QString why = unusableSettingsFile(file); !why.isEmpty()) {
        if (error)
            *error = why;
        return false;
    }
    return profile::writeString(file, kSection, QStringLiteral("Browser"), browser, error);
}

} // namespace qm
