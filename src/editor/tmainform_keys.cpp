// The keyboard: the shortcuts every editor has, Undo and Redo in the
// surface's menus, and the keys of the design surface (arrows move, Tab
// selects, Delete removes, Enter opens the properties).

#include "editor/tcleanmybutton.h"
#include "editor/designsurface.h"
#include "editor/tmainform.h"
#include "editor/areaedit.h"

#include <QAction>
#include <QKeyEvent>
#include <QMenu>
#include <QPushButton>
#include <QUndoStack>

using namespace qm::edit;

namespace {

// The standard bindings of a key sequence on this desktop, and any extra.
QList<QKeySequence> bindings(QKeySequence::StandardKey key, const QList<QKeySequence> &extra = {})
{
    QList<QKeySequence> keys = QKeySequence::keyBindings(key);
    for (const QKeySequence &k : extra)
        if (!keys.contains(k))
            keys << k;
    return keys;
}

bool isModifierKey(int key)
{
    return key == Qt::Key_Shift || key == Qt::Key_Control || key == Qt::Key_Alt || key == Qt::Key_Meta
        || key == Qt::Key_AltGr;
}

} // namespace

void TMainForm::setUpKeys()
{
    auto command = [this](const QString &name, const QList<QKeySequence> &keys, auto run) {
        auto *a = new QAction(name, this);
        a->setShortcuts(keys);
        a->setShortcutContext(Qt::WindowShortcut);
        connect(a, &QAction::triggered, this, run);
        addAction(a);
        return a;
    };
    command(QStringLiteral("New"), bindings(QKeySequence::New), [this] { NewButtonClick(); });
    command(QStringLiteral("Open"), bindings(QKeySequence::Open), [this] { OpenButtonClick(); });
    // Save is Save as the tool bar runs it: the file dialog every time.
    command(QStringLiteral("Save"), bindings(QKeySequence::Save), [this] { SaveButtonClick(); });
    // Linux desktops quit with Ctrl+Q, also where the platform names no key.
    command(QStringLiteral("Quit"), bindings(QKeySequence::Quit, {QKeySequence(Qt::CTRL | Qt::Key_Q)}),
            [this] { QuitButtonClick(); });
    // Not in a text area: there Delete deletes text.
    command(QStringLiteral("Delete Button"), bindings(QKeySequence::Delete),
            [this] { DeleteButtonClick(DeleteButton); });
    command(QStringLiteral("Properties"), {QKeySequence(Qt::Key_F2)}, [this] { EditField1Click(EditField1); });

    QAction *undo = command(QStringLiteral("Undo"), bindings(QKeySequence::Undo), [this] { Undo(); });
    QAction *redo = command(QStringLiteral("Redo"),
                            bindings(QKeySequence::Redo, {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z),
                                                          QKeySequence(Qt::CTRL | Qt::Key_Y)}),
                            [this] { Redo(); });
    undo->setObjectName(QStringLiteral("UndoAction"));
    redo->setObjectName(QStringLiteral("RedoAction"));
    undo->setEnabled(false);
    redo->setEnabled(false);
    connect(undoStack(), &QUndoStack::canUndoChanged, undo, &QAction::setEnabled);
    connect(undoStack(), &QUndoStack::canRedoChanged, redo, &QAction::setEnabled);
    auto named = [](const QString &verb, const QString &step) {
        return step.isEmpty() ? verb : verb + QLatin1Char(' ') + step;
    };
    connect(undoStack(), &QUndoStack::undoTextChanged, undo,
            [undo, named](const QString &step) { undo->setText(named(QStringLiteral("Undo"), step)); });
    connect(undoStack(), &QUndoStack::redoTextChanged, redo,
            [redo, named](const QString &step) { redo->setText(named(QStringLiteral("Redo"), step)); });
    // At the end of the surface's menus, after what they always held.
    for (QMenu *menu : {ButtMenu, TextMenu, BackgroundMenu}) {
        menu->addSeparator();
        menu->addAction(undo);
        menu->addAction(redo);
    }

    Background->setFocusPolicy(Qt::StrongFocus);
    Background->installEventFilter(this);
}

// --- The design surface's keys ---------------------------------------------------------

QWidget *TMainForm::keyTarget() const
{
    if (m_keyArea && !m_keyArea->isHidden())
        return m_keyArea;
    return SelectedButton;
}

bool TMainForm::surfaceKey(QKeyEvent *event)
{
    const int key = event->key();
    const Qt::KeyboardModifiers modifiers = event->modifiers() & ~Qt::KeypadModifier;
    if (isModifierKey(key))
        return false;

    int dx = 0;
    int dy = 0;
    switch (key) {
    case Qt::Key_Left: dx = -1; break;
    case Qt::Key_Right: dx = 1; break;
    case Qt::Key_Up: dy = -1; break;
    case Qt::Key_Down: dy = 1; break;
    default: break;
    }
    if ((dx || dy) && (modifiers == Qt::NoModifier || modifiers == Qt::ShiftModifier)) {
        // With nothing to move the arrows scroll the surface.
        if (!keyTarget())
            return false;
        const int step = modifiers == Qt::ShiftModifier ? 10 : 1;
        nudge(dx * step, dy * step);
        return true;
    }

    // Any other key ends a run of arrow moves.
    ++m_keyRun;
    if (modifiers == Qt::NoModifier) {
        switch (key) {
        case Qt::Key_Backspace:
            DeleteButtonClick(DeleteButton);
            return true;
        case Qt::Key_Return:
        case Qt::Key_Enter:
            EditField1Click(EditField1);
            return true;
        case Qt::Key_Tab:
            return selectNextButton(true);
        default:
            break;
        }
    }
    if (key == Qt::Key_Backtab || (key == Qt::Key_Tab && modifiers == Qt::ShiftModifier))
        return selectNextButton(false);
    return false;
}

void TMainForm::nudge(int dx, int dy)
{
    QWidget *target = keyTarget();
    const std::optional<Place> place = target ? placeOf(target) : std::nullopt;
    if (!place)
        return;
    finishGesture();
    const QRect before = designRect(*place);
    QRect after = before.translated(dx, dy);
    // As at the end of a drag, nothing stays left of or above the origin.
    if (after.left() < 0)
        after.moveLeft(0);
    if (after.top() < 0)
        after.moveTop(0);
    if (after == before)
        return;
    m_document->push(new PlaceStep(*m_document, *place, before, after, selectionIndex(), m_keyRun));
    Background->ensureWidgetVisible(target, 0, 0);
}

bool TMainForm::selectNextButton(bool forward)
{
    // The order runs from the background through the buttons in list order.
    const int next = selectionIndex() + (forward ? 1 : -1);
    if (next >= ButtonControls.size() || next < BackgroundSelected)
        return false;
    if (next == BackgroundSelected) {
        HighlightTable(Background);
        return true;
    }
    TCleanMyButton *button = ButtonControls.at(next);
    HighlightButton(button);
    Background->ensureWidgetVisible(button, 0, 0);
    return true;
}
