#pragma once

#include "model/design.h"

#include <QList>
#include <QPoint>
#include <QStringList>

namespace qm {

// Files dropped from a file manager, by what the editor makes of them:
// pictures (of a kind the image view reads) and project files. Folders,
// devices, missing files and other kinds are left out.
struct DroppedFiles {
    QStringList pictures;
    QStringList projects;
    bool isEmpty() const { return pictures.isEmpty() && projects.isEmpty(); }
};
DroppedFiles sortDroppedFiles(const QStringList &paths);

// Pictures dropped onto the bare surface: one new button each, with the
// program's defaults and that picture, side by side from `at` to the right.
QList<ButtonData> buttonsForPictures(const Design &design, const ProgramSetup &program, const QStringList &pictures,
                                     QPoint at);

// A picture dropped onto a button: its picture, or its mouse-over picture.
ButtonData withPicture(ButtonData button, const QString &picture, bool mouseOver);

} // namespace qm
