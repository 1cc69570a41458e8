// The keyboard: the shortcuts every editor has, and Undo and Redo in the
// surface's menus (the surface's own keys are the surface controller's).

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
    // The tool bar's Save always shows its dialog; the keys save as other
    // editors do: straight to the design's file, or Save As for an untitled one.
    command(QStringLiteral("Save"), bindings(QKeySequence::Save), [this] { Save(); });
    command(QStringLiteral("Save As"), bindings(QKeySequence::SaveAs, {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S)}),
            [this] { SaveAs(); });
    // Linux desktops quit with Ctrl+Q, also where the platform names no key.
    command(QStringLiteral("Quit"), bindings(QKeySequence::Quit, {QKeySequence(Qt::CTRL | Qt::Key_Q)}),
            [this] { QuitButtonClick(); });
    // Not in a text area: there Delete deletes text. Ctrl+D, which X11
    // desktops also bind to Delete, is Duplicate here.
    QList<QKeySequence> deleteKeys = bindings(QKeySequence::Delete);
    deleteKeys.removeAll(QKeySequence(Qt::CTRL | Qt::Key_D));
    command(QStringLiteral("Delete Button"), deleteKeys, [this] { DeleteButtonClick(DeleteButton); });
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
