#include "app/commandline.h"
#include "app/programfolder.h"
#include "app/quillmapapplication.h"
#include "app/windowicon.h"
#include "editor/tmainform.h"
#include "imageview/magickdecoder.h"
#include "model/recentfiles.h"
#include "model/recovery.h"
#include "dialogs/taskifsave.h"
#include "platform/clipboard.h"
#include "platform/fileops.h"
#include "platform/qtprompts.h"
#include "platform/qtsound.h"

#include <QStandardPaths>
#include <QDir>
#include <QTimer>

int main(int argc, char **argv)
{
    // Compiling, help and version need no window system.
    if (qm::commandline::wanted(argc, argv))
        return qm::commandline::run(argc, argv);

    QuillmapApplication app(argc, argv);
    app.setWindowIcon(qm::windowIcon());
    // ImageMagick is loaded and set up on a second core while the window is
    // built; the default button's picture is its first job. Not before the
    // application object: Qt would take that thread for the main one, and
    // the loading would hold up Qt's own plugin loading.
    qm::MagickDecoder::preload();
    const qm::commandline::WindowArguments args = qm::commandline::windowArguments(app.arguments());
    if (args.exitCode >= 0)
        return args.exitCode;

    // The program takes its current directory as its program folder; an
    // installed program first moves into the user's own one.
    const qm::programfolder::Choice where = qm::programfolder::choose(
        QDir::currentPath(), QCoreApplication::applicationDirPath(), qm::programfolder::userFolder());
    QDir::setCurrent(where.folder);

    qm::QtPrompts prompts;
    qm::LocalFileOps files;
    qm::SystemClipboard clipboard;
    qm::QtSoundPlayer sound;
    MainFormServices services;
    services.files = &files;
    services.clipboard = &clipboard;
    services.prompts = &prompts;
    services.sound = &sound;
    services.images = TPMultiImage::standardContext(&prompts);
    // Unsaved work is kept in the user's state folder against a crash.
    qm::RecoveryStore recovery;
    if (recovery.open())
        services.recovery = &recovery;
    qm::RecentFiles recent(qm::RecoveryStore::defaultFolder() + QStringLiteral("/recent-projects"),
                           QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation)
                               + QStringLiteral("/recently-used.xbel"));
    services.recent = &recent;

    // The main window first; the dialogs it owns, the unsaved-changes
    // question among them, are made when they are first needed and live
    // until the program ends.
    TMainForm mainForm(services);
    prompts.setParent(&mainForm);
    prompts.setAskIfSave([&mainForm]() -> QDialog * { return new TAskIfSave(&mainForm); });

    mainForm.showAtStartUp();
    if (!where.error.isEmpty()) {
        prompts.warning(QStringLiteral("Quillmap could not prepare its folder for settings and Preview (%1); "
                                       "it runs from %2, where neither can be saved.")
                            .arg(where.error, where.folder));
    }
    if (!args.file.isEmpty())
        QTimer::singleShot(0, &mainForm, [&mainForm, file = args.file] { mainForm.openAtStartUp(file); });
    const int status = app.exec();
    // A clean end: the design was saved, or the user chose not to keep it.
    recovery.remove();
    return status;
}
