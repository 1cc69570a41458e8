#include "app/quillmapapplication.h"

#include <exception>

QuillmapApplication::QuillmapApplication(int &argc, char **argv)
    : QApplication(argc, argv)
{
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
