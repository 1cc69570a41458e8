// The drag manager on its own, with plain widgets and real mouse events.

#include "editor/dragmanager.h"
#include "mousedriver.h"

#include <QGuiApplication>
#include <QMouseEvent>
#include <QtTest>

namespace {

// A window with a source, an accepting target with an unregistered child,
// a refusing target and a target whose handler refuses.
struct Rig {
    Rig()
    {
        window.resize(400, 300);
        source = new QWidget(&window);
        source->setGeometry(10, 10, 50, 50);
        accepting = new QWidget(&window);
        accepting->setGeometry(200, 10, 100, 100);
        inner = new QWidget(accepting);
        inner->setGeometry(40, 40, 20, 20);
        refusing = new QWidget(&window);
        refusing->setGeometry(200, 150, 100, 100);
        declining = new QWidget(&window);
        declining->setGeometry(20, 150, 100, 100);
        for (QWidget *w : {source, accepting, inner, refusing, declining})
            w->installEventFilter(&releases);

        auto log = [this](const char *who, bool decline) {
            return [this, who, decline](DragManager::DragOver &e) {
                const char *state = e.state == TDragState::dsDragEnter ? "enter"
                    : e.state == TDragState::dsDragLeave               ? "leave"
                                                                       : "move";
                events << QStringLiteral("%1 %2 %3,%4 %5").arg(state, who).arg(e.pos.x()).arg(e.pos.y())
                              .arg(e.accept ? "preset" : "unset");
                if (decline)
                    e.accept = false;
            };
        };
        drag.addTarget(accepting, log("accepting", false), [this](QWidget *t, QWidget *s, QPoint p) {
            events << QStringLiteral("drop %1 from %2 at %3,%4").arg(t->objectName(), s->objectName()).arg(p.x()).arg(p.y());
        });
        drag.addTarget(refusing);
        drag.addTarget(declining, log("declining", true), [this](QWidget *, QWidget *, QPoint) {
            events << QStringLiteral("drop declining");
        });
        drag.setEndDragHandler(source, [this](QWidget *s, QWidget *t, QPoint) {
            events << QStringLiteral("end %1 %2").arg(s->objectName(), t ? t->objectName() : QStringLiteral("none"));
        });
        source->setObjectName("source");
        accepting->setObjectName("accepting");
        QVERIFY(qmtest::showParked(&window));
    }

    QPoint global(QWidget *w, QPoint p) const { return w->mapToGlobal(p); }

    struct ReleaseCounter : QObject {
        int count = 0;
        bool eventFilter(QObject *, QEvent *e) override
        {
            if (e->type() == QEvent::MouseButtonRelease)
                ++count;
            return false;
        }
    } releases;

    QWidget window;
    QWidget *source, *accepting, *inner, *refusing, *declining;
    DragManager drag;
    QStringList events;
};

} // namespace

class TestDragManager : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { qmtest::ignoreOffscreenGrabWarnings(); }
    void immediateDragVisitsDropsAndEnds();
    void deferredDragWaitsForTheThreshold_data();
    void deferredDragWaitsForTheThreshold();
    void aRefusingHandlerGetsNoDrop();
    void escapeCancels();
    void theSourceGoingAwayEndsTheDrag();
    void oneDragAtATime();
    void noDragOnAWindowOffScreen();
};

void TestDragManager::immediateDragVisitsDropsAndEnds()
{
    Rig r;
    using namespace qmtest;
    QVERIFY(r.drag.beginDrag(r.source, true, r.global(r.source, QPoint(5, 5))));
    QVERIFY(r.drag.isDragging());
    // The window holds the mouse and the keyboard while the drag lasts.
    QCOMPARE(QWidget::mouseGrabber(), &r.window);
    QCOMPARE(QWidget::keyboardGrabber(), &r.window);
    QVERIFY(QGuiApplication::overrideCursor());

    mouseMove(r.accepting, QPoint(10, 20));
    mouseMove(r.inner, QPoint(5, 5));          // a child stands for its registered parent
    QCOMPARE(r.drag.currentTarget(), r.accepting);
    mouseMove(r.refusing, QPoint(50, 50));      // refuses: no handler to call
    QCOMPARE(QGuiApplication::overrideCursor()->shape(), Qt::ForbiddenCursor);
    mouseMove(r.refusing, QPoint(60, 50));
    // Released over the refusing control, the drop goes to the control
    // that accepted last, at the release point in its coordinates.
    mouseRelease(r.refusing, QPoint(60, 50));

    QCOMPARE(r.events, QStringList({
                           "enter accepting 10,20 preset",
                           "move accepting 45,45 preset",
                           "leave accepting 50,190 preset",
                           "drop accepting from source at 60,190",
                           "end source accepting",
                       }));
    QVERIFY(!r.drag.isDragging());
    QVERIFY(QWidget::mouseGrabber() == nullptr);
    QVERIFY(QWidget::keyboardGrabber() == nullptr);
    QVERIFY(QGuiApplication::overrideCursor() == nullptr);
    // The drag took the release; no control saw it.
    QCOMPARE(r.releases.count, 0);

    // Afterwards the mouse is the widgets' own again.
    mousePress(r.accepting, QPoint(10, 10));
    mouseRelease(r.accepting, QPoint(10, 10));
    QCOMPARE(r.releases.count, 1);
    QCOMPARE(r.events.size(), 5);
}

void TestDragManager::deferredDragWaitsForTheThreshold_data()
{
    QTest::addColumn<QPoint>("offset");
    QTest::addColumn<bool>("drags");
    QTest::newRow("4 right") << QPoint(4, 0) << false;
    QTest::newRow("4 up") << QPoint(0, -4) << false;
    QTest::newRow("4 and 4 diagonally") << QPoint(4, 4) << false;
    QTest::newRow("5 right") << QPoint(5, 0) << true;
    QTest::newRow("5 left") << QPoint(-5, 0) << true;
    QTest::newRow("5 down") << QPoint(0, 5) << true;
}

void TestDragManager::deferredDragWaitsForTheThreshold()
{
    QFETCH(QPoint, offset);
    QFETCH(bool, drags);
    Rig r;
    using namespace qmtest;
    const QPoint press(20, 20);
    mousePress(r.source, press);
    QVERIFY(r.drag.beginDrag(r.source, false, r.global(r.source, press)));
    QVERIFY(r.drag.isPending());
    QVERIFY(QWidget::mouseGrabber() == nullptr);
    mouseMove(r.source, press + offset);
    QCOMPARE(r.drag.isDragging(), drags);
    QCOMPARE(QWidget::mouseGrabber() == &r.window, drags);
    mouseRelease(r.source, press + offset);
    QVERIFY(!r.drag.isDragging() && !r.drag.isPending());
    if (drags) {
        // Released over the source itself, which is no target: nothing
        // accepted, so there is no drop.
        QCOMPARE(r.events, QStringList({"end source none"}));
        QCOMPARE(r.releases.count, 0);
    } else {
        // A plain click: no drag events, and the source gets its release.
        QVERIFY(r.events.isEmpty());
        QCOMPARE(r.releases.count, 1);
    }
}

void TestDragManager::aRefusingHandlerGetsNoDrop()
{
    Rig r;
    using namespace qmtest;
    QVERIFY(r.drag.beginDrag(r.source, true, r.global(r.source, QPoint(5, 5))));
    mouseMove(r.declining, QPoint(10, 10));
    mouseRelease(r.declining, QPoint(10, 10));
    // The flag came preset; the handler turned it down, so no drop.
    QCOMPARE(r.events, QStringList({"enter declining 10,10 preset", "end source none"}));
}

void TestDragManager::escapeCancels()
{
    Rig r;
    using namespace qmtest;
    QVERIFY(r.drag.beginDrag(r.source, true, r.global(r.source, QPoint(5, 5))));
    mouseMove(r.accepting, QPoint(10, 10));
    QTest::keyClick(windowOf(&r.window), Qt::Key_Escape);
    QVERIFY(!r.drag.isDragging());
    QVERIFY(QWidget::mouseGrabber() == nullptr);
    mousePress(r.accepting, QPoint(10, 10));
    mouseRelease(r.accepting, QPoint(10, 10));
    QCOMPARE(r.events, QStringList({"enter accepting 10,10 preset", "end source none"}));
    QCOMPARE(r.releases.count, 1);

    // Escape also ends a drag that has not passed its threshold yet.
    mousePress(r.source, QPoint(20, 20));
    QVERIFY(r.drag.beginDrag(r.source, false, r.global(r.source, QPoint(20, 20))));
    QTest::keyClick(windowOf(&r.window), Qt::Key_Escape);
    QVERIFY(!r.drag.isPending());
    mouseMove(r.source, QPoint(40, 40));
    QVERIFY(!r.drag.isDragging());
    mouseRelease(r.source, QPoint(40, 40));
}

void TestDragManager::theSourceGoingAwayEndsTheDrag()
{
    Rig r;
    using namespace qmtest;
    QVERIFY(r.drag.beginDrag(r.source, true, r.global(r.source, QPoint(5, 5))));
    mouseMove(r.accepting, QPoint(10, 10));
    delete r.source;
    QVERIFY(!r.drag.isDragging());
    QVERIFY(QWidget::mouseGrabber() == nullptr);
    QVERIFY(QGuiApplication::overrideCursor() == nullptr);
    mousePress(r.accepting, QPoint(20, 10));
    mouseRelease(r.accepting, QPoint(20, 10));
    QCOMPARE(r.events, QStringList({"enter accepting 10,10 preset"}));
    QCOMPARE(r.releases.count, 1);
}

void TestDragManager::oneDragAtATime()
{
    Rig r;
    using namespace qmtest;
    QVERIFY(r.drag.beginDrag(r.source, true, r.global(r.source, QPoint(5, 5))));
    mouseMove(r.accepting, QPoint(10, 10));
    // A second drag cancels the first, which ends without a drop.
    QVERIFY(r.drag.beginDrag(r.inner, true, r.global(r.inner, QPoint(1, 1))));
    QCOMPARE(r.drag.source(), r.inner);
    QCOMPARE(r.events.mid(0, 2), QStringList({"enter accepting 10,10 preset", "end source none"}));
    r.drag.cancelDrag();
    QVERIFY(QWidget::mouseGrabber() == nullptr);
}

void TestDragManager::noDragOnAWindowOffScreen()
{
    QWidget hidden;
    QWidget *child = new QWidget(&hidden);
    DragManager drag;
    QVERIFY(!drag.beginDrag(child, true, QPoint(1, 1)));
    QVERIFY(!drag.isDragging() && !drag.isPending());
}

QTEST_MAIN(TestDragManager)
#include "test_dragmanager.moc"
