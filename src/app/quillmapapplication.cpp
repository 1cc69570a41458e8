#include "app/quillmapapplication.h"

#include "editor/artwork.h"

#include <QIcon>
#include <QPixmap>

#include <exception>

QuillmapApplication::QuillmapApplication(int &argc, char **argv)
    : QApplication(argc, argv)
{
    // Only the application's name: a display name would make the X11
    // platform append " — Quillmap" to every window title that does not
    // already end with it, and the captions must read exactly as given
    // ("Untitled - Quillmap v1.1", "Information", "Confirm" ...).
    setApplicationName(QStringLiteral("Quillmap"));
    // The desktop entry the windows belong to, and its icon. The desktop
    // takes larger sizes from the installed icon; the window's own sizes are
    // drawn at every start, so only those a title bar or task list uses.
    setDesktopFileName(QStringLiteral(QUILLMAP_APP_ID));
    QIcon icon;
    for (int size : {16, 32, 48, 64})
        icon.addPixmap(QPixmap::fromImage(qm::artwork::appIcon(size)));
    setWindowIcon(icon);
}

bool QuillmapApplication::notify(QObject *receiver, QEvent *event)
{
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception &e) {
        qWarning("Quillmap: a command failed: %s", e.what());
    } catch (...) {
        qWarning("Quillmap: a command failed");
    }
    return false;
}
