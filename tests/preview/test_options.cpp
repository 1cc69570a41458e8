#include "dialogs/helpcontext.h"
#include "dialogs/toptionsform.h"
#include "mainformfixture.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>
#include <QtTest>

using namespace qm;
using Kind = ScriptedPrompts::Record::Kind;

namespace {

// An executable file to pick as the browser.
QString makeProgram(const QString &path)
{
    qmtest::writeBytes(path, "#!/bin/sh\n");
    QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    return path;
}

struct Choice {
    std::optional<QString> browser;   // picked with "Choose Browser", if any
    int splash = -2;                  // index to select; -2 leaves the list alone
    std::optional<bool> dragText;
    ModalResult result = ModalResult::Ok;
};

// Scripts the next Options dialog: what the user does in it and how it ends.
// `seen` receives what the dialog showed when it opened.
struct Seen {
    QString browser;
    int splash = -3;
    bool dragText = false;
};

void script(MainFormFixture &f, const Choice &choice, Seen *seen = nullptr)
{
    f.prompts.dialogs.push_back([&f, choice, seen](QDialog *d) {
        auto *o = qobject_cast<TOptionsForm *>(d);
        if (!o)
            return ModalResult::Cancel;
        if (seen)
            *seen = {o->Browsername->text(), o->SplashCombo->currentIndex(), o->CheckBoxSelectText->isChecked()};
        if (choice.browser) {
            f.prompts.files.push_back(*choice.browser);
            o->ChooseBrowserBtn->click();
        }
        if (choice.splash > -2)
            o->SplashCombo->setCurrentIndex(choice.splash);
        if (choice.dragText)
            o->CheckBoxSelectText->setChecked(*choice.dragText);
        return choice.result;
    });
}

} // namespace

class TestOptions : public QObject {
    Q_OBJECT
private slots:
    void dialogLooksAsSpecified();
    void okWritesTheKeysInOrderAndKeepsTheFile_data();
    void okWritesTheKeysInOrderAndKeepsTheFile();
    void cancelChangesNothing();
    void valuesReadFromTheFile_data();
    void valuesReadFromTheFile();
    void chooseBrowserStartsWhereTheBrowserIs();
    void settingsThatCannotBeWrittenAreReported();
};

void TestOptions::dialogLooksAsSpecified()
{
    MainFormFixture f;
    TOptionsForm *o = f.form->OptionsForm;
    QVERIFY(o);
    QCOMPARE(o->windowTitle(), QString("Options"));
    QCOMPARE(o->height(), 179);
    QVERIFY(o->width() >= 411);
    QStringList labels;
    for (QLabel *l : o->findChildren<QLabel *>())
        labels << l->text();
    QCOMPARE(labels, QStringList({"Default Browser:", "Splash Screen:"}));
    QCOMPARE(o->ChooseBrowserBtn->text(), QString("Choose Browser"));
    QVERIFY(!o->SplashCombo->isEditable());
    QStringList items;
    for (int i = 0; i < o->SplashCombo->count(); ++i)
        items << o->SplashCombo->itemText(i);
    QCOMPARE(items, QStringList({"Splash And Sound", "Splash (No Sound)", "No Splash"}));
    QCOMPARE(o->CheckBoxSelectText->text(),
             QString("Disable Title and Blurb Drag and Drop (ie. use mouse drag to select text instead)"));
    // The whole text fits.
    QVERIFY(o->CheckBoxSelectText->width() >= o->CheckBoxSelectText->sizeHint().width());
    QCOMPARE(o->OkBtn->text(), QString("OK"));
    QCOMPARE(o->CancelBtn->text(), QString("Cancel"));
    QVERIFY(o->OkBtn->isDefault());
    // The dialog carries the help's Options topic; its controls take it
    // from the dialog rather than carry one of their own.
    QCOMPARE(o->property("helpContext").toInt(), qm::help::OptionsContext);
    for (QWidget *w : o->findChildren<QWidget *>())
        QVERIFY2(!w->property("helpContext").isValid(), qPrintable(w->objectName()));

    // OK ends with 1; Cancel, Escape and closing the window with 2.
    o->open();
    QTest::mouseClick(o->OkBtn, Qt::LeftButton);
    QCOMPARE(o->result(), 1);
    o->open();
    QTest::mouseClick(o->CancelBtn, Qt::LeftButton);
    QCOMPARE(o->result(), 2);
    o->open();
    QTest::keyClick(o, Qt::Key_Escape);
    QVERIFY(!o->isVisible());
    QCOMPARE(o->result(), 2);
    o->open();
    o->close();
    QCOMPARE(o->result(), 2);

    // The tool bar button runs the command.
    script(f, {std::nullopt, -2, std::nullopt, ModalResult::Cancel});
    f.form->OptionsButton->click();
    QCOMPARE(f.prompts.count(Kind::Dialog), 1);
}

void TestOptions::okWritesTheKeysInOrderAndKeepsTheFile_data()
{
    QTest::addColumn<QByteArray>("before");   // "" for no file
    QTest::addColumn<QByteArray>("after");    // %B stands for the browser
    QTest::newRow("no file") << QByteArray()
                             << QByteArray("[GLOBAL]\r\nDragText=1\r\nBrowser=%B\r\nSplashState=No Splash\r\n");
    QTest::newRow("LF")
        << QByteArray("[Other]\nBrowser=other\n\n[GLOBAL]\nSplashState=Splash And Sound\n\n[Last]\nZ=2\n")
        << QByteArray("[Other]\nBrowser=other\n\n[GLOBAL]\nSplashState=No Splash\nDragText=1\nBrowser=%B\n\n[Last]\nZ=2\n");
    QTest::newRow("CR LF, keys present")
        << QByteArray("; mine\r\n[global]\r\nBrowser=/old\r\nDragText=0\r\nSplashState=No Splash\r\nExtra=x\r\n")
        << QByteArray("; mine\r\n[global]\r\nBrowser=%B\r\nDragText=1\r\nSplashState=No Splash\r\nExtra=x\r\n");
}

void TestOptions::okWritesTheKeysInOrderAndKeepsTheFile()
{
    QFETCH(QByteArray, before);
    QFETCH(QByteArray, after);
    MainFormFixture f;
    TMainForm &m = *f.form;
    QTemporaryDir dir;
    const QString program = makeProgram(dir.filePath("web browser"));
    const QString ini = f.folder.file("QM.INI");
    QFile::remove(ini);
    if (!before.isEmpty())
        QVERIFY(qmtest::writeBytes(ini, before));

    script(f, {program, 2, true});
    m.OptionsButtonClick();
    QVERIFY(f.prompts.exhausted());
    QCOMPARE(m.program().Browser, program);
    QCOMPARE(m.program().SplashState, QString("No Splash"));
    QVERIFY(m.program().DragText);
    QCOMPARE(QString::fromUtf8(qmtest::readBytes(ini)), QString::fromUtf8(after).replace("%B", program));

    // Opened again, the dialog shows what was accepted; a reset reads the same.
    Seen seen;
    script(f, {std::nullopt, -2, std::nullopt, ModalResult::Cancel}, &seen);
    m.OptionsButtonClick();
    QCOMPARE(seen.browser, program);
    QCOMPARE(seen.splash, 2);
    QVERIFY(seen.dragText);
    m.NewButtonClick();
    QCOMPARE(m.program().Browser, program);
    QCOMPARE(m.program().SplashState, QString("No Splash"));
    QVERIFY(m.program().DragText);
}

void TestOptions::cancelChangesNothing()
{
    MainFormFixture f;
    TMainForm &m = *f.form;
    QTemporaryDir dir;
    const QString oldBrowser = makeProgram(dir.filePath("old"));
    const QByteArray ini = "[GLOBAL]\nBrowser=" + oldBrowser.toUtf8() + "\nDragText=0x0\n";
    QVERIFY(qmtest::writeBytes(f.folder.file("QM.INI"), ini));
    f.restart();
    TMainForm &n = *f.form;
    Q_UNUSED(m);

    script(f, {makeProgram(dir.filePath("new")), 0, true, ModalResult::Cancel});
    n.OptionsButtonClick();
    QCOMPARE(n.program().Browser, oldBrowser);
    QVERIFY(!n.program().DragText);
    QCOMPARE(n.program().SplashState, QString("Splash And Sound"));
    QCOMPARE(qmtest::readBytes(f.folder.file("QM.INI")), ini);

    // The next time the dialog shows the settings, not what was cancelled.
    Seen seen;
    script(f, {std::nullopt, -2, std::nullopt, ModalResult::Cancel}, &seen);
    n.OptionsButtonClick();
    QCOMPARE(seen.browser, oldBrowser);
    QCOMPARE(seen.splash, 0);
    QVERIFY(!seen.dragText);
}

void TestOptions::valuesReadFromTheFile_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<bool>("dragText");
    QTest::addColumn<int>("splash");        // selected when the dialog opens
    QTest::addColumn<QString>("written");   // SplashState after OK
    QTest::newRow("hex one") << QByteArray("[GLOBAL]\nDragText=0x1\n") << true << 0 << "Splash And Sound";
    QTest::newRow("yes") << QByteArray("[GLOBAL]\nDragText=yes\nSplashState=No Splash\n") << false << 2 << "No Splash";
    QTest::newRow("unknown splash") << QByteArray("[GLOBAL]\nDragText=1\nSplashState=Fireworks\n") << true << -1 << "";
    QTest::newRow("no file") << QByteArray() << false << 0 << "Splash And Sound";
}

void TestOptions::valuesReadFromTheFile()
{
    QFETCH(QByteArray, file);
    QFETCH(bool, dragText);
    QFETCH(int, splash);
    QFETCH(QString, written);
    MainFormFixture f;
    const QString ini = f.folder.file("QM.INI");
    QFile::remove(ini);
    if (!file.isEmpty())
        QVERIFY(qmtest::writeBytes(ini, file));
    f.restart();
    TMainForm &m = *f.form;
    QCOMPARE(m.program().DragText, dragText);

    Seen seen;
    script(f, {}, &seen);
    m.OptionsButtonClick();
    QCOMPARE(seen.splash, splash);
    QCOMPARE(seen.dragText, dragText);
    QCOMPARE(m.program().SplashState, written);
    const QString text = QString::fromUtf8(qmtest::readBytes(ini));
    QVERIFY2(text.contains(QRegularExpression("(^|\n)SplashState=" + QRegularExpression::escape(written) + "\r?\n")),
             qPrintable(text));
}

void TestOptions::chooseBrowserStartsWhereTheBrowserIs()
{
    MainFormFixture f;
    TOptionsForm *o = f.form->OptionsForm;
    QTemporaryDir dir;
    const QString program = makeProgram(dir.filePath("bin/browser"));
    const QString notes = dir.filePath("notes.txt");
    QVERIFY(qmtest::writeBytes(notes, "text"));

    const QList<QPair<QString, QString>> starts = {
        {"", "/usr/bin"}, {"/no/such/browser", "/usr/bin"}, {program, dir.filePath("bin")}};
    for (const auto &[shown, folder] : starts) {
        o->Browsername->setText(shown);
        f.prompts.files = {std::nullopt};
        f.prompts.log.clear();
        o->ChooseBrowserBtnClick();
        QCOMPARE(f.prompts.log.size(), 1);
        QCOMPARE(f.prompts.log.first().file.directory, folder);
        QCOMPARE(f.prompts.log.first().file.selectedFilter, QString("All Files (*.*)"));
        QCOMPARE(o->Browsername->text(), shown);
    }

    // A file that is no program is refused; a program is taken whole.
    f.prompts.files = {notes};
    f.prompts.log.clear();
    o->ChooseBrowserBtnClick();
    QCOMPARE(f.prompts.messages(), QStringList({notes + " is not a program that can be started."}));
    QCOMPARE(o->Browsername->text(), program);
    o->Browsername->clear();
    f.prompts.files = {program};
    o->ChooseBrowserBtnClick();
    QCOMPARE(o->Browsername->text(), program);
}

void TestOptions::settingsThatCannotBeWrittenAreReported()
{
    MainFormFixture f;
    TMainForm &m = *f.form;
    QFile::remove(f.folder.file("QM.INI"));
    const QFile::Permissions was = QFile::permissions(f.folder.path());
    QVERIFY(QFile::setPermissions(f.folder.path(), QFile::ReadOwner | QFile::ExeOwner));
    script(f, {std::nullopt, 1, true});
    m.OptionsButtonClick();
    QFile::setPermissions(f.folder.path(), was);
    QCOMPARE(f.prompts.messages().size(), 1);
    QVERIFY2(f.prompts.messages().first().startsWith("Error saving " + f.folder.file("QM.INI") + ": "),
             qPrintable(f.prompts.messages().first()));
    // The run goes on with the accepted values.
    QVERIFY(m.program().DragText);
    QCOMPARE(m.program().SplashState, QString("Splash (No Sound)"));
}

QTEST_MAIN(TestOptions)
#include "test_options.moc"
