#include "model/settings.h"

#include "platform/caseresolve.h"
#include "platform/paths.h"
#include "platform/profile.h"

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

Settings readSettings(const QString &appDir)
{
    const QString file = settingsFilePath(appDir);
    Settings s;
    s.Browser = profile::readString(file, kSection, QStringLiteral("Browser"), QString());
    s.SplashState = profile::readString(file, kSection, QStringLiteral("SplashState"),
                                        QStringLiteral("Splash And Sound"));
    s.DragText = profile::readInt(file, kSection, QStringLiteral("DragText"), 0) != 0;
    return s;
}

bool writeSettings(const QString &appDir, const Settings &s, QString *error)
{
    const QString file = settingsFilePath(appDir);
    return profile::writeString(file, kSection, QStringLiteral("DragText"),
                                s.DragText ? QStringLiteral("1") : QStringLiteral("0"), error)
        && profile::writeString(file, kSection, QStringLiteral("Browser"), s.Browser, error)
        && profile::writeString(file, kSection, QStringLiteral("SplashState"), s.SplashState, error);
}

bool writeBrowserSetting(const QString &appDir, const QString &browser, QString *error)
{
    return profile::writeString(settingsFilePath(appDir), kSection, QStringLiteral("Browser"), browser, error);
}

} // namespace qm
