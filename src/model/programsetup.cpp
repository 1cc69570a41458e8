#include "model/programsetup.h"

#include "model/settings.h"
#include "platform/paths.h"

namespace qm {

void readProgramSetup(ProgramSetup &p, QString *settingsProblem)
{
    const Settings s = readSettings(p.AppDir, settingsProblem);
    p.Browser = s.Browser;
    p.SplashState = s.SplashState;
    p.DragText = s.DragText;

    p.DefaultImage = programPath(p.AppDir, QStringLiteral("images/default.gif"));
    p.DefaultImageUpper = p.DefaultImage.toUpper();
    p.DefaultMouseOverImage = programPath(p.AppDir, QStringLiteral("images/mouse.gif"));
    p.DefaultMouseOverImageUpper = p.DefaultMouseOverImage.toUpper();
    p.DefaultSound = programPath(p.AppDir, QStringLiteral("sound/click.au"));
}

ProgramSetup programSetup(const QString &appDir, QString *settingsProblem)
{
    ProgramSetup p;
    p.AppDir = appDir;
    p.StartDir = appDir;
    readProgramSetup(p, settingsProblem);
    return p;
}

} // namespace qm
