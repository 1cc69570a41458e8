#pragma once

#include "model/design.h"
#include "platform/fileops.h"

#include <QList>
#include <QString>
#include <QStringList>

namespace qm {

// A file the compiled page asks for that a web server beside the page would
// not give: such a server takes names with their letter case, and only from
// the page's folder and the folders below it (the editor finds pictures in
// any case, anywhere on the disk).
struct LinkProblem {
    enum class Kind { WrongCase, Outside, Missing };
    enum class Field { Picture, MouseOverPicture, BlurbPicture, Sound, Link, Runtime };
    Kind kind = Kind::Missing;
    Field field = Field::Picture;
    int button = -1;      // index into the design's buttons; -1: the background or the runtime
    QString path;         // as the design names it; the runtime: the file's name
    QString found;        // WrongCase and Outside: the file on disk
    bool sharp = false;   // Outside: its copy for sharp screens lies beside it
};

// Every file the page beside the project asks for, checked as the page will
// resolve it: pictures, mouse-over and Blurb pictures with their sharp
// copies, sounds (copied beside the page by Compile), links to files and,
// with `runtime`, the runtime files.
QList<LinkProblem> checkLinks(const Design &design, const QString &appDir, bool runtime);

// One message naming every problem by its button and field.
QString linkProblemsMessage(const Design &design, const QList<LinkProblem> &problems);

// True when some of them can be mended: a name on disk to take, a file to
// copy beside the page.
bool canMendLinks(const QList<LinkProblem> &problems);

// The question that offers the mends there are.
QString linkMendQuestion(const QList<LinkProblem> &problems);

// The design with the mendable problems mended: names as on disk, files from
// outside the page's folder copied beside the page (with their sharp copies;
// a different file of that name there is not overwritten) and named there.
// What could not be copied is named in `failed`.
Design mendedLinks(const Design &design, const QList<LinkProblem> &problems, FileOps &files, QStringList *failed);

} // namespace qm
