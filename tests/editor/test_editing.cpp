// Undo and redo of every change to the design, and the keyboard of the
// main window and its design surface.

#include "dialogs/tbuttonoptions.h"
#include "dialogs/spinfield.h"
#include "dialogs/ttableform.h"
#include "editor/tcleanmybutton.h"
#include "editor/designsurface.h"
#include "editor/areaedit.h"
#include "editor/placereadout.h"
#include "dialogtesting.h"
#include "mainformfixture.h"
#include "mousedriver.h"
#include "model/projectload.h"
#include "model/recentfiles.h"

#include <QComboBox>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QUndoStack>
#include <QtTest>

using namespace qm;
using namespace qmtest;
using Kind = ScriptedPrompts::Record::Kind;
using dialogtest::script;

namespace {

TMainForm &shown(MainFormFixture &f)
{
    // The window's shortcuts and the focus need it active.
    if (!qmtest::showParked(f.form.get()) || (f.form->activateWindow(), !QTest::qWaitForWindowActive(f.form.get())))
        qFatal("the main window did not show");
    return *f.form;
}

QString rect(const QRect &r)
{
    return QStringLiteral("%1,%2 %3x%4").arg(r.x()).arg(r.y()).arg(r.width()).arg(r.height());
}

// The design as the user sees it: its values, once what the areas show has
// gone into the selection, and how the surface shows them.
QStringList snapshot(TMainForm &m)
{
    // The mouse on the bare surface: every button shows its own picture.
    mouseMove(m.Background->canvas(), QPoint(440, 4));
    m.SelectedButton ? m.HighlightButton(m.SelectedButton) : m.HighlightTable();
    QStringList s;
    const BackgroundData b = m.design().background();
    s << "background " + QStringList{b.BgTitleText, b.BgBlurbText, b.BlurbImageName, b.BlurbImagePath,
                                     QString::number(b.BackgroundColor), QString::number(b.TextColor), b.TitleFont,
                                     QString::number(b.TitleFontSize), b.TitleStyle, b.BlurbFont,
                                     QString::number(b.BlurbFontSize), b.BlurbStyle}
                              .join('|');
    s << QString("areas %1 %2 stretch %3 show %4").arg(rect(m.design().TitleRect), rect(m.design().BlurbRect)).arg(b.StretchBlurbImages)
             .arg(b.ShowTitleAndBlurb);
    for (const ButtonData &d : m.design().Buttons)
        s << "button " + QStringList{rect(d.rect()), d.TitleText, d.BlurbText, d.DefImageName, d.DefImagePath,
                                     d.MouseOverImage, d.MouseOverImagePath, d.LinkURL, d.Target,
                                     QString::number(d.URLRelative), d.MouseOverBlurbImage, d.MouseOverSound,
                                     QString::number(d.Tag)}
                                .join('|');
    s << QString("selected %1 bevel %2").arg(m.selectionIndex()).arg(m.ButtonBevel->isVisible()
                                                                         ? rect(m.ButtonBevel->geometry()) : "none");
    s << QString("shown %1 %2 %3 | %4 | %5").arg(m.Title->isVisible()).arg(m.Blurb->isVisible())
             .arg(m.BlurbImage->isVisible()).arg(m.Title->text(), m.Blurb->text());
    s << QString("controls %1 %2 %3").arg(rect(m.Title->geometry()), rect(m.Blurb->geometry()),
                                          rect(m.BlurbImage->geometry()));
    for (TCleanMyButton *c : m.ButtonControls)
        s << QString("control %1 %2 %3").arg(rect(c->geometry()), c->ImageName()).arg(c->Tag);
    return s;
}

// A drag with the mouse from `press` by `by`, in w's coordinates.
void drag(QWidget *w, QPoint press, QPoint by)
{
    mouseMove(w, press);
    mousePress(w, press);
    mouseGlide(w, press, press + by);
    mouseReleaseHere(w);
}

void typeInto(AreaEdit *area, const QString &text)
{
    area->setFocus();
    area->moveCursor(QTextCursor::End);
    QTest::keyClicks(area, text);
}

// Gives the arrow keys to the surface, after a click on `area` when given
// (and Escape, which leaves a text area for the surface).
void keysToSurface(TMainForm &m, QWidget *area = nullptr)
{
    if (!area) {
        m.Background->setFocus();
    } else {
        auto *memo = qobject_cast<AreaEdit *>(area);
        QWidget *w = memo ? memo->viewport() : area;
        mouseMove(w, QPoint(20, 10));
        mousePress(w, QPoint(20, 10));
        mouseRelease(w, QPoint(20, 10));
        if (memo)
            QTest::keyClick(memo, Qt::Key_Escape);
    }
    QVERIFY(m.Background->hasFocus());
}

void showBlurbPicture(MainFormFixture &f)
{
    QVERIFY(writePicture(f.folder.file("art/blurb.png"), solidImage(30, 20, qRgb(0, 160, 0))));
    f.form->design().BlurbImagePath = f.folder.file("art/blurb.png").toUpper();
    f.form->design().BlurbImageName = f.folder.file("art/blurb.png");
    f.form->HighlightTable();
}

} // namespace

class TestEditing : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { qmtest::ignoreOffscreenGrabWarnings(); }
    void everyChangeIsOneStep_data();
    void everyChangeIsOneStep();
    void historyAroundSaveNewAndOpen();
    void keys_data();
    void keys();
    void keysOnly();
    void severalButtons();
};

void TestEditing::everyChangeIsOneStep_data()
{
    QTest::addColumn<QString>("change");
    // What is selected before the change: a step shows, when undone or
    // redone, the selection it was made with.
    QTest::addColumn<int>("selected");
    for (const char *change : {"Add Button, placed", "move the Title", "resize the Title", "move the Blurb picture",
                               "text menu Move", "background properties", "Title and Blurb switched off",
                               "typing in the Title", "arrow keys stop at the origin",
                               "arrow keys on the Blurb picture"})
        QTest::newRow(change) << QString(change) << -1;
    for (const char *change : {"Delete Button", "Delete Button with typed texts", "move a button", "resize a button",
                               "button properties", "button properties over typed text",
                               "typing in a button's Blurb", "a run of arrow keys"})
        QTest::newRow(change) << QString(change) << 0;
}

void TestEditing::everyChangeIsOneStep()
{
    QFETCH(QString, change);
    QFETCH(int, selected);
    MainFormFixture f;
    TMainForm &m = shown(f);
    TCleanMyButton *button = m.ButtonControls.first();
    QWidget *canvas = m.Background->canvas();

    // What the design holds before the change, as if saved there.
    if (change.contains("Blurb picture"))
        showBlurbPicture(f);
    if (selected == 0)
        m.HighlightButton(button);
    if (change.contains("typed"))
        typeInto(m.Title, " typed");
    m.undoStack()->setClean();
    m.document().markSaved();
    const int steps = m.undoStack()->count();
    const QStringList before = snapshot(m);

    if (change == "Add Button, placed") {
        m.AddButtonClick(m.AddButton);
        mouseMove(canvas, QPoint(200, 40));
        mouseMove(canvas, QPoint(210, 45));
        mouseReleaseHere(canvas);
    } else if (change.startsWith("Delete Button")) {
        f.prompts.answers = {ModalResult::Yes};
        m.DeleteButtonClick(m.DeleteButton);
    } else if (change == "move a button") {
        drag(button, QPoint(50, 30), QPoint(40, 60));
    } else if (change == "resize a button") {
        drag(button, QPoint(153, 62), QPoint(30, 20));
    } else if (change == "resize the Title") {
        drag(m.Title->viewport(), QPoint(100, 33), QPoint(0, 25));
    } else if (change == "move the Title") {
        drag(m.Title->viewport(), QPoint(100, 15), QPoint(10, 200));
    } else if (change == "move the Blurb picture") {
        drag(m.BlurbImage, QPoint(100, 30), QPoint(-30, 150));
    } else if (change == "text menu Move") {
        mouseMove(m.Blurb->viewport(), QPoint(40, 20));
        choosePopupItem(m.MoveField1);
        mousePress(m.Blurb->viewport(), QPoint(40, 20), Qt::RightButton);
        mouseMove(canvas, QPoint(300, 250));
        mousePress(canvas, QPoint(310, 260));
        mouseRelease(canvas, QPoint(310, 260));
    } else if (change.startsWith("button properties")) {
        script<TButtonOptions>(f.prompts, [](TButtonOptions *d) {
            d->Left->setValue(30);
            d->LinkURL->setText("http://example.org/");
            d->TitleText->setPlainText("From the dialog");
            d->Field2MouseOverImage->setText(d->DefImageName->text());
        });
        m.EditButtonClick(m.EditButton);
    } else if (change == "background properties" || change == "Title and Blurb switched off") {
        const bool off = change.endsWith("off");
        f.prompts.colors = {0x204060};
        script<TTableForm>(f.prompts, [off](TTableForm *d) {
            d->TitleText->setPlainText("Welcome");
            d->BitBtn1->click();
            d->TitleStyle->setCurrentText("Italic");
            d->BlurbFontSize->setValue(30);
            d->CenterRadio->setChecked(true);
            if (off)
                d->DontShowMemosRadio->setChecked(true);
        });
        m.BackgroundButtonClick(m.BackgroundButton);
    } else if (change == "typing in the Title") {
        typeInto(m.Title, "one step, many keys");
    } else if (change == "typing in a button's Blurb") {
        typeInto(m.Blurb, "x");
        QTest::keyClick(m.Blurb, Qt::Key_Return);
        QTest::keyClicks(m.Blurb, "yz");
        QTest::keyClick(m.Blurb, Qt::Key_Backspace);
    } else if (change == "a run of arrow keys") {
        keysToSurface(m);
        for (int k : {Qt::Key_Right, Qt::Key_Right, Qt::Key_Up})
            QTest::keyClick(m.Background, Qt::Key(k));
        QTest::keyClick(m.Background, Qt::Key_Down, Qt::ShiftModifier);
        QCOMPARE(button->pos(), QPoint(152, 159));
    } else if (change == "arrow keys stop at the origin") {
        keysToSurface(m, m.Title);
        QTest::keyClick(m.Background, Qt::Key_Up, Qt::ShiftModifier);
        QTest::keyClick(m.Background, Qt::Key_Left);
        QCOMPARE(m.Title->pos(), QPoint(45, 0));
    } else if (change == "arrow keys on the Blurb picture") {
        keysToSurface(m, m.BlurbImage);
        QTest::keyClick(m.Background, Qt::Key_Right, Qt::ShiftModifier);
        QCOMPARE(m.Blurb->geometry(), m.BlurbImage->geometry());
    }

    // One step, and the design is changed.
    QVERIFY(f.prompts.unscripted.isEmpty());
    QCOMPARE(m.undoStack()->count(), steps + 1);
    QVERIFY(!m.isSaved());
    const QStringList after = snapshot(m);
    QVERIFY(after != before);

    m.Undo();
    QCOMPARE(snapshot(m), before);
    QVERIFY(m.isSaved());
    m.Redo();
    QCOMPARE(snapshot(m), after);
    QVERIFY(!m.isSaved());
    // Keys back to where the run began leave no step at all.
    if (change == "a run of arrow keys") {
        QTest::keyClick(m.Background, Qt::Key_Escape);
        QTest::keyClick(m.Background, Qt::Key_Left);
        QTest::keyClick(m.Background, Qt::Key_Right);
        QCOMPARE(m.undoStack()->count(), steps + 1);
    }
}

void TestEditing::historyAroundSaveNewAndOpen()
{
    MainFormFixture f;
    TMainForm &m = shown(f);
    QTemporaryDir dir;
    const QString file = dir.filePath("menu.qmf");
    m.HighlightButton(m.ButtonControls.first());
    typeInto(m.Title, "A");
    m.Background->setFocus();
    typeInto(m.Title, "B");
    QCOMPARE(m.undoStack()->count(), 2);   // the focus left the area between

    // Save, Compile and Preview are not steps; undo back to the saved design asks nothing.
    f.prompts.files = {file, std::nullopt};
    f.prompts.answers = {ModalResult::No, ModalResult::Cancel, ModalResult::No, ModalResult::No, ModalResult::No,
                         ModalResult::No};
    m.SaveButtonClick();
    QVERIFY(m.isSaved());
    m.CompileButtonClick();
    m.PreviewButtonClick();
    QCOMPARE(m.undoStack()->count(), 2);
    m.Undo();
    QVERIFY(!m.isSaved());
    QCOMPARE(m.Title->text(), QString("type button title hereA"));
    m.Redo();
    QVERIFY(m.isSaved());
    m.Undo();
    m.QuitButtonClick();
    QCOMPARE(f.prompts.count(Kind::AskIfSave), 1);

    // New and Open start a new history.
    m.NewButtonClick();
    QCOMPARE(m.undoStack()->count(), 0);
    QVERIFY(m.isSaved());
    m.HighlightTable();
    typeInto(m.Title, "!");
    f.prompts.files = {file};
    m.OpenButtonClick();
    QCOMPARE(m.design().FileName, QString("menu.qmf"));
    QCOMPARE(m.undoStack()->count(), 0);
    QVERIFY(m.isSaved() && !m.undoStack()->canUndo());
    QVERIFY(f.prompts.exhausted() && f.prompts.unscripted.isEmpty());
}

void TestEditing::keys_data()
{
    QTest::addColumn<QString>("focus");      // "surface", "Title" or "AddButton"
    QTest::addColumn<int>("selected");       // button index, -1 the background
    QTest::addColumn<QKeySequence>("keys");
    QTest::addColumn<QString>("result");
    // The design has three buttons.
    QTest::newRow("Delete on the surface") << "surface" << 1 << QKeySequence(Qt::Key_Delete) << "asked to delete";
    QTest::newRow("Backspace on the surface") << "surface" << 1 << QKeySequence(Qt::Key_Backspace)
                                              << "asked to delete";
    QTest::newRow("Delete in a command button") << "AddButton" << 1 << QKeySequence(Qt::Key_Delete)
                                                << "asked to delete";
    QTest::newRow("Delete in the Title edits the text") << "Title" << 1 << QKeySequence(Qt::Key_Delete)
                                                        << "title: ype button title here";
    QTest::newRow("Delete with the background selected") << "surface" << -1 << QKeySequence(Qt::Key_Delete)
                                                         << "nothing";
    QTest::newRow("Enter on a button") << "surface" << 2 << QKeySequence(Qt::Key_Return) << "button dialog";
    QTest::newRow("Enter on the background") << "surface" << -1 << QKeySequence(Qt::Key_Enter)
                                             << "background dialog";
    QTest::newRow("F2 in the Title") << "Title" << 0 << QKeySequence(Qt::Key_F2) << "button dialog";
    QTest::newRow("Tab from the background") << "surface" << -1 << QKeySequence(Qt::Key_Tab) << "selected 0";
    QTest::newRow("Tab to the next button") << "surface" << 1 << QKeySequence(Qt::Key_Tab) << "selected 2";
    QTest::newRow("Tab after the last button leaves") << "surface" << 2 << QKeySequence(Qt::Key_Tab)
                                                      << "focus left";
    QTest::newRow("Shift+Tab to the background") << "surface" << 0 << QKeySequence(Qt::SHIFT | Qt::Key_Tab)
                                                 << "selected -1";
    QTest::newRow("Ctrl+S asks an untitled design's name") << "Title" << -1 << QKeySequence(QKeySequence::Save)
                                                          << "file dialog 1";
    QTest::newRow("Ctrl+D duplicates, never deletes") << "surface" << 1 << QKeySequence(Qt::CTRL | Qt::Key_D)
                                                      << "selected 3";
    QTest::newRow("Ctrl+O") << "surface" << -1 << QKeySequence(QKeySequence::Open) << "file dialog 0";
    QTest::newRow("Ctrl+N") << "surface" << 2 << QKeySequence(QKeySequence::New) << "new design";
    QTest::newRow("Ctrl+Q") << "surface" << -1 << QKeySequence(Qt::CTRL | Qt::Key_Q) << "closed";
}

void TestEditing::keys()
{
    QFETCH(QString, focus);
    QFETCH(int, selected);
    QFETCH(QKeySequence, keys);
    QFETCH(QString, result);
    MainFormFixture f;
    TMainForm &m = shown(f);
    for (int i = 0; i < 2; ++i) {
        m.AddButtonClick(m.AddButton);
        m.dragManager()->cancelDrag();
    }
    selected < 0 ? m.HighlightTable() : m.HighlightButton(m.ButtonControls.at(selected));
    QWidget *target = focus == "surface" ? static_cast<QWidget *>(m.Background) : m.findChild<QWidget *>(focus);
    QVERIFY(target);
    target->setFocus();
    if (focus == "Title")
        m.Title->moveCursor(QTextCursor::Start);
    QStringList seen;
    f.prompts.answers = {ModalResult::No};
    f.prompts.files = {std::nullopt};
    f.prompts.dialogs.push_back([&](QDialog *d) {
        seen << (qobject_cast<TButtonOptions *>(d) ? "button dialog" : "background dialog");
        return ModalResult::Cancel;
    });
    const QString title = m.Title->text();

    QTest::keySequence(QApplication::focusWidget(), keys);

    for (const ScriptedPrompts::Record &r : f.prompts.log) {
        if (r.kind == Kind::Message && r.text.contains("delete this button"))
            seen << "asked to delete";
        else if (r.kind == Kind::FileDialog)
            seen << QString("file dialog %1").arg(int(r.file.mode));
    }
    if (!m.isVisible())
        seen << "closed";
    else if (m.ButtonControls.size() == 1 && m.windowTitle().startsWith("Untitled"))
        seen << "new design";
    else if (m.selectionIndex() != selected)
        seen << QString("selected %1").arg(m.selectionIndex());
    else if (m.Title->text() != title)
        seen << "title: " + m.Title->text();
    if (focus == "surface" && m.isVisible() && !m.Background->hasFocus())
        seen << "focus left";
    QCOMPARE(seen.join(", "), result == "nothing" ? QString() : result);
    // A selected button shows the selection a click gives it.
    if (m.SelectedButton)
        QCOMPARE(m.ButtonBevel->geometry(), m.SelectedButton->geometry().adjusted(-2, -2, 2, 2));
}

void TestEditing::severalButtons()
{
    MainFormFixture f;
    QTemporaryDir dir;
    qm::RecentFiles recent(dir.filePath("state/recent"));
    f.services.recent = &recent;
    f.restart();
    TMainForm &m = shown(f);
    // Two pictures dropped from a file manager become two buttons (a folder
    // and a text file among them are nothing); one dropped onto a button
    // with Shift held is its mouse-over picture.
    const auto dropOn = [](QWidget *w, QPoint at, const QStringList &files, Qt::KeyboardModifiers keys = {}) {
        QMimeData mime;
        QList<QUrl> urls;
        for (const QString &file : files)
            urls << QUrl::fromLocalFile(file);
        mime.setUrls(urls);
        // As a drag ends: the widget that takes the enter gets the drop.
        QDragEnterEvent enter(at, Qt::CopyAction, &mime, Qt::LeftButton, keys);
        QApplication::sendEvent(w, &enter);
        QDropEvent drop(at, Qt::CopyAction, &mime, Qt::LeftButton, keys);
        QApplication::sendEvent(w, &drop);
        QCoreApplication::processEvents();
    };
    for (const char *name : {"art/one.png", "art/two.GIF", "art/over.png"})
        QVERIFY(writePicture(f.folder.file(name), solidImage(40, 30, qRgb(200, 0, 0))));
    QDir(f.folder.path()).mkpath("art/folder.png");
    dropOn(m.Background->canvas(), QPoint(20, 230),
           {f.folder.file("art/one.png"), f.folder.file("art/folder.png"), f.folder.file("art/two.GIF"),
            f.folder.file("QM.INI")});
    QCOMPARE(m.ButtonControls.size(), 3);
    QCOMPARE(m.design().Buttons.at(2).DefImageName, f.folder.file("art/two.GIF"));
    QCOMPARE(m.design().Buttons.at(1).rect().topLeft(), QPoint(20, 230));
    // The readout shows where the selection lies.
    QVERIFY(m.Readout->isVisible());
    QCOMPARE(m.Readout->text(), QString("Button 2: 20, 230  156 \u00d7 65"));
    QVERIFY(m.ButtonControls.at(2)->hasPicture());
    dropOn(m.ButtonControls.at(1), QPoint(5, 5), {f.folder.file("art/over.png")}, Qt::ShiftModifier);
    QCOMPARE(m.design().Buttons.at(1).MouseOverImage, f.folder.file("art/over.png"));
    QCOMPARE(m.design().Buttons.at(1).DefImageName, f.folder.file("art/one.png"));
    QCOMPARE(m.undoStack()->count(), 2);

    m.HighlightTable();
    m.design().Buttons[1].TitleText = "Second";
    const QList<ButtonData> start = m.design().Buttons;
    auto press = [&](QKeySequence keys) { QTest::keySequence(QApplication::focusWidget(), keys); };
    auto rects = [&m](int from) {
        QList<QRect> r;
        for (int i = from; i < m.design().Buttons.size(); ++i)
            r << m.design().Buttons.at(i).rect();
        return r;
    };

    // Shift+clicks select the first and the third with the second; they
    // align on the topmost's top and are copied as one.
    m.HighlightButton(m.ButtonControls.at(1));
    for (int i : {0, 2}) {
        mousePress(m.ButtonControls.at(i), QPoint(30, 20), Qt::LeftButton, Qt::ShiftModifier);
        mouseRelease(m.ButtonControls.at(i), QPoint(30, 20), Qt::LeftButton, Qt::ShiftModifier);
    }
    QCOMPARE(m.document().selectedButtons(), QList<int>({1, 0, 2}));
    QVERIFY(m.ButtonControls.at(2)->isAlsoSelected());
    m.Background->setFocus();
    press(QKeySequence(Qt::ALT | Qt::SHIFT | Qt::Key_T));
    const int top = std::min({start[0].Top, start[1].Top, start[2].Top});
    for (const QRect &r : rects(0))
        QCOMPARE(r.top(), top);
    const QList<QRect> aligned = rects(0);
    press(QKeySequence(Qt::CTRL | Qt::Key_D));
    press(QKeySequence::Copy);
    press(QKeySequence::Paste);
    // The duplicates lie 10 px off, the pasted ones off those; the second's
    // copies keep its title.
    QCOMPARE(m.ButtonControls.size(), 9);
    for (int i = 0; i < 3; ++i) {
        QCOMPARE(m.design().Buttons.at(3 + i).rect(), aligned.at(i).translated(10, 10));
        QCOMPARE(m.design().Buttons.at(6 + i).rect(), aligned.at(i).translated(20, 20));
    }
    QCOMPARE(m.design().Buttons.at(7).TitleText, QString("Second"));
    QCOMPARE(m.document().selectedButtons(), QList<int>({6, 7, 8}));
    // The pasted ones move together, and go together after one question.
    press(QKeySequence(Qt::SHIFT | Qt::Key_Right));
    QCOMPARE(m.design().Buttons.at(8).rect(), aligned.at(2).translated(30, 20));
    f.prompts.answers = {ModalResult::Yes};
    press(QKeySequence(Qt::Key_Delete));
    QVERIFY(f.prompts.log.back().text.contains("these 3 buttons"));
    QCOMPARE(m.ButtonControls.size(), 6);
    // Five steps: align, duplicate, paste, move, delete; then the drops.
    const QList<QRect> edited = rects(0);
    for (int i = 0; i < 5; ++i)
        press(QKeySequence::Undo);
    QCOMPARE(m.design().Buttons, start);
    for (int i = 0; i < 2; ++i)
        press(QKeySequence::Undo);
    QCOMPARE(m.ButtonControls.size(), 1);
    for (int i = 0; i < 7; ++i)
        press(QKeySequence::Redo);
    QCOMPARE(rects(0), edited);
    // A band drawn from a bare corner over all of them selects them all.
    QWidget *canvas = m.Background->canvas();
    mouseMove(canvas, QPoint(445, 3));
    mousePress(canvas, QPoint(445, 3));
    mouseGlide(canvas, QPoint(445, 3), QPoint(0, 320));
    mouseReleaseHere(canvas);
    QCOMPARE(m.document().selectedButtons().size(), 6);
    // Alt+arrows move the Title, whatever is selected.
    const QRect title = m.design().TitleRect;
    press(QKeySequence(Qt::ALT | Qt::Key_Right));
    QCOMPARE(m.design().TitleRect, title.translated(1, 0));
    QCOMPARE(rects(0), edited);
    // Dragged with the mouse, the selection takes the others along: one step.
    m.surface().setSnapping(false);
    drag(m.ButtonControls.last(), QPoint(30, 20), QPoint(20, 10));
    QCOMPARE(m.document().selectedButtons().size(), 6);
    for (int i = 0; i < edited.size(); ++i)
        QCOMPARE(rects(0).at(i), edited.at(i).translated(20, 10));
    press(QKeySequence::Undo);
    QCOMPARE(rects(0), edited);

    // Ctrl+S names the untitled design once, then writes it straight away.
    const QString file = dir.filePath("several.qmf");
    f.prompts.files = {file};
    press(QKeySequence::Save);
    m.HighlightButton(m.ButtonControls.at(5));
    press(QKeySequence(Qt::Key_Left));
    press(QKeySequence::Save);
    QVERIFY(m.isSaved());
    QVERIFY(f.prompts.unscripted.isEmpty());
    const QList<QRect> saved = rects(0);
    // The Open button offers it among the recent projects.
    QCOMPARE(recent.list(), QStringList({file}));
    QMenu *menu = m.OpenButton->menu();
    QVERIFY(menu);
    emit menu->aboutToShow();
    QCOMPARE(menu->actions().size(), 1);
    QVERIFY(menu->actions().first()->text().endsWith(file));
    // And so does Open's dialog (cancelled here); Save As's offers no project to write over.
    f.prompts.files = {std::nullopt, std::nullopt};
    m.OpenButtonClick();
    QCOMPARE(f.prompts.log.last().file.recent, QStringList({file}));
    m.SaveAs();
    QVERIFY(f.prompts.log.last().file.recent.isEmpty());
    // An untitled design's Open and Save As start in the last project's folder.
    m.NewButtonClick();
    f.prompts.files = {std::nullopt, std::nullopt};
    m.OpenButtonClick();
    QCOMPARE(f.prompts.log.last().file.directory, dir.path() + "/");
    m.SaveAs();
    QCOMPARE(f.prompts.log.last().file.directory, dir.path() + "/");
    // Dropped onto the window, the project file opens (nothing to ask: saved).
    m.NewButtonClick();
    dropOn(m.Title->viewport(), QPoint(5, 5), {file});
    QCOMPARE(m.windowTitle(), file + " - Quillmap");
    QCOMPARE(rects(0), saved);
}

void TestEditing::keysOnly()
{
    MainFormFixture f;
    TMainForm &m = shown(f);
    QTemporaryDir dir;
    const QString file = dir.filePath("keys.qmf");
    auto press = [&](QKeySequence keys) { QTest::keySequence(QApplication::focusWidget(), keys); };

    // Add Button from the command row; Escape leaves the new button where it
    // appeared, and the surface has the keys.
    m.AddButton->setFocus();
    press(QKeySequence(Qt::Key_Space));
    press(QKeySequence(Qt::Key_Escape));
    QCOMPARE(m.ButtonControls.size(), 2);
    QCOMPARE(m.selectionIndex(), 1);
    QVERIFY(m.Background->hasFocus());
    // Nudged, then edited in its properties.
    for (int i = 0; i < 5; ++i)
        press(QKeySequence(Qt::SHIFT | Qt::Key_Right));
    press(QKeySequence(Qt::Key_Down));
    QCOMPARE(m.design().Buttons.at(1).rect(), QRect(51, 2, 156, 65));
    script<TButtonOptions>(f.prompts, [](TButtonOptions *d) { d->LinkURL->setText("http://example.org/keys"); });
    press(QKeySequence(Qt::Key_Return));
    QCOMPARE(m.design().Buttons.at(1).LinkURL, QString("http://example.org/keys"));
    QCOMPARE(m.undoStack()->count(), 3);
    // The edit undone, redone with one key and undone with the other.
    press(QKeySequence::Undo);
    QCOMPARE(m.design().Buttons.at(1).LinkURL, QString(MakerHomePage));
    press(QKeySequence(Qt::CTRL | Qt::Key_Y));
    QCOMPARE(m.design().Buttons.at(1).LinkURL, QString("http://example.org/keys"));
    press(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z));
    press(QKeySequence::Undo);
    QVERIFY(m.Background->hasFocus());
    // Tab after the last button leaves for the Title; typing there is
    // undone there as well.
    press(QKeySequence(Qt::Key_Tab));
    QCOMPARE(QApplication::focusWidget(), m.Title);
    QTest::keyClicks(m.Title, "XY");
    press(QKeySequence::Undo);
    QCOMPARE(m.Title->text(), QString("type button title here"));
    press(QKeySequence(Qt::Key_Escape));
    QVERIFY(m.Background->hasFocus());
    // The menus offer the same.
    QVERIFY(m.ButtMenu->actions().last()->text().startsWith("Redo"));
    QVERIFY(m.BackgroundMenu->actions().at(m.BackgroundMenu->actions().size() - 2)->text().startsWith("Undo"));

    f.prompts.files = {file};
    press(QKeySequence::Save);
    QVERIFY(m.isSaved());
    const std::optional<Design> saved = loadProject(file, m.design());
    QVERIFY(saved);
    QCOMPARE(saved->Buttons.size(), 2);
    QCOMPARE(saved->Buttons.at(1).rect(), QRect(51, 2, 156, 65));
    QCOMPARE(saved->Buttons.at(1).LinkURL, QString(MakerHomePage));
    QVERIFY(f.prompts.exhausted());
}

QTEST_MAIN(TestEditing)
#include "test_editing.moc"
