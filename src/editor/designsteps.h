#pragma once

// The steps of the design's undo history: one small command per kind of
// change. Each works on the design and then has the window show it, so an
// undo or a redo reaches the screen the way the first change did.

#include "model/design.h"

#include <QRect>
#include <QUndoCommand>

namespace qm::edit {

// The selection a step shows again: a button's index, or the background.
inline constexpr int BackgroundSelected = -1;

// Which of the design's rectangles a move or resize changed.
struct Place {
    enum class Kind { Button, Title, BlurbArea };
    Kind kind = Kind::Button;
    int button = -1;   // for Kind::Button
    bool operator==(const Place &) const = default;
};

enum class TextArea { Title, Blurb };

// What the steps need of the window that shows the design.
class DesignEditor {
public:
    virtual ~DesignEditor() = default;

    virtual Design &editedDesign() = 0;
    // Selects a button (by index) or the background, as a click would,
    // unless it is the selection already.
    virtual void restoreSelection(int selection) = 0;
    // Puts the design's rectangles, colours and fonts into the controls.
    virtual void pushDesignToControls() = 0;
    // Shows which areas the design uses and the selection's texts and Blurb
    // picture in them, storing nothing back.
    virtual void showSelection() = 0;
    // What an area shows, without storing it anywhere.
    virtual void setAreaText(TextArea area, const QString &text) = 0;
    virtual void reloadButtonPicture(int index) = 0;
    // A button, its control and its place in the list; the buttons after it
    // are numbered again.
    virtual void insertButton(int index, const ButtonData &data, bool editOnDoubleClick) = 0;
    // Removes a button as Delete Button does; the selected button's removal
    // leaves the background selected.
    virtual void removeButton(int index) = 0;
};

// A step whose change is already on screen when it joins the history (a
// placed button, typed text): its first redo has nothing to do.
class DesignStep : public QUndoCommand {
public:
    DesignStep(DesignEditor &editor, const QString &text, bool alreadyDone);

protected:
    // True once for a step that was done before it was pushed.
    bool skipFirstRedo();

    DesignEditor &m_editor;

private:
    bool m_alreadyDone;
};

class AddButtonStep : public DesignStep {
public:
    // The button at `index`, just placed; `selectionBefore` is what was
    // selected before it was added.
    AddButtonStep(DesignEditor &editor, int index, const ButtonData &data, int selectionBefore);
    void undo() override;
    void redo() override;

private:
    int m_index;
    ButtonData m_data;
    int m_selectionBefore;
};

class DeleteButtonStep : public DesignStep {
public:
    // `data` holds the texts the areas showed for the button.
    DeleteButtonStep(DesignEditor &editor, int index, const ButtonData &data, bool editOnDoubleClick);
    void undo() override;
    void redo() override;

private:
    int m_index;
    ButtonData m_data;
    bool m_editOnDoubleClick;
};

// A move or resize of a button, the Title or the Blurb area. Arrow-key
// moves of one run merge into one step.
class PlaceStep : public DesignStep {
public:
    static constexpr int NoRun = -1;
    PlaceStep(DesignEditor &editor, const Place &place, const QRect &before, const QRect &after, int selection,
              int keyRun = NoRun);
    void undo() override;
    void redo() override;
    int id() const override;
    bool mergeWith(const QUndoCommand *other) override;

private:
    void apply(const QRect &bounds);

    Place m_place;
    QRect m_before;
    QRect m_after;
    int m_selection;
    int m_keyRun;
};

// OK in the button properties: every value of the button at once.
class ButtonPropertiesStep : public DesignStep {
public:
    ButtonPropertiesStep(DesignEditor &editor, int index, const ButtonData &before, const ButtonData &after);
    void undo() override;
    void redo() override;

private:
    void apply(const ButtonData &data);

    int m_index;
    ButtonData m_before;
    ButtonData m_after;
};

// OK in the background properties.
class BackgroundPropertiesStep : public DesignStep {
public:
    BackgroundPropertiesStep(DesignEditor &editor, const BackgroundData &before, const BackgroundData &after);
    void undo() override;
    void redo() override;

private:
    void apply(const BackgroundData &data);

    BackgroundData m_before;
    BackgroundData m_after;
};

// Typing in the Title or Blurb area: the keys of one session (until the
// selection or the focus changes) merge into one step.
class TypingStep : public DesignStep {
public:
    TypingStep(DesignEditor &editor, TextArea area, int selection, const QString &before, const QString &after,
               int session);
    void undo() override;
    void redo() override;
    int id() const override;
    bool mergeWith(const QUndoCommand *other) override;

private:
    void apply(const QString &text);

    TextArea m_area;
    int m_selection;
    QString m_before;
    QString m_after;
    int m_session;
};

} // namespace qm::edit
