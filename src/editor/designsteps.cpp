#include "editor/designsteps.h"

namespace qm::edit {

namespace {

// Steps that merge tell each other apart by these.
enum StepId { KeyMoveId = 1, TypingId = 2 };

} // namespace

DesignStep::DesignStep(DesignEditor &editor, const QString &text, bool alreadyDone)
    : m_editor(editor)
    , m_alreadyDone(alreadyDone)
{
    setText(text);
}

bool DesignStep::skipFirstRedo()
{
    const bool skip = m_alreadyDone;
    m_alreadyDone = false;
    return skip;
}

// --- Adding and deleting buttons ------------------------------------------------

AddButtonStep::AddButtonStep(DesignEditor &editor, int index, const ButtonData &data, int selectionBefore)
    : DesignStep(editor, QStringLiteral("Add Button"), true)
    , m_index(index)
    , m_data(data)
    , m_selectionBefore(selectionBefore)
{
}

void AddButtonStep::undo()
{
    m_editor.removeButton(m_index);
    m_editor.restoreSelection(m_selectionBefore);
}

void AddButtonStep::redo()
{
    if (skipFirstRedo())
        return;
    m_editor.insertButton(m_index, m_data, false);
    m_editor.restoreSelection(m_index);
}

DeleteButtonStep::DeleteButtonStep(DesignEditor &editor, int index, const ButtonData &data, bool editOnDoubleClick)
    : DesignStep(editor, QStringLiteral("Delete Button"), false)
    , m_index(index)
    , m_data(data)
    , m_editOnDoubleClick(editOnDoubleClick)
{
}

void DeleteButtonStep::undo()
{
    m_editor.insertButton(m_index, m_data, m_editOnDoubleClick);
    m_editor.restoreSelection(m_index);
}

void DeleteButtonStep::redo()
{
    m_editor.restoreSelection(m_index);
    m_editor.removeButton(m_index);
}

// --- Moving and resizing ------------------------------------------------------------

PlaceStep::PlaceStep(DesignEditor &editor, const Place &place, const QRect &before, const QRect &after,
                     int selection, int keyRun)
    : DesignStep(editor, before.size() == after.size() ? QStringLiteral("Move") : QStringLiteral("Resize"), false)
    , m_place(place)
    , m_before(before)
    , m_after(after)
    , m_selection(selection)
    , m_keyRun(keyRun)
{
}

void PlaceStep::apply(const QRect &bounds)
{
    m_editor.restoreSelection(m_selection);
    Design &d = m_editor.editedDesign();
    switch (m_place.kind) {
    case Place::Kind::Button:
        if (m_place.button >= 0 && m_place.button < d.Buttons.size())
            d.Buttons[m_place.button].setRect(bounds);
        break;
    case Place::Kind::Title:
        d.TitleRect = bounds;
        break;
    case Place::Kind::BlurbArea:
        d.BlurbRect = bounds;
        break;
    }
    m_editor.pushDesignToControls();
}

void PlaceStep::undo()
{
    apply(m_before);
}

void PlaceStep::redo()
{
    // Also the first time: a mouse gesture has left the control there
    // already, and an arrow key's move is made here.
    apply(m_after);
}

int PlaceStep::id() const
{
    return m_keyRun == NoRun ? -1 : KeyMoveId;
}

bool PlaceStep::mergeWith(const QUndoCommand *other)
{
    const auto *next = static_cast<const PlaceStep *>(other);
    if (next->m_keyRun != m_keyRun || next->m_place != m_place)
        return false;
    m_after = next->m_after;
    // A run that ends where it began changed nothing.
    setObsolete(m_after == m_before);
    return true;
}

// --- Properties --------------------------------------------------------------------------

ButtonPropertiesStep::ButtonPropertiesStep(DesignEditor &editor, int index, const ButtonData &before,
                                           const ButtonData &after)
    : DesignStep(editor, QStringLiteral("Button Properties"), false)
    , m_index(index)
    , m_before(before)
    , m_after(after)
{
}

void ButtonPropertiesStep::apply(const ButtonData &data)
{
    m_editor.restoreSelection(m_index);
    Design &d = m_editor.editedDesign();
    if (m_index < 0 || m_index >= d.Buttons.size())
        return;
    d.Buttons[m_index] = data;
    d.Buttons[m_index].Tag = m_index;
    m_editor.pushDesignToControls();
    m_editor.reloadButtonPicture(m_index);
    m_editor.showSelection();
}

void ButtonPropertiesStep::undo()
{
    apply(m_before);
}

void ButtonPropertiesStep::redo()
{
    apply(m_after);
}

BackgroundPropertiesStep::BackgroundPropertiesStep(DesignEditor &editor, const BackgroundData &before,
                                                   const BackgroundData &after)
    : DesignStep(editor, QStringLiteral("Background Properties"), false)
    , m_before(before)
    , m_after(after)
{
}

void BackgroundPropertiesStep::apply(const BackgroundData &data)
{
    m_editor.restoreSelection(BackgroundSelected);
    m_editor.editedDesign().setBackground(data);
    m_editor.pushDesignToControls();
    m_editor.showSelection();
}

void BackgroundPropertiesStep::undo()
{
    apply(m_before);
}

void BackgroundPropertiesStep::redo()
{
    apply(m_after);
}

// --- Typing ----------------------------------------------------------------------------------

TypingStep::TypingStep(DesignEditor &editor, TextArea area, int selection, const QString &before,
                       const QString &after, int session)
    : DesignStep(editor, QStringLiteral("Typing"), true)
    , m_area(area)
    , m_selection(selection)
    , m_before(before)
    , m_after(after)
    , m_session(session)
{
}

void TypingStep::apply(const QString &text)
{
    m_editor.restoreSelection(m_selection);
    Design &d = m_editor.editedDesign();
    const bool title = m_area == TextArea::Title;
    if (m_selection >= 0 && m_selection < d.Buttons.size())
        (title ? d.Buttons[m_selection].TitleText : d.Buttons[m_selection].BlurbText) = text;
    else
        (title ? d.BgTitleText : d.BgBlurbText) = text;
    m_editor.setAreaText(m_area, text);
}

void TypingStep::undo()
{
    apply(m_before);
}

void TypingStep::redo()
{
    // The typed text is in the area already; it reaches the design, as
    // typing does, when the selection changes.
    if (skipFirstRedo())
        return;
    apply(m_after);
}

int TypingStep::id() const
{
    return TypingId;
}

bool TypingStep::mergeWith(const QUndoCommand *other)
{
    const auto *next = static_cast<const TypingStep *>(other);
    if (next->m_session != m_session || next->m_area != m_area || next->m_selection != m_selection)
        return false;
    m_after = next->m_after;
    setObsolete(m_after == m_before);
    return true;
}

} // namespace qm::edit
