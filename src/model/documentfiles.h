#pragma once

#include "model/designdocument.h"

#include <QElapsedTimer>
#include <QObject>
#include <memory>

class QTimer;

namespace qm {

class Prompts;
class ProjectLock;
class RecentFiles;
class RecoveryStore;

// What the document's file commands need of the window that shows it.
class DocumentView {
public:
    virtual ~DocumentView() = default;
    // The shown design is about to be replaced: its controls go.
    virtual void discardShownDesign() = 0;
    // Shows the fresh design of a reset.
    virtual void showNewDesign() = 0;
    // Shows a design just opened or recovered.
    virtual void showOpenedDesign() = 0;
    virtual void setCaption(const QString &caption) = 0;
    // The design with what is typed into the areas and not yet stored into
    // the selection, changing nothing that is shown.
    virtual Design designAsShown() const = 0;
};

// The file commands of the one open document: New, Open, Save and Save As,
// the question about unsaved changes, one editor per project file, and the
// recovery file that keeps unsaved work against a crash. Every question goes
// through the prompts, so the commands run without a person in tests.
class DocumentFiles : public QObject {
    Q_OBJECT
public:
    DocumentFiles(DesignDocument &document, DocumentView &view, Prompts *prompts, RecoveryStore *recovery,
                  QObject *parent = nullptr);
    ~DocumentFiles() override;

    // A fresh design: the settings read again, every value at its default,
    // no history, untitled.
    void reset();
    // The button a new design starts with; not a step.
    int addDefaultButton();
    // Asks about unsaved changes first ("Yes" saves through Save As); false
    // when the design stays. The claim on the old file ends.
    bool newDesign();

    // Writes the design to its file, or asks for a name first. False when
    // the design was not written.
    bool save();
    // Asks for a file name and writes the design there. False when the user
    // cancelled or the file could not be written; the file name then stays.
    bool saveAs();
    // Open with its question and its file dialog, which offers `recent`'s
    // projects when it is set.
    void open();
    void setRecent(RecentFiles *recent) { m_recent = recent; }
    // Open once the file is chosen; a missing file gives Open's message.
    void openChosenFile(const QString &chosen);
    // Open's question, then the file: one dropped onto the window or a recent one.
    void openWithQuestion(const QString &path);
    // Reads a project file into the freshly reset design; a file that is
    // no project leaves a fresh, untitled one.
    void readProjectFile(const QString &path);
    // Whether the window may close: saved, or the user said so.
    bool closeQuery();

    // The caption of a titled design.
    QString caption() const;

    // --- One editor per file -------------------------------------------------------
    // The lock of the project at `path` for this document, in `lock` unless it
    // holds it already; false, after saying who holds it, when another
    // program does.
    bool lockProject(const QString &path, std::unique_ptr<ProjectLock> &lock);
    // Whether to go on opening `path`: not locked by another program, or the
    // user chose to open it read-only. `lock` receives the lock, if any.
    bool mayOpen(const QString &path, std::unique_ptr<ProjectLock> &lock);

    // --- Recovery of unsaved designs --------------------------------------------------
    // Offers back the design of a run that did not end cleanly.
    void offerRecovery();
    // Writes the unsaved design to the recovery file now (the timer's job).
    void autosave();
    // The autosave is due this long after a change, and never later than
    // the longest wait after the first change it has not written.
    static constexpr int AutosaveQuietMs = 3000;
    static constexpr int AutosaveLongestWaitMs = 30000;
    QTimer *autosaveTimer() const { return m_autosaveTimer; }

private:
    // Open's unsaved-changes question: true to go on (saved, or "No").
    bool mayLeaveDesign();
    // The folder the project file dialogs start in.
    QString dialogFolder() const;
    static QString lockFolder();
    bool hasFile() const;
    void historyChanged();

    DesignDocument &m_document;
    DocumentView &m_view;
    Prompts *m_prompts;
    RecentFiles *m_recent = nullptr;
    RecoveryStore *m_recovery;
    std::unique_ptr<ProjectLock> m_projectLock;
    // Why the settings file was last refused; empty while it is read.
    QString m_settingsProblem;
    QTimer *m_autosaveTimer = nullptr;
    QElapsedTimer m_unwrittenSince;
};

} // namespace qm
