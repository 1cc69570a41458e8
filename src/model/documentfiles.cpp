#include "model/documentfiles.h"
#include "model/recentfiles.h"

#include "model/linebreaker.h"
#include "model/projectfile.h"
#include "model/projectload.h"
#include "model/projectlock.h"
#include "model/recovery.h"
#include "platform/caseresolve.h"
#include "platform/fileops.h"
#include "platform/filefilter.h"
#include "platform/paths.h"
#include "platform/prompts.h"

#include <QDir>
#include <QLocale>
#include <QTimer>
#include <QUndoStack>

namespace qm {

namespace {

const char *const kProjectFilter = "Quillmap Files (*.QMF)|*.QMF|All Files (*.*)|*.*";

// Selecting the selection again stores what was typed into its texts.
void storeTypedText(DesignDocument &document)
{
    document.select(document.selection());
}

} // namespace

DocumentFiles::DocumentFiles(DesignDocument &document, DocumentView &view, Prompts *prompts,
                             RecoveryStore *recovery, QObject *parent)
    : QObject(parent)
    , m_document(document)
    , m_view(view)
    , m_prompts(prompts)
    , m_recovery(recovery)
{
    if (!m_recovery)
        return;
    m_autosaveTimer = new QTimer(this);
    m_autosaveTimer->setSingleShot(true);
    connect(m_autosaveTimer, &QTimer::timeout, this, &DocumentFiles::autosave);
    connect(m_document.undoStack(), &QUndoStack::indexChanged, this, &DocumentFiles::historyChanged);
    connect(m_document.undoStack(), &QUndoStack::cleanChanged, this, &DocumentFiles::historyChanged);
}

DocumentFiles::~DocumentFiles() = default;

bool DocumentFiles::hasFile() const
{
    return !m_document.design().FileNameUpper.isEmpty() && !m_document.design().FileDirUpper.isEmpty();
}

QString DocumentFiles::caption() const
{
    const Design &d = m_document.design();
    // As the names are on the disk: the upper-case forms are for comparing.
    return d.FileDir + d.FileName + QLatin1String(" - Quillmap");
}

// --- New ----------------------------------------------------------------------------

void DocumentFiles::reset()
{
    QString settingsProblem;
    readProgramSetup(m_document.program(), &settingsProblem);
    Design fresh = m_document.design();
    resetDesign(fresh);
    // A new design has no history.
    m_document.replace(fresh, false);
    // A settings file that cannot be read is reported once, not again at
    // every New and Open while it stays that way.
    if (settingsProblem != m_settingsProblem) {
        m_settingsProblem = settingsProblem;
        if (!settingsProblem.isEmpty())
            m_prompts->warning(settingsProblem);
    }
    m_view.setCaption(QString::fromLatin1(UntitledCaption));
    m_view.showNewDesign();
}

int DocumentFiles::addDefaultButton()
{
    const int index = m_document.buttonCount();
    m_document.insertButton(index, m_document.design().newButton(m_document.program(), 150, 150), true);
    return index;
}

bool DocumentFiles::newDesign()
{
    if (!m_document.isSaved()) {
        const ModalResult answer = m_prompts->askIfSave();
        if (answer == ModalResult::Yes) {
            // A design that could not be saved is not thrown away.
            if (!saveAs())
                return false;
        } else if (answer != ModalResult::No) {
            return false;
        }
    }
    m_view.discardShownDesign();
    reset();
    // The design that was open is gone, and with it the claim on its file.
    m_projectLock.reset();
    return true;
}

// --- Save -----------------------------------------------------------------------------

bool DocumentFiles::save()
{
    if (!hasFile())
        return saveAs();

    storeTypedText(m_document);
    const Design &d = m_document.design();
    const QList<StoredValue> values = storedValues(d, m_document.lineBreaker());
    const QByteArray bytes = projectBytes(values);

    const QString path = d.FileDir + d.FileName;
    // A file another program has open is not written over; the claim moves
    // to the new file only once it is written.
    std::unique_ptr<ProjectLock> lock;
    if (!lockProject(path, lock))
        return false;
    // Only a file that Open reads back as this design replaces the old one.
    if (const std::optional<QString> field = fieldNotReadBack(bytes, values, d)) {
        m_prompts->warning(QLatin1String("Error saving ") + path + QLatin1String(": the ") + *field
                           + QLatin1String(" cannot be stored in a project file. The file was not changed."));
        return false;
    }
    QString reason;
    if (!writeFileAtomically(path, bytes, &reason)) {
        // The old file is intact; the design stays unsaved.
        m_prompts->warning(QLatin1String("Error saving ") + path + QLatin1String(": ") + reason);
        return false;
    }
    if (lock)
        m_projectLock = std::move(lock);
    m_view.setCaption(caption());
    m_document.markSaved();
    if (m_document.selection() == BackgroundSelected)
        m_document.select(BackgroundSelected);
    return true;
}

bool DocumentFiles::saveAs()
{
    Design &d = m_document.design();
    FileDialogRequest request;
    request.mode = FileDialogRequest::Mode::Save;
    request.caption = QStringLiteral("Save As");
    request.filter = qtFileFilter(QString::fromLatin1(kProjectFilter));
    request.confirmOverwrite = true;
    if (!d.FileName.isEmpty())
        request.fileName = d.FileName;
    request.directory = dialogFolder();
    const std::optional<QString> chosen = m_prompts->fileDialog(request);
    if (!chosen)
        return false;

    // A Save As that fails changes nothing, its file name included: the
    // next Save offers the file the design belongs to, not the one that
    // could not be written.
    const QStringList before{d.FileName, d.FileNameUpper, d.FileDir, d.FileDirUpper};
    setProjectFileNames(d, *chosen);
    if (!d.FileName.contains(QLatin1Char('.'))) {
        d.FileName += QLatin1String(".qmf");
        d.FileNameUpper += QLatin1String(".qmf");
    }
    if (!save()) {
        d.FileName = before[0];
        d.FileNameUpper = before[1];
        d.FileDir = before[2];
        d.FileDirUpper = before[3];
        return false;
    }
    m_document.markSaved();
    return true;
}

// --- Open and close -----------------------------------------------------------------------

bool DocumentFiles::mayLeaveDesign()
{
    if (m_document.isSaved())
        return true;
    const ModalResult answer = m_prompts->askIfSave();
    if (answer == ModalResult::Yes)
        return save();
    return answer == ModalResult::No;
}

void DocumentFiles::openWithQuestion(const QString &path)
{
    if (mayLeaveDesign())
        openChosenFile(path);
}

QString DocumentFiles::dialogFolder() const
{
    // An untitled design's dialogs start where the last project lies, else
    // in the user's home (not in the folder the program runs from).
    const Design &d = m_document.design();
    if (!d.FileDir.isEmpty())
        return d.FileDir;
    const QStringList recent = m_recent ? m_recent->existing() : QStringList();
    return recent.isEmpty() ? QDir::homePath() : folderPart(recent.constFirst());
}

void DocumentFiles::open()
{
    if (!mayLeaveDesign())
        return;

    const Design &d = m_document.design();
    FileDialogRequest request;
    request.mode = FileDialogRequest::Mode::Open;
    request.caption = QStringLiteral("Open");
    request.filter = qtFileFilter(QString::fromLatin1(kProjectFilter));
    // The name is offered in upper case; file names here keep their case, so
    // the dialog gets the name of the file on disk that it stands for.
    if (!d.FileNameUpper.isEmpty()) {
        const QString found = resolveCaseInsensitive(d.FileDir + d.FileNameUpper);
        request.fileName = found.isEmpty() ? d.FileNameUpper : fileNamePart(found);
    }
    if (m_recent)
        request.recent = m_recent->existing();
    request.directory = dialogFolder();
    const std::optional<QString> chosen = m_prompts->fileDialog(request);
    if (!chosen)
        return;
    openChosenFile(*chosen);
}

void DocumentFiles::openChosenFile(const QString &chosen)
{
    QString message;
    const QString path = findProjectFile(chosen, &message);
    if (path.isEmpty()) {
        m_prompts->warning(message);
        return;
    }

    // Another program editing the file is asked about before anything of
    // the design shown is let go.
    std::unique_ptr<ProjectLock> lock;
    if (!mayOpen(path, lock))
        return;
    // Asks a second time when the design is still unsaved ("No" above).
    if (!newDesign())
        return;
    readProjectFile(path);
    if (!m_document.design().FileName.isEmpty())
        m_projectLock = std::move(lock);
}

void DocumentFiles::readProjectFile(const QString &path)
{
    QString message;
    if (!m_document.open(path, &message)) {
        // Nothing read from the file survives: a fresh, untitled design.
        m_prompts->warning(message);
        m_document.markSaved();
        newDesign();
        addDefaultButton();
        m_document.select(BackgroundSelected);
        m_document.markSaved();
        return;
    }
    m_view.showOpenedDesign();
}

bool DocumentFiles::closeQuery()
{
    if (m_document.isSaved())
        return true;
    switch (m_prompts->askIfSave()) {
    case ModalResult::Yes:
        return saveAs();
    case ModalResult::No:
        return true;
    default:
        return false;
    }
}

// --- One editor per file ---------------------------------------------------------------------

QString DocumentFiles::lockFolder()
{
    return RecoveryStore::defaultFolder() + QLatin1String("/locks");
}

bool DocumentFiles::mayOpen(const QString &path, std::unique_ptr<ProjectLock> &lock)
{
    if (m_projectLock && m_projectLock->path() == path)
        return true; // this document's own file, opened again
    QString holder;
    lock = ProjectLock::take(path, lockFolder(), &holder);
    if (lock)
        return true;
    const ModalResult answer = m_prompts->messageBox(
        BoxIcon::Question, QStringLiteral("File in use"),
        QStringLiteral("%1 is open in another Quillmap (%2).\n\nOpen it read-only? Its changes can then be saved "
                       "only under another name.")
            .arg(QDir::toNativeSeparators(path), holder),
        BoxButtons::YesNo);
    return answer == ModalResult::Yes;
}

bool DocumentFiles::lockProject(const QString &path, std::unique_ptr<ProjectLock> &lock)
{
    if (m_projectLock && m_projectLock->path() == path)
        return true;
    QString holder;
    lock = ProjectLock::take(path, lockFolder(), &holder);
    if (!lock) {
        m_prompts->warning(QStringLiteral("Error saving %1: it is open in another Quillmap (%2). "
                                          "Save it under another name. The file was not changed.")
                               .arg(QDir::toNativeSeparators(path), holder));
        return false;
    }
    return true;
}

// --- Recovery of unsaved designs -----------------------------------------------------------------

void DocumentFiles::historyChanged()
{
    if (m_document.isSaved()) {
        // Saved, opened or new: nothing of this run needs recovering.
        m_autosaveTimer->stop();
        m_unwrittenSince.invalidate();
        m_recovery->remove();
        return;
    }
    // A few seconds of quiet after the last change, but a design changed
    // without a pause is still written every so often.
    if (!m_unwrittenSince.isValid())
        m_unwrittenSince.start();
    const qint64 left = AutosaveLongestWaitMs - m_unwrittenSince.elapsed();
    m_autosaveTimer->start(int(qBound<qint64>(0, left, qint64(AutosaveQuietMs))));
}

void DocumentFiles::autosave()
{
    if (!m_recovery || m_document.isSaved())
        return;
    m_unwrittenSince.invalidate();
    // The design as it is now, with what is typed but not yet stored into
    // the selection (that happens when the selection changes); what is shown
    // is left as it is.
    const Design design = m_view.designAsShown();
    // Titles whole, not cut to the area's first line: nothing is lost.
    static const FixedWidthLineBreaker whole;
    const QByteArray bytes = projectBytes(storedValues(design, whole));
    m_recovery->write(bytes, hasFile() ? design.FileDir + design.FileName : QString());
}

void DocumentFiles::offerRecovery()
{
    if (!m_recovery)
        return;
    const std::optional<RecoveryStore::Orphan> orphan = m_recovery->newestOrphan();
    if (!orphan)
        return;
    const QString what = orphan->projectPath.isEmpty() ? QStringLiteral("an untitled design")
                                                       : QDir::toNativeSeparators(orphan->projectPath);
    const ModalResult answer = m_prompts->messageBox(
        BoxIcon::Question, QStringLiteral("Recover unsaved design"),
        QStringLiteral("Quillmap did not end cleanly, and the changes to %1 were not saved "
                       "(they were kept up to %2).\n\nRestore them? (No discards them.)")
            .arg(what, QLocale().toString(orphan->written, QLocale::ShortFormat)),
        BoxButtons::YesNo);
    if (answer != ModalResult::Yes) {
        RecoveryStore::discard(*orphan);
        return;
    }
    // The design opens as changed, under its own file name: Save writes
    // there, and the next autosave keeps it in this run's own file.
    if (!newDesign())
        return;
    Design base = m_document.design();
    if (!orphan->projectPath.isEmpty())
        setProjectFileNames(base, orphan->projectPath);
    QString message;
    const std::optional<Design> read = loadProjectBytes(orphan->project, base, &message);
    if (!read) {
        m_prompts->warning(QStringLiteral("The unsaved design could not be restored: ") + message);
        addDefaultButton();
        m_document.select(BackgroundSelected);
        m_document.markSaved();
        return;
    }
    m_document.replace(*read, true);
    m_view.showOpenedDesign();
    if (!orphan->projectPath.isEmpty())
        m_projectLock = ProjectLock::take(orphan->projectPath, lockFolder());
    m_document.markUnsaved();
    RecoveryStore::discard(*orphan);
    historyChanged();
}

} // namespace qm
