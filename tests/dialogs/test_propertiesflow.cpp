// One user's path through both property dialogs: edit the background and a
// button, save, open the file again and compile it.

#include "compile/appletblock.h"
#include "dialogs/tbuttonoptions.h"
#include "dialogs/toptionsform.h"
#include "dialogs/spinfield.h"
#include "dialogs/ttableform.h"
#include "dialogtesting.h"
#include "editor/tcleanmybutton.h"
#include "editor/designsurface.h"
#include "editor/areaedit.h"
#include "imageview/tpmultiimage.h"
#include "mainformfixture.h"

#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QToolButton>
#include <QtTest>

using qmtest::paramValue;

using namespace qm;
using dialogtest::script;

class TestPropertiesFlow : public QObject {
    Q_OBJECT
private slots:
    void editSaveOpenCompile();
    void oneLineFieldsKeepTheFirstLineOfAPaste_data();
    void oneLineFieldsKeepTheFirstLineOfAPaste();
    void pastedLineBreaksAndQuotesSurviveSaveAndOpen();
};

void TestPropertiesFlow::editSaveOpenCompile()
{
    MainFormFixture f;
    TMainForm &m = *f.form;
    m.show();
    QVERIFY(QTest::qWaitForWindowExposed(&m));
    QTemporaryDir dir;
    const QString proj = dir.path() + "/";
    for (const char *name : {"pics/Home.gif", "pics/HomeOver.gif", "pics/intro.png", "pics/help.jpg"})
        QVERIFY(qmtest::writePicture(proj + name, qmtest::solidImage(40, 20, qRgb(90, 40, 10))));
    QVERIFY(qmtest::writeBytes(proj + "sounds/ding.au", QByteArray(".snd\0\0\0\x18", 8) + QByteArray(32, '\1')));
    QVERIFY(qmtest::writeBytes(proj + "pages/about.html", "<html></html>"));

    f.prompts.files = {proj + "pics/intro.png", proj + "pics/Home.gif", proj + "menu.qmf", proj + "pages/about.html",
                       proj + "pics/HomeOver.gif", proj + "sounds/ding.au", proj + "pics/help.jpg",
                       proj + "menu.qmf", proj + "menu.qmf"};
    f.prompts.colors = {0x402010, 0xE0E0E0};
    f.prompts.answers = {ModalResult::No};

    // The background.
    script<TTableForm>(f.prompts, [&](TTableForm *d) {
        d->TitleText->setPlainText("Welcome");
        d->BlurbText->setPlainText("Choose a page\nbelow");
        d->BitBtn6->click();
        d->PageControl1->setCurrentWidget(d->GlobalPage);
        d->BitBtn1->click();
        d->BitBtn4->click();
        d->TitleFont->setCurrentText("Courier");
        d->TitleFontSize->setValue(28);
        d->TitleStyle->setCurrentText("Italic");
        d->BlurbFont->setCurrentText("Helvetica");
        d->BlurbFontSize->setValue(12);
        d->BlurbStyle->setCurrentText("Bold");
        d->CenterRadio->click();
    });
    QTest::mouseClick(m.BackgroundButton, Qt::LeftButton);

    // The button: selected with the mouse, then "Edit Button".
    TCleanMyButton *button = m.ButtonControls.first();
    QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(5, 5));
    QCOMPARE(m.SelectedButton, button);
    script<TButtonOptions>(f.prompts, [&](TButtonOptions *d) {
        d->Left->setValue(20);
        d->Top->selectAll();
        QTest::keyClicks(d->Top, "180");
        d->Width->setValue(120);
        d->Height->setValue(40);
        d->ChooseImageButton->click();
        d->BitBtnChooseURL->click();
        d->cbTarget->setCurrentText("_top");
        d->PageControl1->setCurrentWidget(d->MouseOverPage);
        d->BitBtn7->click();
        d->BitBtn6->click();
        d->TitleBlurbCheck->click();
        d->TitleText->setPlainText("Home");
        d->BlurbText->setPlainText("Back to\nthe start");
        d->ChooseImageBtn->click();
    });
    QTest::mouseClick(m.EditButton, Qt::LeftButton);
    QCOMPARE(button->geometry(), QRect(20, 180, 120, 40));
    QVERIFY(!m.isSaved());

    QTest::mouseClick(m.SaveButton, Qt::LeftButton);
    QVERIFY(m.isSaved());
    QTest::mouseClick(m.NewButton, Qt::LeftButton);
    QCOMPARE(m.design().BgTitleText, QString("type background title here"));
    QTest::mouseClick(m.OpenButton, Qt::LeftButton);

    // What was entered came back from the file.
    QCOMPARE(m.design().FileName, QString("menu.qmf"));
    QCOMPARE(m.design().BgTitleText, QString("Welcome"));
    QCOMPARE(m.design().BgBlurbText, QString("Choose a page\r\nbelow"));
    QCOMPARE(m.design().BlurbImageName, proj + "pics/intro.png");
    QCOMPARE(m.design().BackgroundColor, TColor(0x402010));
    QCOMPARE(m.design().TextColor, TColor(0xE0E0E0));
    QCOMPARE(m.design().TitleFont, QString("Courier"));
    QCOMPARE(m.design().TitleFontSize, 28);
    QCOMPARE(m.design().TitleStyle, QString("Italic"));
    QCOMPARE(m.design().BlurbFont, QString("Helvetica"));
    QCOMPARE(m.design().BlurbFontSize, 12);
    QCOMPARE(m.design().BlurbStyle, QString("Bold"));
    QVERIFY(!m.design().StretchBlurbImages);
    QVERIFY(m.design().ShowTitleAndBlurb);
    QCOMPARE(m.design().Buttons.size(), 1);
    const ButtonData &b = m.design().Buttons.first();
    QCOMPARE(b.rect(), QRect(20, 180, 120, 40));
    QCOMPARE(b.DefImageName, proj + "pics/Home.gif");
    QCOMPARE(b.MouseOverImage, proj + "pics/HomeOver.gif");
    QCOMPARE(b.LinkURL, proj + "pages/about.html");
    QVERIFY(b.URLRelative);
    QCOMPARE(b.Target, QString("_top"));
    QCOMPARE(b.MouseOverSound, proj + "sounds/ding.au");
    QCOMPARE(b.TitleText, QString("Home"));
    QCOMPARE(b.BlurbText, QString("Back to\r\nthe start"));
    QCOMPARE(b.MouseOverBlurbImage, proj + "pics/help.jpg");
    QCOMPARE(m.ButtonControls.first()->geometry(), QRect(20, 180, 120, 40));
    QCOMPARE(m.Background->surfaceColor(), QColor(0x10, 0x20, 0x40));
    QVERIFY(!m.BlurbImage->isHidden() && m.BlurbImage->hasPicture());

    // Compile: the block carries the values, with paths relative to the project.
    QTest::mouseClick(m.CompileButton, Qt::LeftButton);
    const QString &html = m.HTML;
    const QList<QPair<const char *, QString>> expected = {
        {"table_color", "102040"},   {"text_color", "E0E0E0"},     {"head_font", "courier"},
        {"head_style", "italic"},    {"head_size", "30"},          {"mainbox_font", "helvetica"},
        {"mainbox_style", "bold"},   {"mainbox_size", "14"},       {"deftag", "Welcome"},
        {"defmaintext", "Choose a page\r\n|below"},                {"defimg", "pics/intro.png"},
        {"defcenter", "true"},       {"left1", "20"},              {"top1", "180"},
        {"width1", "120"},           {"height1", "40"},            {"tag1", "Home"},
        {"img1", "pics/Home.gif"},   {"rollOverImg1", "pics/HomeOver.gif"},
        {"imageCenter1", "pics/help.jpg"},                         {"URL1", "pages/about.html,_top"},
        {"blurb1", "Back to\r\n|the start"},                       {"sound1", "ding.au"},
    };
    for (const auto &[name, value] : expected)
        QVERIFY2(paramValue(html, name) == value, qPrintable(QString(name) + ": " + paramValue(html, name)));
    QCOMPARE(qmtest::readBytes(proj + "ding.au"), qmtest::readBytes(proj + "sounds/ding.au"));
    // Every file inside the project's folder, by its name on disk: the
    // check names only the runtime, which was not copied.
    QCOMPARE(f.prompts.messages(),
             QStringList({"Please save the current file, so that Quillmap can work out all the relative paths in "
                          "relation to it.",
                          "Now pick the file that the URL will point to...",
                          "AU File(s) copied to " + proj, qm::runtimeCopyQuestion(proj),
                          "Online, the page in " + proj + " would not get these files:\nThe runtime, files: loadall.class, "
                          "header.class, buttbox.class, mbutt.class, quillmap.class, mainarea.class, quillmap.zip, "
                          "quillmap.cab, quillmap.js not beside the page."}));
    QVERIFY(f.prompts.exhausted());
    QVERIFY(f.prompts.unscripted.isEmpty());
}

void TestPropertiesFlow::oneLineFieldsKeepTheFirstLineOfAPaste_data()
{
    QTest::addColumn<QString>("pasted");
    QTest::addColumn<QString>("kept");     // pasted between "<" and ">"
    QTest::newRow("trailing LF") << "mainframe\n" << "<mainframe>";
    QTest::newRow("CR LF and more lines") << "main\r\nframe\r\n" << "<main>";
    QTest::newRow("paragraph separator") << QString("a") + QChar(0x2029) + "b" << "<a>";
    QTest::newRow("break first") << "\nabc" << "<>";
}

void TestPropertiesFlow::oneLineFieldsKeepTheFirstLineOfAPaste()
{
    QFETCH(QString, pasted);
    QFETCH(QString, kept);
    MainFormFixture f;
    TMainForm &m = *f.form;
    TButtonOptions *b = m.ButtonOptions;
    const QList<QLineEdit *> fields = {b->DefImageName,     b->LinkURL,        b->cbTarget->lineEdit(),
                                       b->MouseOverSound,   b->MouseOverImage, b->Field2MouseOverImage,
                                       m.TableForm->Field2MouseOverImage, m.OptionsForm->Browsername};
    for (QLineEdit *field : fields) {
        field->setText("<>");
        field->setCursorPosition(1);
        QGuiApplication::clipboard()->setText(pasted);
        QTest::keySequence(field, QKeySequence::Paste);
        QVERIFY2(field->text() == kept, qPrintable(field->objectName() + ": " + field->text()));
        // The cursor stands after what was kept of the paste.
        QCOMPARE(field->cursorPosition(), int(kept.size()) - 1);
        // Text set from code, such as a chosen file's name, likewise.
        field->setText(pasted);
        QCOMPARE("<" + field->text() + ">", kept);
    }
}

void TestPropertiesFlow::pastedLineBreaksAndQuotesSurviveSaveAndOpen()
{
    MainFormFixture f;
    TMainForm &m = *f.form;
    m.show();
    QVERIFY(QTest::qWaitForWindowExposed(&m));
    QTemporaryDir dir;
    const QString file = dir.filePath("menu.qmf");

    // A frame name pasted with the line end it was copied with.
    QTest::mouseClick(m.ButtonControls.first(), Qt::LeftButton, {}, QPoint(5, 5));
    script<TButtonOptions>(f.prompts, [&](TButtonOptions *d) {
        d->cbTarget->lineEdit()->selectAll();
        QGuiApplication::clipboard()->setText("mainframe\r\n");
        QTest::keySequence(d->cbTarget->lineEdit(), QKeySequence::Paste);
    });
    QTest::mouseClick(m.EditButton, Qt::LeftButton);
    QCOMPARE(m.design().Buttons.first().Target, QString("mainframe"));

    // A Blurb typed into the design surface whose first line ends with a quote.
    m.Blurb->selectAll();
    QTest::keyClicks(m.Blurb, "Say \"hi\"");
    QTest::keyClick(m.Blurb, Qt::Key_Return);
    QTest::keyClicks(m.Blurb, "bye");

    f.prompts.files = {file, file};
    QTest::mouseClick(m.SaveButton, Qt::LeftButton);
    QVERIFY(m.isSaved());
    QTest::mouseClick(m.NewButton, Qt::LeftButton);
    QTest::mouseClick(m.OpenButton, Qt::LeftButton);
    QVERIFY2(f.prompts.messages().isEmpty(), qPrintable(f.prompts.messages().join("; ")));
    QCOMPARE(m.design().FileName, QString("menu.qmf"));
    QCOMPARE(m.design().Buttons.first().Target, QString("mainframe"));
    // The space after the quote keeps the value whole; it does not show.
    QCOMPARE(m.design().Buttons.first().BlurbText, QString("Say \"hi\" \r\nbye"));
    QVERIFY(f.prompts.exhausted());
}

QTEST_MAIN(TestPropertiesFlow)
#include "test_propertiesflow.moc"
