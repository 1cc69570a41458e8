#include "model/design.h"
#include "model/settings.h"
#include "testsupport.h"

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
};

void TestDesign::resetGivesTheDefaults()
{
    qmtest::ProgramFolder folder;
    Design d;
    d.AppDir = folder.path();
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
    d.AppDir = folder.path();
    d.AbsolutePositioning = false;
    resetDesign(d);
    d.Buttons.append(d.newButton(1, 1));
    resetDesign(d);
    QVERIFY(d.Buttons.isEmpty());
    // A setting of the run, not of the design.
    QVERIFY(!d.AbsolutePositioning);
}

void TestDesign::programPathsFollowTheProgramFolder()
{
    Design d;
    d.AppDir = "/opt/Quill Map";
    resetDesign(d);
    QCOMPARE(d.DefaultImage, QString("/opt/Quill Map/images/default.gif"));
    QCOMPARE(d.DefaultImageUpper, QString("/OPT/QUILL MAP/IMAGES/DEFAULT.GIF"));
    QCOMPARE(d.DefaultMouseOverImage, QString("/opt/Quill Map/images/mouse.gif"));
    QCOMPARE(d.DefaultMouseOverImageUpper, QString("/OPT/QUILL MAP/IMAGES/MOUSE.GIF"));
    QCOMPARE(d.DefaultSound, QString("/opt/Quill Map/sound/click.au"));
    QCOMPARE(settingsFilePath(d.AppDir), QString("/opt/Quill Map/QM.INI"));
}

void TestDesign::newButtonDefaults()
{
    Design d;
    d.AppDir = "/q";
    resetDesign(d);
    d.Buttons.append(d.newButton(150, 150));
    const ButtonData b = d.newButton(1, 1);
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
    Design d;
    d.AppDir = folder.path();
    resetDesign(d);
    QCOMPARE(d.SplashState, QString("Splash And Sound"));
    QVERIFY(qmtest::writeBytes(folder.file("QM.INI"), "[GLOBAL]\nSplashState=No Splash\nDragText=1\nBrowser=/b\n"));
    resetDesign(d);
    QCOMPARE(d.SplashState, QString("No Splash"));
    QVERIFY(d.DragText);
    QCOMPARE(d.Browser, QString("/b"));
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

QTEST_GUILESS_MAIN(TestDesign)
#include "test_design.moc"
