#include "editor/tcleanmybutton.h"
#include "editor/areaedit.h"
#include "mainformfixture.h"

#include <QtTest>

using qmtest::paramValue;

using namespace qm;

namespace {

void saveAs(TMainForm &m, const QString &folder)
{
    m.design().FileDir = folder + "/";
    m.design().FileName = "menu.qmf";
    m.design().FileDirUpper = m.design().FileDir.toUpper();
    m.design().FileNameUpper = m.design().FileName.toUpper();
}

} // namespace

class TestBuildBlock : public QObject {
    Q_OBJECT
private slots:
    void compileFormOfTheStartDesign();
    void longTitleIsCutWhereTheAreaWrapsIt();
    void hiddenAreasStillBreakAtTheirWidth();
    void areasShowTheirTextsAfterTheBuild();
    void abandonedBuildKeepsThePreviousBlock();
    void soundInTheProjectFolderIsLeftIntact();
};

void TestBuildBlock::compileFormOfTheStartDesign()
{
    MainFormFixture f;
    TMainForm &m = *f.form;
    QTemporaryDir project;
    saveAs(m, project.path());
    QVERIFY(m.BuildCompileString(false));
    const QStringList lines = m.HTML.split("\r\n");
    QCOMPARE(lines.first(), QString("<!-- Pellory Software -->"));
    QCOMPARE(lines.at(1), QString("<applet archive=\"quillmap.zip\" code=\"quillmap.class\" width=450 height=321>"));
    QCOMPARE(paramValue(m.HTML, "deftag"), QString("type background title here"));
    QCOMPARE(paramValue(m.HTML, "defmaintext"), QString("type background blurb here"));
    QCOMPARE(paramValue(m.HTML, "tag1"), QString("type button title here"));
    QCOMPARE(paramValue(m.HTML, "sound1"), QString("click.au"));
    QVERIFY(m.HTML.endsWith("</applet>\r\n"));
    // The default sound went beside the project, with one message.
    QCOMPARE(qmtest::readBytes(project.filePath("click.au")), qmtest::readBytes(f.folder.file("sound/click.au")));
    QCOMPARE(f.prompts.messages(), QStringList({"AU File(s) copied to " + m.design().FileDir}));

    // The Preview form copies nothing and says nothing.
    f.prompts.log.clear();
    QVERIFY(m.BuildCompileString(true));
    QCOMPARE(paramValue(m.HTML, "img1"), QString("default.gif"));
    QVERIFY(f.prompts.log.isEmpty());
}

void TestBuildBlock::longTitleIsCutWhereTheAreaWrapsIt()
{
    MainFormFixture f;
    TMainForm &m = *f.form;
    m.show();
    QVERIFY(QTest::qWaitForWindowExposed(&m));
    const QString longTitle = "Fresh roasted coffee beans delivered to your door every week";
    m.Title->setPlainText(longTitle); // typed into the area while the background is selected
    // What the area shows on screen: its own layout of the text.
    const QStringList shown = m.Title->displayLines();
    QVERIFY2(shown.size() > 1, "the title must wrap in a 372-pixel area");

    m.design().Buttons[0].TitleText = longTitle + " too";
    QVERIFY(m.BuildCompileString(true));
    QCOMPARE(paramValue(m.HTML, "deftag"), shown.first());
    QVERIFY(longTitle.startsWith(shown.first()));
    QCOMPARE(paramValue(m.HTML, "tag1"), shown.first());
    // The comment line keeps the whole title.
    QVERIFY(m.HTML.contains("<!-- " + longTitle + " too -->"));

    // A narrower area wraps earlier, and the block follows it.
    m.document().setAreaRect(TextArea::Title, QRect(46, 8, 150, 41));
    m.Title->setPlainText(longTitle);
    const QStringList narrow = m.Title->displayLines();
    QVERIFY(narrow.first().size() < shown.first().size());
    QVERIFY(m.BuildCompileString(true));
    QCOMPARE(paramValue(m.HTML, "deftag"), narrow.first());

    // So does a smaller font.
    qm::BackgroundData smaller = m.design().background();
    smaller.TitleFontSize = 10;
    m.document().setBackground(smaller);
    m.Title->setPlainText(longTitle);
    const QStringList small = m.Title->displayLines();
    QVERIFY(small.first().size() > narrow.first().size());
    QVERIFY(m.BuildCompileString(true));
    QCOMPARE(paramValue(m.HTML, "deftag"), small.first());
}

void TestBuildBlock::hiddenAreasStillBreakAtTheirWidth()
{
    MainFormFixture f;
    TMainForm &m = *f.form;
    m.show();
    QVERIFY(QTest::qWaitForWindowExposed(&m));
    const QString blurb = "A blurb long enough to need more than one line in the Blurb area of the surface";
    m.Blurb->setPlainText(blurb);
    const QStringList shown = m.Blurb->displayLines();
    QVERIFY(shown.size() > 1);
    m.HighlightTable();

    // Hide the areas, then change the Blurb area's width while it is hidden.
    m.design().Buttons[0].BlurbText = blurb;
    m.design().ShowTitleAndBlurb = false;
    m.Title->hide();
    m.Blurb->hide();
    QVERIFY(m.BuildCompileString(true));
    QCOMPARE(paramValue(m.HTML, "blurb1"), shown.join("\r\n|"));

    m.document().setAreaRect(TextArea::Blurb, QRect(46, 56, 200, 73));
    QVERIFY(m.BuildCompileString(true));
    m.Blurb->show();
    m.Blurb->setPlainText(blurb);
    const QStringList narrow = m.Blurb->displayLines();
    QVERIFY(narrow.size() > shown.size());
    QCOMPARE(paramValue(m.HTML, "blurb1"), narrow.join("\r\n|"));
}

void TestBuildBlock::areasShowTheirTextsAfterTheBuild()
{
    MainFormFixture f;
    TMainForm &m = *f.form;
    m.HighlightButton(m.ButtonControls.at(0));
    m.Title->setPlainText("typed title");
    m.Blurb->setPlainText("typed\nblurb");
    QTextCursor c = m.Blurb->textCursor();
    c.setPosition(2);
    c.setPosition(4, QTextCursor::KeepAnchor);
    m.Blurb->setTextCursor(c);
    m.document().markSaved();

    QVERIFY(m.BuildCompileString(true));
    // The flush stored the typed texts into the selected button first.
    QCOMPARE(m.design().Buttons[0].TitleText, QString("typed title"));
    QCOMPARE(paramValue(m.HTML, "blurb1"), QString("typed\r\n|blurb"));
    QCOMPARE(paramValue(m.HTML, "deftag"), QString("type background title here"));
    QCOMPARE(m.Title->toPlainText(), QString("typed title"));
    QCOMPARE(m.Blurb->toPlainText(), QString("typed\nblurb"));
    QCOMPARE(m.Blurb->textCursor().anchor(), 2);
    QCOMPARE(m.Blurb->textCursor().position(), 4);
    QVERIFY(m.isSaved());
}

void TestBuildBlock::abandonedBuildKeepsThePreviousBlock()
{
    MainFormFixture f;
    TMainForm &m = *f.form;
    QVERIFY(m.BuildCompileString(true));
    const QString previous = m.HTML;
    m.design().ShowTitleAndBlurb = false;
    m.HighlightButton(m.ButtonControls.at(0));
    f.prompts.answers = {ModalResult::Yes};
    m.DeleteButtonClick();
    f.prompts.log.clear();
    QVERIFY(!m.BuildCompileString(false));
    QCOMPARE(m.HTML, previous);
    QVERIFY(f.prompts.log.isEmpty());
}

void TestBuildBlock::soundInTheProjectFolderIsLeftIntact()
{
    MainFormFixture f;
    TMainForm &m = *f.form;
    QTemporaryDir project;
    const QByteArray sound = QByteArray(".snd") + QByteArray(100, 'x');
    QVERIFY(qmtest::writeBytes(project.filePath("ding.au"), sound));
    saveAs(m, project.path());
    m.design().Buttons[0].MouseOverSound = project.filePath("ding.au");
    QVERIFY(m.BuildCompileString(false));
    QCOMPARE(qmtest::readBytes(project.filePath("ding.au")), sound);
    QCOMPARE(paramValue(m.HTML, "sound1"), QString("ding.au"));
    // The message still names the folder.
    QCOMPARE(f.prompts.messages().size(), 1);
}

QTEST_MAIN(TestBuildBlock)
#include "test_buildblock.moc"
