// Where the program runs: the build's program folder as it is, an installed
// program in a folder of the user's own that links to the installed data.

#include "app/programfolder.h"
#include "testsupport.h"

#include <QtTest>

using namespace qm::programfolder;

namespace {

// An installation: bin/ and share/quillmap/ with the program's data.
struct Installation {
    QTemporaryDir root;
    QString bin() const { return root.filePath(QStringLiteral("bin")); }
    QString data() const { return root.filePath(QStringLiteral("share/quillmap")); }
    Installation()
    {
        QDir(root.path()).mkpath(QStringLiteral("bin"));
        for (const char *sub : {"images", "sound", "java", "help"})
            QDir().mkpath(data() + QLatin1Char('/') + QLatin1String(sub));
        qmtest::writeBytes(data() + QStringLiteral("/images/default.gif"), "GIF89a");
        qmtest::writeBytes(data() + QStringLiteral("/bomb.wav"), "RIFF");
    }
};

QString linkTarget(const QString &path)
{
    return QFileInfo(path).symLinkTarget();
}

} // namespace

class TestProgramFolder : public QObject {
    Q_OBJECT
private slots:
    void startFolder_data();
    void startFolder();
    void userFolderIsMadeOnceAndRepaired();
    void unusableUserFolder();
};

void TestProgramFolder::startFolder_data()
{
    QTest::addColumn<QString>("cwdKind");
    QTest::addColumn<QString>("exeKind");
    QTest::addColumn<QString>("expected");
    // From a program folder the program runs there, as from build/app; an
    // installed program runs in the user's folder; the build's program run
    // from elsewhere runs in its own folder; without data, where it was started.
    QTest::newRow("build folder") << "program" << "program" << "cwd";
    QTest::newRow("installed, started in the home folder") << "home" << "installed" << "user";
    QTest::newRow("installed, started in a program folder") << "program" << "installed" << "cwd";
    QTest::newRow("build's program started elsewhere") << "home" << "program" << "exe";
    QTest::newRow("no data anywhere") << "home" << "bare" << "cwd";
}

void TestProgramFolder::startFolder()
{
    QFETCH(QString, cwdKind);
    QFETCH(QString, exeKind);
    QFETCH(QString, expected);
    Installation installed;
    qmtest::ProgramFolder program;
    QTemporaryDir home, bare, userData;
    const QString cwd = cwdKind == "program" ? program.path() : home.path();
    const QString exe = exeKind == "program" ? program.path() : exeKind == "installed" ? installed.bin() : bare.path();
    const QString user = userData.filePath(QStringLiteral("quillmap"));

    const Choice c = choose(cwd, exe, user);
    QCOMPARE(c.error, QString());
    const QString want = expected == "cwd" ? cwd : expected == "user" ? user : exe;
    QCOMPARE(c.folder, want);
    QCOMPARE(QFileInfo::exists(user), expected == "user");
    QCOMPARE(forCommandLine(cwd, exe), expected == "user" ? installed.data() : want);
}

void TestProgramFolder::userFolderIsMadeOnceAndRepaired()
{
    Installation installed;
    QTemporaryDir home, userData;
    const QString user = userData.filePath(QStringLiteral("quillmap"));
    QCOMPARE(choose(home.path(), installed.bin(), user).folder, user);
    QVERIFY(isProgramFolder(user));
    for (const QString &name : sharedEntries())
        QCOMPARE(linkTarget(user + QLatin1Char('/') + name), installed.data() + QLatin1Char('/') + name);
    QVERIFY(QFileInfo(user + QStringLiteral("/tmp")).isDir());
    QVERIFY(!QFileInfo(user + QStringLiteral("/tmp")).isSymLink());
    QVERIFY(QFileInfo(user + QStringLiteral("/QM.INI")).isFile());
    QVERIFY(QFileInfo(user + QStringLiteral("/images/default.gif")).isFile());

    // The user's settings and own files survive; lost or stale links come back.
    qmtest::writeBytes(user + QStringLiteral("/QM.INI"), "[GLOBAL]\r\nSplashState=No Splash\r\n");
    QVERIFY(QFile::remove(user + QStringLiteral("/help")));
    QVERIFY(QFile::remove(user + QStringLiteral("/java")));
    QVERIFY(QFile::link(home.filePath(QStringLiteral("gone")), user + QStringLiteral("/java")));
    QVERIFY(QFile::remove(user + QStringLiteral("/images")));
    QVERIFY(QDir().mkpath(user + QStringLiteral("/images")));

    // Started from the user's folder itself, the folder is looked after too.
    QCOMPARE(choose(user, installed.bin(), user).folder, user);
    QCOMPARE(linkTarget(user + QStringLiteral("/help")), installed.data() + QStringLiteral("/help"));
    QCOMPARE(linkTarget(user + QStringLiteral("/java")), installed.data() + QStringLiteral("/java"));
    QVERIFY(!QFileInfo(user + QStringLiteral("/images")).isSymLink());
    QCOMPARE(qmtest::readBytes(user + QStringLiteral("/QM.INI")), QByteArray("[GLOBAL]\r\nSplashState=No Splash\r\n"));

    // Another user gets a folder of their own.
    QTemporaryDir otherData;
    const QString other = otherData.filePath(QStringLiteral("quillmap"));
    QCOMPARE(choose(home.path(), installed.bin(), other).folder, other);
    QCOMPARE(qmtest::readBytes(other + QStringLiteral("/QM.INI")), QByteArray());
}

void TestProgramFolder::unusableUserFolder()
{
    Installation installed;
    QTemporaryDir home;
    // A file where the user's data folder should be: the program still runs,
    // from the installed data, and says why settings cannot be kept.
    qmtest::writeBytes(home.filePath(QStringLiteral("data")), "x");
    const Choice c = choose(home.path(), installed.bin(), home.filePath(QStringLiteral("data/quillmap")));
    QCOMPARE(c.folder, installed.data());
    QVERIFY(c.error.contains(home.filePath(QStringLiteral("data/quillmap"))));
    QVERIFY(!choose(home.path(), installed.bin(), QString()).error.isEmpty());
}

QTEST_MAIN(TestProgramFolder)
#include "test_programfolder.moc"
