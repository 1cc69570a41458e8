#include "compile/pathconv.h"

#include <QtTest>

using namespace qm;

class TestPathConv : public QObject {
    Q_OBJECT
private slots:
    void backToForwardSlash();
    void windows_data();
    void windows();
    void posix_data();
    void posix();
};

void TestPathConv::backToForwardSlash()
{
    QCOMPARE(BackToForwardSlash("C:\\My Web\\a b.GIF"), QString("C:/My Web/a b.GIF"));
    QCOMPARE(BackToForwardSlash("already/forward\\mixed"), QString("already/forward/mixed"));
    QCOMPARE(BackToForwardSlash(""), QString(""));
    QCOMPARE(BackToForwardSlash("%20 stays"), QString("%20 stays"));
}

void TestPathConv::windows_data()
{
    QTest::addColumn<QString>("project");
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("url");
    const QString p = "C:\\Web\\menus\\menu.qmf";
    QTest::newRow("same folder") << p << "C:\\Web\\menus\\home.gif" << "home.gif";
    QTest::newRow("sub-folder") << p << "C:\\Web\\menus\\art\\home.gif" << "art/home.gif";
    QTest::newRow("sibling") << p << "C:\\Web\\images\\home.gif" << "../images/home.gif";
    QTest::newRow("other top") << p << "C:\\Art\\home.gif" << "../../Art/home.gif";
    QTest::newRow("same names elsewhere") << p << "C:\\Deb\\menus\\home.gif" << "../../Deb/menus/home.gif";
    QTest::newRow("folder case differs") << p << "C:\\WEB\\menus\\home.gif" << "../../WEB/menus/home.gif";
    QTest::newRow("other drive") << p << "D:\\Art\\home.gif" << "D:/Art/home.gif";
    QTest::newRow("drive case differs") << p << "c:\\Web\\menus\\home.gif" << "c:/Web/menus/home.gif";
    QTest::newRow("relative name") << p << "home.gif" << "home.gif";
    QTest::newRow("empty") << p << "" << "";
    QTest::newRow("identical path") << p << p << "menu.qmf";
    QTest::newRow("whole folders only") << p << "C:\\Webs\\x.gif" << "../../Webs/x.gif";
    QTest::newRow("share") << "\\\\srv\\share\\web\\menu.qmf" << "\\\\srv\\share\\img\\a.gif" << "../img/a.gif";
    QTest::newRow("forward slashes are characters") << p << "C:\\Web\\menus/art/home.gif" << "../menus/art/home.gif";
    QTest::newRow("web address") << p << "http://example.org/x.htm" << "http://example.org/x.htm";
    QTest::newRow("empty project") << "" << "C:\\Web\\home.gif" << "C:/Web/home.gif";
}

void TestPathConv::windows()
{
    QFETCH(QString, project);
    QFETCH(QString, file);
    QTEST(relativeUrl(project, file, PathStyle::Windows), "url");
}

void TestPathConv::posix_data()
{
    QTest::addColumn<QString>("project");
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("url");
    const QString p = "/home/ann/web/menus/menu.qmf";
    QTest::newRow("same folder") << p << "/home/ann/web/menus/home.gif" << "home.gif";
    QTest::newRow("sub-folder") << p << "/home/ann/web/menus/art/home.gif" << "art/home.gif";
    QTest::newRow("sibling") << p << "/home/ann/web/images/home.gif" << "../images/home.gif";
    QTest::newRow("other top-level folder") << p << "/opt/quillmap/images/default.gif"
                                            << "../../../../opt/quillmap/images/default.gif";
    QTest::newRow("folder case differs") << p << "/home/ann/WEB/menus/home.gif" << "../../WEB/menus/home.gif";
    QTest::newRow("relative name") << p << "home.gif" << "home.gif";
    QTest::newRow("web address") << p << "https://example.org/next.htm" << "https://example.org/next.htm";
    QTest::newRow("empty") << p << "" << "";
    QTest::newRow("identical path") << p << p << "menu.qmf";
    QTest::newRow("whole folders only") << p << "/home/ann/webs/x.gif" << "../../webs/x.gif";
    QTest::newRow("backslash is a character") << p << "/home/ann/web/menus/a\\b.gif" << "a/b.gif";
    QTest::newRow("empty project") << "" << "/home/ann/x.gif" << "/home/ann/x.gif";
}

void TestPathConv::posix()
{
    QFETCH(QString, project);
    QFETCH(QString, file);
    QTEST(relativeUrl(project, file, PathStyle::Posix), "url");
    // Without the slash conversion the separators of the style stay.
    if (project == "/home/ann/web/menus/menu.qmf" && file.endsWith("images/home.gif"))
        QCOMPARE(AbsoluteToRelative(project, file, PathStyle::Posix), QString("../images/home.gif"));
}

QTEST_GUILESS_MAIN(TestPathConv)
#include "test_pathconv.moc"
