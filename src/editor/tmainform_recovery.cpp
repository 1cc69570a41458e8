// The main window's share of keeping the user's work: the design is written
// to a recovery file a few seconds after it changes, a later run offers the
// design of one that did not end cleanly, and a project file open in one
// program is not saved over by another.

#include "editor/tmainform.h"
#include "editor/areaedit.h"
#include "model/linebreaker.h"
#include "model/projectfile.h"
#include "model/projectload.h"
#include "model/projectlock.h"
#include "model/recovery.h"
#include "platform/prompts.h"

#include <QDir>
#include <QLocale>
#include <QTimer>
#include <QUndoStack>

void TMainForm::setUpAutosave()
{
    if (!m_services.recovery)
        return;
    m_autosaveTimer = new QTimer(this);
    m_autosaveTimer->setSingleShot(true);
    connect(m_autosaveTimer, &QTimer::timeout, this, &TMainForm::autosave);
    connect(undoStack(), &QUndoStack::indexChanged, this, &TMainForm::designStateChanged);
    connect(undoStack(), &QUndoStack::cleanChanged, this, &TMainForm::designStateChanged);
}

void TMainForm::designStateChanged()
{
    if (isSaved()) {
        // Saved, opened or new: nothing of this run needs recovering.
        m_autosaveTimer->stop();
        m_unwrittenSince.invalidate();
        m_services.recovery->remove();
        return;
    }
    // A few seconds of quiet after the last change, but a design changed
    // without a pause is still written every so often.
    if (!m_unwrittenSince.isValid())
        m_unwrittenSince.start();
    const qint64 left = AutosaveLongestWaitMs - m_unwrittenSince.elapsed();
    m_autosaveTimer->start(int(qBound<qint64>(0, left, qint64(AutosaveQuietMs))));
}

void TMainForm::autosave()
{
    if (!m_services.recovery || isSaved())
        return;
    m_unwrittenSince.invalidate();
    // The design as it is now, with what is typed but not yet stored into
    // the selection (that happens when the selection changes); the window
    // itself is left as it is.
    qm::Design design = this->design();
    const int selected = selectionIndex();
    if (selected >= 0 && selected < design.Buttons.size()) {
        design.Buttons[selected].TitleText = Title->text();
        design.Buttons[selected].BlurbText = Blurb->text();
    } else {
        design.BgTitleText = Title->text();
        design.BgBlurbText = Blurb->text();
    }
    // Titles whole, not cut to the area's first line: nothing is lost.
    static const qm::FixedWidthLineBreaker whole;
    const QByteArray bytes = qm::projectBytes(qm::storedValues(design, whole));
    const bool titled = !design.FileNameUpper.isEmpty() && !design.FileDirUpper.isEmpty();
    m_services.recovery->write(bytes, titled ? design.FileDir + design.FileName : QString());
}

void TMainForm::offerRecovery()
{
    if (!m_services.recovery)
        return;
    const std::optional<qm::RecoveryStore::Orphan> orphan = m_services.recovery->newestOrphan();
    if (!orphan)
        return;
    const QString what = orphan->projectPath.isEmpty() ? QStringLiteral("an untitled design")
                                                       : QDir::toNativeSeparators(orphan->projectPath);
    const qm::ModalResult answer = prompts()->messageBox(
        qm::BoxIcon::Question, QStringLiteral("Recover unsaved design"),
        QStringLiteral("Quillmap did not end cleanly, and the changes to %1 were not saved "
                       "(they were kept up to %2).\n\nRestore them? (No discards them.)")
            .arg(what, QLocale().toString(orphan->written, QLocale::ShortFormat)),
        qm::BoxButtons::YesNo);
    if (answer != qm::ModalResult::Yes) {
        qm::RecoveryStore::discard(*orphan);
        return;
    }
    // The design opens as changed, under its own file name: Save writes
    // there, and the next autosave keeps it in this run's own file.
    if (!NewTable())
        return;
    qm::Design base = design();
    if (!orphan->projectPath.isEmpty())
        qm::setProjectFileNames(base, orphan->projectPath);
    QString message;
    const std::optional<qm::Design> read = qm::loadProjectBytes(orphan->project, base, &message);
    if (!read) {
        prompts()->warning(QStringLiteral("The unsaved design could not be restored: ") + message);
        AddDefaultButton();
        HighlightTable();
        markSaved();
        return;
    }
    m_document->replace(*read, true);
    showOpenedDesign();
    if (!orphan->projectPath.isEmpty())
        m_projectLock = qm::ProjectLock::take(orphan->projectPath, lockFolder());
    m_document->markUnsaved();
    qm::RecoveryStore::discard(*orphan);
    designStateChanged();
}

QString TMainForm::lockFolder()
{
    return qm::RecoveryStore::defaultFolder() + QLatin1String("/locks");
}

bool TMainForm::mayOpen(const QString &path, std::unique_ptr<qm::ProjectLock> &lock)
{
    if (m_projectLock && m_projectLock->path() == path)
        return true; // this window's own file, opened again
    QString holder;
    lock = qm::ProjectLock::take(path, lockFolder(), &holder);
    if (lock)
        return true;
    const qm::ModalResult answer = prompts()->messageBox(
        qm::BoxIcon::Question, QStringLiteral("File in use"),
        QStringLiteral("%1 is open in another Quillmap (%2).\n\nOpen it read-only? Its changes can then be saved "
                       "only under another name.")
            .arg(QDir::toNativeSeparators(path), holder),
        qm::BoxButtons::YesNo);
    return answer == qm::ModalResult::Yes;
}

bool TMainForm::lockProject(const QString &path, std::unique_ptr<qm::ProjectLock> &lock)
{
    if (m_projectLock && m_projectLock->path() == path)
        return true;
    QString holder;
    lock = qm::ProjectLock::take(path, lockFolder(), &holder);
    if (!lock) {
        prompts()->warning(QStringLiteral("Error saving %1: it is open in another Quillmap (%2). "
                                          "Save it under another name. The file was not changed.")
                               .arg(QDir::toNativeSeparators(path), holder));
        return false;
    }
    return true;
}
