#pragma once

// The steps of the design's undo history: one small command per kind of
// change. Each records the values before and after and applies them to the
// document, which tells the views what changed; an undo or a redo reaches
// the screen the way the first change did.

#include "model/designdocument.h"

#include <QRect>
#include <QUndoCommand>

namespace qm::edit {

using qm::BackgroundSelected;

// Which of the design's rectangles a move or resize changed.
struct Place {
    enum class Kind { Button, Title, BlurbArea };
    Kind kind = Kind::Button;
    int button = -1;   // for Kind::Button
    bool operator==(const Place &) const = default;
};

class DesignStep : public QUndoCommand {
public:
    DesignStep(DesignDocument &document, const QString &text);

protected:
    // Selects `selection` unless it is the selection already.
    void reselect(int selection);

    DesignDocument &m_document;
};

// Add Button: the button appears at once, and where it is placed (the
// PlaceStep that ends the placing) becomes part of this one step.
class AddButtonStep : public DesignStep {
public:
    AddButtonStep(DesignDocument &document, int index, const ButtonData &data, int selectionBefore);
    void undo() override;
    void redo() override;
    int id() const override;
    bool mergeWith(const QUndoCommand *other) override;

private:
    int m_index;
    ButtonData m_data;
    int m_selectionBefore;
};

class DeleteButtonStep : public DesignStep {
public:
    // `data` holds the texts the areas showed for the button.
    DeleteButtonStep(DesignDocument &document, int index, const ButtonData &data);
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
    // The end of Add Button's placing, which joins the Add Button step.
    static constexpr int Placing = -2;
    PlaceStep(DesignDocument &document, const Place &place, const QRect &before, const QRect &after, int selection,
              int keyRun = NoRun);
    void undo() override;
    void redo() override;
    int id() const override;
    bool mergeWith(const QUndoCommand *other) override;

    const Place &place() const { return m_place; }
    QRect after() const { return m_after; }

private:
    void apply(const QRect &bounds);

    Place m_place;
    QRect m_before;
    QRect m_after;
    int m_selection;
    int m_keyRun;
};

// Several buttons placed at once: an alignment, a distribution, a size made
// the same, or a nudge of all that are selected (whose runs of arrow keys
// merge as a single button's do).
class ButtonRectsStep : public DesignStep {
public:
    ButtonRectsStep(DesignDocument &document, const QString &text, const QList<int> &buttons,
                    const QList<QRect> &before, const QList<QRect> &after, int keyRun = PlaceStep::NoRun);
    void undo() override;
    void redo() override;
    int id() const override;
    bool mergeWith(const QUndoCommand *other) override;

private:
    void apply(const QList<QRect> &rects);

    QList<int> m_buttons;
    QList<QRect> m_before;
    QList<QRect> m_after;
    int m_keyRun;
    int m_selection;
    QList<int> m_also;
};

// Duplicate and Paste: buttons added after the last one, and selected.
class AddButtonsStep : public DesignStep {
public:
    AddButtonsStep(DesignDocument &document, const QString &text, const QList<ButtonData> &buttons);
    void undo() override;
    void redo() override;

private:
    int m_first;
    QList<ButtonData> m_buttons;
    int m_selectionBefore;
    QList<int> m_alsoBefore;
};

// OK in the button properties: every value of the button at once.
class ButtonPropertiesStep : public DesignStep {
public:
    ButtonPropertiesStep(DesignDocument &document, int index, const ButtonData &before, const ButtonData &after);
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
    BackgroundPropertiesStep(DesignDocument &document, const BackgroundData &before, const BackgroundData &after);
    void undo() override;
    void redo() override;

private:
    void apply(const BackgroundData &data);

    BackgroundData m_before;
    BackgroundData m_after;
};

// Typing in the Title or Blurb area: the keys of one session (until the
// selection or the focus changes) merge into one step. The typed text is in
// the area already when the step is pushed; it reaches the design, as typing
// does, when the selection changes.
class TypingStep : public DesignStep {
public:
    TypingStep(DesignDocument &document, TextArea area, int selection, const QString &before, const QString &after,
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
    bool m_typed = true;
};

} // namespace qm::edit
