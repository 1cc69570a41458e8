#include "editor/tcleanmybutton.h"
#include "mainformfixture.h"
#include "preview/tddeform.h"
#include "standin.h"

#include <QDir>
#include <QPushButton>
#include <QToolButton>
#include <QFile>
#include <QTimer>
#include <QUrl>
#include <QtTest>

using qmtest::paramValue;

using namespace qm;
using Kind = ScriptedPrompts::Record::Kind;

namespace {

const char *const kRuntime[] = {"loadall.class", "header.class", "buttbox.class", "mbutt.class", "quillmap.class",
                                "mainarea.class", "quillmap.zip", "quillmap.cab", "quillmap.js"};

QStringList entries(const QString &folder)
{
    return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
}

// The document state that Preview must leave as it found it.
struct DocumentState {
    explicit DocumentState(const TMainForm &m)
        : names{m.design().FileName, m.design().FileDir, m.design().FileNameUpper, m.design().FileDirUpper}, caption(m.windowTitle()), saved(m.isSaved())
    {
    }
    bool operator==(const DocumentState &) const = default;
    QStringList names;
    QString caption;
    bool saved;
};

} // namespace

class TestPreview : public QObject {
    Q_OBJECT
private slots:
    void previewStartsTheBrowserAndHandsItThePage();
    void previewHandsThePageToTheRunningBrowser();
    void previewAsksForABrowser_data();
    void previewAsksForABrowser();
    void pageThatCannotBeWrittenLeavesTheNamesAsTheyWere();
    void nothingToPreview();
};

void TestPreview::previewStartsTheBrowserAndHandsItThePage()
{
    MainFormFixture f;
    TMainForm &m = *f.form;
    StandInBrowser browser("my \"odd\" browsers");
    m.program().Browser = browser.path();

    // The design: a named project with changes, two buttons whose pictures
    // have one bare name, a Blurb picture and a relative link.
    QTemporaryDir elsewhere;
    const QString first = elsewhere.filePath("a/pic.png");
    const QString second = elsewhere.filePath("b/pic.png");
    QVERIFY(qmtest::writePicture(first, qmtest::solidImage(20, 10, qRgb(255, 0, 0))));
    QVERIFY(qmtest::writePicture(second, qmtest::solidImage(20, 10, qRgb(0, 0, 255))));
    QVERIFY(qmtest::writePicture(elsewhere.filePath("blurb.png"), qmtest::solidImage(30, 30, qRgb(0, 255, 0))));
    QVERIFY(qmtest::writePicture(elsewhere.filePath("blurb@2x.png"), qmtest::solidImage(60, 60, qRgb(0, 255, 0))));
    QVERIFY(qmtest::writeBytes(elsewhere.filePath("snd/ding.au"), ".snd ding"));
    for (const char *name : kRuntime)
        QVERIFY(qmtest::writeBytes(f.folder.file(QString("java/") + name), QByteArray("runtime ") + name));
    f.prompts.files = {elsewhere.filePath("menu.qmf")};
    QVERIFY(m.SaveAs());
    m.AddButtonClick(m.AddButton);
    m.HighlightTable();
    m.design().Buttons[0].DefImageName = first;
    m.design().Buttons[0].LinkURL = "/site/page one.html";
    m.design().Buttons[0].TitleText = QString::fromUtf8("Caf\xc3\xa9 \xe2\x9c\x93");
    m.design().Buttons[0].URLRelative = true;
    m.design().Buttons[1].DefImageName = second;
    m.design().Buttons[1].MouseOverImage = "images/mouse.gif"; // relative to the program folder
    m.design().Buttons[1].MouseOverSound = elsewhere.filePath("snd/ding.au");
    m.design().BlurbImageName = elsewhere.filePath("blurb.png");
    QVERIFY(!m.isSaved());
    const DocumentState before(m);

    // What an earlier Preview left, a sub-folder, and links out of the
    // folder to a file and to a folder.
    const QString tmp = f.folder.file("tmp");
    QVERIFY(qmtest::writeBytes(tmp + "/old-page.gif", "old"));
    QVERIFY(qmtest::writeBytes(tmp + "/.hidden", "old"));
    QVERIFY(qmtest::writeBytes(tmp + "/keep/inside.txt", "kept"));
    QVERIFY(qmtest::writeBytes(elsewhere.filePath("target.txt"), "target"));
    QVERIFY(QFile::link(elsewhere.filePath("target.txt"), tmp + "/link.txt"));
    QVERIFY(QFile::link(elsewhere.filePath("snd"), tmp + "/folderlink"));

    QVERIFY(!m.DDEForm->Timer1->isActive());
    m.SpeedButton1->click();

    // The Save As above, and what the page beside the project would miss
    // online: the program's mouse-over picture, outside its folder.
    QCOMPARE(f.prompts.log.size(), 2);
    QVERIFY2(f.prompts.messages().last().contains("images/mouse.gif is outside the page's folder"),
             qPrintable(f.prompts.messages().last()));
    QVERIFY(DocumentState(m) == before);
    QCOMPARE(QDir::currentPath(), f.folder.path());

    // The folder: earlier files and links gone (their targets intact), the
    // sub-folder kept, everything the design uses copied by bare name.
    QStringList expected{"click.au", "ding.au", "blurb.png", "blurb@2x.png", "keep", "mouse.gif", "pic.png", "preview.html"};
    for (const char *name : kRuntime)
        expected << name;
    expected.sort();
    QCOMPARE(entries(tmp), expected);
    QCOMPARE(qmtest::readBytes(elsewhere.filePath("target.txt")), QByteArray("target"));
    QVERIFY(QFile::exists(elsewhere.filePath("snd/ding.au")));
    QCOMPARE(qmtest::readBytes(tmp + "/keep/inside.txt"), QByteArray("kept"));
    QCOMPARE(qmtest::readBytes(tmp + "/pic.png"), qmtest::readBytes(second));
    QCOMPARE(qmtest::readBytes(tmp + "/quillmap.js"), QByteArray("runtime quillmap.js"));

    // The page: seven lines around the block, the script runtime's line and
    // the character set in the head, files named by bare name.
    const QString page = QString::fromUtf8(qmtest::readBytes(tmp + "/preview.html"));
    QVERIFY2(page.startsWith("<HTML>\r\n<HEAD>\r\n<script src=\"quillmap.js\" defer blocking=\"render\"></script>\r\n<meta charset=\"utf-8\">\r\n"
                             "</HEAD>\r\n<BODY>\r\n"
                             "<!-- Pellory Software -->\r\n"),
             qPrintable(page));
    QVERIFY(page.endsWith("</applet>\r\n\r\n</BODY>\r\n</HTML>\r\n"));
    QVERIFY(page.contains("\r\n" + m.HTML + "\r\n</BODY>"));
    QCOMPARE(paramValue(page, "tag1"), m.design().Buttons[0].TitleText); // in UTF-8, as the head says
    QCOMPARE(paramValue(page, "img1"), QString("pic.png"));
    QCOMPARE(paramValue(page, "img2"), QString("pic.png"));
    QCOMPARE(paramValue(page, "rollOverImg2"), QString("mouse.gif"));
    QCOMPARE(paramValue(page, "defimg"), QString("blurb.png"));
    QVERIFY(page.contains("<nav class=\"quillmap-links\" data-blurb-srcset=\"blurb.png 1x, blurb@2x.png 2x\">"));
    QCOMPARE(paramValue(page, "sound2"), QString("ding.au"));
    QCOMPARE(paramValue(page, "URL1"), QString("file:///site/page one.html,_self"));

    // No browser runs: it is started without the page, and the first tick
    // that finds it running hands the page over.
    QVERIFY(browser.waitForStarts(1));
    QCOMPARE(browser.starts().first(), QString(""));
    QVERIFY(m.DDEForm->Timer1->isActive());
    QVERIFY(browser.waitForStarts(2, 6000));
    const QString url = QUrl::fromLocalFile(tmp + "/preview.html").toString(QUrl::FullyEncoded);
    QCOMPARE(browser.starts(), QStringList({"", "[" + url + "]"}));
    QTRY_VERIFY(!m.DDEForm->Timer1->isActive());

    // A second Preview empties the folder first.
    m.design().Buttons[1].DefImageName = first;
    m.design().Buttons[0].DefImageName.clear();
    m.design().Buttons[1].MouseOverSound.clear();
    m.PreviewButtonClick();
    QVERIFY(!QFile::exists(tmp + "/ding.au"));
    QCOMPARE(qmtest::readBytes(tmp + "/pic.png"), qmtest::readBytes(first));
    QVERIFY(DocumentState(m) == before);
}

void TestPreview::previewHandsThePageToTheRunningBrowser()
{
    MainFormFixture f;
    StandInBrowser browser;
    // The setting as a user may write it by hand: in quotes.
    QVERIFY(qmtest::writeBytes(f.folder.file("QM.INI"), "[GLOBAL]\r\nBrowser = \"" + browser.path().toUtf8() + "\"\r\n"));
    f.restart();
    TMainForm &m = *f.form;
    QCOMPARE(m.program().Browser, browser.path());
    QVERIFY(browser.startRunning());
    const DocumentState before(m);

    m.PreviewButtonClick();
    QVERIFY(f.prompts.log.isEmpty());
    QVERIFY(!m.DDEForm->Timer1->isActive());
    QVERIFY(browser.waitForStarts(2));
    const QString url = QUrl::fromLocalFile(f.folder.file("tmp/preview.html")).toString(QUrl::FullyEncoded);
    QCOMPARE(browser.starts(), QStringList({"", "[" + url + "]"}));
    QVERIFY(DocumentState(m) == before);
    QVERIFY(m.design().FileName.isEmpty());
}

void TestPreview::previewAsksForABrowser_data()
{
    QTest::addColumn<QString>("setting");  // Browser at the start
    QTest::addColumn<QString>("answer");   // "cancel", "text file" or "browser"
    QTest::newRow("none, cancelled") << "" << "cancel";
    QTest::newRow("missing file, cancelled") << "/no/such/browser" << "cancel";
    QTest::newRow("none, a file that is no program") << "" << "text file";
    QTest::newRow("none, a browser picked") << "" << "browser";
}

void TestPreview::previewAsksForABrowser()
{
    QFETCH(QString, setting);
    QFETCH(QString, answer);
    MainFormFixture f;
    TMainForm &m = *f.form;
    StandInBrowser browser;
    QVERIFY(browser.startRunning());
    const QByteArray ini = "[Other]\nKey=1\n[GLOBAL]\nSplashState=No Splash\n";
    QVERIFY(qmtest::writeBytes(f.folder.file("QM.INI"), ini));
    m.program().Browser = setting;
    const QString textFile = f.folder.file("notes.txt");
    QVERIFY(qmtest::writeBytes(textFile, "not a program"));
    if (answer == "cancel")
        f.prompts.files = {std::nullopt};
    else
        f.prompts.files = {answer == "browser" ? browser.path() : textFile};

    m.PreviewButtonClick();

    QCOMPARE(f.prompts.log.size() >= 2, true);
    const ScriptedPrompts::Record &box = f.prompts.log.at(0);
    QCOMPARE(box.kind, Kind::Message);
    QCOMPARE(box.caption, QString("Confirm"));
    QCOMPARE(box.buttons, BoxButtons::Ok);
    QCOMPARE(box.text, QString("Please pick a default browser with which to preview the Quillmap Applet."));
    const ScriptedPrompts::Record &dialog = f.prompts.log.at(1);
    QCOMPARE(dialog.kind, Kind::FileDialog);
    QCOMPARE(dialog.file.directory, QString("/usr/bin"));
    QCOMPARE(dialog.file.filter, QString("Program Files (*.EXE);;All Files (*.*)"));
    QCOMPARE(dialog.file.selectedFilter, QString("All Files (*.*)"));

    const bool picked = answer == "browser";
    QCOMPARE(f.prompts.log.size(), answer == "text file" ? 3 : 2);
    if (answer == "text file")
        QCOMPARE(f.prompts.log.at(2).text, textFile + " is not a program that can be started.");
    QCOMPARE(m.program().Browser, picked ? browser.path() : setting);
    QCOMPARE(qmtest::readBytes(f.folder.file("QM.INI")),
             picked ? ini + "Browser=" + browser.path().toUtf8() + "\n" : ini);
    QCOMPARE(QFile::exists(f.folder.file("tmp/preview.html")), picked);
    if (picked)
        QVERIFY(browser.waitForStarts(2));
}

void TestPreview::pageThatCannotBeWrittenLeavesTheNamesAsTheyWere()
{
    MainFormFixture f;
    TMainForm &m = *f.form;
    StandInBrowser browser;
    m.program().Browser = browser.path();
    QTemporaryDir project;
    f.prompts.files = {project.filePath("menu.qmf")};
    QVERIFY(m.SaveAs());
    f.prompts.log.clear();
    const DocumentState before(m);
    // A folder where the page would go: the emptying keeps folders.
    QVERIFY(QDir().mkpath(f.folder.file("tmp/preview.html")));

    m.PreviewButtonClick();
    QVERIFY(DocumentState(m) == before);
    QCOMPARE(f.prompts.messages().size(), 1);
    QVERIFY2(f.prompts.messages().first().startsWith("Error writing " + f.folder.file("tmp/preview.html") + ": "),
             qPrintable(f.prompts.messages().first()));
    // The browser was left alone.
    QVERIFY(m.DDEForm->PendingURL.isEmpty());
    QVERIFY(!m.DDEForm->Timer1->isActive());
    QTest::qWait(200);
    QVERIFY(browser.starts().isEmpty());

    // Without a preview folder nothing is deleted, copied or written.
    QVERIFY(QDir(f.folder.file("tmp")).removeRecursively());
    f.prompts.log.clear();
    m.PreviewButtonClick();
    QCOMPARE(f.prompts.messages(), QStringList({"The preview folder " + f.folder.file("tmp") + " is missing."}));
    QVERIFY(!QFile::exists(f.folder.file("tmp")));
    QVERIFY(DocumentState(m) == before);
}

void TestPreview::nothingToPreview()
{
    MainFormFixture f;
    TMainForm &m = *f.form;
    StandInBrowser browser;
    m.program().Browser = browser.path();
    m.HighlightButton(m.ButtonControls.first());
    QVERIFY(qmtest::writeBytes(f.folder.file("tmp/old.gif"), "old"));
    f.prompts.answers = {ModalResult::Yes};
    m.DeleteButtonClick();
    m.design().ShowTitleAndBlurb = false;
    QVERIFY(m.design().Buttons.isEmpty());
    f.prompts.log.clear();

    m.PreviewButtonClick();
    QCOMPARE(f.prompts.messages(), QStringList({"There are no Buttons!"}));
    QCOMPARE(entries(f.folder.file("tmp")), QStringList({"old.gif"}));
    QVERIFY(m.DDEForm->PendingURL.isEmpty());
}

QTEST_MAIN(TestPreview)
#include "test_preview.moc"
