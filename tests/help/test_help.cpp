// The help file, the help window, the Help command and context help.

#include "dialogs/helpcontext.h"
#include "dialogs/helpcontroller.h"
#include "dialogs/helpfile.h"
#include "dialogs/tbuttonoptions.h"
#include "dialogs/ttableform.h"
#include "dialogs/helpwindow.h"
#include "dialogs/toptionsform.h"
#include "editor/tcleanmybutton.h"
#include "editor/designsurface.h"
#include "editor/areaedit.h"
#include "mainformfixture.h"

#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QGroupBox>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTabBar>
#include <QTabWidget>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>
#include <QWhatsThis>
#include <QWhatsThisClickedEvent>
#include <QtTest>

namespace {

QString helpSource()
{
    return QString::fromUtf8(qmtest::readBytes(QStringLiteral(QUILLMAP_HELP_SOURCE)));
}

// Puts the help file into the fixture's program folder, under a name in
// another case than the program asks for.
void installHelp(MainFormFixture &f)
{
    QVERIFY(qmtest::writeBytes(f.folder.file("help/Quillmap.hlp"), helpSource().toUtf8()));
}

QString plainText(const QString &html)
{
    QTextDocument doc;
    doc.setHtml(html);
    return doc.toPlainText();
}

int wordCount(const QString &text)
{
    return int(text.split(QRegularExpression("\\s+"), Qt::SkipEmptyParts).size());
}

// The anchors Qt's rich text finds in a document.
QSet<QString> documentAnchors(const QTextDocument *doc)
{
    QSet<QString> names;
    for (QTextBlock b = doc->begin(); b.isValid(); b = b.next()) {
        for (auto it = b.begin(); !it.atEnd(); ++it) {
            for (const QString &n : it.fragment().charFormat().anchorNames())
                names.insert(n);
        }
        for (const QString &n : b.charFormat().anchorNames())
            names.insert(n);
    }
    return names;
}

QWidget *visibleWhatsThisPopup()
{
    for (QWidget *w : QApplication::topLevelWidgets()) {
        if (w->isVisible() && w->inherits("QWhatsThat"))
            return w;
    }
    return nullptr;
}

// Every widget of the main window and of the dialogs it owns, also those
// made without a parent.
QList<QWidget *> everyWidget(TMainForm &m)
{
    QList<QWidget *> all{&m};
    all += m.findChildren<QWidget *>();
    for (QWidget *top : QApplication::topLevelWidgets()) {
        if (qobject_cast<QDialog *>(top) && !all.contains(top)) {
            all << top;
            all += top->findChildren<QWidget *>();
        }
    }
    return all;
}

QObject *control(TMainForm &m, const QString &name)
{
    const QHash<QString, QObject *> named{
        {"MainForm", &m},
        {"button", m.ButtonControls.first()},
        {"SetURL1", m.SetURL1},
        {"AddButton1", m.AddButton1},
        {"SetDimensions1", m.SetDimensions1},
        {"Move1", m.Move1},
        {"MoveField1", m.MoveField1},
    };
    if (named.contains(name))
        return named.value(name);
    if (name.endsWith(" separator")) {
        QMenu *menu = name.startsWith("Background") ? m.BackgroundMenu : m.ButtMenu;
        for (QAction *a : menu->actions())
            if (a->isSeparator())
                return a;
        return nullptr;
    }
    return m.findChild<QObject *>(name);
}

int resolvedContext(QObject *o)
{
    if (o->isWidgetType())
        return qm::help::contextOf(static_cast<QWidget *>(o));
    return qm::help::ownContext(o);
}

} // namespace

class TestHelp : public QObject {
    Q_OBJECT
private slots:
    void everyContextHasItsTopic_data();
    void everyContextHasItsTopic();
    void helpFileHoldsTheUsersTopics();
    void contextTable_data();
    void contextTable();
    void everyControlResolvesToATopic();
    void helpButtonAfterTheCurrentDirectoryChanged();
    void missingHelpFile();
    void helpWindowNavigates();
    void f1ShowsThePopupTopic_data();
    void f1ShowsThePopupTopic();
    void f1InAWindowWithoutHelpButtonOpensTheHelpWindow();
    void helpWindowStaysUsableOverAModalDialog();
    void f1InAnOpenMenu();
    void f1InADialogJustOpened_data();
    void f1InADialogJustOpened();
    void helpWindowOpensBesideTheWindow_data();
    void helpWindowOpensBesideTheWindow();
    void whatsThisModeAndItsLink();
};

void TestHelp::everyContextHasItsTopic_data()
{
    QTest::addColumn<QString>("anchor");
    for (int context : qm::help::programContexts())
        QTest::newRow(qPrintable(qm::help::anchorName(context))) << qm::help::anchorName(context);
    for (const char *topic : {"contents", "compile", "preview", "options", "files"})
        QTest::newRow(topic) << QString(topic);
}

void TestHelp::everyContextHasItsTopic()
{
    QFETCH(QString, anchor);
    const QString page = helpSource();
    QVERIFY(!page.isEmpty());
    const QString section = qm::help::topicSection(page, anchor);
    QVERIFY2(!section.isEmpty(), qPrintable(anchor));
    // Real content, and a pop-up that says something on its own.
    QVERIFY2(wordCount(plainText(section)) >= 50, qPrintable(plainText(section)));
    const QString summary = qm::help::topicSummary(page, anchor);
    QVERIFY2(wordCount(plainText(summary)) >= 30, qPrintable(plainText(summary)));
    QVERIFY(section.startsWith(summary));

    // The help window's rich text finds the anchor.
    HelpWindow window;
    window.showAnchor(QStringLiteral(QUILLMAP_HELP_SOURCE), anchor);
    QVERIFY(documentAnchors(window.Browser->document()).contains(anchor));
    QCOMPARE(window.Browser->source().fragment(), anchor);
}

void TestHelp::helpFileHoldsTheUsersTopics()
{
    const QString page = helpSource();
    // Every link inside the help leads to a topic that exists.
    const QRegularExpression link("href=\"#([^\"]+)\"");
    int links = 0;
    for (auto it = link.globalMatch(page); it.hasNext(); ++links) {
        const QString target = it.next().captured(1);
        QVERIFY2(!qm::help::topicSection(page, target).isEmpty(), qPrintable(target));
    }
    QVERIFY(links > 20);

    // What a page needs so that the menu works in today's browsers.
    const QString compile = plainText(qm::help::topicSection(page, "compile"));
    QVERIFY(compile.contains("<script src=\"quillmap.js\" defer blocking=\"render\"></script>"));
    QVERIFY(compile.contains("<head>"));
    // The dialogs' fields are explained under their own captions.
    const QString general = plainText(qm::help::topicSection(page, "context-6"));
    for (const char *field : {"From Top", "From Left", "Width", "Height", "Image", "Choose Image...", "Click URL",
                              "Choose File...", "Target", "Make URL Relative Upon Compilation"})
        QVERIFY2(general.contains(field), field);
    const QString mouseOver = plainText(qm::help::topicSection(page, "context-14"));
    for (const char *field : {"Button changes", "Title and Blurb changes", "New Image", "AU Sound", "Title Text",
                              "Blurb Text", "Blurb Image"})
        QVERIFY2(mouseOver.contains(field), field);
    const QString global = plainText(qm::help::topicSection(page, "context-45"));
    for (const char *field : {"Background Colour", "Global Font Colour", "Absolute positioning",
                              "Use and Show Title and Blurb", "Dont Use or Show Title or Blurb"})
        QVERIFY2(global.contains(field), field);
    const QString options = plainText(qm::help::topicSection(page, "options"));
    for (const char *field : {"Default Browser", "Choose Browser", "Splash And Sound", "Splash (No Sound)", "No Splash"})
        QVERIFY2(options.contains(field), field);
}

void TestHelp::contextTable_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("context");
    QTest::newRow("main window") << "MainForm" << 1;
    QTest::newRow("Title") << "Title" << 3;
    QTest::newRow("Blurb") << "Blurb" << 3;
    QTest::newRow("Add Button") << "AddButton" << 5;
    QTest::newRow("Edit Button") << "EditButton" << 5;
    QTest::newRow("button menu Properties") << "SetURL1" << 5;
    QTest::newRow("background menu") << "BackgroundMenu" << 5;
    QTest::newRow("background menu Add Button") << "AddButton1" << 5;
    QTest::newRow("background menu Properties") << "SetDimensions1" << 5;
    QTest::newRow("background menu separator") << "BackgroundMenu separator" << 19;
    QTest::newRow("button menu separator") << "ButtMenu separator" << 20;
    QTest::newRow("button menu Move") << "Move1" << 44;
    QTest::newRow("text menu Move") << "MoveField1" << 44;
    QTest::newRow("design surface") << "Background" << 45;
    QTest::newRow("Background button") << "BackgroundButton" << 45;
    QTest::newRow("button on the surface") << "button" << 400;
    // Those without one of their own take their surroundings'.
    QTest::newRow("Delete Button") << "DeleteButton" << 1;
    QTest::newRow("tool bar Help") << "HelpButton" << 1;
    QTest::newRow("Blurb picture") << "BlurbImage" << 45;
}

void TestHelp::contextTable()
{
    QFETCH(QString, name);
    QFETCH(int, context);
    MainFormFixture f;
    f.form->AddButtonClick(f.form->AddButton);
    QObject *o = control(*f.form, name);
    QVERIFY2(o, qPrintable(name));
    QCOMPARE(resolvedContext(o), context);
}

void TestHelp::everyControlResolvesToATopic()
{
    MainFormFixture f;
    TMainForm &m = *f.form;
    // A button from each way of making one, and the help window too.
    m.AddButtonClick(m.AddButton);
    installHelp(f);
    m.HelpButtonClick();

    const QString page = helpSource();
    const QList<QWidget *> widgets = everyWidget(m);
    QVERIFY(widgets.size() > 40);
    for (QWidget *w : widgets) {
        const int context = qm::help::contextOf(w);
        QVERIFY2(qm::help::programContexts().contains(context),
                 qPrintable(QString("%1 (%2) resolves to %3")
                                .arg(w->objectName(), w->metaObject()->className())
                                .arg(context)));
    }
    for (QMenu *menu : m.findChildren<QMenu *>())
        for (QAction *a : menu->actions()) {
            const int own = qm::help::ownContext(a);
            QVERIFY(own == 0 || qm::help::programContexts().contains(own));
        }
    for (int context : qm::help::programContexts())
        QVERIFY(!qm::help::topicSection(page, qm::help::anchorName(context)).isEmpty());
}

void TestHelp::helpButtonAfterTheCurrentDirectoryChanged()
{
    MainFormFixture f;
    TMainForm &m = *f.form;
    installHelp(f);
    // A file dialog or a Preview left the current directory elsewhere.
    QTemporaryDir elsewhere;
    QDir::setCurrent(elsewhere.path());

    QTest::mouseClick(m.HelpButton, Qt::LeftButton);
    HelpWindow *w = m.helpController()->helpWindow();
    QVERIFY(w->isVisible());
    QCOMPARE(QFileInfo(w->helpFile()).canonicalFilePath(),
             QFileInfo(f.folder.file("help/Quillmap.hlp")).canonicalFilePath());
    QCOMPARE(w->Browser->source().fragment(), QString("contents"));
    QVERIFY(w->Browser->toPlainText().contains("Quillmap Help"));
    QCOMPARE(QDir::currentPath(), m.program().AppDir);

    // F1 finds the file too, wherever the current directory is.
    QDir::setCurrent(elsewhere.path());
    QSignalSpy shown(m.helpController(), &HelpController::topicShown);
    QTest::keyClick(m.Title, Qt::Key_F1);
    QCOMPARE(shown.size(), 1);
    QVERIFY(visibleWhatsThisPopup());
    QWhatsThis::hideText();
}

void TestHelp::missingHelpFile()
{
    MainFormFixture f;
    TMainForm &m = *f.form;
    m.HelpButtonClick();
    HelpWindow *w = m.helpController()->helpWindow();
    QVERIFY(w->isVisible());
    QVERIFY(w->helpFile().isEmpty());
    const QString text = w->Browser->toPlainText();
    QVERIFY2(text.contains("cannot be opened"), qPrintable(text));
    QVERIFY(text.contains(QDir::toNativeSeparators(f.folder.file("help/QUILLMAP.HLP"))));
    QVERIFY(!w->BackButton->isEnabled());
    QCOMPARE(QDir::currentPath(), m.program().AppDir);
    // Contents and F1 have nothing to show, and say so without failing.
    QTest::mouseClick(w->ContentsButton, Qt::LeftButton);
    QVERIFY(w->Browser->toPlainText().contains("cannot be opened"));
    QTest::keyClick(m.Title, Qt::Key_F1);
    QVERIFY(visibleWhatsThisPopup());
    QWhatsThis::hideText();

    // Once the file is back, the same window shows it.
    installHelp(f);
    m.HelpButtonClick();
    QVERIFY(w->Browser->toPlainText().contains("Quillmap Help"));
}

void TestHelp::helpWindowNavigates()
{
    HelpWindow w;
    w.showContents(QStringLiteral(QUILLMAP_HELP_SOURCE));
    QVERIFY(!w.BackButton->isEnabled());
    QUrl topic = w.Browser->source();
    topic.setFragment("compile");
    w.Browser->setSource(topic);
    QVERIFY(w.BackButton->isEnabled());
    QTest::mouseClick(w.BackButton, Qt::LeftButton);
    QCOMPARE(w.Browser->source().fragment(), QString("contents"));
    QVERIFY(w.ForwardButton->isEnabled());
    QTest::mouseClick(w.ForwardButton, Qt::LeftButton);
    QCOMPARE(w.Browser->source().fragment(), QString("compile"));
    QTest::mouseClick(w.ContentsButton, Qt::LeftButton);
    QCOMPARE(w.Browser->source().fragment(), QString("contents"));
}

void TestHelp::f1ShowsThePopupTopic_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("context");
    QTest::newRow("Title") << "Title" << 3;
    QTest::newRow("button on the surface") << "button" << 400;
    QTest::newRow("Add Button") << "AddButton" << 5;
    QTest::newRow("Delete Button: the window's") << "DeleteButton" << 1;
    QTest::newRow("surface") << "BackgroundCanvas" << 45;
}

void TestHelp::f1ShowsThePopupTopic()
{
    QFETCH(QString, name);
    QFETCH(int, context);
    MainFormFixture f;
    TMainForm &m = *f.form;
    installHelp(f);
    m.show();
    QSignalSpy shown(m.helpController(), &HelpController::topicShown);
    auto *widget = qobject_cast<QWidget *>(control(m, name));
    QVERIFY(widget);
    QTest::keyClick(widget, Qt::Key_F1);
    QCOMPARE(shown.size(), 1);
    QCOMPARE(shown.first().at(0).toInt(), context);
    QCOMPARE(shown.first().at(1).toBool(), true);
    QVERIFY(visibleWhatsThisPopup());
    QWhatsThis::hideText();
}

void TestHelp::f1InAWindowWithoutHelpButtonOpensTheHelpWindow()
{
    MainFormFixture f;
    TMainForm &m = *f.form;
    installHelp(f);
    // A dialog of the main window, laid out as a property page is: the page
    // carries the context, its fields carry none.
    QDialog dialog(&m);
    auto *page = new QGroupBox(&dialog);
    qm::help::setContext(page, 43);
    auto *field = new QLineEdit(page);
    auto *plain = new QPushButton(&dialog);
    (new QVBoxLayout(page))->addWidget(field);
    auto *layout = new QVBoxLayout(&dialog);
    layout->addWidget(page);
    layout->addWidget(plain);
    QSignalSpy shown(m.helpController(), &HelpController::topicShown);

    QTest::keyClick(field, Qt::Key_F1);
    HelpWindow *w = m.helpController()->helpWindow();
    QVERIFY(w->isVisible());
    QCOMPARE(w->Browser->source().fragment(), QString("context-43"));
    QVERIFY(!visibleWhatsThisPopup());
    // Outside the page the dialog leads to its owner, the main window.
    QTest::keyClick(plain, Qt::Key_F1);
    QCOMPARE(w->Browser->source().fragment(), QString("context-1"));
    QCOMPARE(shown.size(), 2);
    QCOMPARE(shown.at(1).at(1).toBool(), false);

    // A dialog with a help button in its title bar shows pop-ups.
    QDialog popups(&m, Qt::Dialog | Qt::WindowContextHelpButtonHint);
    auto *edit = new QLineEdit(&popups);
    qm::help::setContext(edit, 6);
    QTest::keyClick(edit, Qt::Key_F1);
    QCOMPARE(shown.last().at(0).toInt(), 6);
    QCOMPARE(shown.last().at(1).toBool(), true);
    QWhatsThis::hideText();

    // The program's own dialogs: the button dialog has the help button and
    // shows pop-ups; the background dialog shows its topics in the window.
    const QList<QPair<QDialog *, bool>> dialogs = {{m.ButtonOptions, true}, {m.TableForm, false}};
    for (const auto &[own, popup] : dialogs) {
        QCOMPARE(own->windowFlags().testFlag(Qt::WindowContextHelpButtonHint), popup);
        auto *control = own->findChild<QLineEdit *>();
        QVERIFY(control);
        QTest::keyClick(control, Qt::Key_F1);
        QCOMPARE(shown.last().at(0).toInt(), qm::help::contextOf(control));
        QVERIFY(shown.last().at(0).toInt() != 0);
        QCOMPARE(shown.last().at(1).toBool(), popup);
        QWhatsThis::hideText();
    }

    // F1 in the help window itself asks nothing more.
    const qsizetype before = shown.size();
    QTest::keyClick(w->Browser, Qt::Key_F1);
    QCOMPARE(shown.size(), before);
}

void TestHelp::helpWindowStaysUsableOverAModalDialog()
{
    MainFormFixture f;
    TMainForm &m = *f.form;
    installHelp(f);
    m.show();
    m.HelpButtonClick();
    HelpWindow *w = m.helpController()->helpWindow();
    QCOMPARE(w->parentWidget(), &m);

    QDialog dialog(&m);
    auto *field = new QLineEdit(&dialog);
    qm::help::setContext(field, 43);
    bool blockedOut = true;
    QString shown;
    QTimer::singleShot(0, &dialog, [&] {
        QTest::keyClick(field, Qt::Key_F1);
        // Only windows of the modal dialog itself take input meanwhile.
        blockedOut = w->parentWidget() != &dialog || !w->isVisible();
        shown = w->Browser->source().fragment();
        dialog.reject();
    });
    dialog.exec();
    QVERIFY(!blockedOut);
    QCOMPARE(shown, QString("context-43"));
    // The window stays open after the dialog, and goes back to the main
    // window at the next use.
    QVERIFY(w->isVisible());
    m.HelpButtonClick();
    QCOMPARE(w->parentWidget(), &m);
    QVERIFY(w->isVisible());
    QCOMPARE(w->Browser->source().fragment(), QString("contents"));
}

void TestHelp::f1InAnOpenMenu()
{
    MainFormFixture f;
    TMainForm &m = *f.form;
    installHelp(f);
    m.show();
    QSignalSpy shown(m.helpController(), &HelpController::topicShown);
    m.ButtMenu->popup(m.mapToGlobal(QPoint(100, 100)));
    QVERIFY(QTest::qWaitForWindowExposed(m.ButtMenu));
    m.ButtMenu->setActiveAction(m.Move1);
    QTest::keyClick(m.ButtMenu, Qt::Key_F1);
    QCOMPARE(shown.size(), 1);
    QCOMPARE(shown.first().at(0).toInt(), 44);
    QVERIFY(!m.ButtMenu->isVisible());
    QWhatsThis::hideText();

    // An item without a context of its own: the menu's, else its owner's.
    m.BackgroundMenu->popup(m.mapToGlobal(QPoint(100, 100)));
    QVERIFY(QTest::qWaitForWindowExposed(m.BackgroundMenu));
    m.BackgroundMenu->setActiveAction(nullptr);
    QTest::keyClick(m.BackgroundMenu, Qt::Key_F1);
    QCOMPARE(shown.last().at(0).toInt(), 5);
    m.TextMenu->popup(m.mapToGlobal(QPoint(100, 100)));
    QVERIFY(QTest::qWaitForWindowExposed(m.TextMenu));
    m.TextMenu->setActiveAction(m.EditField1);
    QTest::keyClick(m.TextMenu, Qt::Key_F1);
    QCOMPARE(shown.last().at(0).toInt(), 1);
    QWhatsThis::hideText();
}

void TestHelp::f1InADialogJustOpened_data()
{
    QTest::addColumn<QString>("dialog");
    QTest::addColumn<int>("page");
    QTest::addColumn<int>("context");
    QTest::newRow("Button") << "ButtonOptions" << 0 << 6;
    QTest::newRow("Button, Mouse Over page") << "ButtonOptions" << 1 << 14;
    QTest::newRow("Background") << "TableForm" << 0 << 43;
    QTest::newRow("Background, Global Properties page") << "TableForm" << 1 << 45;
    QTest::newRow("Options") << "OptionsForm" << 0 << qm::help::OptionsContext;
}

void TestHelp::f1InADialogJustOpened()
{
    QFETCH(QString, dialog);
    QFETCH(int, page);
    QFETCH(int, context);
    MainFormFixture f;
    TMainForm &m = *f.form;
    installHelp(f);
    QSignalSpy shown(m.helpController(), &HelpController::topicShown);
    // The dialogs are made at their first use.
    QVERIFY(m.ButtonOptions.get() && m.TableForm.get() && m.OptionsForm.get());
    auto *d = m.findChild<QDialog *>(dialog);
    QVERIFY(d);
    // Where the focus is when a dialog opens: the tab bar of its pages, or
    // the first field; then OK.
    QList<QWidget *> asked;
    if (auto *pages = qobject_cast<PropertyDialog *>(d)) {
        pages->PageControl1->setCurrentIndex(page);
        asked = {pages->PageControl1->tabBar(), pages->OKBtn};
    } else {
        asked = {m.OptionsForm->Browsername, m.OptionsForm->OkBtn};
    }
    for (QWidget *w : asked) {
        QTest::keyClick(w, Qt::Key_F1);
        QCOMPARE(shown.last().at(0).toInt(), context);
        QWhatsThis::hideText();
    }
    QVERIFY(!qm::help::topicSection(helpSource(), qm::help::anchorName(context)).isEmpty());
}

void TestHelp::helpWindowOpensBesideTheWindow_data()
{
    QTest::addColumn<QRect>("frame");
    QTest::addColumn<QRect>("screen");
    QTest::addColumn<QRect>("placed");
    const QRect wide(0, 0, 1920, 1080);
    QTest::newRow("room on the right") << QRect(100, 100, 450, 480) << wide << QRect(558, 100, 560, 620);
    QTest::newRow("room on the left only") << QRect(1300, 100, 450, 480) << wide << QRect(732, 100, 560, 620);
    QTest::newRow("narrower on the side with more room") << QRect(415, 285, 450, 454) << QRect(0, 0, 1280, 1024)
                                                          << QRect(873, 285, 407, 620);
    QTest::newRow("kept on the screen below") << QRect(100, 500, 450, 480) << wide << QRect(558, 460, 560, 620);
    QTest::newRow("no room: over the window at the edge") << QRect(200, 50, 450, 480) << QRect(0, 0, 800, 600)
                                                           << QRect(240, 0, 560, 600);
}

void TestHelp::helpWindowOpensBesideTheWindow()
{
    QFETCH(QRect, frame);
    QFETCH(QRect, screen);
    QFETCH(QRect, placed);
    QCOMPARE(HelpWindow::placeBeside(frame, QSize(560, 620), screen), placed);
    QVERIFY(screen.contains(placed));
}

void TestHelp::whatsThisModeAndItsLink()
{
    MainFormFixture f;
    TMainForm &m = *f.form;
    installHelp(f);
    m.show();
    QVERIFY(HelpController::showsPopups(&m));
    QSignalSpy shown(m.helpController(), &HelpController::topicShown);

    // What the title bar's help button leads to: a click on a control asks
    // whether it has help, and then for it.
    QHelpEvent query(QEvent::QueryWhatsThis, QPoint(5, 5), m.AddButton->mapToGlobal(QPoint(5, 5)));
    query.ignore();
    QApplication::sendEvent(m.AddButton, &query);
    QVERIFY(query.isAccepted());
    QHelpEvent ask(QEvent::WhatsThis, QPoint(5, 5), m.AddButton->mapToGlobal(QPoint(5, 5)));
    ask.ignore();
    QApplication::sendEvent(m.AddButton, &ask);
    QVERIFY(ask.isAccepted());
    QCOMPARE(shown.size(), 1);
    QCOMPARE(shown.first().at(0).toInt(), 5);
    QVERIFY(visibleWhatsThisPopup());
    QWhatsThis::hideText();

    // The pop-up's link opens the topic in the help window.
    QWhatsThisClickedEvent clicked("#context-5");
    QApplication::sendEvent(m.AddButton, &clicked);
    HelpWindow *w = m.helpController()->helpWindow();
    QVERIFY(w->isVisible());
    QCOMPARE(w->Browser->source().fragment(), QString("context-5"));

    // Shift+F1 starts the mode where the window has a help button.
    QTest::keyClick(m.Title, Qt::Key_F1, Qt::ShiftModifier);
    QVERIFY(QWhatsThis::inWhatsThisMode());
    QWhatsThis::leaveWhatsThisMode();
}

QTEST_MAIN(TestHelp)
#include "test_help.moc"
