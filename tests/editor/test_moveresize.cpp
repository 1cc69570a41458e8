// Moving and resizing on the design surface, through real mouse events.

#include "editor/resizezones.h"
#include "editor/tcleanmybutton.h"
#include "editor/designsurface.h"
#include "editor/areaedit.h"
#include "mainformfixture.h"
#include "mousedriver.h"

#include <QAction>
#include <QPushButton>
#include <QtTest>

using namespace qm;
using namespace qmtest;

namespace {

TMainForm &shown(MainFormFixture &f)
{
    if (!qmtest::showParked(f.form.get()))
        qFatal("the main window did not show");
    // The drags here follow the mouse to the pixel.
    f.form->surface().setSnapping(false);
    return *f.form;
}

// The widget that receives a control's mouse events.
QWidget *mouseWidget(TMainForm &m, const QString &control)
{
    if (control == "title border")
        return m.Title;
    if (control == "title")
        return m.Title->viewport();
    if (control == "blurb")
        return m.Blurb->viewport();
    if (control == "picture")
        return m.BlurbImage;
    return m.ButtonControls.at(0);
}

QWidget *control(TMainForm &m, const QString &name)
{
    if (name == "title" || name == "title border")
        return m.Title;
    if (name == "blurb")
        return m.Blurb;
    if (name == "picture")
        return m.BlurbImage;
    return m.ButtonControls.at(0);
}

// Shows the Blurb picture in place of the Blurb text.
void showBlurbPicture(MainFormFixture &f)
{
    TMainForm &m = *f.form;
    QVERIFY(writePicture(f.folder.file("art/blurb.png"), solidImage(30, 20, qRgb(0, 160, 0))));
    m.design().BlurbImagePath = f.folder.file("art/blurb.png").toUpper();
    m.HighlightTable();
    QVERIFY(!m.BlurbImage->isHidden() && m.Blurb->isHidden());
}

// The control a data row names and the widget its mouse events go to; the
// Blurb picture is shown first.
struct Picked {
    QWidget *mouse;
    QWidget *control;
};
Picked pick(MainFormFixture &f, const QString &name)
{
    if (name == "picture")
        showBlurbPicture(f);
    return {mouseWidget(*f.form, name), control(*f.form, name)};
}

// The design's own values equal what the surface shows.
void checkModelMatchesControls(TMainForm &m)
{
    QCOMPARE(m.design().TitleRect, m.Title->geometry());
    QCOMPARE(m.design().BlurbRect, m.Blurb->geometry());
    QCOMPARE(m.design().BlurbRect, m.BlurbImage->geometry());
    for (int i = 0; i < m.ButtonControls.size(); ++i)
        QCOMPARE(m.design().Buttons.at(i).rect(), m.ButtonControls.at(i)->geometry());
    if (m.SelectedButton)
        QCOMPARE(m.ButtonBevel->geometry(), m.SelectedButton->geometry().adjusted(-2, -2, 2, 2));
}

} // namespace

class TestMoveResize : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { qmtest::ignoreOffscreenGrabWarnings(); }
    void hotZonesShowTheirCursors_data();
    void hotZonesShowTheirCursors();
    void resizingFollowsTheMouse_data();
    void resizingFollowsTheMouse();
    void resizeRefusesBelowTheMinimum();
    void blurbTextAndPictureShareTheirBounds();
    void clickWithoutMovingOnlySelects();
    void draggedButtonKeepsThePressPointUnderTheMouse();
    void droppedAboveOrLeftOfTheOriginLandsAtZero_data();
    void droppedAboveOrLeftOfTheOriginLandsAtZero();
    void moveCommands_data();
    void moveCommands();
    void dragTextSelectsInsteadOfMoving();
    void addedButtonIsPlacedAndCarriedToTheDrop();
    void abandonedPlacementMovesNothing_data();
    void abandonedPlacementMovesNothing();
    void movedAndResizedButtonIsSavedAndCompiled();
};

void TestMoveResize::hotZonesShowTheirCursors_data()
{
    QTest::addColumn<QString>("control");
    QTest::addColumn<int>("height");   // 0: as it is
    QTest::addColumn<QPoint>("mouse");
    QTest::addColumn<int>("cursor");
    QTest::addColumn<QString>("direction");

    // The default 156 x 65 button.
    QTest::newRow("button W") << "button" << 0 << QPoint(3, 30) << int(Qt::SizeHorCursor) << "W";
    QTest::newRow("button SE") << "button" << 0 << QPoint(153, 62) << int(Qt::SizeFDiagCursor) << "SE";
    QTest::newRow("button SW") << "button" << 0 << QPoint(3, 62) << int(Qt::SizeBDiagCursor) << "SW";
    QTest::newRow("button NE") << "button" << 0 << QPoint(152, 2) << int(Qt::SizeBDiagCursor) << "NE";
    QTest::newRow("button inside") << "button" << 0 << QPoint(80, 30) << int(Qt::ArrowCursor) << "None";
    // The 372 x 41 Title: its far zones lie 6 pixels further in.
    QTest::newRow("title E at 361") << "title" << 0 << QPoint(361, 20) << int(Qt::SizeHorCursor) << "E";
    QTest::newRow("title 360 is inside") << "title" << 0 << QPoint(360, 20) << int(Qt::IBeamCursor) << "None";
    QTest::newRow("title NE reaches 11 down") << "title" << 0 << QPoint(361, 11) << int(Qt::SizeBDiagCursor) << "NE";
    QTest::newRow("title SW") << "title" << 0 << QPoint(10, 36) << int(Qt::SizeBDiagCursor) << "SW";
    QTest::newRow("title S") << "title" << 0 << QPoint(100, 30) << int(Qt::SizeVerCursor) << "S";
    // On a low control the top zone wins where both match.
    QTest::newRow("low N and S") << "button" << 8 << QPoint(80, 4) << int(Qt::SizeVerCursor) << "N";
    QTest::newRow("low S only") << "button" << 8 << QPoint(80, 6) << int(Qt::SizeVerCursor) << "S";
    QTest::newRow("low NW") << "button" << 8 << QPoint(2, 5) << int(Qt::SizeFDiagCursor) << "NW";
    // The picture's border lies outside its client area.
    QTest::newRow("picture E") << "picture" << 0 << QPoint(367, 30) << int(Qt::SizeHorCursor) << "E";
    QTest::newRow("picture inside") << "picture" << 0 << QPoint(365, 30) << int(Qt::ArrowCursor) << "None";
}

void TestMoveResize::hotZonesShowTheirCursors()
{
    QFETCH(QString, control);
    QFETCH(int, height);
    QFETCH(QPoint, mouse);
    QFETCH(int, cursor);
    QFETCH(QString, direction);
    MainFormFixture f;
    TMainForm &m = shown(f);
    QWidget *w = pick(f, control).mouse;
    if (height) {
        m.design().Buttons[0].Height = height;
        m.pushButtonToControl(0);
    }
    // Positions are the control's client coordinates; the picture's client
    // area starts inside its one-pixel border.
    const QPoint at = control == "picture" ? mouse + QPoint(1, 1) : mouse;
    mouseMove(m.Background->canvas(), QPoint(440, 300));
    mouseMove(w, at);
    QCOMPARE(int(w->cursor().shape()), cursor);
    QCOMPARE(m.ResizeDirection, direction);

    // Back on the bare surface: the arrow, and the direction is kept.
    mouseMove(m.Background->canvas(), QPoint(440, 300));
    QCOMPARE(m.Background->canvas()->cursor().shape(), Qt::ArrowCursor);
    QCOMPARE(m.ResizeDirection, direction);
}

void TestMoveResize::resizingFollowsTheMouse_data()
{
    QTest::addColumn<QString>("control");
    QTest::addColumn<QPoint>("press");
    QTest::addColumn<QPoint>("to");
    QTest::addColumn<QRect>("bounds");

    // The default button lies at 150,150, 156 x 65.
    QTest::newRow("left edge 150 to the right") << "button" << QPoint(2, 30) << QPoint(152, 30)
                                                << QRect(296, 150, 10, 65);
    QTest::newRow("right edge inwards") << "button" << QPoint(153, 30) << QPoint(100, 30) << QRect(150, 150, 100, 65);
    QTest::newRow("bottom edge past the minimum") << "button" << QPoint(80, 62) << QPoint(80, -20)
                                                  << QRect(150, 150, 156, 10);
    QTest::newRow("SE corner outwards") << "button" << QPoint(153, 62) << QPoint(200, 100) << QRect(150, 150, 200, 100);
    QTest::newRow("NW corner outwards") << "button" << QPoint(2, 2) << QPoint(-20, -10) << QRect(130, 140, 176, 75);
    // The Title lies at 46,8, 372 x 41; its client area starts 2 pixels in.
    QTest::newRow("title SE") << "title" << QPoint(363, 33) << QPoint(400, 60) << QRect(46, 8, 400, 60);
    QTest::newRow("title W") << "title" << QPoint(2, 20) << QPoint(-30, 20) << QRect(16, 8, 402, 41);
    QTest::newRow("title N stops at 10 high") << "title" << QPoint(100, 2) << QPoint(100, 60) << QRect(46, 39, 372, 10);
    // Its visible border (outside the client area) resizes too.
    QTest::newRow("title's right border") << "title border" << QPoint(371, 20) << QPoint(400, 20)
                                          << QRect(46, 8, 398, 41);
    QTest::newRow("title's top border") << "title border" << QPoint(100, 0) << QPoint(100, -3)
                                        << QRect(46, 3, 372, 46);
}

void TestMoveResize::resizingFollowsTheMouse()
{
    QFETCH(QString, control);
    QFETCH(QPoint, press);
    QFETCH(QPoint, to);
    QFETCH(QRect, bounds);
    MainFormFixture f;
    TMainForm &m = shown(f);
    QWidget *w = mouseWidget(m, control);
    mouseMove(w, press);
    QVERIFY(m.ResizeDirection != "None");
    mousePress(w, press);
    QVERIFY(m.Resizing);
    QVERIFY(!m.dragManager()->isPending() && !m.dragManager()->isDragging());
    mouseGlide(w, press, to);
    mouseReleaseHere(w);
    QVERIFY(!m.Resizing);
    QCOMPARE(::control(m, control)->geometry(), bounds);
    checkModelMatchesControls(m);
    QVERIFY(!m.isSaved());
    if (control == "button")
        QCOMPARE(m.SelectedButton, m.ButtonControls.at(0));
    else
        QVERIFY(m.SelectedButton == nullptr);   // pressing a text area selects nothing
}

void TestMoveResize::resizeRefusesBelowTheMinimum()
{
    MainFormFixture f;
    TMainForm &m = shown(f);
    TCleanMyButton *b = m.ButtonControls.at(0);
    mouseMove(b, QPoint(153, 30));
    mousePress(b, QPoint(153, 30));
    // Straight to X = 9: refused, the width stays as it was.
    mouseMove(b, QPoint(9, 30));
    QCOMPARE(b->width(), 156);
    mouseMove(b, QPoint(10, 30));
    QCOMPARE(b->width(), 10);
    mouseMove(b, QPoint(9, 30));
    QCOMPARE(b->geometry(), QRect(150, 150, 10, 65));
    // The direction stays the one the press found, whatever zone the mouse crosses.
    mouseMove(b, QPoint(4, 62));
    QCOMPARE(m.ResizeDirection, QString("E"));
    mouseRelease(b, QPoint(4, 62));
    checkModelMatchesControls(m);

    // A release lost to another window: the next move without a button
    // ends the resize instead of resizing.
    mouseMove(b, QPoint(8, 62));
    mousePress(b, QPoint(8, 62));
    QVERIFY(m.Resizing);
    QMouseEvent lost(QEvent::MouseMove, QPointF(40, 90), QPointF(b->mapToGlobal(QPoint(40, 90))), Qt::NoButton,
                     Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(b, &lost);
    QVERIFY(!m.Resizing);
    QCOMPARE(b->geometry(), QRect(150, 150, 10, 65));
    mouseReleaseHere(b);

    // The guard against a control pushed wholly left of or above the origin.
    using qm::resize::Direction;
    QCOMPARE(qm::resize::resizeStep(QRect(-40, 5, 30, 20), Direction::W, QPoint(-5, 0), 10, 10),
             QRect(1, 5, 35, 20));
    QCOMPARE(qm::resize::resizeStep(QRect(5, -40, 30, 20), Direction::N, QPoint(0, -5), 10, 10),
             QRect(5, 1, 30, 25));
    QCOMPARE(qm::resize::resizeStep(QRect(-10, 5, 30, 20), Direction::W, QPoint(-5, 0), 10, 10),
             QRect(-15, 5, 35, 20));
}

void TestMoveResize::blurbTextAndPictureShareTheirBounds()
{
    MainFormFixture f;
    TMainForm &m = shown(f);
    showBlurbPicture(f);
    // The picture's SE corner, dragged in.
    mouseMove(m.BlurbImage, QPoint(369, 70));
    mousePress(m.BlurbImage, QPoint(369, 70));
    mouseGlide(m.BlurbImage, QPoint(369, 70), QPoint(300, 50));
    mouseReleaseHere(m.BlurbImage);
    QCOMPARE(m.BlurbImage->geometry(), QRect(46, 56, 299, 49));
    QCOMPARE(m.Blurb->geometry(), m.BlurbImage->geometry());

    // Back to the text: resizing the memo takes the picture along.
    m.design().BlurbImagePath.clear();
    m.HighlightTable();
    QVERIFY(!m.Blurb->isHidden());
    QWidget *v = m.Blurb->viewport();
    mouseMove(v, QPoint(100, 2));
    mousePress(v, QPoint(100, 2));
    mouseGlide(v, QPoint(100, 2), QPoint(100, -20));
    mouseReleaseHere(v);
    QCOMPARE(m.Blurb->geometry(), QRect(46, 36, 299, 69));
    QCOMPARE(m.BlurbImage->geometry(), m.Blurb->geometry());
    checkModelMatchesControls(m);
}

void TestMoveResize::clickWithoutMovingOnlySelects()
{
    MainFormFixture f;
    TMainForm &m = shown(f);
    TCleanMyButton *b = m.ButtonControls.at(0);
    mouseMove(b, QPoint(50, 30));
    mousePress(b, QPoint(50, 30));
    QVERIFY(m.dragManager()->isPending());
    mouseMove(b, QPoint(54, 26));
    mouseRelease(b, QPoint(54, 26));
    QCOMPARE(m.SelectedButton, b);
    QCOMPARE(b->geometry(), QRect(150, 150, 156, 65));
    QVERIFY(!m.dragManager()->isPending() && !m.dragManager()->isDragging());
    QVERIFY(m.isSaved());
    QVERIFY(QWidget::mouseGrabber() == nullptr);
}

void TestMoveResize::draggedButtonKeepsThePressPointUnderTheMouse()
{
    MainFormFixture f;
    TMainForm &m = shown(f);
    m.AddButtonClick(m.AddButton);
    m.dragManager()->cancelDrag();
    m.HighlightTable();
    m.document().markSaved();
    TCleanMyButton *b = m.ButtonControls.at(0);
    const QPoint canvasPress = b->mapTo(m.Background->canvas(), QPoint(50, 30));
    mouseMove(b, QPoint(50, 30));
    mousePress(b, QPoint(50, 30));
    mouseGlide(b, QPoint(50, 30), QPoint(150, 90));
    QVERIFY(m.dragManager()->isDragging());
    QVERIFY(QWidget::mouseGrabber() == &m);
    mouseReleaseHere(b);
    QCOMPARE(b->geometry(), QRect(250, 210, 156, 65));
    QCOMPARE(b->mapTo(m.Background->canvas(), QPoint(50, 30)), canvasPress + QPoint(100, 60));
    QCOMPARE(m.SelectedButton, b);
    checkModelMatchesControls(m);
    // The other button stayed where it was; the move is a change to save.
    QCOMPARE(m.ButtonControls.at(1)->geometry(), QRect(1, 1, 156, 65));
    QVERIFY(!m.isSaved());
    QVERIFY(!m.dragManager()->isDragging());
}

void TestMoveResize::droppedAboveOrLeftOfTheOriginLandsAtZero_data()
{
    QTest::addColumn<QString>("control");
    QTest::addColumn<QPoint>("press");
    QTest::addColumn<QPoint>("by");
    QTest::addColumn<QPoint>("during");
    QTest::addColumn<QPoint>("landed");

    QTest::newRow("title at top -7") << "title" << QPoint(100, 20) << QPoint(0, -15) << QPoint(46, -7) << QPoint(46, 0);
    QTest::newRow("button left and above") << "button" << QPoint(20, 20) << QPoint(-160, -155) << QPoint(-10, -5)
                                           << QPoint(0, 0);
    // The Blurb picture too, and the Blurb text with it.
    QTest::newRow("blurb picture") << "picture" << QPoint(100, 30) << QPoint(-60, -70) << QPoint(-14, -14)
                                   << QPoint(0, 0);
}

void TestMoveResize::droppedAboveOrLeftOfTheOriginLandsAtZero()
{
    QFETCH(QString, control);
    QFETCH(QPoint, press);
    QFETCH(QPoint, by);
    QFETCH(QPoint, during);
    QFETCH(QPoint, landed);
    MainFormFixture f;
    TMainForm &m = shown(f);
    const auto [w, c] = pick(f, control);
    mouseMove(w, press);
    mousePress(w, press);
    mouseGlide(w, press, press + by);
    QCOMPARE(c->pos(), during);
    mouseReleaseHere(w);
    QCOMPARE(c->pos(), landed);
    if (control == "picture")
        QCOMPARE(m.Blurb->pos(), landed);
    checkModelMatchesControls(m);
    QVERIFY(!m.isSaved());
}

void TestMoveResize::moveCommands_data()
{
    QTest::addColumn<QString>("control");
    QTest::addColumn<QPoint>("press");
    QTest::newRow("button") << "button" << QPoint(20, 20);
    QTest::newRow("title") << "title" << QPoint(30, 15);
    QTest::newRow("blurb picture") << "picture" << QPoint(50, 20);
}

void TestMoveResize::moveCommands()
{
    QFETCH(QString, control);
    QFETCH(QPoint, press);
    MainFormFixture f;
    TMainForm &m = shown(f);
    const auto [w, c] = pick(f, control);
    const QRect before = c->geometry();
    mouseMove(w, press);
    choosePopupItem(control == "button" ? m.Move1 : m.MoveField1);
    mousePress(w, press, Qt::RightButton);
    QVERIFY(m.dragManager()->isDragging());
    // The mouse, no button held, carries the control with the press point under it.
    mouseMove(m.Background->canvas(), QPoint(300, 250));
    mouseMove(m.Background->canvas(), QPoint(310, 260));
    mousePress(m.Background->canvas(), QPoint(310, 260));
    mouseRelease(m.Background->canvas(), QPoint(310, 260));
    QVERIFY(!m.dragManager()->isDragging());
    QCOMPARE(w->mapTo(m.Background->canvas(), press), QPoint(310, 260));
    QCOMPARE(c->size(), before.size());
    if (control == "picture")
        QCOMPARE(m.Blurb->geometry(), c->geometry());
    checkModelMatchesControls(m);
    QVERIFY(!m.isSaved());
}

void TestMoveResize::dragTextSelectsInsteadOfMoving()
{
    MainFormFixture f;
    TMainForm &m = shown(f);
    m.program().DragText = true;
    QWidget *v = m.Title->viewport();
    mouseMove(v, QPoint(10, 15));
    mousePress(v, QPoint(10, 15));
    QVERIFY(!m.dragManager()->isDragging());
    mouseGlide(v, QPoint(10, 15), QPoint(150, 15));
    mouseReleaseHere(v);
    QCOMPARE(m.Title->geometry(), QRect(46, 8, 372, 41));
    QVERIFY(m.Title->textCursor().hasSelection());
    QVERIFY(m.isSaved());

    // "Move" from the text menu still moves it.
    choosePopupItem(m.MoveField1);
    mousePress(v, QPoint(30, 15), Qt::RightButton);
    QVERIFY(m.dragManager()->isDragging());
    mouseMove(m.Background->canvas(), QPoint(200, 200));
    mousePress(m.Background->canvas(), QPoint(200, 200));
    mouseRelease(m.Background->canvas(), QPoint(200, 200));
    QCOMPARE(v->mapTo(m.Background->canvas(), QPoint(30, 15)), QPoint(200, 200));
    QCOMPARE(m.design().TitleRect, m.Title->geometry());
}

void TestMoveResize::addedButtonIsPlacedAndCarriedToTheDrop()
{
    MainFormFixture f;
    TMainForm &m = shown(f);
    mousePress(m.AddButton, QPoint(40, 20));
    mouseRelease(m.AddButton, QPoint(40, 20));
    QCOMPARE(m.design().Buttons.size(), 2);
    TCleanMyButton *b = m.ButtonControls.at(1);
    QVERIFY(m.dragManager()->isDragging());
    QCOMPARE(b->pos(), QPoint(1, 1));
    // Over the command row nothing moves yet.
    mouseMove(m.DeleteButton, QPoint(20, 20));
    QCOMPARE(b->pos(), QPoint(1, 1));
    QVERIFY(m.DragOverFlag);
    // Where the mouse enters the surface the button's corner goes.
    mouseMove(m.Background->canvas(), QPoint(60, 240));
    QVERIFY(!m.DragOverFlag);
    QCOMPARE(b->pos(), QPoint(60, 240));
    mouseMove(m.Background->canvas(), QPoint(70, 250));
    QCOMPARE(b->pos(), QPoint(70, 250));
    mousePress(m.Background->canvas(), QPoint(70, 250));
    mouseRelease(m.Background->canvas(), QPoint(70, 250));
    QVERIFY(!m.dragManager()->isDragging());
    QCOMPARE(m.design().Buttons.at(1).rect(), QRect(70, 250, 156, 65));
    QCOMPARE(m.SelectedButton, b);
    QCOMPARE(m.ButtonControls.at(0)->geometry(), QRect(150, 150, 156, 65));
    checkModelMatchesControls(m);
}

void TestMoveResize::abandonedPlacementMovesNothing_data()
{
    QTest::addColumn<QString>("then");
    QTest::newRow("Delete Button") << "delete";
    QTest::newRow("Background") << "background";
    QTest::newRow("Escape, added from the surface menu") << "escape";
}

void TestMoveResize::abandonedPlacementMovesNothing()
{
    // Add Button, then another command before the mouse reached the surface:
    // no later mouse move may move a button nobody dragged.
    QFETCH(QString, then);
    MainFormFixture f;
    TMainForm &m = shown(f);
    if (then == "escape") {
        m.AddButton1->trigger();
        QVERIFY(m.ButtonControls.at(1)->isHidden());
        QTest::keyClick(windowOf(&m), Qt::Key_Escape);
        // It shows where it is rather than stay unseen in the design.
        QVERIFY(!m.ButtonControls.at(1)->isHidden());
    } else {
        mousePress(m.AddButton, QPoint(40, 20));
        mouseRelease(m.AddButton, QPoint(40, 20));
        QPushButton *command = then == "delete" ? m.DeleteButton : m.BackgroundButton;
        mouseMove(command, QPoint(30, 20));
        // The first click ends the placing drag, the second is the command.
        for (int i = 0; i < 2; ++i) {
            f.prompts.answers = {ModalResult::Yes};
            mousePress(command, QPoint(30, 20));
            mouseRelease(command, QPoint(30, 20));
        }
    }
    QVERIFY(!m.DragOverFlag);
    QVERIFY(!m.dragManager()->isDragging());
    const QList<QRect> before = [&] {
        QList<QRect> r;
        for (TCleanMyButton *b : std::as_const(m.ButtonControls))
            r << b->geometry();
        return r;
    }();
    m.document().markSaved();

    // Hover over the surface and every button, then click the first one.
    mouseMove(m.Background->canvas(), QPoint(400, 300));
    for (TCleanMyButton *b : std::as_const(m.ButtonControls)) {
        mouseMove(b, QPoint(60, 30));
        mouseMove(b, QPoint(70, 40));
    }
    TCleanMyButton *first = m.ButtonControls.at(0);
    mousePress(first, QPoint(60, 30));
    mouseRelease(first, QPoint(60, 30));
    for (int i = 0; i < m.ButtonControls.size(); ++i)
        QCOMPARE(m.ButtonControls.at(i)->geometry(), before.at(i));
    QVERIFY(m.isSaved());

    // Dragging the Title while that button is selected moves the Title only.
    QCOMPARE(m.SelectedButton, first);
    QWidget *v = m.Title->viewport();
    mouseMove(v, QPoint(200, 20));
    mousePress(v, QPoint(200, 20));
    mouseGlide(v, QPoint(200, 20), QPoint(230, 40));
    mouseReleaseHere(v);
    QCOMPARE(m.Title->pos(), QPoint(76, 28));
    for (int i = 0; i < m.ButtonControls.size(); ++i)
        QCOMPARE(m.ButtonControls.at(i)->geometry(), before.at(i));
    checkModelMatchesControls(m);
}

void TestMoveResize::movedAndResizedButtonIsSavedAndCompiled()
{
    MainFormFixture f;
    TMainForm &m = shown(f);
    QTemporaryDir dir;
    TCleanMyButton *b = m.ButtonControls.at(0);
    // Move by (40, -30), then widen and lower through the SE corner.
    mouseMove(b, QPoint(60, 30));
    mousePress(b, QPoint(60, 30));
    mouseGlide(b, QPoint(60, 30), QPoint(100, 0));
    mouseReleaseHere(b);
    QCOMPARE(b->geometry(), QRect(190, 120, 156, 65));
    mouseMove(b, QPoint(153, 62));
    mousePress(b, QPoint(153, 62));
    mouseGlide(b, QPoint(153, 62), QPoint(180, 80));
    mouseReleaseHere(b);
    QCOMPARE(b->geometry(), QRect(190, 120, 180, 80));
    // And the Title moved down by 5.
    mouseMove(m.Title->viewport(), QPoint(100, 20));
    mousePress(m.Title->viewport(), QPoint(100, 20));
    mouseGlide(m.Title->viewport(), QPoint(100, 20), QPoint(100, 25));
    mouseReleaseHere(m.Title->viewport());
    QVERIFY(!m.isSaved());

    f.prompts.files = {dir.filePath("moved.qmf")};
    m.SaveButtonClick();
    QVERIFY(m.isSaved());
    m.NewButtonClick();
    QCOMPARE(m.design().Buttons.at(0).rect(), QRect(150, 150, 156, 65));
    f.prompts.files = {dir.filePath("moved.qmf")};
    m.OpenButtonClick();
    QCOMPARE(m.design().Buttons.size(), 1);
    QCOMPARE(m.design().Buttons.at(0).rect(), QRect(190, 120, 180, 80));
    QCOMPARE(m.ButtonControls.at(0)->geometry(), QRect(190, 120, 180, 80));
    QCOMPARE(m.Title->geometry(), QRect(46, 13, 372, 41));

    f.prompts.answers = {ModalResult::No};
    m.CompileButtonClick();
    const QString html = m.HTML;
    for (const char *line : {"<param name=\"left1\" value=\"190\">", "<param name=\"top1\" value=\"120\">",
                             "<param name=\"width1\" value=\"180\">", "<param name=\"height1\" value=\"80\">",
                             "<param name=\"head_top\" value=\"13\">"})
        QVERIFY2(html.contains(QLatin1String(line)), line);
}

QTEST_MAIN(TestMoveResize)
#include "test_moveresize.moc"
