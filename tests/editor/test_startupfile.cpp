// A project file named on the command line opens as Open opens a chosen
// file, once the splash has given way to the window.

#include "editor/tcleanmybutton.h"
#include "mainformfixture.h"
#include "model/projectfile.h"

#include <QTimer>
#include <QtTest>

using namespace qm;

class TestStartUpFile : public QObject {
    Q_OBJECT
private slots:
    void opensAfterTheSplash();
    void messagesOfOpen_data();
    void messagesOfOpen();
};

void TestStartUpFile::opensAfterTheSplash()
{
    MainFormFixture f;
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Menu.qmf"));
    Design d = *f.form;
    resetDesign(d);
    d.BgTitleText = QStringLiteral("From the command line");
    QVERIFY(qmtest::writeBytes(path, writeProject(d, FixedWidthLineBreaker())));

    f.services.splash = true;
    f.restart();
    TMainForm &m = *f.form;
    QVERIFY(m.Timer1->isActive());
    m.openAtStartUp(path);
    // During the splash the window still holds the start-up design.
    QCOMPARE(m.windowTitle(), QString::fromLatin1(UntitledCaption));
    m.Timer1Timer();
    QCOMPARE(m.windowTitle(), QString::fromLatin1(UntitledCaption));
    m.Timer1Timer();
    QCOMPARE(m.windowTitle(), m.FileDirUpper + QStringLiteral("MENU.QMF - Quillmap"));
    QCOMPARE(m.BgTitleText, QStringLiteral("From the command line"));
    QVERIFY(m.Buttons.isEmpty());
    QVERIFY(f.prompts.messages().isEmpty());
}

void TestStartUpFile::messagesOfOpen_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QString>("message");
    QTest::newRow("missing") << "gone.qmf" << QByteArray() << "Error opening %1";
    QTest::newRow("corrupt") << "Bad.qmf" << QByteArray("\"Quillmap Version:\"\r\n\"v2.0\"\r\n")
                             << "Error reading file. %1 is corrupt.";
}

void TestStartUpFile::messagesOfOpen()
{
    QFETCH(QString, name);
    QFETCH(QByteArray, content);
    QFETCH(QString, message);
    MainFormFixture f;
    QTemporaryDir dir;
    const QString path = dir.filePath(name);
    if (!content.isEmpty())
        QVERIFY(qmtest::writeBytes(path, content));
    // Without a splash the file opens at once.
    f.form->openAtStartUp(path);
    QCOMPARE(f.prompts.messages(), QStringList{message.arg(content.isEmpty() ? path : path.toUpper())});
    QCOMPARE(f.form->windowTitle(), QString::fromLatin1(UntitledCaption));
    QCOMPARE(f.form->Buttons.size(), 1);
}

QTEST_MAIN(TestStartUpFile)
#include "test_startupfile.moc"
