// Editing several buttons at once: Shift+click selects more, Duplicate,
// Copy, Cut and Paste (also between two running programs), and the Arrange
// commands. Each change is one step of the document.

#include "compile/appletblock.h"
#include "editor/areaedit.h"
#include "editor/designsurface.h"
#include "editor/tcleanmybutton.h"
#include "editor/tmainform.h"
#include "model/buttontransfer.h"
#include "platform/clipboard.h"

#include <QAction>
#include <QCursor>
#include <QMenu>
#include <QSet>
#include <QUndoStack>

using namespace qm::edit;

namespace {

// How far Duplicate, and a paste onto the copied buttons themselves, put
// the new buttons from the old: clear of them, close enough to find.
constexpr int kDuplicateOffset = 10;

} // namespace

void TMainForm::setUpArrange()
{
    connect(m_document, &qm::DesignDocument::alsoSelectedChanged, this, &TMainForm::showAlsoSelected);
    auto command = [this](QMenu *menu, const QString &name, const QKeySequence &key, auto run) {
        QAction *a = menu->addAction(name, this, run);
        a->setShortcut(key);
        a->setShortcutContext(Qt::WindowShortcut);
        addAction(a);
        return a;
    };
    // After Move and Remove, before Properties.
    QAction *properties = SetURL1;
    auto *edit = new QMenu(this);
    command(edit, QStringLiteral("Duplicate"), QKeySequence(Qt::CTRL | Qt::Key_D), [this] { DuplicateClick(); });
    command(edit, QStringLiteral("Copy"), QKeySequence::Copy, [this] { CopyClick(); });
    command(edit, QStringLiteral("Cut"), QKeySequence::Cut, [this] { CutClick(); });
    for (QAction *a : edit->actions())
        ButtMenu->insertAction(properties, a);
    ButtMenu->insertSeparator(properties);

    Arrange1 = new QMenu(QStringLiteral("Arrange"), this);
    using A = qm::Arrangement;
    const struct {
        A how;
        QKeySequence key;
    } arrangements[] = {
        {A::AlignLeft, QKeySequence(Qt::ALT | Qt::SHIFT | Qt::Key_L)},
        {A::AlignRight, QKeySequence(Qt::ALT | Qt::SHIFT | Qt::Key_R)},
        {A::AlignTop, QKeySequence(Qt::ALT | Qt::SHIFT | Qt::Key_T)},
        {A::AlignBottom, QKeySequence(Qt::ALT | Qt::SHIFT | Qt::Key_B)},
        {A::AlignCentres, QKeySequence(Qt::ALT | Qt::SHIFT | Qt::Key_C)},
        {A::AlignMiddles, QKeySequence(Qt::ALT | Qt::SHIFT | Qt::Key_M)},
        {A::SpaceHorizontally, QKeySequence(Qt::ALT | Qt::SHIFT | Qt::Key_H)},
        {A::SpaceVertically, QKeySequence(Qt::ALT | Qt::SHIFT | Qt::Key_V)},
        {A::SameWidth, QKeySequence(Qt::ALT | Qt::SHIFT | Qt::Key_W)},
        {A::SameHeight, QKeySequence(Qt::ALT | Qt::SHIFT | Qt::Key_E)},
        {A::SameSize, QKeySequence(Qt::ALT | Qt::SHIFT | Qt::Key_S)},
    };
    for (const auto &a : arrangements) {
        command(Arrange1, qm::arrangementName(a.how), a.key, [this, how = a.how] { ArrangeClick(how); });
        if (a.how == A::AlignMiddles || a.how == A::SpaceVertically)
            Arrange1->addSeparator();
    }
    ButtMenu->insertMenu(properties, Arrange1);
    ButtMenu->insertSeparator(properties);
    // Arranging takes two buttons at least (the keys do nothing with one).
    connect(ButtMenu, &QMenu::aboutToShow, this,
            [this] { Arrange1->setEnabled(m_document->selectedButtons().size() > 1); });

    // Ctrl+V puts the buttons where they were; the surface's menu puts them
    // where it was opened.
    command(new QMenu(this), QStringLiteral("Paste"), QKeySequence::Paste, [this] { PasteClick(); });
    QAction *pasteHere = new QAction(QStringLiteral("Paste Here"), this);
    connect(pasteHere, &QAction::triggered, this, [this] { PasteClick(m_pastePoint); });
    BackgroundMenu->insertAction(SetDimensions1, pasteHere);
    BackgroundMenu->insertSeparator(SetDimensions1);
    connect(BackgroundMenu, &QMenu::aboutToShow, this, [this, pasteHere] {
        m_pastePoint = Background->canvas()->mapFromGlobal(QCursor::pos());
        pasteHere->setEnabled(m_services.clipboard
                              && !m_services.clipboard->data(QLatin1String(qm::ButtonsMimeType)).isEmpty());
    });
}

bool TMainForm::extendSelection(QWidget *button)
{
    const int index = int(ButtonControls.indexOf(qobject_cast<TCleanMyButton *>(button)));
    if (index < 0)
        return false;
    const int selected = selectionIndex();
    if (selected < 0) {
        HighlightButton(button);
        return true;
    }
    if (index == selected)
        return true;
    QList<int> also = m_document->alsoSelected();
    if (also.contains(index))
        also.removeAll(index);
    else
        also << index;
    m_document->setAlsoSelected(also);
    return true;
}

void TMainForm::showAlsoSelected()
{
    const QList<int> &list = m_document->alsoSelected();
    const QSet<int> also(list.cbegin(), list.cend());
    for (int i = 0; i < ButtonControls.size(); ++i)
        ButtonControls.at(i)->setAlsoSelected(also.contains(i));
}

QList<qm::ButtonData> TMainForm::selectedButtonData()
{
    // What was typed into the selection belongs to what is copied.
    flushSelection();
    // In list order, so that copies lie over each other as their originals do.
    QList<int> selected = m_document->selectedButtons();
    std::sort(selected.begin(), selected.end());
    QList<qm::ButtonData> out;
    for (int index : std::as_const(selected))
        out << design().Buttons.at(index);
    return out;
}

void TMainForm::addButtons(const QString &step, QList<qm::ButtonData> buttons, std::optional<QPoint> at)
{
    if (buttons.isEmpty())
        return;
    finishGesture();
    QRect around;
    for (const qm::ButtonData &b : std::as_const(buttons))
        around = around.united(b.rect());
    QPoint shift;
    if (at) {
        shift = *at - around.topLeft();
    } else {
        // Onto the very buttons they came from, they move clear of them, as
        // Duplicate puts them, and on from copies made before.
        const auto lieOnOthers = [this, &buttons](const QPoint &by) {
            return std::all_of(buttons.cbegin(), buttons.cend(), [this, &by](const qm::ButtonData &b) {
                return std::any_of(design().Buttons.cbegin(), design().Buttons.cend(),
                                   [&](const qm::ButtonData &o) { return o.rect() == b.rect().translated(by); });
            });
        };
        for (int tries = 0; tries < 100 && lieOnOthers(shift); ++tries)
            shift += QPoint(kDuplicateOffset, kDuplicateOffset);
    }
    // Nothing goes left of or above the surface.
    shift.setX(std::max(shift.x(), -around.left()));
    shift.setY(std::max(shift.y(), -around.top()));
    for (qm::ButtonData &b : buttons)
        b.setRect(b.rect().translated(shift));
    m_document->push(new AddButtonsStep(*m_document, step, buttons));
    Background->updateExtent();
    Background->setFocus(Qt::OtherFocusReason);
}

void TMainForm::DuplicateClick()
{
    addButtons(QStringLiteral("Duplicate"), selectedButtonData(), std::nullopt);
}

void TMainForm::CopyClick()
{
    const QList<qm::ButtonData> buttons = selectedButtonData();
    if (buttons.isEmpty() || !m_services.clipboard)
        return;
    // Other programs get the buttons as the block of a design that holds
    // only them, without copying a sound.
    qm::Design alone = design();
    alone.Buttons = buttons;
    alone.renumber();
    qm::AppletBuildEnv env;
    env.lines = &lineBreaker();
    env.surfaceSize = Background->size();
    const std::optional<qm::AppletBlock> block = qm::buildAppletBlock(alone, false, env);
    m_services.clipboard->setData(QLatin1String(qm::ButtonsMimeType), qm::buttonsToBytes(buttons),
                                  block ? block->html : QString());
}

void TMainForm::CutClick()
{
    const QList<int> doomed = m_document->selectedButtons();
    if (doomed.isEmpty())
        return;
    CopyClick();
    removeButtons(QStringLiteral("Cut"), doomed);
}

void TMainForm::PasteClick(std::optional<QPoint> at)
{
    if (!m_services.clipboard)
        return;
    const QByteArray bytes = m_services.clipboard->data(QLatin1String(qm::ButtonsMimeType));
    if (bytes.isEmpty())
        return;
    const std::optional<QList<qm::ButtonData>> buttons = qm::buttonsFromBytes(bytes);
    if (!buttons) {
        prompts()->warning(QStringLiteral("The clipboard holds no buttons this program can paste (at most %1 at once).")
                               .arg(qm::MaxPastedButtons));
        return;
    }
    addButtons(QStringLiteral("Paste"), *buttons, at);
}

void TMainForm::removeButtons(const QString &step, QList<int> doomed)
{
    finishGesture();
    // From the last, so that each index still names its button; an undo
    // brings them back from the first.
    std::sort(doomed.begin(), doomed.end(), std::greater<int>());
    undoStack()->beginMacro(step);
    for (int index : std::as_const(doomed)) {
        qm::ButtonData removed = design().Buttons.at(index);
        if (index == selectionIndex() && design().ShowTitleAndBlurb) {
            removed.TitleText = Title->text();
            removed.BlurbText = Blurb->text();
        }
        m_document->push(new DeleteButtonStep(*m_document, index, removed));
    }
    undoStack()->endMacro();
}

void TMainForm::ArrangeClick(qm::Arrangement how)
{
    const QList<int> buttons = m_document->selectedButtons();
    QList<QRect> before;
    for (int index : buttons)
        before << design().Buttons.at(index).rect();
    const QList<QRect> after = qm::arranged(before, how);
    if (after == before)
        return;
    finishGesture();
    m_document->push(new ButtonRectsStep(*m_document, qm::arrangementName(how), buttons, before, after));
    Background->updateExtent();
}
