#include "platform/caseresolve.h"
#include "platform/fileops.h"
#include "platform/filefilter.h"
#include "platform/paths.h"
#include "platform/profile.h"
#include "platform/textcodec.h"
#include "testsupport.h"

#include <QDir>
#include <QTemporaryDir>
#include <QtTest>

#include <sys/stat.h>
#include <unistd.h>

using namespace qm;

class TestPlatform : public QObject {
    Q_OBJECT
private slots:
    void pathParts_data();
    void pathParts();
    void resolverFindsNamesWithoutRegardToCase();
    void resolverPrefersExactAndFirstSortedMatch();
    void resolverFindsNamesThatUpperCaseIntoOtherLetters();
    void resolverListsAFolderOncePerCommand();
    void copiesEachPairOnceInTheOrderOfItsLastCopy_data();
    void copiesEachPairOnceInTheOrderOfItsLastCopy();
    void scratchCopyReplacesWhatWasThere_data();
    void scratchCopyReplacesWhatWasThere();
    void fullDiskLeavesEveryOldFileAsItWas();
    void profileReadsWithWindowsSemantics();
    void profileWriteKeepsEverythingElse();
    void profileWriteCreatesFileAndSection();
    void profileWriteKeepsLineEndsAndBytes_data();
    void profileWriteKeepsLineEndsAndBytes();
    void profileIntegers();
    void profileQuotedValues_data();
    void profileQuotedValues();
    void decodingFallsBackToWindows1252();
    void fileFiltersInQtForm();
};

void TestPlatform::pathParts_data()
{
    QTest::addColumn<int>("style");
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("folder");
    QTest::addColumn<QString>("ext");
    const int win = int(PathStyle::Windows), posix = int(PathStyle::Posix);
    QTest::newRow("win full") << win << "C:\\Web\\menus\\menu.qmf" << "menu.qmf" << "C:\\Web\\menus\\" << ".qmf";
    QTest::newRow("win drive only") << win << "C:menu.qmf" << "menu.qmf" << "C:" << ".qmf";
    QTest::newRow("win bare") << win << "home.gif" << "home.gif" << "" << ".gif";
    QTest::newRow("win slash is no separator") << win << "a/b.gif" << "a/b.gif" << "" << ".gif";
    QTest::newRow("win dot in folder") << win << "C:\\my.dir\\file" << "file" << "C:\\my.dir\\" << "";
    QTest::newRow("posix full") << posix << "/home/ann/web/menu.qmf" << "menu.qmf" << "/home/ann/web/" << ".qmf";
    QTest::newRow("posix colon is a character") << posix << "/a/C:x.gif" << "C:x.gif" << "/a/" << ".gif";
    QTest::newRow("posix dot in folder") << posix << "/my.dir/file" << "file" << "/my.dir/" << "";
    QTest::newRow("posix long ext") << posix << "/p/pic.jpeg" << "pic.jpeg" << "/p/" << ".jpeg";
    QTest::newRow("empty") << posix << "" << "" << "" << "";
}

void TestPlatform::pathParts()
{
    QFETCH(int, style);
    QFETCH(QString, path);
    const auto s = PathStyle(style);
    QTEST(fileNamePart(path, s), "name");
    QTEST(folderPart(path, s), "folder");
    QTEST(fileExtension(path, s), "ext");
    QCOMPARE(folderPart(path, s) + fileNamePart(path, s), path);
}

void TestPlatform::resolverFindsNamesWithoutRegardToCase()
{
    QTemporaryDir dir;
    QVERIFY(qmtest::writeBytes(dir.filePath("Images/Default.gif"), "x"));
    const QString upper = dir.path() + "/IMAGES/DEFAULT.GIF";
    QCOMPARE(resolveCaseInsensitive(upper), dir.path() + "/Images/Default.gif");
    // The folder part of the temporary path is matched the same way.
    const QString allUpper = dir.path().toUpper() + "/IMAGES/DEFAULT.GIF";
    QCOMPARE(QFileInfo(resolveCaseInsensitive(allUpper)).canonicalFilePath(),
             QFileInfo(dir.filePath("Images/Default.gif")).canonicalFilePath());
    QCOMPARE(resolveCaseInsensitive(dir.path() + "/IMAGES/MISSING.GIF"), QString());
    QCOMPARE(resolveCaseInsensitive(QString()), QString());

    // Relative names start from the current directory.
    const QString old = QDir::currentPath();
    QDir::setCurrent(dir.path());
    QCOMPARE(resolveCaseInsensitive("images/DEFAULT.gif"), QString("Images/Default.gif"));
    QDir::setCurrent(old);
}

void TestPlatform::resolverPrefersExactAndFirstSortedMatch()
{
    QTemporaryDir dir;
    QVERIFY(qmtest::writeBytes(dir.filePath("pic.gif"), "lower"));
    QVERIFY(qmtest::writeBytes(dir.filePath("PIC.gif"), "upper"));
    QCOMPARE(resolveCaseInsensitive(dir.filePath("pic.gif")), dir.filePath("pic.gif"));
    // No exact match: the first in sorted order ("PIC.gif" sorts before "pic.gif").
    QCOMPARE(resolveCaseInsensitive(dir.filePath("Pic.GIF")), dir.filePath("PIC.gif"));
}

void TestPlatform::resolverFindsNamesThatUpperCaseIntoOtherLetters()
{
    QTemporaryDir dir;
    // "ß" upper-cases to "SS" and the ligature "ﬁ" to "FI": the names the
    // program upper-cased must still lead back to these files.
    QVERIFY(qmtest::writeBytes(dir.filePath(QString::fromUtf8("Straße.gif")), "x"));
    QVERIFY(qmtest::writeBytes(dir.filePath(QString::fromUtf8("Maße/oﬃce/ﬁsh.gif")), "y"));
    const QString straße = dir.filePath(QString::fromUtf8("Straße.gif"));
    QCOMPARE(resolveCaseInsensitive(dir.path() + "/STRASSE.GIF"), straße);
    QCOMPARE(resolveCaseInsensitive(straße.toUpper().mid(dir.path().size()).prepend(dir.path())), straße);
    QCOMPARE(resolveCaseInsensitive(dir.path() + "/MASSE/OFFICE/FISH.GIF"),
             dir.filePath(QString::fromUtf8("Maße/oﬃce/ﬁsh.gif")));
    // Simple case folding still matches as before.
    QCOMPARE(resolveCaseInsensitive(dir.path() + QString::fromUtf8("/STRAßE.GIF")), straße);
    QCOMPARE(resolveCaseInsensitive(dir.path() + "/STRASE.GIF"), QString());
}

void TestPlatform::resolverListsAFolderOncePerCommand()
{
    QTemporaryDir dir;
    for (int i = 0; i < 40; ++i)
        QVERIFY(qmtest::writeBytes(dir.filePath(QString("Pics/p%1.gif").arg(i)), "x"));
    QVERIFY(qmtest::writeBytes(dir.filePath("Pics/P7.GIF"), "another case"));
    const int before = folderListings();
    {
        const CaseResolveScope command;
        // The exact name wins over a match found in the listing (P7.GIF).
        for (int i = 0; i < 40; ++i) {
            const QString name = QString("/p%1.gif").arg(i);
            QCOMPARE(resolveCaseInsensitive(dir.path() + "/PICS" + name.toUpper()),
                     dir.path() + "/Pics" + (i == 7 ? name.toUpper() : name));
        }
        QCOMPARE(resolveCaseInsensitive(dir.filePath("PICS/p7.gif")), dir.filePath("Pics/p7.gif"));
    }
    // The temporary folder (for "PICS") and Pics: once each for all names.
    QCOMPARE(folderListings() - before, 2);

    // A file made after the listing is found: the folder has changed.
    QVERIFY(qmtest::writeBytes(dir.filePath("Pics/New.gif"), "x"));
    QCOMPARE(resolveCaseInsensitive(dir.filePath("PICS/NEW.GIF")), dir.filePath("Pics/New.gif"));
    QVERIFY(QFile::remove(dir.filePath("Pics/New.gif")));
    QCOMPARE(resolveCaseInsensitive(dir.filePath("PICS/NEW.GIF")), QString());
}

namespace {

class RecordingFiles : public FileOps {
public:
    QStringList copies;
    bool exists(const QString &) const override { return true; }
    bool copyFile(const QString &s, const QString &t) override
    {
        copies << s + ">" + t;
        return true;
    }
};

} // namespace

void TestPlatform::copiesEachPairOnceInTheOrderOfItsLastCopy_data()
{
    QTest::addColumn<QStringList>("asked");
    QTest::addColumn<QStringList>("made");
    QTest::newRow("none") << QStringList() << QStringList();
    QTest::newRow("distinct pairs in order") << QStringList{"a>x", "a>y", "b>x"} << QStringList{"a>x", "a>y", "b>x"};
    QTest::newRow("one sound for every button") << QStringList{"s>t", "s>t", "s>t", "s>t"} << QStringList{"s>t"};
    QTest::newRow("a pair at its last place") << QStringList{"a>x", "b>y", "a>x"} << QStringList{"b>y", "a>x"};
    // Of two files with one bare name the one copied last stays.
    QTest::newRow("the last copy to a target decides") << QStringList{"a>x", "b>x", "a>x"} << QStringList{"b>x", "a>x"};
}

void TestPlatform::copiesEachPairOnceInTheOrderOfItsLastCopy()
{
    QFETCH(QStringList, asked);
    QList<FileCopy> copies;
    for (const QString &pair : asked)
        copies.append({pair.section('>', 0, 0), pair.section('>', 1)});
    RecordingFiles files;
    const CopyReport report = copyEach(files, copies, CopyKind::Durable);
    QTEST(files.copies, "made");
    QVERIFY(report.skipped.isEmpty());
    QSet<QString> targets;
    for (const FileCopy &c : copies)
        targets.insert(c.target);
    QCOMPARE(report.written, targets);
}

void TestPlatform::scratchCopyReplacesWhatWasThere_data()
{
    QTest::addColumn<QString>("there");
    QTest::newRow("a longer file") << "file";
    QTest::newRow("a link to a file") << "link";
    QTest::newRow("another name of a file") << "hard link";
    QTest::newRow("a pipe") << "pipe";
}

// The target ends as a copy of the source, and nothing it stood for changes.
void TestPlatform::scratchCopyReplacesWhatWasThere()
{
    QFETCH(QString, there);
    QTemporaryDir dir;
    const QString source = dir.filePath("pic.gif"), target = dir.filePath("tmp/pic.gif");
    const QString other = dir.filePath("other.gif");
    QVERIFY(qmtest::writeBytes(source, "new"));
    QVERIFY(qmtest::writeBytes(other, "the other file, longer than the new one"));
    QVERIFY(QDir(dir.path()).mkdir("tmp"));
    if (there == "file")
        QVERIFY(QFile::copy(other, target));
    else if (there == "link")
        QVERIFY(QFile::link(other, target));
    else if (there == "hard link")
        QVERIFY(::link(QFile::encodeName(other).constData(), QFile::encodeName(target).constData()) == 0);
    else
        QVERIFY(::mkfifo(QFile::encodeName(target).constData(), 0644) == 0);
    LocalFileOps files;
    QVERIFY(files.copyScratchFile(source, target));
    QCOMPARE(qmtest::readBytes(target), QByteArray("new"));
    QVERIFY(!QFileInfo(target).isSymLink());
    QCOMPARE(qmtest::readBytes(other), QByteArray("the other file, longer than the new one"));
}

void TestPlatform::fullDiskLeavesEveryOldFileAsItWas()
{
    qmtest::SmallFileSystem fs;
    if (!fs.isMounted())
        QSKIP(qPrintable("no small file system to fill: " + fs.whyNot()));
    const QByteArray oldProject(500, 'p');
    const QByteArray oldSound(10000, 's');
    const QByteArray oldIni("[GLOBAL]\r\nBrowser=/usr/bin/x\r\n");
    QVERIFY(writeFileAtomically(fs.file("menu.qmf"), oldProject, nullptr));
    QVERIFY(writeFileAtomically(fs.file("click.au"), oldSound, nullptr));
    QVERIFY(writeFileAtomically(fs.file("QM.INI"), oldIni, nullptr));
    QTemporaryDir elsewhere;
    const QString source = elsewhere.filePath("new.au");
    QVERIFY(qmtest::writeBytes(source, QByteArray(3000, 'n')));
    QVERIFY(fs.fill());

    QString reason;
    QVERIFY(!writeFileAtomically(fs.file("menu.qmf"), QByteArray(700, 'q'), &reason));
    QCOMPARE(reason, QString("No space left on device"));
    LocalFileOps files;
    QVERIFY(!files.copyFile(source, fs.file("click.au")));
    QVERIFY(!profile::writeString(fs.file("QM.INI"), "GLOBAL", "SplashState", "No Splash"));

    QCOMPARE(qmtest::readBytes(fs.file("menu.qmf")), oldProject);
    QCOMPARE(qmtest::readBytes(fs.file("click.au")), oldSound);
    QCOMPARE(qmtest::readBytes(fs.file("QM.INI")), oldIni);
    // No temporary file is left behind.
    QCOMPARE(QDir(fs.path()).entryList(QDir::Files | QDir::Hidden, QDir::Name),
             QStringList({".filler", "QM.INI", "click.au", "menu.qmf"}));

    // With room again, the same writes succeed.
    fs.unfill();
    QVERIFY(writeFileAtomically(fs.file("menu.qmf"), QByteArray(700, 'q'), &reason));
    QVERIFY(files.copyFile(source, fs.file("click.au")));
    QCOMPARE(qmtest::readBytes(fs.file("click.au")), QByteArray(3000, 'n'));
}

void TestPlatform::profileReadsWithWindowsSemantics()
{
    QTemporaryDir dir;
    const QString ini = dir.filePath("QM.INI");
    QVERIFY(qmtest::writeBytes(ini,
        "; a comment\r\n"
        "[Other]\r\nBrowser=wrong\r\n"
        "[ global ]\r\n"
        "  browser  =  /usr/bin/firefox  \r\n"
        "Browser=second\r\n"
        "Empty=\r\n"
        "[GLOBAL]\r\nSplashState=from the second section\r\n"));
    QCOMPARE(profile::readString(ini, "GLOBAL", "Browser", "def"), QString("/usr/bin/firefox"));
    QCOMPARE(profile::readString(ini, "Global", "EMPTY", "def"), QString(""));
    QCOMPARE(profile::readString(ini, "GLOBAL", "SplashState", "def"), QString("def"));
    QCOMPARE(profile::readString(ini, "Missing", "Browser", "def"), QString("def"));
    QCOMPARE(profile::readString(dir.filePath("none.ini"), "GLOBAL", "Browser", "def"), QString("def"));
    // The buffer holds 1023 characters and the terminating zero.
    QVERIFY(profile::writeString(ini, "Long", "Key", QString(2000, 'a')));
    QCOMPARE(profile::readString(ini, "Long", "Key", "").size(), 1023);
}

void TestPlatform::profileWriteKeepsEverythingElse()
{
    QTemporaryDir dir;
    const QString ini = dir.filePath("QM.INI");
    QVERIFY(qmtest::writeBytes(ini, "[First]\r\nA=1\r\n; note\r\n\r\n[GLOBAL]\r\nDragText=0\r\nBrowser=x\r\n\r\n[Last]\r\nZ=26\r\n"));
    QVERIFY(profile::writeString(ini, "global", "dragtext", "1"));
    QVERIFY(profile::writeString(ini, "GLOBAL", "SplashState", "No Splash"));
    QCOMPARE(QString::fromUtf8(qmtest::readBytes(ini)),
             QString("[First]\r\nA=1\r\n; note\r\n\r\n[GLOBAL]\r\ndragtext=1\r\nBrowser=x\r\nSplashState=No Splash\r\n\r\n[Last]\r\nZ=26\r\n"));
    QCOMPARE(profile::readString(ini, "GLOBAL", "DragText", ""), QString("1"));
}

void TestPlatform::profileWriteCreatesFileAndSection()
{
    QTemporaryDir dir;
    const QString ini = dir.filePath("new.ini");
    QVERIFY(profile::writeString(ini, "GLOBAL", "Browser", "/usr/bin/chromium"));
    QCOMPARE(profile::readString(ini, "GLOBAL", "Browser", ""), QString("/usr/bin/chromium"));
    QVERIFY(!profile::writeString(dir.filePath("no/such/folder/x.ini"), "S", "K", "V"));
}

void TestPlatform::profileWriteKeepsLineEndsAndBytes_data()
{
    QTest::addColumn<QByteArray>("before");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("value");
    QTest::addColumn<QByteArray>("after");
    QTest::newRow("LF, replaced") << QByteArray("[A]\nx=1\n[GLOBAL]\nBrowser=old\n") << "Browser" << "/new"
                                  << QByteArray("[A]\nx=1\n[GLOBAL]\nBrowser=/new\n");
    QTest::newRow("LF, added") << QByteArray("[GLOBAL]\nBrowser=b\n\n[Z]\nz=1\n") << "DragText" << "1"
                               << QByteArray("[GLOBAL]\nBrowser=b\nDragText=1\n\n[Z]\nz=1\n");
    QTest::newRow("LF, new section") << QByteArray("[A]\nx=1\n") << "DragText" << "0"
                                     << QByteArray("[A]\nx=1\n[GLOBAL]\nDragText=0\n");
    QTest::newRow("CR LF, added") << QByteArray("[GLOBAL]\r\nBrowser=b\r\n") << "SplashState" << "No Splash"
                                  << QByteArray("[GLOBAL]\r\nBrowser=b\r\nSplashState=No Splash\r\n");
    QTest::newRow("mixed: each line keeps its end") << QByteArray("[A]\r\nx=1\n[GLOBAL]\nk=v\r\n") << "k" << "w"
                                                    << QByteArray("[A]\r\nx=1\n[GLOBAL]\nk=w\r\n");
    QTest::newRow("no end on the last line") << QByteArray("[GLOBAL]\nBrowser=b") << "DragText" << "1"
                                             << QByteArray("[GLOBAL]\nBrowser=b\nDragText=1\n");
    // A file made on Windows keeps its code page while the value fits it...
    QTest::newRow("Windows-1252 kept") << QByteArray("[A]\r\nName=caf\xe9\r\n[GLOBAL]\r\n") << "Browser"
                                       << QString::fromUtf8("C:\\Programme\\Caf\xc3\xa9.exe")
                                       << QByteArray("[A]\r\nName=caf\xe9\r\n[GLOBAL]\r\nBrowser=C:\\Programme\\Caf\xe9.exe\r\n");
    // ... and moves to UTF-8 as a whole when it does not.
    QTest::newRow("Windows-1252 to UTF-8") << QByteArray("[A]\nName=caf\xe9\n") << "Browser"
                                           << QString::fromUtf8("/opt/\xe2\x86\x92/b")
                                           << QByteArray("[A]\nName=caf\xc3\xa9\n[GLOBAL]\nBrowser=/opt/\xe2\x86\x92/b\n");
}

void TestPlatform::profileWriteKeepsLineEndsAndBytes()
{
    QFETCH(QByteArray, before);
    QFETCH(QString, key);
    QFETCH(QString, value);
    QFETCH(QByteArray, after);
    QTemporaryDir dir;
    const QString ini = dir.filePath("QM.INI");
    QVERIFY(qmtest::writeBytes(ini, before));
    QVERIFY(profile::writeString(ini, "GLOBAL", key, value));
    QCOMPARE(qmtest::readBytes(ini), after);
    QCOMPARE(profile::readString(ini, "GLOBAL", key, "?"), value);
}

void TestPlatform::profileIntegers()
{
    QTemporaryDir dir;
    const QString ini = dir.filePath("QM.INI");
    QVERIFY(qmtest::writeBytes(ini, "[G]\nHex=0x1\nDec=12\nWord=yes\nNeg=-3\nEmpty=\n"));
    QCOMPARE(profile::readInt(ini, "G", "Hex", 7), 1);
    QCOMPARE(profile::readInt(ini, "G", "Dec", 7), 12);
    QCOMPARE(profile::readInt(ini, "G", "Word", 7), 7);
    QCOMPARE(profile::readInt(ini, "G", "Neg", 7), -3);
    QCOMPARE(profile::readInt(ini, "G", "Empty", 7), 7);
    QCOMPARE(profile::readInt(ini, "G", "Missing", 7), 7);
}

void TestPlatform::profileQuotedValues_data()
{
    QTest::addColumn<QByteArray>("line");
    QTest::addColumn<QString>("value");
    QTest::newRow("double quotes") << QByteArray("Browser = \"/usr/bin/chromium\"") << "/usr/bin/chromium";
    QTest::newRow("single quotes") << QByteArray("Browser='/opt/my browser/run'") << "/opt/my browser/run";
    QTest::newRow("blanks inside kept") << QByteArray("Browser=\" /a b \"  ") << " /a b ";
    QTest::newRow("unmatched") << QByteArray("Browser=\"/usr/bin/x'") << "\"/usr/bin/x'";
    QTest::newRow("one quote") << QByteArray("Browser=\"") << "\"";
    QTest::newRow("only one pair goes") << QByteArray("Browser=\"\"x\"\"") << "\"x\"";
}

void TestPlatform::profileQuotedValues()
{
    QFETCH(QByteArray, line);
    QFETCH(QString, value);
    QTemporaryDir dir;
    const QString ini = dir.filePath("QM.INI");
    QVERIFY(qmtest::writeBytes(ini, "[GLOBAL]\r\n" + line + "\r\nDragText=\"1\"\r\n"));
    QCOMPARE(profile::readString(ini, "GLOBAL", "Browser", "def"), value);
    QCOMPARE(profile::readInt(ini, "GLOBAL", "DragText", 0), 1);
}

void TestPlatform::decodingFallsBackToWindows1252()
{
    QCOMPARE(decode8Bit(QByteArray("caf\xc3\xa9")), QString::fromUtf8("café"));
    // Not valid UTF-8: a file made on Windows.
    QCOMPARE(decode8Bit(QByteArray("caf\xe9 \x80 \x96")), QString::fromUtf8("café € –"));
    QVERIFY(isValidUtf8("plain ascii"));
    QVERIFY(!isValidUtf8("\xe9t\xe9"));
    QCOMPARE(decodeWindows1252("\x81"), QString(QChar(0x81)));
}

void TestPlatform::fileFiltersInQtForm()
{
    QCOMPARE(qtFileFilter("Quillmap Files (*.QMF)|*.QMF|All Files (*.*)|*.*"),
             QString("Quillmap Files (*.QMF);;All Files (*.*)"));
    QCOMPARE(qtFileFilter("GIF Images (*.GIF)|*.GIF|JPEG Images (*.JPEG & *.JPG)|*.JPEG;*.JPG"),
             QString("GIF Images (*.GIF);;JPEG Images (*.JPEG *.JPG)"));

    // What a file dialog gets: "*.*" matches every file, and every filter
    // still reads as before.
    bool hide = true;
    QCOMPARE(dialogFilters("GIF Images (*.GIF);;JPEG Images (*.JPEG *.JPG)", &hide),
             QStringList({"GIF Images (*.GIF)", "JPEG Images (*.JPEG *.JPG)"}));
    QVERIFY(!hide);
    QCOMPARE(dialogFilters("Quillmap Files (*.QMF);;All Files (*.*)", &hide),
             QStringList({"Quillmap Files (*.QMF) (*.QMF)", "All Files (*.*) (*)"}));
    QVERIFY(hide);
    QCOMPARE(dialogFilters("Mixed (*.a *.* *.b);;Plain", &hide), QStringList({"Mixed (*.a *.* *.b) (*.a * *.b)", "Plain (Plain)"}));
}

QTEST_GUILESS_MAIN(TestPlatform)
#include "test_platform.moc"
