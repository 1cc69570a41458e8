#include "compile/appletblock.h"
#include "compile/linkcheck.h"
#include "compile/pathconv.h"
#include "testsupport.h"
#include "model/textarea.h"
#include "platform/fileops.h"

#include <QFontInfo>
#include <QtTest>

using namespace qm;

namespace {

// The program the designs are made with.
const ProgramSetup program = programSetup(QStringLiteral("/opt/quillmap"));

class RecordingFiles : public FileOps {
public:
    QStringList existing;
    QList<QPair<QString, QString>> copies;
    bool exists(const QString &path) const override { return existing.contains(path); }
    bool copyFile(const QString &s, const QString &t) override
    {
        copies.append({s, t});
        return true;
    }
};

Design defaultDesign()
{
    Design d;
    resetDesign(d);
    d.Buttons.append(d.newButton(program, 150, 150));
    d.FileDir = "/home/ann/web/menus/";
    d.FileName = "menu.qmf";
    d.FileDirUpper = d.FileDir.toUpper();
    d.FileNameUpper = d.FileName.toUpper();
    return d;
}

QStringList linesOf(const QString &html)
{
    QStringList l = html.split("\r\n");
    return l;
}

} // namespace

class TestAppletBlock : public QObject {
    Q_OBJECT
private slots:
    void init();
    void defaultDesignCompileForm();
    void previewForm();
    void croppedToTheContent();
    void titleAndBlurbNotUsed();
    void nothingToStartFromAbandonsTheBuild();
    void noButtonsWithTitleAndBlurb();
    void numbersCloseUpAfterARemoval();
    void multiLineForms();
    void titleCutAtItsFirstDisplayLine();
    void commentCarriesTheWholeTitle();
    void quotesAndCommentEndsAreEscaped();
    void commentLineCannotEndEarly_data();
    void commentLineCannotEndEarly();
    void urlForms();
    void plainLinks();
    void scriptAddresses_data();
    void scriptAddresses();
    void deploySituations_data();
    void deploySituations();
    void soundFilesAreCopiedInCompileModeOnly();
    void nameTables();
    void colourForm();

private:
    FixedWidthLineBreaker breaker;
    RecordingFiles files;
    AppletBuildEnv env;
};

void TestAppletBlock::init()
{
    breaker = FixedWidthLineBreaker();
    files = RecordingFiles();
    env = AppletBuildEnv{&breaker, &files, QSize(450, 321), PathStyle::Posix, {}};
}

void TestAppletBlock::defaultDesignCompileForm()
{
    Design d = defaultDesign();
    files.existing << "/opt/quillmap/sound/click.au";
    const auto block = buildAppletBlock(d, false, env);
    QVERIFY(block);
    const QString *html = &block->html;
    const QString expected =
        "<!-- Pellory Software -->\r\n"
        "<applet archive=\"quillmap.zip\" code=\"quillmap.class\" width=450 height=321>\r\n"
        "<param name=\"cabbase\" value=\"quillmap.cab\">\r\n"
        "\r\n"
        "<param name=\"table_color\" value=\"000000\">\r\n"
        "<param name=\"text_color\" value=\"FFFFFF\">\r\n"
        "<param name=\"head_top\" value=\"8\">\r\n"
        "<param name=\"head_left\" value=\"46\">\r\n"
        "<param name=\"head_height\" value=\"41\">\r\n"
        "<param name=\"head_width\" value=\"372\">\r\n"
        "<param name=\"head_font\" value=\"timesroman\">\r\n"
        "<param name=\"head_style\" value=\"bold\">\r\n"
        "<param name=\"head_size\" value=\"26\">\r\n"
        "<param name=\"mainbox_top\" value=\"56\">\r\n"
        "<param name=\"mainbox_left\" value=\"46\">\r\n"
        "<param name=\"mainbox_height\" value=\"73\">\r\n"
        "<param name=\"mainbox_width\" value=\"372\">\r\n"
        "<param name=\"mainbox_font\" value=\"timesroman\">\r\n"
        "<param name=\"mainbox_style\" value=\"normal\">\r\n"
        "<param name=\"mainbox_size\" value=\"16\">\r\n"
        "<param name=\"deftag\" value=\"type background title here\">\r\n"
        "<param name=\"defmaintext\" value=\"type background blurb here\">\r\n"
        "<param name=\"defimg\" value=\"\">\r\n"
        "<param name=\"defcenter\" value=\"false\">\r\n"
        "\r\n"
        "<!-- type button title here -->\r\n"
        "<param name=\"left1\" value=\"150\">\r\n"
        "<param name=\"top1\" value=\"150\">\r\n"
        "<param name=\"width1\" value=\"156\">\r\n"
        "<param name=\"height1\" value=\"65\">\r\n"
        "<param name=\"tag1\" value=\"type button title here\">\r\n"
        "<param name=\"font1\" value=\"timesroman\">\r\n"
        "<param name=\"fontstyle1\" value=\"normal\">\r\n"
        "<param name=\"fontsize1\" value=\"14\">\r\n"
        "<param name=\"img1\" value=\"../../../../opt/quillmap/images/default.gif\">\r\n"
        "<param name=\"rollOverImg1\" value=\"../../../../opt/quillmap/images/mouse.gif\">\r\n"
        "<param name=\"imageCenter1\" value=\"\">\r\n"
        "<param name=\"URL1\" value=\"" + QString::fromLatin1(MakerHomePage) + ",_self\">\r\n"
        "<param name=\"blurb1\" value=\"type button blurb here\">\r\n"
        "<param name=\"sound1\" value=\"click.au\">\r\n"
        "\r\n"
        "<nav class=\"quillmap-links\">\r\n"
        "<ul>\r\n"
        "<li><a href=\"" + QString::fromLatin1(MakerHomePage) + "\"><img src=\"../../../../opt/quillmap/images/default.gif\" "
        "width=156 height=65 alt=\"type button title here\"></a></li>\r\n"
        "</ul>\r\n"
        "</nav>\r\n"
        "</applet>\r\n";
    QCOMPARE(linesOf(*html), linesOf(expected));
    QCOMPARE(d.AppletWidth, 450);
    QCOMPARE(d.AppletHeight, 321);
    QCOMPARE(d.OffsetLeft, 0);
    // The sound went beside the project, with one message naming the folder.
    QCOMPARE(files.copies.size(), 1);
    QCOMPARE(files.copies.first(), qMakePair(QString("/opt/quillmap/sound/click.au"), QString("/home/ann/web/menus/click.au")));
    QVERIFY(block->soundFound);
    QCOMPARE(soundsCopiedMessage(d), QString("AU File(s) copied to /home/ann/web/menus/"));
}

void TestAppletBlock::previewForm()
{
    Design d = defaultDesign();
    files.existing << "/opt/quillmap/sound/click.au";
    const QStringList l = linesOf(buildAppletBlock(d, true, env)->html);
    QVERIFY(l.contains("<param name=\"img1\" value=\"default.gif\">"));
    QVERIFY(l.contains("<param name=\"rollOverImg1\" value=\"mouse.gif\">"));
    QVERIFY(l.contains("<param name=\"sound1\" value=\"click.au\">"));
    QVERIFY(files.copies.isEmpty());

    // A file name part longer than 255 characters is cut.
    d.Buttons[0].DefImageName = "/x/" + QString(300, 'a');
    const QStringList cut = linesOf(buildAppletBlock(d, true, env)->html);
    QVERIFY(cut.contains("<param name=\"img1\" value=\"" + QString(255, 'a') + "\">"));
}

void TestAppletBlock::croppedToTheContent()
{
    Design d = defaultDesign();
    d.AbsolutePositioning = false;
    const QStringList l = linesOf(buildAppletBlock(d, false, env)->html);
    QCOMPARE(l.at(1), QString("<applet archive=\"quillmap.zip\" code=\"quillmap.class\" width=382 height=217>"));
    QCOMPARE(d.OffsetLeft, 41);
    QCOMPARE(d.OffsetTop, 3);
    for (const char *line : {"<param name=\"head_left\" value=\"5\">", "<param name=\"head_top\" value=\"5\">",
                             "<param name=\"mainbox_left\" value=\"5\">", "<param name=\"mainbox_top\" value=\"53\">",
                             "<param name=\"left1\" value=\"109\">", "<param name=\"top1\" value=\"147\">",
                             "<param name=\"head_width\" value=\"372\">"})
        QVERIFY2(l.contains(QString(line)), line);

    // A button left of and above the areas moves the box's corner.
    d.Buttons[0].Left = -20;
    d.Buttons[0].Top = 2;
    const QStringList moved = linesOf(buildAppletBlock(d, false, env)->html);
    QCOMPARE(d.OffsetLeft, -25);
    QCOMPARE(d.OffsetTop, -3);
    QVERIFY(moved.contains("<param name=\"left1\" value=\"5\">"));
    QVERIFY(moved.contains("<param name=\"head_left\" value=\"71\">"));
    QCOMPARE(d.AppletWidth, 418 + 20 + 10);
}

void TestAppletBlock::titleAndBlurbNotUsed()
{
    Design d = defaultDesign();
    d.ShowTitleAndBlurb = false;
    d.AbsolutePositioning = false;
    const QStringList l = linesOf(buildAppletBlock(d, false, env)->html);
    // Only the button counts for the box.
    QCOMPARE(l.at(1), QString("<applet archive=\"quillmap.zip\" code=\"quillmap.class\" width=166 height=75>"));
    for (const char *line : {"<param name=\"head_top\" value=\"1\">", "<param name=\"head_left\" value=\"1\">",
                             "<param name=\"head_height\" value=\"1\">", "<param name=\"head_size\" value=\"1\">",
                             "<param name=\"head_font\" value=\"timesroman\">",
                             "<param name=\"mainbox_top\" value=\"2\">", "<param name=\"mainbox_left\" value=\"2\">",
                             "<param name=\"mainbox_width\" value=\"1\">", "<param name=\"mainbox_size\" value=\"1\">",
                             "<param name=\"deftag\" value=\"\">", "<param name=\"defmaintext\" value=\"\">",
                             "<param name=\"defimg\" value=\"\">", "<param name=\"defcenter\" value=\"false\">",
                             "<param name=\"left1\" value=\"5\">", "<param name=\"tag1\" value=\"type button title here\">"})
        QVERIFY2(l.contains(QString(line)), line);
}

void TestAppletBlock::nothingToStartFromAbandonsTheBuild()
{
    Design d = defaultDesign();
    d.ShowTitleAndBlurb = false;
    d.Buttons.clear();
    d.AppletWidth = 77;
    files.existing << "/opt/quillmap/sound/click.au";
    QVERIFY(!buildAppletBlock(d, false, env));
    QCOMPARE(d.AppletWidth, 77);
    QVERIFY(files.copies.isEmpty());
}

void TestAppletBlock::noButtonsWithTitleAndBlurb()
{
    Design d = defaultDesign();
    d.Buttons.clear();
    const QStringList l = linesOf(buildAppletBlock(d, false, env)->html);
    QCOMPARE(l.size(), 3 + 1 + 20 + 2 + 1);
    QCOMPARE(l.at(l.size() - 4), QString("<param name=\"defcenter\" value=\"false\">"));
    QCOMPARE(l.at(l.size() - 3), QString());
    QCOMPARE(l.at(l.size() - 2), QString("</applet>"));
    QCOMPARE(l.last(), QString()); // the last line ends with CR LF too
}

void TestAppletBlock::numbersCloseUpAfterARemoval()
{
    Design d = defaultDesign();
    for (int i = 0; i < 2; ++i)
        d.Buttons.append(d.newButton(program, 10 + i, 10));
    d.Buttons[0].TitleText = "one";
    d.Buttons[1].TitleText = "two";
    d.Buttons[2].TitleText = "three";
    d.Buttons.removeAt(1);
    d.renumber();
    const QStringList l = linesOf(buildAppletBlock(d, true, env)->html);
    QVERIFY(l.contains("<param name=\"tag1\" value=\"one\">"));
    QVERIFY(l.contains("<param name=\"tag2\" value=\"three\">"));
    QVERIFY(l.contains("<param name=\"left2\" value=\"11\">"));
    for (const QString &line : l)
        QVERIFY2(!line.contains("3\" value"), qPrintable(line));
}

void TestAppletBlock::multiLineForms()
{
    Design d = defaultDesign();
    d.Buttons.append(d.newButton(program, 0, 0));
    d.BgBlurbText = "\r\nafter an empty line";
    d.Buttons[0].BlurbText = "Fast\r\n\r\nCheap";
    d.Buttons[1].BlurbText = "ends with a break\r\n";
    QString html = buildAppletBlock(d, true, env)->html;
    QVERIFY(html.contains("<param name=\"defmaintext\" value=\"\r\n|after an empty line\">\r\n"));
    QVERIFY(html.contains("<param name=\"blurb1\" value=\"Fast\r\n| \r\n|Cheap\">\r\n<param name=\"sound1\""));
    // A trailing empty line is no display line: no bar line follows the last one.
    QVERIFY(html.contains("<param name=\"blurb2\" value=\"ends with a break\">\r\n"));

    // Soft wraps start display lines too.
    breaker.width = 4;
    d.Buttons[0].BlurbText = "abcdefgh";
    html = buildAppletBlock(d, true, env)->html;
    QVERIFY(html.contains("<param name=\"blurb1\" value=\"abcd\r\n|efgh\">\r\n"));

    d.Buttons[0].BlurbText = "";
    html = buildAppletBlock(d, true, env)->html;
    QVERIFY(html.contains("<param name=\"blurb1\" value=\"\">\r\n"));
}

void TestAppletBlock::titleCutAtItsFirstDisplayLine()
{
    Design d = defaultDesign();
    breaker.width = 10;
    d.BgTitleText = "A title longer than ten";
    d.Buttons[0].TitleText = "";
    const QStringList l = linesOf(buildAppletBlock(d, true, env)->html);
    QVERIFY(l.contains("<param name=\"deftag\" value=\"A title lo\">"));
    QVERIFY(l.contains("<param name=\"tag1\" value=\"\">"));
}

void TestAppletBlock::commentCarriesTheWholeTitle()
{
    Design d = defaultDesign();
    d.Buttons[0].TitleText = "First line\r\nSecond line";
    const QString html = buildAppletBlock(d, true, env)->html;
    QVERIFY(html.contains("\r\n<!-- First line\r\nSecond line -->\r\n<param name=\"left1\""));
    QVERIFY(html.contains("<param name=\"tag1\" value=\"First line\">"));
}

void TestAppletBlock::quotesAndCommentEndsAreEscaped()
{
    Design d = defaultDesign();
    d.Buttons[0].TitleText = "The \"best\" --> deal";
    d.Buttons[0].BlurbText = "say \"hi\"\r\nand <b>&</b>";
    d.Buttons[0].LinkURL = "page.htm?q=\"x\"";
    const QString html = buildAppletBlock(d, true, env)->html;
    QVERIFY(html.contains("<!-- The \"best\" - -> deal -->"));
    QVERIFY(html.contains("<param name=\"tag1\" value=\"The &quot;best&quot; --> deal\">"));
    QVERIFY(html.contains("<param name=\"blurb1\" value=\"say &quot;hi&quot;\r\n|and <b>&</b>\">"));
    QVERIFY(html.contains("<param name=\"URL1\" value=\"page.htm?q=&quot;x&quot;,_self\">"));
}

void TestAppletBlock::commentLineCannotEndEarly_data()
{
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("comment");
    QTest::newRow("common title") << "Home - our \"best\" <b>page</b> ->" << "Home - our \"best\" <b>page</b> ->";
    QTest::newRow("closing") << "x --> y" << "x - -> y";
    QTest::newRow("closing with bang") << "end --!><img src=x onerror=alert(1)><!--"
                                       << "end - -!><img src=x onerror=alert(1)><!- - ";
    QTest::newRow("dash run") << "a-----b" << "a- - - - -b";
    QTest::newRow("leading >") << "><script>x</script>" << " ><script>x</script>";
    QTest::newRow("leading ->") << "-><img>" << " -><img>";
    QTest::newRow("trailing dash") << "x-" << "x- ";
    QTest::newRow("empty comment") << "<!-->" << "<!- ->";
    QTest::newRow("second line") << "First\r\n--> second" << "First\r\n- -> second";
}

void TestAppletBlock::commentLineCannotEndEarly()
{
    QFETCH(QString, title);
    QFETCH(QString, comment);
    Design d = defaultDesign();
    d.Buttons[0].TitleText = title;
    for (bool preview : {false, true}) {
        const QString html = buildAppletBlock(d, preview, env)->html;
        QVERIFY(html.contains("\r\n\r\n<!-- " + comment + " -->\r\n<param name=\"left1\""));
    }
    // What lies between the comment's opening and closing can end it nowhere.
    QVERIFY(!comment.contains("--"));
    QVERIFY(!comment.startsWith(">") && !comment.startsWith("->") && !comment.endsWith("-"));
}

void TestAppletBlock::urlForms()
{
    Design d = defaultDesign();
    d.Buttons.append(d.newButton(program, 0, 0));
    d.Buttons[0].URLRelative = true;
    d.Buttons[0].LinkURL = "/home/ann/web/next.htm";
    d.Buttons[1].URLRelative = true;
    d.Buttons[1].LinkURL = "C:\\Web\\next.htm";
    d.Buttons[1].Target = "";
    QStringList l = linesOf(buildAppletBlock(d, false, env)->html);
    QVERIFY(l.contains("<param name=\"URL1\" value=\"../next.htm,_self\">"));
    QVERIFY(l.contains("<param name=\"URL2\" value=\"C:/Web/next.htm,\">"));

    l = linesOf(buildAppletBlock(d, true, env)->html);
    QVERIFY(l.contains("<param name=\"URL1\" value=\"file:///home/ann/web/next.htm,_self\">"));
    QVERIFY(l.contains("<param name=\"URL2\" value=\"file:///C:\\Web\\next.htm,\">"));

    d.Buttons[0].URLRelative = false;
    l = linesOf(buildAppletBlock(d, false, env)->html);
    QVERIFY(l.contains("<param name=\"URL1\" value=\"/home/ann/web/next.htm,_self\">"));

    // The Windows form of the paths, for a design made there.
    env.style = PathStyle::Windows;
    d.FileDir = "C:\\Web\\menus\\";
    d.Buttons[1].DefImageName = "C:\\Web\\art\\b.gif";
    l = linesOf(buildAppletBlock(d, false, env)->html);
    QVERIFY(l.contains("<param name=\"img2\" value=\"../art/b.gif\">"));
    QVERIFY(l.contains("<param name=\"URL2\" value=\"../next.htm,\">"));
    l = linesOf(buildAppletBlock(d, true, env)->html);
    QVERIFY(l.contains("<param name=\"img2\" value=\"b.gif\">"));
}

void TestAppletBlock::plainLinks()
{
    Design d = defaultDesign();
    d.Buttons.append(d.newButton(program, 0, 0));
    d.Buttons.append(d.newButton(program, 0, 0));
    ButtonData &first = d.Buttons[0];
    first.TitleText = "Tom & \"Jerry\" <b>";
    first.LinkURL = "a b.html?x=1&y=\"2\"";
    first.Target = "_blank";
    first.DefImageName = "/home/ann/web/art/rose,red.gif";
    first.MouseOverImage = "/home/ann/web/art/over";
    first.MouseOverBlurbImage = "/home/ann/web/art/flat.png";
    d.BlurbImageName = "/home/ann/web/bg.png";
    d.Buttons[1].TitleText = "two";
    d.Buttons[1].LinkURL = " \tJavaScript:alert(1)";
    d.Buttons[2].TitleText = "  ";
    d.Buttons[2].DefImageName.clear();
    d.Buttons[2].LinkURL.clear();
    // Sharp copies beside the first button's picture and mouse-over picture
    // and the Blurb picture; none beside its Blurb picture.
    files.existing << "/home/ann/web/art/rose,red@2x.gif" << "/home/ann/web/art/over@2x" << "/home/ann/web/bg@2x.png";
    env.isFile = [this](const QString &path) { return files.exists(path); };

    auto block = buildAppletBlock(d, false, env);
    QStringList l = linesOf(block->html);
    const qsizetype nav = l.indexOf("<nav class=\"quillmap-links\" data-blurb-srcset=\"../bg.png 1x, ../bg@2x.png 2x\">");
    QVERIFY(nav > 0);
    QCOMPARE(l.mid(nav - 1, 9), QStringList({
        "", l.at(nav), "<ul>",
        "<li data-over-srcset=\"../art/over 1x, ../art/over@2x 2x\"><a href=\"a b.html?x=1&amp;y=&quot;2&quot;\" "
        "target=\"_blank\"><img src=\"../art/rose,red.gif\" srcset=\"../art/rose%2Cred.gif 1x, ../art/rose%2Cred@2x.gif 2x\" "
        "width=156 height=65 alt=\"Tom &amp; &quot;Jerry&quot; &lt;b&gt;\"></a></li>",
        // Script is no link; without a picture the title is the text.
        "<li><img src=\"../../../../opt/quillmap/images/default.gif\" width=156 height=65 alt=\"two\"></li>",
        "<li>Menu button 3</li>",
        "</ul>", "</nav>", "</applet>"}));
    // The parameters stay as they are.
    QVERIFY(l.contains("<param name=\"URL2\" value=\" \tJavaScript:alert(1),_self\">"));
    QCOMPARE(block->scriptLinks, QStringList({"2 (two)"}));
    QVERIFY(scriptLinksMessage(block->scriptLinks).endsWith("\n2 (two)"));

    // Preview: bare names; nothing beside the Blurb picture when the design
    // does not show it.
    d.ShowTitleAndBlurb = false;
    l = linesOf(buildAppletBlock(d, true, env)->html);
    QVERIFY(l.contains("<nav class=\"quillmap-links\">"));
    QVERIFY(l.filter("srcset=\"rose%2Cred.gif 1x, rose%2Cred@2x.gif 2x\"").size() == 1);
    QCOMPARE(doubleDensityName("/a.b/c"), QString("/a.b/c@2x"));
    QCOMPARE(doubleDensityName("/a/.gif"), QString("/a/.gif@2x"));
}

void TestAppletBlock::scriptAddresses_data()
{
    QTest::addColumn<QString>("address");
    QTest::addColumn<bool>("script");
    QTest::newRow("javascript") << "javascript:alert(1)" << true;
    QTest::newRow("letter case, blanks") << "  JaVaScRiPt:x" << true;
    QTest::newRow("control characters") << QString("\x01\x1f javascript:x") << true;
    QTest::newRow("tab and line break inside") << "java\tscr\r\nipt:x" << true;
    QTest::newRow("vbscript") << "VBScript:msgbox" << true;
    QTest::newRow("data") << "data:text/html,<script>x</script>" << true;
    QTest::newRow("https") << "https://example.org/javascript:" << false;
    QTest::newRow("mailto") << "mailto:ann@example.org" << false;
    QTest::newRow("relative") << "javascript.html" << false;
    QTest::newRow("empty") << "" << false;
}

void TestAppletBlock::scriptAddresses()
{
    QFETCH(QString, address);
    QFETCH(bool, script);
    QCOMPARE(isScriptAddress(address), script);
}

// A project in site/ with one button, as a web server beside its page
// would serve it: each situation names the button's picture (or another
// field) and the problem the check finds; mending then leaves none that
// can be mended.
void TestAppletBlock::deploySituations_data()
{
    QTest::addColumn<QString>("field");      // picture, over, sound, link, runtime
    QTest::addColumn<QString>("named");      // as the design names it, from the folder holding site/
    QTest::addColumn<QString>("onDisk");     // the file there, or empty
    QTest::addColumn<int>("kind");           // -1: no problem
    QTest::addColumn<QString>("mended");     // the name after mending, or empty
    using K = LinkProblem::Kind;
    QTest::newRow("inside") << "picture" << "site/art/rose.gif" << "site/art/rose.gif" << -1 << "";
    QTest::newRow("letter case") << "picture" << "site/art/Rose.GIF" << "site/art/rose.gif" << int(K::WrongCase) << "site/art/rose.gif";
    QTest::newRow("outside, with its @2x copy") << "over" << "icons/gvim.png" << "icons/gvim.png" << int(K::Outside)
                                               << "site/gvim.png";
    QTest::newRow("outside, a name taken beside the page") << "picture" << "icons/logo.png" << "icons/logo.png"
                                                          << int(K::Outside) << "site/logo-1.png";
    QTest::newRow("missing sound") << "sound" << "site/snd/ding.au" << "" << int(K::Missing) << "";
    QTest::newRow("sound in another case") << "sound" << "site/snd/DING.AU" << "site/snd/ding.au" << int(K::WrongCase)
                                          << "site/snd/ding.au";
    QTest::newRow("a link inside the folder tree") << "link" << "site/pages/about.html" << "site/pages/about.html" << -1 << "";
    QTest::newRow("a link in another case") << "link" << "site/pages/About.html" << "site/pages/about.html"
                                           << int(K::WrongCase) << "site/pages/about.html";
    QTest::newRow("no runtime beside the page") << "runtime" << "" << "" << int(K::Missing) << "";
}

void TestAppletBlock::deploySituations()
{
    QFETCH(QString, field);
    QFETCH(QString, named);
    QFETCH(QString, onDisk);
    QFETCH(int, kind);
    QFETCH(QString, mended);
    QTemporaryDir root;
    const QString at = root.path() + "/";
    QVERIFY(qmtest::writeBytes(at + "site/menu.qmf", "x"));
    QVERIFY(qmtest::writeBytes(at + "site/logo.png", "another logo")); // taken beside the page
    if (!onDisk.isEmpty())
        QVERIFY(qmtest::writeBytes(at + onDisk, "file"));
    if (named == "icons/gvim.png")
        QVERIFY(qmtest::writeBytes(at + "icons/gvim@2x.png", "sharp"));
    Design d = defaultDesign();
    d.FileDir = at + "site/";
    d.Buttons[0] = d.newButton(program, 0, 0);
    ButtonData &b = d.Buttons[0];
    b.DefImageName = b.MouseOverImage = b.MouseOverSound = QString();
    b.URLRelative = field == "link";
    const auto fieldOf = [&field](ButtonData &x) -> QString & {
        return field == "over" ? x.MouseOverImage : field == "sound" ? x.MouseOverSound : field == "link" ? x.LinkURL : x.DefImageName;
    };
    QString &name = fieldOf(b);
    if (!named.isEmpty())
        name = at + named;

    const QList<LinkProblem> problems = checkLinks(d, at + "app", field == "runtime");
    QCOMPARE(problems.size(), kind < 0 ? 0 : 1);
    if (kind < 0)
        return;
    QCOMPARE(int(problems[0].kind), kind);
    QVERIFY(linkProblemsMessage(d, problems).contains(field == "runtime" ? "The runtime" : "Button 1 ("));
    LocalFileOps files;
    QStringList failed;
    Design after = mendedLinks(d, problems, files, &failed);
    QVERIFY(failed.isEmpty());
    QCOMPARE(fieldOf(after.Buttons[0]), mended.isEmpty() ? name : at + mended);
    if (!mended.isEmpty())
        QVERIFY(!canMendLinks(checkLinks(after, at + "app", false)));
    if (named == "icons/gvim.png")
        QCOMPARE(qmtest::readBytes(at + "site/gvim@2x.png"), QByteArray("sharp"));
    QCOMPARE(qmtest::readBytes(at + "site/logo.png"), QByteArray("another logo"));
}

void TestAppletBlock::soundFilesAreCopiedInCompileModeOnly()
{
    Design d = defaultDesign();
    d.Buttons.append(d.newButton(program, 0, 0));
    d.Buttons.append(d.newButton(program, 0, 0));
    d.Buttons[1].MouseOverSound = "/snd/ding.au";
    d.Buttons[2].MouseOverSound = "/snd/missing.au";
    files.existing << "/snd/ding.au" << "/opt/quillmap/sound/click.au";
    const auto block = buildAppletBlock(d, false, env);
    const QStringList l = linesOf(block->html);
    QVERIFY(l.contains("<param name=\"sound3\" value=\"missing.au\">"));
    QCOMPARE(files.copies.size(), 2);
    QCOMPARE(files.copies.at(1).second, QString("/home/ann/web/menus/ding.au"));
    QVERIFY(block->soundFound);

    // No sound file at all: nothing to report.
    files.existing.clear();
    QVERIFY(!buildAppletBlock(d, false, env)->soundFound);
    QVERIFY(!buildAppletBlock(d, true, env)->soundFound);
}

void TestAppletBlock::nameTables()
{
    QCOMPARE(AppletFont("Courier"), QString("courier"));
    QCOMPARE(AppletFont("Helvetica"), QString("helvetica"));
    QCOMPARE(AppletFont("Dialog"), QString("dialog"));
    QCOMPARE(AppletFont("Times Roman"), QString("timesroman"));
    QCOMPARE(AppletFont("Symbol"), QString("symbol"));
    QCOMPARE(AppletFontStyle("Bold"), QString("bold"));
    QCOMPARE(AppletFontStyle("Italic"), QString("italic"));
    QCOMPARE(AppletFontStyle("Normal"), QString("normal"));
    QCOMPARE(AppletFontStyle("Bold Italic"), QString("bold+italic"));
    // Names compare exactly; unknown ones fall back to the applet's defaults.
    QCOMPARE(AppletFont("courier"), QString("timesroman"));
    QCOMPARE(AppletFontStyle("bold"), QString("normal"));

    // Both runtimes draw each applet font name first in the face the areas
    // lay it out in: quillmap.js's list of families and the applet's list
    // of faces start with it.
    const auto source = [](const char *path) {
        QFile f(qEnvironmentVariable("QUILLMAP_TEST_DATA") + "/../../" + path);
        return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QString();
    };
    const QString script = source("runtime/script/quillmap.js");
    const QString applet = source("runtime/applet/quillmap.java");
    QVERIFY(!script.isEmpty() && !applet.isEmpty());
    for (const QString designFont : {"Times Roman", "Helvetica", "Courier", "Dialog", "Symbol"}) {
        const QString name = AppletFont(designFont);
        const QString family = areaFamily(designFont);
        // The script's entry also holds the face's metrics for the line step.
        const auto face = std::find_if(std::begin(area::RuntimeFaces), std::end(area::RuntimeFaces),
                                       [&](const area::RuntimeFace &f) { return name == f.appletName; });
        QVERIFY(face != std::end(area::RuntimeFaces));
        const QRegularExpression entry(QString("\\n    %1: \\['\"%2\"[^\\n]*', %3, %4, %5\\]")
                                           .arg(name, family)
                                           .arg(face->ascent)
                                           .arg(face->descent)
                                           .arg(face->lineGap));
        QVERIFY2(script.contains(entry), qPrintable(name));
        QVERIFY2(applet.contains(QString("{\"%1\", \"%2\"").arg(name, family)), qPrintable(name));
        QVERIFY2(applet.contains(QString("{%1, %2, %3}").arg(face->ascent).arg(face->descent).arg(face->lineGap)),
                 qPrintable(name));
        // The face is installed: the areas draw in it, not in a stand-in.
        QCOMPARE(QFontInfo(areaFont(designFont, 12, {})).family(), family);
    }
}

void TestAppletBlock::colourForm()
{
    QCOMPARE(colorForm(0x000000), QString("000000"));
    QCOMPARE(colorForm(0xFFFFFF), QString("FFFFFF"));
    QCOMPARE(colorForm(0x0000FF), QString("FF0000"));
    QCOMPARE(colorForm(0x00A1B2C3), QString("C3B2A1"));
    QCOMPARE(colorForm(0x7F000001), QString("010000"));
}

QTEST_MAIN(TestAppletBlock)
#include "test_appletblock.moc"
