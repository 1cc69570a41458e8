#include "model/designsteps.h"

#include <utility>

namespace qm::edit {

namespace {

// Steps that merge tell each other apart by these.
enum StepId { KeyMoveId = 1, TypingId = 2, AddButtonId = 3, KeyMoveSeveralId = 4 };

} // namespace

DesignStep::DesignStep(DesignDocument &document, const QString &text)
    : m_document(document)
{
    setText(text);
}

void DesignStep::reselect(int selection)
{
    if (m_document.selection() != selection)
        m_document.select(selection);
}

// --- Adding and deleting buttons ------------------------------------------------

AddButtonStep::AddButtonStep(DesignDocument &document, int index, const ButtonData &data, int selectionBefore)
    : DesignStep(document, QStringLiteral("Add Button"))
    , m_index(index)
    , m_data(data)
    , m_selectionBefore(selectionBefore)
{
}

void AddButtonStep::undo()
{
    m_document.removeButton(m_index);
    reselect(m_selectionBefore);
}

void AddButtonStep::redo()
{
    m_document.insertButton(m_index, m_data, true);
    reselect(m_index);
}

int AddButtonStep::id() const
{
    return AddButtonId;
}

bool AddButtonStep::mergeWith(const QUndoCommand *other)
{
    const auto *placed = dynamic_cast<const PlaceStep *>(other);
    if (!placed || placed->id() != AddButtonId || placed->place() != Place{Place::Kind::Button, m_index})
        return false;
    m_data.setRect(placed->after());
    return true;
}

DeleteButtonStep::DeleteButtonStep(DesignDocument &document, int index, const ButtonData &data)
    : DesignStep(document, QStringLiteral("Delete Button"))
    , m_index(index)
    , m_data(data)
    , m_editOnDoubleClick(document.editsOnDoubleClick(index))
{
}

void DeleteButtonStep::undo()
{
    m_document.insertButton(m_index, m_data, m_editOnDoubleClick);
    reselect(m_index);
}

void DeleteButtonStep::redo()
{
    reselect(m_index);
    m_document.removeButton(m_index);
}

// --- Moving and resizing ------------------------------------------------------------

PlaceStep::PlaceStep(DesignDocument &document, const Place &place, const QRect &before, const QRect &after,
                     int selection, int keyRun)
    : DesignStep(document, before.size() == after.size() ? QStringLiteral("Move") : QStringLiteral("Resize"))
    , m_place(place)
    , m_before(before)
    , m_after(after)
    , m_selection(selection)
    , m_keyRun(keyRun)
{
}

void PlaceStep::apply(const QRect &bounds)
{
    reselect(m_selection);
    switch (m_place.kind) {
    case Place::Kind::Button:
        m_document.setButtonRect(m_place.button, bounds);
        break;
    case Place::Kind::Title:
        m_document.setAreaRect(TextArea::Title, bounds);
        break;
    case Place::Kind::BlurbArea:
        m_document.setAreaRect(TextArea::Blurb, bounds);
        break;
    }
}

void PlaceStep::undo()
{
    apply(m_before);
}

void PlaceStep::redo()
{
    // Also the first time: a mouse gesture has moved only its control, as a
    // preview, and an arrow key's move is made here.
    apply(m_after);
}

int PlaceStep::id() const
{
    if (m_keyRun == Placing)
        return AddButtonId;
    return m_keyRun == NoRun ? -1 : KeyMoveId;
}

bool PlaceStep::mergeWith(const QUndoCommand *other)
{
    const auto *next = dynamic_cast<const PlaceStep *>(other);
    if (!next || m_keyRun == Placing || next->m_keyRun != m_keyRun || next->m_place != m_place)
        return false;
    m_after = next->m_after;
    // A run that ends where it began changed nothing.
    setObsolete(m_after == m_before);
    return true;
}

ButtonRectsStep::ButtonRectsStep(DesignDocument &document, const QString &text, const QList<int> &buttons,
                                 const QList<QRect> &before, const QList<QRect> &after, int keyRun)
    : DesignStep(document, text)
    , m_buttons(buttons)
    , m_before(before)
    , m_after(after)
    , m_keyRun(keyRun)
    , m_selection(document.selection())
    , m_also(document.alsoSelected())
{
}

void ButtonRectsStep::apply(const QList<QRect> &rects)
{
    for (qsizetype i = 0; i < m_buttons.size(); ++i)
        m_document.setButtonRect(m_buttons.at(i), rects.at(i));
    // The buttons stay selected together, so the next command acts on them all.
    if (m_document.selection() != m_selection || m_document.alsoSelected() != m_also) {
        reselect(m_selection);
        m_document.setAlsoSelected(m_also);
    }
}

void ButtonRectsStep::undo()
{
    apply(m_before);
}

void ButtonRectsStep::redo()
{
    apply(m_after);
}

int ButtonRectsStep::id() const
{
    return m_keyRun >= 0 ? KeyMoveSeveralId : -1;
}

bool ButtonRectsStep::mergeWith(const QUndoCommand *other)
{
    const auto *next = dynamic_cast<const ButtonRectsStep *>(other);
    if (!next || next->m_keyRun != m_keyRun || next->m_buttons != m_buttons)
        return false;
    m_after = next->m_after;
    setObsolete(m_after == m_before);
    return true;
}

AddButtonsStep::AddButtonsStep(DesignDocument &document, const QString &text, const QList<ButtonData> &buttons)
    : DesignStep(document, text)
    , m_first(document.buttonCount())
    , m_buttons(buttons)
    , m_selectionBefore(document.selection())
    , m_alsoBefore(document.alsoSelected())
{
}

void AddButtonsStep::redo()
{
    QList<int> added;
    for (const ButtonData &b : std::as_const(m_buttons)) {
        added << m_document.buttonCount();
        m_document.insertButton(added.last(), b, true);
    }
    if (added.isEmpty())
        return;
    reselect(added.takeFirst());
    m_document.setAlsoSelected(added);
}

void AddButtonsStep::undo()
{
    for (qsizetype i = m_buttons.size(); i-- > 0;)
        m_document.removeButton(m_first + int(i));
    reselect(m_selectionBefore);
    m_document.setAlsoSelected(m_alsoBefore);
}

// --- Properties --------------------------------------------------------------------------

ButtonPropertiesStep::ButtonPropertiesStep(DesignDocument &document, int index, const ButtonData &before,
                                           const ButtonData &after)
    : DesignStep(document, QStringLiteral("Button Properties"))
    , m_index(index)
    , m_before(before)
    , m_after(after)
{
}

void ButtonPropertiesStep::apply(const ButtonData &data)
{
    reselect(m_index);
    m_document.setButton(m_index, data);
}

void ButtonPropertiesStep::undo()
{
    apply(m_before);
}

void ButtonPropertiesStep::redo()
{
    apply(m_after);
}

BackgroundPropertiesStep::BackgroundPropertiesStep(DesignDocument &document, const BackgroundData &before,
                                                   const BackgroundData &after)
    : DesignStep(document, QStringLiteral("Background Properties"))
    , m_before(before)
    , m_after(after)
{
}

void BackgroundPropertiesStep::apply(const BackgroundData &data)
{
    reselect(BackgroundSelected);
    m_document.setBackground(data);
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

TypingStep::TypingStep(DesignDocument &document, TextArea area, int selection, const QString &before,
                       const QString &after, int session)
    : DesignStep(document, QStringLiteral("Typing"))
    , m_area(area)
    , m_selection(selection)
    , m_before(before)
    , m_after(after)
    , m_session(session)
{
}

void TypingStep::apply(const QString &text)
{
    reselect(m_selection);
    m_document.setText(m_selection, m_area, text);
}

void TypingStep::undo()
{
    apply(m_before);
}

void TypingStep::redo()
{
    if (std::exchange(m_typed, false))
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
