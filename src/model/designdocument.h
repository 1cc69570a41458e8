#pragma once

#include "model/design.h"
#include "model/linebreaker.h"
#include "model/textarea.h"

#include <QList>
#include <QObject>
#include <QRect>

class QUndoCommand;
class QUndoStack;

namespace qm {

// The selection: a button's index, or the background.
inline constexpr int BackgroundSelected = -1;

// The one open design, what is selected in it, and its history. Every change
// the user makes is a step pushed here (see designsteps.h); a step changes
// the design through the functions below, and they tell whoever shows the
// design what changed, one button or area at a time. Whether the design is
// saved follows the history alone: it is saved while the history stands
// where it stood at the last open or save.
class DesignDocument : public QObject {
    Q_OBJECT
public:
    explicit DesignDocument(QObject *parent = nullptr);
    ~DesignDocument() override;

    // The design's values. Reading is free; the few stores made outside the
    // functions below (texts typed into an area reaching the selection when
    // it changes, a file name, Absolute positioning) change nothing that is
    // shown elsewhere.
    Design &design() { return m_design; }
    const Design &design() const { return m_design; }

    // Where the Title and Blurb areas break the design's texts into lines.
    const LineBreaker &lineBreaker() const { return m_lines; }

    // What the design is made with: the program's paths and settings.
    ProgramSetup &program() { return m_program; }
    const ProgramSetup &program() const { return m_program; }

    // --- Files --------------------------------------------------------------------
    // Reads the project file at `path` (see findProjectFile) in place of the
    // design, keeping the program paths and settings: the design opens
    // saved, with no history and the background selected, whose areas have
    // given its texts back as they show them. False, with the reason in
    // `message` and the design untouched, when the file is not a project.
    bool open(const QString &path, QString *message = nullptr);
    // Whether there is anything to build a block from.
    bool hasContent() const { return m_design.ShowTitleAndBlurb || !m_design.Buttons.isEmpty(); }

    // --- History ------------------------------------------------------------------
    QUndoStack *undoStack() const { return m_steps; }
    void push(QUndoCommand *step);
    bool isSaved() const;
    // The design as it is now is the one on disk (open, save, a new design).
    void markSaved();
    // The design differs from any file (a recovered design).
    void markUnsaved();

    // --- Selection -------------------------------------------------------------------
    int selection() const { return m_selection; }
    // Tells selectionChanging before and selectionChanged after a change; a
    // selection out of range selects the background. Selecting another drops
    // the buttons selected with the selection.
    void select(int selection);

    // Buttons selected with the selection (Shift+click, a paste): they move,
    // align, copy and go with it, while the areas and the dialogs show the
    // selection alone. Sorted, never the selection itself.
    const QList<int> &alsoSelected() const { return m_also; }
    // The selection and the buttons selected with it; empty with the
    // background selected.
    QList<int> selectedButtons() const;
    // Out-of-range indexes, the selection and repeats are dropped; nothing is
    // selected with the background.
    void setAlsoSelected(QList<int> buttons);

    // --- Changes --------------------------------------------------------------------
    // A whole new design (New, Open, a recovered design): no history, the
    // background selected, every button as read.
    void replace(const Design &design, bool buttonsEditOnDoubleClick);
    void setButtonRect(int index, const QRect &bounds);
    void setButton(int index, const ButtonData &data);
    // Inserts a button; the buttons after it are numbered again, and a
    // selection at or after it moves with its button.
    void insertButton(int index, const ButtonData &data, bool editOnDoubleClick);
    // Removes a button; its removal while selected selects the background.
    void removeButton(int index);
    void setAreaRect(TextArea area, const QRect &bounds);
    // A text of the background (BackgroundSelected) or of a button.
    void setText(int owner, TextArea area, const QString &text);
    void setBackground(const BackgroundData &data);

    // Whether a double click on the button opens its properties: true for the
    // buttons of an opened file and for those added since (a designer
    // double-clicks the button just added as readily as a loaded one).
    bool editsOnDoubleClick(int index) const;

    int buttonCount() const { return int(m_design.Buttons.size()); }
    bool hasButton(int index) const { return index >= 0 && index < m_design.Buttons.size(); }

signals:
    void replaced();
    void selectionChanging(int from, int to);
    void selectionChanged(int selection);
    void alsoSelectedChanged();
    // Only the place and size of the button changed.
    void buttonMoved(int index);
    // Any of the button's values may have changed.
    void buttonChanged(int index);
    void buttonInserted(int index);
    // `index` is gone; the buttons after it moved up by one.
    void buttonRemoved(int index);
    void areaMoved(qm::TextArea area);
    void textChanged(int owner, qm::TextArea area);
    void backgroundChanged();
    void savedChanged(bool saved);

private:
    Design m_design;
    ProgramSetup m_program;
    AreaLineBreaker m_lines{m_design};
    QList<bool> m_editOnDoubleClick;
    int m_selection = BackgroundSelected;
    QList<int> m_also;
    QUndoStack *m_steps = nullptr;
};

} // namespace qm
