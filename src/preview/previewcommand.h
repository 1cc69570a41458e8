#pragma once

#include "model/design.h"
#include "platform/fileops.h"

#include <QByteArray>
#include <QList>
#include <QSet>
#include <QString>
#include <functional>

class TDDEForm;

namespace qm {

class Prompts;

// Empties the preview folder: its plain files and its links go, a link
// never taking what it points at with it; sub-folders and other special
// files stay. The emptying ends at the first entry that resists deletion,
// which stays with those after it. Returns the number of entries deleted.
//
// Plain files named in `reusable` stay, to be written over by the copies
// that follow (their names go into `kept`); whichever of them no copy writes must
// go afterwards, so that the folder ends as if it had been emptied.
int emptyPreviewFolder(const QString &folder, const QSet<QString> &reusable = {}, QStringList *kept = nullptr);

// The files placed beside the preview page, in the order they are copied:
// the runtime from the program's java/ folder, the background's Blurb
// picture, then for each button its picture, mouse-over picture, mouse-over
// Blurb picture and sound. Each goes under its bare name, so of two files
// with one bare name the one copied last stays. Names relative to the
// program folder are taken from there; empty names are left out.
QList<FileCopy> previewCopies(const Design &design, const QString &appDir, const QString &previewFolder);

// The preview page around an applet block, every line ended by CR LF.
QByteArray previewPage(const QString &block);

// Writes the preview page to `fileName`, replacing any file of that name.
bool writePreviewPage(const QString &fileName, const QString &block, QString *reason);

// What the Preview command needs besides the design.
struct PreviewEnv {
    Prompts *prompts = nullptr;
    FileOps *files = nullptr;
    TDDEForm *launcher = nullptr;
    // Builds the block in its Preview form; false when there was nothing to build.
    std::function<bool()> buildBlock;
    // Writes the page at the design's FileDir + FileName.
    std::function<bool(QString *reason)> writePage;
};

// The Preview command: makes sure a browser is set, fills the preview
// folder, writes the page and hands it to the browser. The design's name
// fields point at the page only while it is built and handed over. True
// when the page went to the browser.
bool runPreview(Design &design, ProgramSetup &program, const PreviewEnv &env);

// Folder and file name of the preview page in a program folder.
QString previewFolder(const QString &appDir);
inline constexpr const char *PreviewPageName = "preview.html";

} // namespace qm
