#include "app/quillmapapplication.h"

#include <exception>

QuillmapApplication::QuillmapApplication(int &argc, char **argv)
    : QApplication(argc, argv)
{
    // Only the application's name: a display name would make the X11
    // platform append " — Quillmap" to every window title that does not
    // already end with it, and the captions must read exactly as given
    // ("Untitled - Quillmap v1.1", "Information", "Confirm" ...).
    setApplicationName(QStringLiteral("Quillmap"));
    // The desktop entry the windows belong to; the desktop takes the icon
    // from the installed one, the windows get theirs from the program.
    setDesktopFileName(QStringLiteral(QUILLMAP_APP_ID));
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
