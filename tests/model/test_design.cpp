#include "model/arrange.h"
#include "model/design.h"
#include "model/designsteps.h"
#include "model/settings.h"
#include "testsupport.h"

#include <QUndoStack>
#include <QtTest>

using namespace qm;

class TestDesign : public QObject {
    Q_OBJECT
private slots:
    void resetGivesTheDefaults();
    void resetKeepsAbsolutePositioningAndEmptiesButtons();
    void programPathsFollowTheProgramFolder();
    void newButtonDefaults();
    void settingsDefaultsAndRules();
    void settingsFileNameIgnoresCase();
    void settingsAreReadAgainAtEveryReset();
    void styleNames();
    void blurbImageFill_data();
    void blurbImageFill();
    void renumberFollowsListOrder();
    void stepsChangeOnlyWhatTheyChange_data();
    void stepsChangeOnlyWhatTheyChange();
    void stepsThatJoinAndTheSelection();
    void arrangements_data();
    void arrangements();
    void snapping();
};

namespace {

// A document of three buttons, opened (saved, no history), the second one
// selected, that logs every signal it sends.
struct LoggedDocument {
    LoggedDocument()
    {
        Design d;
        const qm::ProgramSetup program = qm::programSetup(folder.path());
        resetDesign(d);
        for (int i = 0; i < 3; ++i)
            d.Buttons.append(d.newButton(program, 10 + 70 * i, 150));
        doc.replace(d, true);
        doc.select(1);
        using D = DesignDocument;
        auto log = [this](const char *what) { return [this, what](auto... args) { note(what, {int(args)...}); }; };
        QObject::connect(&doc, &D::selectionChanged, log("select"));
        QObject::connect(&doc, &D::buttonMoved, log("moved"));
        QObject::connect(&doc, &D::buttonChanged, log("changed"));
        QObject::connect(&doc, &D::buttonInserted, log("inserted"));
        QObject::connect(&doc, &D::buttonRemoved, log("removed"));
        QObject::connect(&doc, &D::areaMoved, log("area"));
        QObject::connect(&doc, &D::textChanged, log("text"));
        QObject::connect(&doc, &D::backgroundChanged, log("background"));
    }
    void note(const char *what, std::initializer_list<int> args)
    {
        QString s = QLatin1String(what);
        for (int a : args)
            s += QLatin1Char(' ') + QString::number(a);
        sent << s;
    }
    QStringList take() { return std::exchange(sent, {}); }

    qmtest::ProgramFolder folder;
    DesignDocument doc;
    QStringList sent;
};

} // namespace

void TestDesign::resetGivesTheDefaults()
{
    Design d;
    d.TitleFont = "Courier";
    d.FileName = "x.qmf";
    d.BgTitleText = "old";
    resetDesign(d);

    QCOMPARE(d.TitleFont, QString("Times Roman"));
    QCOMPARE(d.TitleFontSize, 24);
    QCOMPARE(d.TitleStyle, QString("Bold"));
    QCOMPARE(d.BlurbFont, QString("Times Roman"));
    QCOMPARE(d.BlurbFontSize, 14);
    QCOMPARE(d.BlurbStyle, QString("Normal"));
    QCOMPARE(d.BackgroundColor, TColor(0));
    QCOMPARE(d.TextColor, TColor(0xFFFFFF));
    QCOMPARE(d.TitleAreaStyle, (AreaStyle{true, false}));
    QCOMPARE(d.BlurbAreaStyle, (AreaStyle{false, false}));
    QCOMPARE(d.BgTitleText, QString("type background title here"));
    QCOMPARE(d.BgBlurbText, QString("type background blurb here"));
    QCOMPARE(d.TitleRect, QRect(46, 8, 372, 41));
    QCOMPARE(d.BlurbRect, QRect(46, 56, 372, 73));
    QVERIFY(d.BlurbImageName.isEmpty() && d.BlurbImagePath.isEmpty());
    QVERIFY(d.ShowTitleAndBlurb);
    QVERIFY(d.StretchBlurbImages);
    QCOMPARE(d.DefButtonWidth, 156);
    QCOMPARE(d.DefButtonHeight, 65);
    QCOMPARE(d.TableMargin, 5);
    QCOMPARE(d.OffsetTop + d.OffsetLeft + d.AppletWidth + d.AppletHeight, 0);
    QVERIFY(d.FileName.isEmpty() && d.FileDir.isEmpty() && d.FileNameUpper.isEmpty() && d.FileDirUpper.isEmpty());
    QCOMPARE(d.FileVersion, QString("v1.0"));
}

void TestDesign::resetKeepsAbsolutePositioningAndEmptiesButtons()
{
    qmtest::ProgramFolder folder;
    Design d;
    const qm::ProgramSetup program = qm::programSetup(folder.path());
    d.AbsolutePositioning = false;
    resetDesign(d);
    d.Buttons.append(d.newButton(program, 1, 1));
    resetDesign(d);
    QVERIFY(d.Buttons.isEmpty());
    // A setting of the run, not of the design.
    QVERIFY(!d.AbsolutePositioning);
}

void TestDesign::programPathsFollowTheProgramFolder()
{
    Design d;
    const qm::ProgramSetup program = qm::programSetup("/opt/Quill Map");
    resetDesign(d);
    QCOMPARE(program.DefaultImage, QString("/opt/Quill Map/images/default.gif"));
    QCOMPARE(program.DefaultImageUpper, QString("/OPT/QUILL MAP/IMAGES/DEFAULT.GIF"));
    QCOMPARE(program.DefaultMouseOverImage, QString("/opt/Quill Map/images/mouse.gif"));
    QCOMPARE(program.DefaultMouseOverImageUpper, QString("/OPT/QUILL MAP/IMAGES/MOUSE.GIF"));
    QCOMPARE(program.DefaultSound, QString("/opt/Quill Map/sound/click.au"));
    QCOMPARE(settingsFilePath(program.AppDir), QString("/opt/Quill Map/QM.INI"));
}

void TestDesign::newButtonDefaults()
{
    Design d;
    const qm::ProgramSetup program = qm::programSetup("/q");
    resetDesign(d);
    d.Buttons.append(d.newButton(program, 150, 150));
    const ButtonData b = d.newButton(program, 1, 1);
    QCOMPARE(b.rect(), QRect(1, 1, 156, 65));
    QCOMPARE(b.Tag, 1);
    QCOMPARE(b.TitleText, QString("type button title here"));
    QCOMPARE(b.BlurbText, QString("type button blurb here"));
    QCOMPARE(b.DefImageName, QString("/q/images/default.gif"));
    QCOMPARE(b.DefImagePath, QString("/Q/IMAGES/DEFAULT.GIF"));
    QCOMPARE(b.MouseOverImage, QString("/q/images/mouse.gif"));
    QCOMPARE(b.MouseOverImagePath, QString("/Q/IMAGES/MOUSE.GIF"));
    QCOMPARE(b.MouseOverSound, QString("/q/sound/click.au"));
    QCOMPARE(b.Target, QString("_self"));
    QVERIFY(!b.URLRelative);
    QVERIFY(b.MouseOverBlurbImage.isEmpty());
    QVERIFY(b.LinkURL.startsWith("http"));
}

void TestDesign::settingsDefaultsAndRules()
{
    qmtest::ProgramFolder folder;
    Settings s = readSettings(folder.path());
    QCOMPARE(s.Browser, QString());
    QCOMPARE(s.SplashState, QString("Splash And Sound"));
    QVERIFY(!s.DragText);

    QVERIFY(qmtest::writeBytes(folder.file("QM.INI"), "[GLOBAL]\r\nBrowser=\r\nSplashState=Sometimes\r\nDragText=0x1\r\n"));
    s = readSettings(folder.path());
    QCOMPARE(s.Browser, QString(""));
    QCOMPARE(s.SplashState, QString("Sometimes"));
    QVERIFY(s.DragText);

    QVERIFY(qmtest::writeBytes(folder.file("QM.INI"), "[GLOBAL]\r\nDragText=yes\r\n"));
    QVERIFY(!readSettings(folder.path()).DragText);
}

void TestDesign::settingsFileNameIgnoresCase()
{
    qmtest::ProgramFolder folder;
    QVERIFY(qmtest::writeBytes(folder.file("qm.ini"), "[global]\nbrowser=/usr/bin/firefox\n"));
    QCOMPARE(readSettings(folder.path()).Browser, QString("/usr/bin/firefox"));
}

void TestDesign::settingsAreReadAgainAtEveryReset()
{
    qmtest::ProgramFolder folder;
    qm::ProgramSetup program = qm::programSetup(folder.path());
    QCOMPARE(program.SplashState, QString("Splash And Sound"));
    QVERIFY(qmtest::writeBytes(folder.file("QM.INI"), "[GLOBAL]\nSplashState=No Splash\nDragText=1\nBrowser=/b\n"));
    readProgramSetup(program);
    QCOMPARE(program.SplashState, QString("No Splash"));
    QVERIFY(program.DragText);
    QCOMPARE(program.Browser, QString("/b"));
}

void TestDesign::styleNames()
{
    AreaStyle s;
    applyStyleName(s, "Bold Italic");
    QCOMPARE(s, (AreaStyle{true, true}));
    applyStyleName(s, "bold"); // names are exact: anything else keeps the style
    QCOMPARE(s, (AreaStyle{true, true}));
    applyStyleName(s, "Italic");
    QCOMPARE(s, (AreaStyle{false, true}));
    applyStyleName(s, "Normal");
    QCOMPARE(s, (AreaStyle{false, false}));
    applyStyleName(s, "Bold");
    QCOMPARE(s, (AreaStyle{true, false}));
}

void TestDesign::blurbImageFill_data()
{
    QTest::addColumn<uint>("background");
    QTest::addColumn<uint>("fill");
    QTest::newRow("black") << 0x000000u << 0x202020u;
    QTest::newRow("just below 32") << 0x1F1F1Fu << 0x3F3F3Fu;
    QTest::newRow("blue 32") << 0x200000u << 0x200000u;
    QTest::newRow("red 32") << 0x000020u << 0x000020u;
    QTest::newRow("green 32") << 0x002000u << 0x002000u;
    QTest::newRow("white") << 0xFFFFFFu << 0xFFFFFFu;
    QTest::newRow("high byte ignored") << 0x01000000u << 0x01202020u;
}

void TestDesign::blurbImageFill()
{
    QFETCH(uint, background);
    QFETCH(uint, fill);
    QCOMPARE(blurbImageFillColor(background), TColor(fill));
}

void TestDesign::renumberFollowsListOrder()
{
    Design d;
    for (int i = 0; i < 3; ++i) {
        ButtonData b;
        b.Tag = 7;
        d.Buttons.append(b);
    }
    d.Buttons.removeAt(1);
    d.renumber();
    QCOMPARE(d.Buttons.at(0).Tag, 0);
    QCOMPARE(d.Buttons.at(1).Tag, 1);
}

void TestDesign::stepsChangeOnlyWhatTheyChange_data()
{
    // Each step, made while the second button is selected: what it tells
    // the views when it is done (and again, the same, for an undo and a
    // redo: an undo or a redo reaches the screen as the change did).
    QTest::addColumn<int>("step");
    QTest::addColumn<QStringList>("done");
    QTest::addColumn<QStringList>("undone");
    QTest::newRow("nudge") << 0 << QStringList{"moved 1"} << QStringList{"moved 1"};
    QTest::newRow("move another button") << 1 << QStringList{"select 2", "moved 2"}
                                         << QStringList{"moved 2"};
    QTest::newRow("move the Title") << 2 << QStringList{"area 0"} << QStringList{"area 0"};
    QTest::newRow("resize the Blurb area") << 3 << QStringList{"area 1"} << QStringList{"area 1"};
    QTest::newRow("button properties") << 4 << QStringList{"changed 1"} << QStringList{"changed 1"};
    QTest::newRow("background properties") << 5 << QStringList{"select -1", "background"}
                                           << QStringList{"background"};
    QTest::newRow("add button") << 6 << QStringList{"inserted 3", "select 3"}
                                << QStringList{"select -1", "removed 3", "select 1"};
    QTest::newRow("delete the selected button") << 7 << QStringList{"select -1", "removed 1"}
                                                << QStringList{"inserted 1", "select 1"};
    QTest::newRow("typing") << 8 << QStringList{} << QStringList{"text 1 1"};
    // Several buttons at once, the second selected with the third.
    QTest::newRow("align several") << 9 << QStringList{"moved 1", "moved 2"} << QStringList{"moved 1", "moved 2"};
    QTest::newRow("duplicate two") << 10 << QStringList{"inserted 3", "inserted 4", "select 3"}
                                   << QStringList{"removed 4", "select -1", "removed 3", "select 1"};
}

void TestDesign::stepsChangeOnlyWhatTheyChange()
{
    QFETCH(int, step);
    QFETCH(QStringList, done);
    QFETCH(QStringList, undone);
    LoggedDocument l;
    DesignDocument &doc = l.doc;
    const Design before = doc.design();
    const ButtonData b1 = before.Buttons.at(1);
    using namespace qm::edit;
    using K = Place::Kind;
    QUndoCommand *cmd = nullptr;
    ButtonData edited = b1;
    edited.LinkURL = "https://example.org/";
    BackgroundData bg = before.background();
    bg.BackgroundColor = 0x123456;
    switch (step) {
    case 0: cmd = new PlaceStep(doc, {K::Button, 1}, b1.rect(), b1.rect().translated(1, 0), 1, 7); break;
    case 1: cmd = new PlaceStep(doc, {K::Button, 2}, before.Buttons[2].rect(), QRect(0, 0, 9, 9), 2); break;
    case 2: cmd = new PlaceStep(doc, {K::Title}, before.TitleRect, before.TitleRect.translated(5, 5), 1); break;
    case 3: cmd = new PlaceStep(doc, {K::BlurbArea}, before.BlurbRect, before.BlurbRect.adjusted(0, 0, 9, 9), 1); break;
    case 4: cmd = new ButtonPropertiesStep(doc, 1, b1, edited); break;
    case 5: cmd = new BackgroundPropertiesStep(doc, before.background(), bg); break;
    case 6: cmd = new AddButtonStep(doc, 3, before.newButton(doc.program(), 1, 1), 1); break;
    case 7: cmd = new DeleteButtonStep(doc, 1, b1); break;
    case 8: cmd = new TypingStep(doc, TextArea::Blurb, 1, b1.BlurbText, "typed", 0); break;
    case 9:
    case 10:
        doc.setAlsoSelected({2});
        if (step == 9)
            cmd = new ButtonRectsStep(doc, "Align Top", {1, 2}, {b1.rect(), before.Buttons[2].rect()},
                                      {b1.rect().translated(0, -9), before.Buttons[2].rect().translated(0, -9)});
        else
            cmd = new AddButtonsStep(doc, "Duplicate", {b1, before.Buttons[2]});
        break;
    }
    QVERIFY(doc.isSaved());
    doc.push(cmd);
    QCOMPARE(l.take(), done);
    QVERIFY(!doc.isSaved());
    // Typed text is in the area when the step is made; the design gets it
    // when the selection changes, and from a redo.
    if (step != 8)
        QVERIFY(!(doc.design().Buttons == before.Buttons && doc.design().background() == before.background()
                  && doc.design().TitleRect == before.TitleRect && doc.design().BlurbRect == before.BlurbRect));
    doc.undoStack()->undo();
    QCOMPARE(l.take(), undone);
    QCOMPARE(doc.design().Buttons, before.Buttons);
    QCOMPARE(doc.design().background(), before.background());
    QCOMPARE(doc.design().TitleRect, before.TitleRect);
    QCOMPARE(doc.design().BlurbRect, before.BlurbRect);
    QVERIFY(doc.isSaved());
    doc.undoStack()->redo();
    QVERIFY(!doc.isSaved());
    QVERIFY(!l.take().isEmpty());
    if (step == 8)
        QCOMPARE(doc.design().Buttons.at(1).BlurbText, QString("typed"));
    // Both stay selected through the step and its undo; the added ones are
    // selected after it.
    if (step == 9 || step == 10) {
        QCOMPARE(doc.selectedButtons(), step == 9 ? QList<int>({1, 2}) : QList<int>({3, 4}));
        doc.undoStack()->undo();
        QCOMPARE(doc.selectedButtons(), QList<int>({1, 2}));
    }
    // A button keeps whether a double click opens it through its deletion.
    if (step == 7) {
        doc.undoStack()->undo();
        QVERIFY(doc.editsOnDoubleClick(1));
    }
}

void TestDesign::stepsThatJoinAndTheSelection()
{
    LoggedDocument l;
    DesignDocument &doc = l.doc;
    using namespace qm::edit;
    // Add Button and where the button is dropped are one step.
    doc.push(new AddButtonStep(doc, 3, doc.design().newButton(doc.program(), 1, 1), 1));
    doc.push(new PlaceStep(doc, {Place::Kind::Button, 3}, QRect(1, 1, 156, 65), QRect(40, 50, 156, 65), 3,
                           PlaceStep::Placing));
    QCOMPARE(doc.undoStack()->count(), 1);
    doc.undoStack()->undo();
    QCOMPARE(doc.buttonCount(), 3);
    doc.undoStack()->redo();
    QCOMPARE(doc.design().Buttons.at(3).rect(), QRect(40, 50, 156, 65));
    QCOMPARE(doc.selection(), 3);

    // Inserting before the selection keeps the same button selected.
    doc.select(2);
    doc.insertButton(0, doc.design().newButton(doc.program(), 0, 0), false);
    QCOMPARE(doc.selection(), 3);
    doc.removeButton(0);
    QCOMPARE(doc.selection(), 2);
    QCOMPARE(doc.design().Buttons.at(2).Tag, 2);

    // The buttons selected with it follow their buttons, never hold the
    // selection, and go with the background's selection.
    doc.setAlsoSelected({3, 0, 2, 0, 9});
    QCOMPARE(doc.selectedButtons(), QList<int>({2, 0, 3}));
    doc.insertButton(1, doc.design().newButton(doc.program(), 0, 0), false);
    QCOMPARE(doc.selectedButtons(), QList<int>({3, 0, 4}));
    doc.removeButton(0);
    QCOMPARE(doc.selectedButtons(), QList<int>({2, 3}));

    // A run of arrow keys on several is one step; one that ends where it
    // began is none.
    const QList<int> both{2, 3};
    const auto rects = [&doc, &both](int dx) {
        QList<QRect> r;
        for (int i : both)
            r << doc.design().Buttons.at(i).rect().translated(dx, 0);
        return r;
    };
    const int steps = doc.undoStack()->count();
    doc.push(new ButtonRectsStep(doc, "Move Buttons", both, rects(0), rects(1), 5));
    doc.push(new ButtonRectsStep(doc, "Move Buttons", both, rects(0), rects(-1), 5));
    QCOMPARE(doc.undoStack()->count(), steps);
    doc.select(BackgroundSelected);
    QVERIFY(doc.alsoSelected().isEmpty());
}

void TestDesign::arrangements_data()
{
    // Three buttons, the first (the selection) 40 x 20, in no order of place.
    QTest::addColumn<int>("how");
    QTest::addColumn<QList<QRect>>("after");
    using A = qm::Arrangement;
    const auto row = [](const char *name, A how, QList<QRect> after) { QTest::newRow(name) << int(how) << after; };
    row("left", A::AlignLeft, {{10, 50, 40, 20}, {10, 5, 30, 30}, {10, 90, 60, 10}});
    row("right", A::AlignRight, {{90, 50, 40, 20}, {100, 5, 30, 30}, {70, 90, 60, 10}});
    row("top", A::AlignTop, {{20, 5, 40, 20}, {100, 5, 30, 30}, {10, 5, 60, 10}});
    row("bottom", A::AlignBottom, {{20, 80, 40, 20}, {100, 70, 30, 30}, {10, 90, 60, 10}});
    row("centres", A::AlignCentres, {{50, 50, 40, 20}, {55, 5, 30, 30}, {40, 90, 60, 10}});
    row("middles", A::AlignMiddles, {{20, 42, 40, 20}, {100, 37, 30, 30}, {10, 47, 60, 10}});
    // 120 px from the leftmost's left to the rightmost's right hold 130 px of
    // buttons: two gaps of -5. Down, 35 px of room give gaps of 18 and 17.
    row("across", A::SpaceHorizontally, {{65, 50, 40, 20}, {100, 5, 30, 30}, {10, 90, 60, 10}});
    row("down", A::SpaceVertically, {{20, 53, 40, 20}, {100, 5, 30, 30}, {10, 90, 60, 10}});
    row("same size", A::SameSize, {{20, 50, 40, 20}, {100, 5, 40, 20}, {10, 90, 40, 20}});
}

void TestDesign::arrangements()
{
    QFETCH(int, how);
    QFETCH(QList<QRect>, after);
    const QList<QRect> before{{20, 50, 40, 20}, {100, 5, 30, 30}, {10, 90, 60, 10}};
    QCOMPARE(qm::arranged(before, qm::Arrangement(how)), after);
    // One button alone stays; spacing needs three.
    QCOMPARE(qm::arranged(before.mid(0, 1), qm::Arrangement(how)), before.mid(0, 1));
    if (how == int(qm::Arrangement::SpaceHorizontally))
        QCOMPARE(qm::arranged(before.mid(0, 2), qm::Arrangement(how)), before.mid(0, 2));
}

void TestDesign::snapping()
{
    QList<int> xs, ys;
    qm::addGuides(QRect(100, 100, 60, 40), xs, ys);
    // A left edge 4 px right of the other's right edge snaps onto it; the
    // nearest of the three lines wins; beyond reach nothing moves.
    const qm::Snapped s = qm::snapped(QRect(164, 10, 20, 20), xs, ys, 5);
    QCOMPARE(s.topLeft, QPoint(160, 10));
    QCOMPARE(s.xGuides, QList<int>({160}));
    QVERIFY(s.yGuides.isEmpty());
    QCOMPARE(qm::snapped(QRect(118, 113, 20, 20), xs, ys, 5).topLeft, QPoint(120, 110));
    QCOMPARE(qm::snapped(QRect(10, 10, 20, 20), xs, ys, 5).topLeft, QPoint(10, 10));
    // A resized edge goes to the nearest guide within reach.
    QCOMPARE(qm::nearestGuide(126, xs, 5), std::optional<int>(130));
    QCOMPARE(qm::nearestGuide(170, xs, 5), std::nullopt);
}

QTEST_GUILESS_MAIN(TestDesign)
#include "test_design.moc"
