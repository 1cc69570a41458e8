#include "platform/qtprompts.h"
#include "testsupport.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QFileDialog>
#include <QLineEdit>
#include <QListWidget>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

using namespace qm;

// The real Qt dialogs behind the prompts, driven as a user would drive them.
class TestQtPrompts : public QObject {
    Q_OBJECT
private slots:
    void openDialogReturnsAnyTypedName_data();
    void openDialogReturnsAnyTypedName();
    void allFilesShowsNamesWithoutADot();
    void recentFileOpensFromItsList();
};

void TestQtPrompts::openDialogReturnsAnyTypedName_data()
{
    QTest::addColumn<QString>("typed");
    // The program itself opens a name typed in another case, and it reports
    // a name that does not exist in its own words: the dialog must let both
    // through instead of answering with a box of its own.
    QTest::newRow("exact") << "menu.qmf";
    QTest::newRow("other case") << "MENU.QMF";
    QTest::newRow("missing") << "nosuch.qmf";
}

void TestQtPrompts::openDialogReturnsAnyTypedName()
{
    QFETCH(QString, typed);
    QTemporaryDir dir;
    QVERIFY(qmtest::writeBytes(dir.filePath("menu.qmf"), "x"));

    QtPrompts prompts;
    FileDialogRequest request;
    request.mode = FileDialogRequest::Mode::Open;
    request.caption = "Open";
    request.directory = dir.path();
    request.filter = "Quillmap Files (*.QMF);;All Files (*)";

    bool typedIn = false;
    bool stuck = false;
    QTimer::singleShot(0, [&] {
        auto *dialog = qobject_cast<QFileDialog *>(QApplication::activeModalWidget());
        if (!dialog)
            return;
        auto *edit = dialog->findChild<QLineEdit *>("fileNameEdit");
        if (!edit)
            return;
        edit->setText(typed);
        typedIn = true;
        // Pressing Open; a dialog that refuses the name stays open.
        QMetaObject::invokeMethod(dialog, "accept");
        QTimer::singleShot(500, dialog, [&stuck, dialog] {
            if (dialog->isVisible()) {
                stuck = true;
                dialog->reject();
            }
        });
    });
    // Whatever the dialog shows on its own (a "File not found" box) ends too.
    QTimer::singleShot(3000, [] {
        if (QWidget *w = QApplication::activeModalWidget())
            w->close();
    });
    const std::optional<QString> chosen = prompts.fileDialog(request);
    QVERIFY(typedIn);
    QVERIFY(!stuck);
    QVERIFY(chosen.has_value());
    QCOMPARE(QFileInfo(*chosen).fileName(), typed);
    QCOMPARE(QFileInfo(*chosen).absolutePath(), QFileInfo(dir.path()).absoluteFilePath());
}

void TestQtPrompts::allFilesShowsNamesWithoutADot()
{
    QTemporaryDir dir;
    for (const char *name : {"about", "menu.qmf"})
        QVERIFY(qmtest::writeBytes(dir.filePath(name), "x"));
    FileDialogRequest request;
    request.directory = dir.path();
    request.filter = "Quillmap Files (*.QMF);;All Files (*.*)";
    request.selectedFilter = "All Files (*.*)";

    QString filterText;
    QStringList names;
    QTimer::singleShot(0, [&] {
        auto *dialog = qobject_cast<QFileDialog *>(QApplication::activeModalWidget());
        auto *view = dialog ? dialog->findChild<QAbstractItemView *>("listView") : nullptr;
        if (!view)
            return;
        filterText = dialog->findChild<QComboBox *>("fileTypeCombo")->currentText();
        // The folder is listed in the background; a listing that never
        // comes shows in the comparison of the names below.
        const bool listed = QTest::qWaitFor([&] { return view->model()->rowCount(view->rootIndex()) >= 2; }, 3000);
        Q_UNUSED(listed);
        for (int row = 0; row < view->model()->rowCount(view->rootIndex()); ++row)
            names << view->model()->index(row, 0, view->rootIndex()).data().toString();
        dialog->reject();
    });
    QVERIFY(!QtPrompts().fileDialog(request));
    QCOMPARE(filterText, QString("All Files (*.*)"));
    names.sort();
    QCOMPARE(names, QStringList({"about", "menu.qmf"}));
}

void TestQtPrompts::recentFileOpensFromItsList()
{
    // A recent project activated in its list is the answer, without the
    // file name field or the folder shown.
    FileDialogRequest request;
    request.recent = {"/nowhere/a/menu.qmf", "/nowhere/b/other.qmf"};
    QTimer::singleShot(0, [] {
        if (auto *list = QApplication::activeModalWidget()->findChild<QListWidget *>("recentList"))
            emit list->itemActivated(list->item(1));
    });
    QTimer::singleShot(3000, [] {
        if (QWidget *w = QApplication::activeModalWidget())
            w->close();
    });
    QCOMPARE(QtPrompts().fileDialog(request), std::optional<QString>("/nowhere/b/other.qmf"));
}

QTEST_MAIN(TestQtPrompts)
#include "test_qtprompts.moc"
