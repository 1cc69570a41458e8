#include "dialogs/tbuttonoptions.h"
#include "dialogs/spinfield.h"
#include "dialogs/ttableform.h"
#include "dialogtesting.h"
#include "editor/tcleanmybutton.h"
#include "editor/areaedit.h"
#include "imageview/tpmultiimage.h"
#include "mainformfixture.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QtTest>

using namespace qm;
using dialogtest::script;
using Kind = ScriptedPrompts::Record::Kind;

namespace {

const QString kFirstUrlMessage =
    "Please save the current file, so that Quillmap can work out all the relative paths in relation to it.";
const QString kSecondUrlMessage = "Now pick the file that the URL will point to...";

TCleanMyButton *selectFirst(TMainForm &m)
{
    TCleanMyButton *b = m.ButtonControls.first();
    m.HighlightButton(b);
    return b;
}

// Pictures in the program folder (the current folder while a test runs).
void writePictures(const qmtest::ProgramFolder &folder)
{
    QVERIFY(qmtest::writePicture(folder.file("pics/Pic.gif"), qmtest::solidImage(20, 10, qRgb(0, 200, 0))));
    QVERIFY(qmtest::writePicture(folder.file("pics/Over.png"), qmtest::solidImage(20, 10, qRgb(200, 0, 0))));
    QVERIFY(qmtest::writePicture(folder.file("pics/photo.jpeg"), qmtest::solidImage(20, 10, qRgb(0, 0, 200)), "JPEG"));
}

QString expand(const QString &text, const qmtest::ProgramFolder &folder)
{
    QString t = text;
    return t.replace("%P", folder.path());
}

int fieldOf(const ButtonData &b, const QString &field)
{
    if (field == "Left") return b.Left;
    if (field == "Top") return b.Top;
    if (field == "Width") return b.Width;
    return b.Height;
}

void setFieldOf(ButtonData &b, const QString &field, int value)
{
    if (field == "Left") b.Left = value;
    else if (field == "Top") b.Top = value;
    else if (field == "Width") b.Width = value;
    else b.Height = value;
}

} // namespace

class TestButtonOptions : public QObject {
    Q_OBJECT
private slots:
    void dialogLayout();
    void enterAndEscape_data();
    void enterAndEscape();
    void tabOrderFollowsTheLayout();
    void spinFieldTypingAndLeaving_data();
    void spinFieldTypingAndLeaving();
    void loadingShowsTheButton();
    void okWritesEveryField();
    void positionAndSizeOnOk_data();
    void positionAndSizeOnOk();
    void imageNamesOnOk_data();
    void imageNamesOnOk();
    void targetOnOk_data();
    void targetOnOk();
    void cancelAfterPickingKeepsOnlyTheFolders();
    void choosersShareOneImageDialog();
    void urlChooserNeedsAProjectFile();
    void groupToggle();
    void textTypedIntoTheWindow_data();
    void textTypedIntoTheWindow();
    void commandsThatOpenTheDialogs();
};

void TestButtonOptions::dialogLayout()
{
    MainFormFixture f;
    TButtonOptions *o = f.form->ButtonOptions;
    QVERIFY(o);
    QCOMPARE(o->parent(), f.form.get());
    QCOMPARE(o->windowTitle(), QString("Button"));
    QVERIFY(o->isHidden());
    QCOMPARE(o->PageControl1->count(), 2);
    QCOMPARE(o->PageControl1->tabText(0), QString("General"));
    QCOMPARE(o->PageControl1->tabText(1), QString("Mouse Over"));

    const QStringList general = dialogtest::captions(o->GeneralPage);
    for (const char *text : {"Position: ", "From Top:", "From Left:", "Size: ", "Width:", "Height:", "Image:",
                             "Choose Image...", "Image\nPreview:", "Make URL Relative Upon Compilation ",
                             "Choose File...", "Click URL:", "Target:"})
        QVERIFY2(general.contains(text), text);
    const QStringList mouseOver = dialogtest::captions(o->MouseOverPage);
    for (const char *text : {"Button changes", "Title and Blurb changes", "Button Changes", "AU Sound:",
                             "Choose Sound...", "New Image:", "Choose Image...", "Title Text:", "Blurb Text:",
                             "Blurb Image:", "Image\nPreview:"})
        QVERIFY2(mouseOver.contains(text), text);
    QCOMPARE(o->TitleBlurbChangesBox->title(), QString("Title and Blurb changes"));

    for (SpinField *spin : {o->Top, o->Left, o->Width, o->Height}) {
        QCOMPARE(spin->minimum(), 10);
        QCOMPARE(spin->maximum(), 1024);
    }
    QVERIFY(o->cbTarget->isEditable());
    QStringList targets;
    for (int i = 0; i < o->cbTarget->count(); ++i)
        targets << o->cbTarget->itemText(i);
    QCOMPARE(targets, QStringList({"_blank", "_top", "_self", "_parent"}));

    // Previews stretch their picture and hold no picture until given one.
    for (TPMultiImage *preview : {o->previewImage, o->PreviewMouseImage, o->PreviewField2MOImage}) {
        QVERIFY(preview->Stretch());
        QCOMPARE(preview->ImageName(), QString("file not found"));
    }
    QCOMPARE(o->OKBtn->text(), QString("OK"));
    QVERIFY(o->OKBtn->isDefault());
    QCOMPARE(o->CancelBtn->text(), QString("Cancel"));

    QCOMPARE(dialogtest::withoutHelpContext(o->GeneralPage, 6), QStringList());
    QCOMPARE(dialogtest::withoutHelpContext(o->MouseOverPage, 14), QStringList());
    for (QString *dir : {&o->LastImageDir, &o->LastMouseOverImageDir, &o->LastBlurbImageDir, &o->LastSoundDir,
                         &o->LastURLDir})
        QVERIFY(dir->isEmpty());
}

void TestButtonOptions::enterAndEscape_data()
{
    QTest::addColumn<QString>("control");
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("result");
    QTest::newRow("Enter in a text field") << "DefImageName" << int(Qt::Key_Return) << int(ModalResult::Ok);
    QTest::newRow("Enter in a spin field") << "Width" << int(Qt::Key_Return) << int(ModalResult::Ok);
    QTest::newRow("Enter in the target list") << "cbTarget" << int(Qt::Key_Return) << int(ModalResult::Ok);
    QTest::newRow("Escape in a text field") << "LinkURL" << int(Qt::Key_Escape) << int(ModalResult::Cancel);
}

void TestButtonOptions::enterAndEscape()
{
    QFETCH(QString, control);
    QFETCH(int, key);
    QFETCH(int, result);
    MainFormFixture f;
    TButtonOptions *o = f.form->ButtonOptions;
    QWidget *target = o->findChild<QWidget *>(control);
    QVERIFY(target);
    QCOMPARE(int(dialogtest::pressInRealDialog(o, target, key)), result);
}

void TestButtonOptions::tabOrderFollowsTheLayout()
{
    MainFormFixture f;
    TButtonOptions *o = f.form->ButtonOptions;
    QCOMPARE(dialogtest::tabStops(o->GeneralPage),
             QStringList({"Top", "Left", "Width", "Height", "DefImageName", "ChooseImageButton", "LinkURL",
                          "BitBtnChooseURL", "CheckURLRelative", "cbTarget"}));
    QCOMPARE(dialogtest::tabStops(o->MouseOverPage),
             QStringList({"ButtonCheck", "TitleBlurbCheck", "MouseOverSound", "BitBtn6", "MouseOverImage", "BitBtn7"}));
    o->TitleBlurbCheck->click();
    QCOMPARE(dialogtest::tabStops(o->MouseOverPage),
             QStringList({"ButtonCheck", "TitleBlurbCheck", "TitleText", "BlurbText", "Field2MouseOverImage",
                          "ChooseImageBtn"}));
    // The pages come before OK and Cancel.
    QStringList dialog = dialogtest::tabStops(o);
    QCOMPARE(dialog.mid(dialog.size() - 2), QStringList({"OKBtn", "CancelBtn"}));
}

void TestButtonOptions::spinFieldTypingAndLeaving_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<int>("read");   // what OK reads while the field still holds the text
    QTest::addColumn<int>("left");   // the value once the field is left
    QTest::newRow("in range") << "77" << 77 << 77;
    QTest::newRow("below the range") << "5" << 10 << 10;
    QTest::newRow("past the range") << "2000" << 1024 << 1024;
    QTest::newRow("emptied") << "" << 10 << 10;
    QTest::newRow("a lone minus") << "-" << 10 << 10;
    QTest::newRow("negative") << "-3" << 10 << 10;
    QTest::newRow("letters are refused") << "abc" << 500 << 500;
}

void TestButtonOptions::spinFieldTypingAndLeaving()
{
    QFETCH(QString, typed);
    QFETCH(int, read);
    QFETCH(int, left);
    SpinField spin(10, 1024);
    spin.setValue(500);
    spin.selectAll();
    if (typed.isEmpty())
        QTest::keyClick(&spin, Qt::Key_Backspace);
    QTest::keyClicks(&spin, typed);
    QCOMPARE(spin.readValue(), read);
    QFocusEvent out(QEvent::FocusOut);
    QCoreApplication::sendEvent(&spin, &out);
    QCOMPARE(spin.value(), left);
    QCOMPARE(spin.text(), QString::number(left));
    // From code the value is clamped.
    spin.setValue(-20);
    QCOMPARE(spin.readValue(), 10);
}

void TestButtonOptions::loadingShowsTheButton()
{
    MainFormFixture f;
    TMainForm &m = *f.form;
    TButtonOptions *o = m.ButtonOptions;
    const QString missingOver = f.folder.file("later/over.gif");
    ButtonData &b = m.design().Buttons[0];
    b.Left = 5;
    b.Top = 20;
    b.Width = 1200;
    b.Height = 40;
    b.TitleText = "Line one\r\nLine two";
    b.BlurbText = "Blurb";
    b.LinkURL = "http://example.org/";
    b.Target = "mainframe";
    b.URLRelative = true;
    b.MouseOverSound = "/no/such.au";
    b.MouseOverImage = missingOver;
    b.MouseOverBlurbImage = f.folder.file("images/mouse.gif");
    m.pushButtonToControl(0);
    TCleanMyButton *button = selectFirst(m);
    const ButtonData before = m.design().Buttons[0];
    // Left over from an earlier use of the dialog.
    o->PageControl1->setCurrentWidget(o->MouseOverPage);
    o->TitleBlurbCheck->click();

    bool ran = false;
    script<TButtonOptions>(f.prompts, [&](TButtonOptions *d) {
        ran = true;
        QCOMPARE(d, o);
        QCOMPARE(d->Left->value(), 10);
        QCOMPARE(d->Top->value(), 20);
        QCOMPARE(d->Width->value(), 1024);
        QCOMPARE(d->Height->value(), 40);
        QCOMPARE(d->DefImageName->text(), m.program().DefaultImage);
        QCOMPARE(d->MouseOverImage->text(), missingOver);
        QCOMPARE(d->LinkURL->text(), QString("http://example.org/"));
        QCOMPARE(d->cbTarget->currentText(), QString("mainframe"));
        QCOMPARE(d->TitleText->toPlainText(), QString("Line one\nLine two"));
        QCOMPARE(d->BlurbText->toPlainText(), QString("Blurb"));
        QCOMPARE(d->MouseOverSound->text(), QString("/no/such.au"));
        QVERIFY(d->CheckURLRelative->isChecked());
        QCOMPARE(d->Field2MouseOverImage->text(), f.folder.file("images/mouse.gif"));
        QVERIFY(d->ButtonCheck->isChecked() && !d->TitleBlurbCheck->isChecked());
        QVERIFY(!d->ButtonChangesBox->isHidden() && d->TitleBlurbChangesBox->isHidden());
        QCOMPARE(d->PageControl1->currentWidget(), d->GeneralPage);
        QVERIFY(d->previewImage->hasPicture() && d->PreviewField2MOImage->hasPicture());
        QVERIFY(!d->PreviewMouseImage->hasPicture());
        QCOMPARE(d->previewImage->ImageName(), m.program().DefaultImage.toUpper());
        // Edits that Cancel throws away.
        d->Left->setValue(300);
        d->LinkURL->setText("http://elsewhere/");
    }, ModalResult::Cancel);
    m.EditButtonClick(m.EditButton);
    QVERIFY(ran);
    QVERIFY(f.prompts.unscripted.isEmpty());
    QCOMPARE(m.design().Buttons[0], before);
    QCOMPARE(button->geometry(), QRect(5, 20, 1200, 40));
    QVERIFY(m.isSaved());

    // The mouse-over preview is loaded when its name changes, not at each
    // showing: a picture that appeared since is not shown until then.
    QVERIFY(qmtest::writePicture(missingOver, qmtest::solidImage(8, 8, qRgb(1, 2, 3))));
    ran = false;
    script<TButtonOptions>(f.prompts, [&](TButtonOptions *d) {
        ran = true;
        QVERIFY(!d->PreviewMouseImage->hasPicture());
        d->MouseOverImage->setText(missingOver.toLower() + "x");
        d->MouseOverImage->setText(missingOver);
        QVERIFY(d->PreviewMouseImage->hasPicture());
    }, ModalResult::Cancel);
    m.EditButtonClick(m.EditButton);
    QVERIFY(ran);
}

void TestButtonOptions::okWritesEveryField()
{
    MainFormFixture f;
    TMainForm &m = *f.form;
    writePictures(f.folder);
    TCleanMyButton *button = selectFirst(m);
    const QString pic = f.folder.file("pics/Pic.gif");
    const QString over = f.folder.file("pics/Over.png");
    const QString blurbPic = f.folder.file("pics/photo.jpeg");

    script<TButtonOptions>(f.prompts, [&](TButtonOptions *d) {
        d->Top->setValue(30);
        d->Left->setValue(40);
        d->Width->setValue(100);
        d->Height->setValue(50);
        d->DefImageName->setText(pic);
        d->LinkURL->setText("http://example.org/menu.html");
        d->cbTarget->setCurrentIndex(0);
        d->CheckURLRelative->setChecked(false);
        d->PageControl1->setCurrentWidget(d->MouseOverPage);
        d->MouseOverSound->setText("/nowhere/ding.au");
        d->MouseOverImage->setText(over);
        d->TitleBlurbCheck->click();
        d->TitleText->setPlainText("New title");
        d->BlurbText->setPlainText("first\nsecond");
        d->Field2MouseOverImage->setText(blurbPic);
    });
    m.EditButtonClick(m.EditButton);

    const ButtonData &b = m.design().Buttons[0];
    QCOMPARE(b.rect(), QRect(40, 30, 100, 50));
    QCOMPARE(b.DefImageName, pic);
    QCOMPARE(b.DefImagePath, pic.toUpper());
    QCOMPARE(b.MouseOverImage, over);
    QCOMPARE(b.MouseOverImagePath, over.toUpper());
    QCOMPARE(b.MouseOverBlurbImage, blurbPic);
    QCOMPARE(b.LinkURL, QString("http://example.org/menu.html"));
    QCOMPARE(b.Target, QString("_blank"));
    QVERIFY(!b.URLRelative);
    // The sound is stored as typed; nobody checks it exists.
    QCOMPARE(b.MouseOverSound, QString("/nowhere/ding.au"));
    QCOMPARE(b.TitleText, QString("New title"));
    QCOMPARE(b.BlurbText, QString("first\r\nsecond"));

    // The controls agree with the model.
    QCOMPARE(button->geometry(), QRect(40, 30, 100, 50));
    QCOMPARE(m.ButtonBevel->geometry(), QRect(38, 28, 104, 54));
    QVERIFY(!m.ButtonBevel->isHidden());
    QVERIFY(button->Stretch());
    QCOMPARE(button->ImageName(), pic.toUpper());
    QCOMPARE(button->Picture().size(), QSize(20, 10));
    QCOMPARE(m.Title->text(), QString("New title"));
    QCOMPARE(m.Blurb->text(), QString("first\r\nsecond"));
    // The button's Blurb picture takes the Blurb's place.
    QVERIFY(!m.BlurbImage->isHidden() && m.Blurb->isHidden());
    QCOMPARE(m.BlurbImage->ImageName(), blurbPic.toUpper());
    QCOMPARE(m.SelectedButton, button);
    QVERIFY(!m.isSaved());
}

void TestButtonOptions::positionAndSizeOnOk_data()
{
    QTest::addColumn<QString>("field");
    QTest::addColumn<int>("stored");
    QTest::addColumn<QString>("typed");   // null: the field is left as loaded
    QTest::addColumn<int>("expected");
    QTest::newRow("left 5 comes back at 10") << "Left" << 5 << QString() << 10;
    QTest::newRow("1,200 wide comes back 1,024 wide") << "Width" << 1200 << QString() << 1024;
    QTest::newRow("top 0 comes back at 10") << "Top" << 0 << QString() << 10;
    QTest::newRow("height in range stays") << "Height" << 300 << QString() << 300;
    QTest::newRow("emptied field reads 10") << "Left" << 150 << QString("") << 10;
    QTest::newRow("lone minus reads 10") << "Height" << 65 << QString("-") << 10;
    QTest::newRow("typed past the range") << "Top" << 150 << QString("5000") << 1024;
    QTest::newRow("typed below the range") << "Width" << 156 << QString("3") << 10;
}

void TestButtonOptions::positionAndSizeOnOk()
{
    QFETCH(QString, field);
    QFETCH(int, stored);
    QFETCH(QString, typed);
    QFETCH(int, expected);
    MainFormFixture f;
    TMainForm &m = *f.form;
    setFieldOf(m.design().Buttons[0], field, stored);
    m.pushButtonToControl(0);
    TCleanMyButton *button = selectFirst(m);
    const ButtonData before = m.design().Buttons[0];
    script<TButtonOptions>(f.prompts, [&](TButtonOptions *d) {
        if (!typed.isNull())
            d->findChild<SpinField *>(field)->lineEdit()->setText(typed);
    });
    m.EditButtonClick(m.EditButton);
    QCOMPARE(fieldOf(m.design().Buttons[0], field), expected);
    for (const QString other : {"Left", "Top", "Width", "Height"})
        if (other != field)
            QCOMPARE(fieldOf(m.design().Buttons[0], other), fieldOf(before, other));
    QCOMPARE(button->geometry(), m.design().Buttons[0].rect());
}

void TestButtonOptions::imageNamesOnOk_data()
{
    QTest::addColumn<QString>("image");   // "default", "mouse-over" or "blurb"
    QTest::addColumn<QString>("typed");   // %P: the program folder, the current folder
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("path");    // compared in upper case
    QTest::newRow("default: existing, mixed case") << "default" << "%P/pics/Pic.gif" << "%P/pics/Pic.gif"
                                                   << "%P/PICS/PIC.GIF";
    QTest::newRow("default: missing file dropped") << "default" << "%P/pics/none.gif" << "" << "";
    QTest::newRow("default: empty name") << "default" << "" << "" << "";
    QTest::newRow("default: relative, found from the current folder") << "default" << "pics/Pic.gif"
                                                                      << "pics/Pic.gif" << "PICS/PIC.GIF";
    QTest::newRow("default: relative in another case") << "default" << "PICS/pic.GIF" << "PICS/pic.GIF"
                                                       << "PICS/PIC.GIF";
    QTest::newRow("default: .jpeg picture") << "default" << "%P/pics/photo.jpeg" << "%P/pics/photo.jpeg"
                                            << "%P/PICS/PHOTO.JPEG";
    QTest::newRow("mouse-over: existing") << "mouse-over" << "%P/pics/Over.png" << "%P/pics/Over.png"
                                          << "%P/PICS/OVER.PNG";
    QTest::newRow("mouse-over: missing file dropped") << "mouse-over" << "%P/pics/Over.gif" << "" << "";
    QTest::newRow("mouse-over: relative") << "mouse-over" << "pics/Over.png" << "pics/Over.png" << "PICS/OVER.PNG";
    QTest::newRow("blurb: existing") << "blurb" << "%P/pics/Over.png" << "%P/pics/Over.png" << "";
    QTest::newRow("blurb: missing file dropped") << "blurb" << "%P/nothing.png" << "" << "";
}

void TestButtonOptions::imageNamesOnOk()
{
    QFETCH(QString, image);
    QFETCH(QString, typed);
    QFETCH(QString, name);
    QFETCH(QString, path);
    MainFormFixture f;
    TMainForm &m = *f.form;
    writePictures(f.folder);
    m.design().Buttons[0].MouseOverBlurbImage = f.folder.file("images/mouse.gif");
    TCleanMyButton *button = selectFirst(m);
    script<TButtonOptions>(f.prompts, [&](TButtonOptions *d) {
        QLineEdit *field = image == "default" ? d->DefImageName
            : image == "mouse-over"           ? d->MouseOverImage
                                              : d->Field2MouseOverImage;
        field->setText(expand(typed, f.folder));
    });
    m.EditButtonClick(m.EditButton);
    const ButtonData &b = m.design().Buttons[0];
    if (image == "default") {
        QCOMPARE(b.DefImageName, expand(name, f.folder));
        QCOMPARE(b.DefImagePath, expand(path, f.folder).toUpper());
        QCOMPARE(button->hasPicture(), !path.isEmpty());
    } else if (image == "mouse-over") {
        QCOMPARE(b.MouseOverImage, expand(name, f.folder));
        QCOMPARE(b.MouseOverImagePath, expand(path, f.folder).toUpper());
    } else {
        QCOMPARE(b.MouseOverBlurbImage, expand(name, f.folder));
        // Without a Blurb picture the Blurb text shows.
        QCOMPARE(m.Blurb->isHidden(), !name.isEmpty());
        QCOMPARE(m.BlurbImage->isHidden(), name.isEmpty());
    }
}

void TestButtonOptions::targetOnOk_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("stored");
    QTest::newRow("empty becomes _self") << "" << "_self";
    QTest::newRow("an item of the list") << "_parent" << "_parent";
    QTest::newRow("a frame name as typed") << "Main Frame" << "Main Frame";
    QTest::newRow("an item in another case") << "_TOP" << "_TOP";
    QTest::newRow("the start of an item") << "_p" << "_p";
    QTest::newRow("an item's start in another case") << "_Bl" << "_Bl";
}

void TestButtonOptions::targetOnOk()
{
    QFETCH(QString, typed);
    QFETCH(QString, stored);
    MainFormFixture f;
    TMainForm &m = *f.form;
    m.design().Buttons[0].Target = "_top";
    selectFirst(m);
    script<TButtonOptions>(f.prompts, [&](TButtonOptions *d) {
        QCOMPARE(d->cbTarget->currentText(), QString("_top"));
        // Typed into the shown dialog and confirmed with Enter, as a user would.
        d->show();
        QVERIFY(QTest::qWaitForWindowActive(d));
        d->cbTarget->setFocus();
        d->cbTarget->lineEdit()->selectAll();
        QTest::keyClick(d->cbTarget->lineEdit(), Qt::Key_Delete);
        QTest::keyClicks(d->cbTarget->lineEdit(), typed);
        QTest::keyClick(d->cbTarget->lineEdit(), Qt::Key_Return);
        QVERIFY(!d->isVisible());
    });
    m.EditButtonClick(m.EditButton);
    QCOMPARE(m.design().Buttons[0].Target, stored);
    // A typed frame name does not become an item of the list.
    QCOMPARE(m.ButtonOptions->cbTarget->count(), 4);
}

void TestButtonOptions::cancelAfterPickingKeepsOnlyTheFolders()
{
    MainFormFixture f;
    TMainForm &m = *f.form;
    QTemporaryDir dir;
    const QString image = dir.filePath("a/Image.gif");
    const QString over = dir.filePath("b/over.gif");
    const QString blurb = dir.filePath("c/blurb.png");
    const QString sound = dir.filePath("d/ding.au");
    for (const QString &p : {image, over, blurb})
        QVERIFY(qmtest::writePicture(p, qmtest::solidImage(12, 6, qRgb(9, 9, 9))));
    selectFirst(m);
    const ButtonData before = m.design().Buttons[0];

    f.prompts.files = {image, over, blurb, sound};
    script<TButtonOptions>(f.prompts, [&](TButtonOptions *d) {
        d->ChooseImageButton->click();
        d->BitBtn7->click();
        d->TitleBlurbCheck->click();
        d->ChooseImageBtn->click();
        d->ButtonCheck->click();
        d->BitBtn6->click();
        QCOMPARE(d->DefImageName->text(), image);
        QCOMPARE(d->previewImage->ImageName(), image.toUpper());
        QVERIFY(d->previewImage->hasPicture());
        QCOMPARE(d->MouseOverImage->text(), over);
        QVERIFY(d->PreviewMouseImage->hasPicture());
        QCOMPARE(d->Field2MouseOverImage->text(), blurb);
        QVERIFY(d->PreviewField2MOImage->hasPicture());
        QCOMPARE(d->MouseOverSound->text(), sound);
    }, ModalResult::Cancel);
    m.EditButtonClick(m.EditButton);
    QVERIFY(f.prompts.exhausted());

    QCOMPARE(m.design().Buttons[0], before);
    QVERIFY(m.isSaved());
    TButtonOptions *o = m.ButtonOptions;
    QCOMPARE(o->LastImageDir, dir.filePath("a/"));
    QCOMPARE(o->LastMouseOverImageDir, dir.filePath("b/"));
    QCOMPARE(o->LastBlurbImageDir, dir.filePath("c/"));
    QCOMPARE(o->LastSoundDir, dir.filePath("d/"));

    // The next opening shows the button again.
    script<TButtonOptions>(f.prompts, [&](TButtonOptions *d) {
        QCOMPARE(d->DefImageName->text(), before.DefImageName);
        QCOMPARE(d->MouseOverSound->text(), before.MouseOverSound);
    }, ModalResult::Cancel);
    m.EditButtonClick(m.EditButton);
    QVERIFY(f.prompts.exhausted());
}

void TestButtonOptions::choosersShareOneImageDialog()
{
    MainFormFixture f;
    TMainForm &m = *f.form;
    QTemporaryDir dir;
    selectFirst(m);
    // A saved design: the first chooser of each dialog opens in its folder.
    m.design().FileDir = dir.filePath("site/");
    m.design().FileName = "menu.qmf";
    QStringList directories;
    QStringList filters;
    auto lastRequest = [&] {
        directories << f.prompts.log.last().file.directory;
        filters << f.prompts.log.last().file.filter;
    };
    f.prompts.files = {dir.filePath("site/one/a.gif"), dir.filePath("site/two/b.gif"), std::nullopt,
                       dir.filePath("three/c.gif"), dir.filePath("site/four/d.gif"), dir.filePath("s/x.au"),
                       std::nullopt};
    script<TButtonOptions>(f.prompts, [&](TButtonOptions *d) {
        d->ChooseImageButton->click();            // first use of all: the project's folder
        lastRequest();
        d->BitBtn7->click();                       // first use: where the other chooser was last
        lastRequest();
        d->ChooseImageBtn->click();                // cancelled: nothing changes
        lastRequest();
        QVERIFY(d->Field2MouseOverImage->text().isEmpty() && d->LastBlurbImageDir.isEmpty());
        d->ChooseImageBtn->click();
        lastRequest();
        d->ChooseImageButton->click();             // its own folder again
        lastRequest();
        d->BitBtn6->click();                       // the sound dialog is a dialog of its own
        lastRequest();
        d->ChooseImageBtn->click();                // its folder lies outside the project's
        lastRequest();
    }, ModalResult::Cancel);
    m.EditButtonClick(m.EditButton);
    QCOMPARE(directories, QStringList({dir.filePath("site/"), dir.filePath("site/one/"), dir.filePath("site/two/"),
                                       dir.filePath("site/two/"), dir.filePath("site/one/"), dir.filePath("site/"),
                                       dir.filePath("site/")}));
    const QString images = "All Pictures (*.GIF *.PNG *.JPG *.JPEG *.JPE *.BMP *.TIF *.TIFF *.PCX *.ICO *.WMF);;"
                           "GIF Images (*.GIF);;JPEG Images (*.JPEG *.JPG);;PNG Files (*.PNG);;All Files (*.*)";
    QCOMPARE(filters, QStringList({images, images, images, images, images, "AU Files (*.AU);;All Files (*.*)", images}));
    QCOMPARE(m.ButtonOptions->LastBlurbImageDir, dir.filePath("three/"));
    QCOMPARE(m.ButtonOptions->LastImageDir, dir.filePath("site/four/"));
}

void TestButtonOptions::urlChooserNeedsAProjectFile()
{
    MainFormFixture f;
    TMainForm &m = *f.form;
    QTemporaryDir dir;
    selectFirst(m);
    const QString target = dir.filePath("site/page.html");
    const QString second = dir.filePath("other/more.html");
    f.prompts.files = {std::nullopt, dir.filePath("menu.qmf"), target, second};
    script<TButtonOptions>(f.prompts, [&](TButtonOptions *d) {
        // Save As cancelled: no URL dialog, nothing changes.
        d->BitBtnChooseURL->click();
        QCOMPARE(f.prompts.messages(), QStringList({kFirstUrlMessage}));
        QCOMPARE(f.prompts.count(Kind::FileDialog), 1);
        QVERIFY(!d->CheckURLRelative->isChecked());
        QCOMPARE(d->LinkURL->text(), QString(MakerHomePage));

        // Saved: the second message, then the URL dialog.
        d->BitBtnChooseURL->click();
        QCOMPARE(f.prompts.messages(), QStringList({kFirstUrlMessage, kFirstUrlMessage, kSecondUrlMessage}));
        QCOMPARE(m.design().FileName, QString("menu.qmf"));
        QVERIFY(QFile::exists(dir.filePath("menu.qmf")));
        QCOMPARE(f.prompts.log.last().file.filter, QString("All Files (*.*)"));
        QVERIFY(d->CheckURLRelative->isChecked());
        QCOMPARE(d->LinkURL->text(), target);
        QCOMPARE(d->LastURLDir, dir.filePath("site/"));

        // With a project file no message; the dialog starts in the last folder.
        d->CheckURLRelative->setChecked(false);
        d->BitBtnChooseURL->click();
        QCOMPARE(f.prompts.messages().size(), 3);
        QCOMPARE(f.prompts.log.last().file.directory, dir.filePath("site/"));
        QVERIFY(d->CheckURLRelative->isChecked());
    });
    m.EditButtonClick(m.EditButton);
    QVERIFY(f.prompts.exhausted());
    QCOMPARE(m.design().Buttons[0].LinkURL, second);
    QVERIFY(m.design().Buttons[0].URLRelative);
}

void TestButtonOptions::groupToggle()
{
    MainFormFixture f;
    TButtonOptions *o = f.form->ButtonOptions;
    QVERIFY(o->ButtonCheck->isChecked());
    QVERIFY(!o->ButtonChangesBox->isHidden() && o->TitleBlurbChangesBox->isHidden());

    o->TitleBlurbCheck->click();
    QVERIFY(!o->ButtonCheck->isChecked());
    QVERIFY(o->ButtonChangesBox->isHidden() && !o->TitleBlurbChangesBox->isHidden());

    // Checked from code, a radio button swaps the groups as a click does.
    o->ButtonCheck->setChecked(true);
    QVERIFY(!o->TitleBlurbCheck->isChecked());
    QVERIFY(!o->ButtonChangesBox->isHidden() && o->TitleBlurbChangesBox->isHidden());

    // Both groups take the same place on the page.
    o->show();
    const QRect buttonBox = o->ButtonChangesBox->geometry();
    o->TitleBlurbCheck->setChecked(true);
    QCOMPARE(o->TitleBlurbChangesBox->geometry().topLeft(), buttonBox.topLeft());
    o->hide();
}

void TestButtonOptions::textTypedIntoTheWindow_data()
{
    QTest::addColumn<int>("result");
    QTest::addColumn<QString>("shown");    // the Title area after the dialog
    QTest::addColumn<QString>("stored");   // the button's Title once the selection moves on
    QTest::newRow("OK replaces the typed text") << int(ModalResult::Ok) << "From the dialog" << "From the dialog";
    QTest::newRow("Cancel keeps it") << int(ModalResult::Cancel) << "Typed" << "Typed";
}

void TestButtonOptions::textTypedIntoTheWindow()
{
    QFETCH(int, result);
    QFETCH(QString, shown);
    QFETCH(QString, stored);
    MainFormFixture f;
    TMainForm &m = *f.form;
    selectFirst(m);
    m.Title->selectAll();
    QTest::keyClicks(m.Title, "Typed");
    script<TButtonOptions>(f.prompts, [&](TButtonOptions *d) {
        // Not yet in the button's fields.
        QCOMPARE(d->TitleText->toPlainText(), QString("type button title here"));
        d->TitleText->setPlainText("From the dialog");
    }, ModalResult(result));
    m.EditButtonClick(m.EditButton);
    QCOMPARE(m.Title->text(), shown);
    m.HighlightTable();
    QCOMPARE(m.design().Buttons[0].TitleText, stored);
}

void TestButtonOptions::commandsThatOpenTheDialogs()
{
    MainFormFixture f;
    TMainForm &m = *f.form;
    QStringList opened;
    auto expectButton = [&] {
        script<TButtonOptions>(f.prompts, [&](TButtonOptions *) { opened << "button"; }, ModalResult::Cancel);
    };
    auto expectBackground = [&] {
        script<TTableForm>(f.prompts, [&](TTableForm *) {
            opened << (m.SelectedButton ? "background with a button selected" : "background");
        }, ModalResult::Cancel);
    };

    // With the background selected, "Edit Button" asks nothing.
    m.EditButtonClick(m.EditButton);
    QCOMPARE(f.prompts.count(Kind::Dialog), 0);

    selectFirst(m);
    expectButton();
    m.EditButton->click();
    expectButton();
    m.SetURL1->trigger();
    expectButton();
    m.EditField1->trigger();
    expectBackground();
    m.BackgroundButton->click();
    QVERIFY(m.SelectedButton == nullptr);
    expectBackground();
    m.EditField1->trigger();
    expectBackground();
    m.SetDimensions1->trigger();

    // A button read from a project file opens its properties on a double click.
    TCleanMyButton *b = m.ButtonControls.first();
    b->EditOnDoubleClick = true;
    m.show();
    QVERIFY(QTest::qWaitForWindowExposed(&m));
    expectButton();
    // A double click: the first press selects the button.
    QTest::mouseClick(b, Qt::LeftButton, {}, QPoint(10, 10));
    QTest::mouseDClick(b, Qt::LeftButton, {}, QPoint(10, 10));

    QCOMPARE(opened, QStringList({"button", "button", "button", "background", "background", "background", "button"}));
    QVERIFY(f.prompts.unscripted.isEmpty());
    QVERIFY(f.prompts.exhausted());
}

QTEST_MAIN(TestButtonOptions)
#include "test_buttonoptions.moc"
