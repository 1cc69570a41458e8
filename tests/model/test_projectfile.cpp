#include "model/buttontransfer.h"
#include "model/projectfile.h"
#include "model/recentfiles.h"
#include "platform/desktoprecent.h"
#include "model/textlimits.h"
#include "testsupport.h"

#include <QElapsedTimer>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

#include <csignal>
#include <sys/resource.h>
#include <sys/stat.h>

using namespace qm;

namespace {

// The program the designs are made with.
const ProgramSetup program = programSetup(QStringLiteral("/opt/quillmap"));

Design freshDesign()
{
    Design d;
    resetDesign(d);
    d.FileDir = "/home/ann/web/";
    d.FileName = "menu.qmf";
    d.FileDirUpper = d.FileDir.toUpper();
    d.FileNameUpper = d.FileName.toUpper();
    return d;
}

QByteArray lines(const QStringList &l)
{
    QByteArray out;
    for (const QString &s : l)
        out += s.toUtf8() + "\r\n";
    return out;
}

// A file of the fresh design with one button, as quoted lines.
QStringList freshLines()
{
    return {"\"Quillmap Version:\"", "\"v1.0\"", "\"Globals:\"", "\"8\"", "\"46\"", "\"41\"", "\"372\"",
            "\"56\"", "\"46\"", "\"73\"", "\"372\"", "\"0\"", "\"16777215\"", "\"24\"", "\"Times Roman\"",
            "\"Bold\"", "\"14\"", "\"Times Roman\"", "\"Normal\"", "\"true\"", "\"Background:\"",
            "\"type background title here\"", "\"type background blurb here\"", "\"\"", "\"true\"",
            "\"Button:\"", "\"150\"", "\"150\"", "\"65\"", "\"156\"", "\"/opt/quillmap/images/default.gif\"",
            "\"/opt/quillmap/images/mouse.gif\"", "\"type button title here\"", "\"type button blurb here\"",
            "\"\"", "\"" + QString::fromLatin1(MakerHomePage) + "\"", "\"false\"",
            "\"/opt/quillmap/sound/click.au\"", "\"_self\""};
}

// What a file keeps of a one-line value: the text up to its first CR or LF.
QString upToBreak(const QString &text)
{
    static const QRegularExpression lineBreak("[\r\n]");
    return text.left(text.indexOf(lineBreak));
}

// What a file keeps of a Blurb: CR LF breaks, and a space after a double
// quote that ends any line but the last.
QString asStoredBlurb(QString text)
{
    static const QRegularExpression lineBreak("\r\n|\r|\n");
    static const QRegularExpression quoteAtLineEnd("\"(?=\r\n)");
    text.replace(lineBreak, "\r\n");
    return text.replace(quoteAtLineEnd, "\" ");
}

// The one-line texts of a design (Titles included), then its Blurbs.
QPair<QList<QString *>, QList<QString *>> texts(Design &d)
{
    QList<QString *> lines{&d.TitleFont, &d.TitleStyle, &d.BlurbFont, &d.BlurbStyle, &d.BgTitleText, &d.BlurbImageName};
    QList<QString *> blurbs{&d.BgBlurbText};
    for (ButtonData &b : d.Buttons) {
        lines << &b.DefImageName << &b.MouseOverImage << &b.TitleText << &b.MouseOverBlurbImage << &b.LinkURL
              << &b.MouseOverSound << &b.Target;
        blurbs << &b.BlurbText;
    }
    return {lines, blurbs};
}

QStringList textsOf(Design d)
{
    QStringList out;
    for (const QList<QString *> &list : {texts(d).first, texts(d).second})
        for (const QString *t : list)
            out << *t;
    return out;
}

} // namespace

class TestProjectFile : public QObject {
    Q_OBJECT
private slots:
    void quotes();
    void freshDesignLayout();
    void roundTripKeepsEveryStoredValue();
    void titlesAreStoredAsTheirFirstLine();
    void windows1252FileOpensWithItsAccents();
    void versionLine_data();
    void versionLine();
    void corruptFiles_data();
    void corruptFiles();
    void recordWithoutUrlRelativeLine();
    void blurbsReadBack();
    void fileWithoutButtons();
    void randomAndMutatedFilesNeverCrash();
    void failedWritesKeepTheOldFile();
    void randomDesignsReadBackAsStored();
    void readBackCheckNamesTheField_data();
    void readBackCheckNamesTheField();
    void buttonsOnTheClipboard();
    void recentProjects();
};

void TestProjectFile::quotes()
{
    QCOMPARE(Quotes("a \"b\""), QString("\"a \"b\"\""));
    QCOMPARE(RemoveQuotes("\"abc\""), QString("abc"));
    QCOMPARE(RemoveQuotes("xabcy"), QString("abc"));
    QCOMPARE(RemoveQuotes("\""), QString());
    QCOMPARE(RemoveQuotes(""), QString());
}

void TestProjectFile::freshDesignLayout()
{
    Design d = freshDesign();
    d.Buttons.append(d.newButton(program, 150, 150));
    FixedWidthLineBreaker breaker;
    QCOMPARE(QString::fromUtf8(writeProject(d, breaker)).split("\r\n"),
             QString::fromUtf8(lines(freshLines())).split("\r\n"));
}

void TestProjectFile::roundTripKeepsEveryStoredValue()
{
    Design d = freshDesign();
    d.TitleRect = QRect(-3, 7, 200, 30);
    d.BlurbRect = QRect(12, 60, 300, 90);
    d.BackgroundColor = 0x123456;
    d.TextColor = 0xABCDEF;
    d.TitleFontSize = 30;
    d.TitleFont = "Courier";
    d.TitleStyle = "Bold Italic";
    d.BlurbFontSize = 9;
    d.BlurbFont = "Helvetica";
    d.BlurbStyle = "Italic";
    d.ShowTitleAndBlurb = false;
    d.StretchBlurbImages = false;
    d.BgTitleText = "Café “Zürich” — 東京 \"quoted\"";
    d.BgBlurbText = "Line one\r\n\r\nLine three ends here";
    d.BlurbImageName = "/home/ann/pics/Blurb Pic.png";
    ButtonData a = d.newButton(program, 10, 20);
    a.TitleText = "Say \"hello\"";
    a.BlurbText = "ends with a break\r\n";
    a.URLRelative = true;
    a.LinkURL = "/home/ann/web/next.htm";
    a.DefImageName = "";
    a.MouseOverImage = "";
    a.MouseOverBlurbImage = "/home/ann/pics/Über.gif";
    a.Target = "content";
    ButtonData b = d.newButton(program, -5, 400);
    b.Width = 10;
    b.Height = 2000;
    b.TitleText = "Ελληνικά";
    b.BlurbText = "two\r\nlines";
    b.MouseOverSound = "";
    b.Target = "";
    d.Buttons << a << b;
    d.renumber();

    FixedWidthLineBreaker breaker;
    const QByteArray bytes = writeProject(d, breaker);
    const std::optional<Design> r = readProject(bytes, freshDesign());
    QVERIFY(r);
    QCOMPARE(r->TitleRect, d.TitleRect);
    QCOMPARE(r->BlurbRect, d.BlurbRect);
    QCOMPARE(r->BackgroundColor, d.BackgroundColor);
    QCOMPARE(r->TextColor, d.TextColor);
    QCOMPARE(r->TitleFontSize, 30);
    QCOMPARE(r->TitleFont, QString("Courier"));
    QCOMPARE(r->TitleStyle, QString("Bold Italic"));
    QCOMPARE(r->TitleAreaStyle, (AreaStyle{true, true}));
    QCOMPARE(r->BlurbFontSize, 9);
    QCOMPARE(r->BlurbFont, QString("Helvetica"));
    QCOMPARE(r->BlurbStyle, QString("Italic"));
    QCOMPARE(r->BlurbAreaStyle, (AreaStyle{false, true}));
    QVERIFY(!r->ShowTitleAndBlurb);
    QVERIFY(!r->StretchBlurbImages);
    QCOMPARE(r->BgTitleText, d.BgTitleText);
    QCOMPARE(r->BgBlurbText, d.BgBlurbText);
    QCOMPARE(r->BlurbImageName, d.BlurbImageName);
    QCOMPARE(r->BlurbImagePath, d.BlurbImageName.toUpper());
    QCOMPARE(r->Buttons.size(), 2);
    for (int i = 0; i < 2; ++i) {
        ButtonData expected = d.Buttons.at(i);
        // The loaded names are derived from the entered ones.
        expected.DefImagePath = expected.DefImageName.toUpper();
        expected.MouseOverImagePath = expected.MouseOverImage.toUpper();
        QCOMPARE(r->Buttons.at(i), expected);
    }
    QCOMPARE(r->FileVersion, QString("v1.0"));
    // Written again, the file is the same byte for byte.
    QCOMPARE(writeProject(*r, breaker), bytes);
    // UTF-8 on disk.
    QVERIFY(bytes.contains("東京"));
}

void TestProjectFile::titlesAreStoredAsTheirFirstLine()
{
    Design d = freshDesign();
    FixedWidthLineBreaker breaker;
    breaker.width = 12;
    d.BgTitleText = "A title that wraps";
    ButtonData b = d.newButton(program, 0, 0);
    b.TitleText = "First\r\nSecond";
    d.Buttons << b;
    const std::optional<Design> r = readProject(writeProject(d, breaker), freshDesign());
    QVERIFY(r);
    QCOMPARE(r->BgTitleText, QString("A title that"));
    QCOMPARE(r->Buttons.first().TitleText, QString("First"));
}

void TestProjectFile::windows1252FileOpensWithItsAccents()
{
    QStringList l = freshLines();
    l[21] = "\"TITLE\"";
    QByteArray bytes = lines(l);
    // Windows-1252 bytes: not valid UTF-8.
    bytes.replace(QByteArray("TITLE"), QByteArray("Caf\xe9 cr\xe8me \x80"));
    const std::optional<Design> r = readProject(bytes, freshDesign());
    QVERIFY(r);
    QCOMPARE(r->BgTitleText, QString::fromUtf8("Café crème €"));
}

void TestProjectFile::versionLine_data()
{
    QTest::addColumn<QString>("version");
    QTest::addColumn<bool>("accepted");
    QTest::newRow("v1.0") << "\"v1.0\"" << true;
    QTest::newRow("v1.5") << "\"v1.5\"" << true;
    QTest::newRow("v11.0") << "\"v11.0\"" << true;
    QTest::newRow("v2.0") << "\"v2.0\"" << false;
    QTest::newRow("empty") << "" << false;
}

void TestProjectFile::versionLine()
{
    QFETCH(QString, version);
    QFETCH(bool, accepted);
    QStringList l = freshLines();
    l[1] = version;
    QCOMPARE(bool(readProject(lines(l), freshDesign())), accepted);
}

void TestProjectFile::corruptFiles_data()
{
    QTest::addColumn<QByteArray>("bytes");
    const QStringList good = freshLines();
    auto with = [&](int index, const QString &value) {
        QStringList l = good;
        l[index] = value;
        return lines(l);
    };
    QTest::newRow("empty file") << QByteArray();
    QTest::newRow("binary file") << QByteArray("\x89PNG\r\n\x1a\n\0\0\0\rIHDR\xff\xfe", 18);
    QTest::newRow("marker case") << with(0, "\"quillmap version:\"");
    QTest::newRow("globals marker") << with(2, "\"Global:\"");
    QTest::newRow("background marker") << with(20, "\"Background\"");
    QTest::newRow("button marker") << with(25, "\"Buttons:\"");
    QTest::newRow("number holds text") << with(3, "\"eight\"");
    QTest::newRow("number empty") << with(12, "\"\"");
    QTest::newRow("button number holds text") << with(27, "\"1x\"");
    QTest::newRow("trailing empty line") << lines(good) + "\r\n";
    QTest::newRow("ends inside the globals") << lines(good.mid(0, 10));
    QTest::newRow("ends inside a button") << lines(good.mid(0, 30));
    QStringList open = good.mid(0, 22);
    open << "\"a blurb that never ends" << "more text";
    QTest::newRow("ends inside a blurb") << lines(open);
    QStringList extra = good;
    extra << "\"Button:\"" << "\"1\"";
    QTest::newRow("half a record") << lines(extra);
}

void TestProjectFile::corruptFiles()
{
    QFETCH(QByteArray, bytes);
    QVERIFY(!readProject(bytes, freshDesign()));
}

void TestProjectFile::recordWithoutUrlRelativeLine()
{
    QStringList l = freshLines();
    l.removeAt(36); // the "false" of URLRelative
    std::optional<Design> r = readProject(lines(l), freshDesign());
    QVERIFY(r);
    QVERIFY(!r->Buttons.first().URLRelative);
    QCOMPARE(r->Buttons.first().MouseOverSound, QString("/opt/quillmap/sound/click.au"));
    QCOMPARE(r->Buttons.first().Target, QString("_self"));

    // Without that line a sound named exactly "true" is taken for it.
    l[36] = "\"true\"";
    QVERIFY(!readProject(lines(l), freshDesign()));

    l = freshLines();
    l[36] = "\"true\"";
    r = readProject(lines(l), freshDesign());
    QVERIFY(r && r->Buttons.first().URLRelative);
}

void TestProjectFile::blurbsReadBack()
{
    FixedWidthLineBreaker breaker;
    Design d = freshDesign();
    ButtonData b = d.newButton(program, 0, 0);
    d.Buttons << b;

    // A blurb whose first line is empty is read back whole.
    d.BgBlurbText = "\r\nafter an empty line";
    d.Buttons[0].BlurbText = "\r\n\r\ntwo empty lines first\r\n";
    QByteArray bytes = writeProject(d, breaker);
    QVERIFY(bytes.contains("\r\n\"\r\nafter an empty line\"\r\n"));
    std::optional<Design> r = readProject(bytes, freshDesign());
    QVERIFY(r);
    QCOMPARE(r->BgBlurbText, d.BgBlurbText);
    QCOMPARE(r->Buttons.first().BlurbText, d.Buttons.first().BlurbText);

    // A line inside a blurb that ends with a double quote ends the value
    // there; the writer puts a space after such a quote, so it reads back.
    QStringList cut = freshLines();
    cut[22] = "\"He said \"hi\"";
    cut.insert(23, "and left\"");
    QVERIFY(!readProject(lines(cut), freshDesign()));
    d.BgBlurbText = "He said \"hi\"\r\nand left";
    r = readProject(writeProject(d, breaker), freshDesign());
    QVERIFY(r);
    QCOMPARE(r->BgBlurbText, QString("He said \"hi\" \r\nand left"));

    // A quote at the very end stays.
    d.BgBlurbText = "first\r\nsecond \"quoted\"";
    r = readProject(writeProject(d, breaker), freshDesign());
    QVERIFY(r);
    QCOMPARE(r->BgBlurbText, d.BgBlurbText);
}

void TestProjectFile::fileWithoutButtons()
{
    const QStringList l = freshLines().mid(0, 25);
    std::optional<Design> r = readProject(lines(l), freshDesign());
    QVERIFY(r);
    QVERIFY(r->Buttons.isEmpty());
    // Without its final line end, the last line is read all the same.
    QByteArray bytes = lines(l);
    bytes.chop(2);
    r = readProject(bytes, freshDesign());
    QVERIFY(r && r->StretchBlurbImages);
}

void TestProjectFile::randomAndMutatedFilesNeverCrash()
{
    // Bounded fuzzing: random bytes, and valid files with lines dropped,
    // doubled, cut or replaced, bytes flipped and the end cut off. Every
    // input must end in a complete design or in the corrupt-file result.
    QRandomGenerator rng(20261208);
    Design d = freshDesign();
    for (int i = 0; i < 3; ++i) {
        ButtonData b = d.newButton(program, i * 10, i * 20);
        b.BlurbText = QString("blurb %1\r\nsecond line").arg(i);
        d.Buttons << b;
    }
    FixedWidthLineBreaker breaker;
    const QByteArray seed = writeProject(d, breaker);
    const QList<QByteArray> seedLines = seed.split('\n');
    const char *const fragments[] = {"\"", "\"\"", "\"true\"", "\"Button:\"", "\"-2147483648\"",
                                     "\"99999999999\"", "", "\r", "\"1.\"", "\xff\xfe"};

    int inputs = 0, accepted = 0;
    for (int round = 0; round < 20000; ++round) {
        QByteArray input;
        switch (rng.bounded(6)) {
        case 0: {
            input.resize(rng.bounded(600));
            for (char &c : input)
                c = char(rng.bounded(256));
            break;
        }
        case 1: {
            input = seed;
            for (int k = rng.bounded(1, 8); k > 0; --k)
                input[rng.bounded(input.size())] = char(rng.bounded(256));
            break;
        }
        case 2:
            input = seed.left(rng.bounded(seed.size()));
            break;
        default: {
            QList<QByteArray> l = seedLines;
            for (int k = rng.bounded(1, 4); k > 0; --k) {
                const int at = rng.bounded(l.size());
                switch (rng.bounded(4)) {
                case 0: l.removeAt(at); break;
                case 1: l.insert(at, l.at(at)); break;
                case 2: l[at] = QByteArray(fragments[rng.bounded(int(std::size(fragments)))]) + "\r"; break;
                default: l[at] = l.at(at).left(rng.bounded(l.at(at).size() + 1)); break;
                }
            }
            input = l.join('\n');
            break;
        }
        }
        ++inputs;
        const std::optional<Design> r = readProject(input, freshDesign());
        if (!r)
            continue;
        ++accepted;
        // A design that was read is whole: every button numbered in order,
        // loaded names derived from the entered ones, the file's names kept.
        for (int i = 0; i < r->Buttons.size(); ++i) {
            QCOMPARE(r->Buttons.at(i).Tag, i);
            QCOMPARE(r->Buttons.at(i).DefImagePath, r->Buttons.at(i).DefImageName.toUpper());
        }
        QCOMPARE(r->FileName, QString("menu.qmf"));
    }
    qInfo("%d inputs read, %d accepted as designs", inputs, accepted);
    QCOMPARE(inputs, 20000);
    QVERIFY(accepted > 0);
    QVERIFY(accepted < inputs);
}

void TestProjectFile::failedWritesKeepTheOldFile()
{
    QTemporaryDir dir;
    const QString file = dir.filePath("menu.qmf");
    QVERIFY(writeFileAtomically(file, "old content", nullptr));
    QCOMPARE(qmtest::readBytes(file), QByteArray("old content"));
    QVERIFY(writeFileAtomically(file, "new content", nullptr));
    QCOMPARE(qmtest::readBytes(file), QByteArray("new content"));

    QString reason;
    // A read-only file is not replaced.
    QVERIFY(QFile::setPermissions(file, QFileDevice::ReadOwner | QFileDevice::ReadGroup));
    QVERIFY(!writeFileAtomically(file, "replaced", &reason));
    QVERIFY(!reason.isEmpty());
    QCOMPARE(qmtest::readBytes(file), QByteArray("new content"));
    QVERIFY(QFile::setPermissions(file, QFileDevice::ReadOwner | QFileDevice::WriteOwner));

    // A read-only folder takes no new file.
    QVERIFY(QDir(dir.path()).mkdir("locked"));
    const QString locked = dir.filePath("locked");
    QVERIFY(QFile::setPermissions(locked, QFileDevice::ReadOwner | QFileDevice::ExeOwner));
    reason.clear();
    QVERIFY(!writeFileAtomically(locked + "/menu.qmf", "x", &reason));
    QVERIFY(!reason.isEmpty());
    QVERIFY(!QFile::exists(locked + "/menu.qmf"));
    QFile::setPermissions(locked, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);

    // A missing folder.
    QVERIFY(!writeFileAtomically(dir.filePath("no/such/menu.qmf"), "x", &reason));

    // A full disk: the file size limit makes the write fail half way.
    struct rlimit old;
    QCOMPARE(getrlimit(RLIMIT_FSIZE, &old), 0);
    auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    struct rlimit small = old;
    small.rlim_cur = 4096;
    QCOMPARE(setrlimit(RLIMIT_FSIZE, &small), 0);
    const bool written = writeFileAtomically(file, QByteArray(100000, 'x'), &reason);
    setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, oldHandler);
    QVERIFY(!written);
    QCOMPARE(qmtest::readBytes(file), QByteArray("new content"));
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList({"menu.qmf"}));
}

void TestProjectFile::randomDesignsReadBackAsStored()
{
    // Texts mixing quotes, every form of line break, empty lines, blanks at
    // both ends, tabs, text outside ASCII and very long lines.
    const QStringList pieces = {"\"", "\"\"", "\r", "\n", "\r\n", "\r\n\r\n", " ", "\t", "Word", "Say \"hi\"",
                                "café", "東京", "😀", QString(QChar(0x2028)), QString(QChar(0xFEFF)), "--> <!--"};
    QRandomGenerator rng(16);
    auto text = [&] {
        QString t;
        for (int k = int(rng.bounded(7)); k > 0; --k)
            t += rng.bounded(40) ? pieces.at(rng.bounded(int(pieces.size()))) : QString(int(rng.bounded(200, 1500)), 'x');
        return t;
    };
    auto number = [&] { return int(rng.generate()); };
    const FixedWidthLineBreaker breaker;
    QElapsedTimer clock;
    clock.start();
    const int designs = 2000;
    int refused = 0;
    for (int round = 0; round < designs; ++round) {
        Design d = freshDesign();
        d.TitleRect = QRect(number() % 5000, number() % 5000, number() % 5000, number() % 5000);
        d.BackgroundColor = TColor(rng.generate());
        d.BlurbFontSize = number();
        d.ShowTitleAndBlurb = rng.bounded(2);
        for (int i = int(rng.bounded(4)); i > 0; --i) {
            d.Buttons << d.newButton(program, number(), number());
            d.Buttons.last().URLRelative = rng.bounded(2);
        }
        for (QString *t : texts(d).first + texts(d).second)
            *t = text();
        // Now and then a Title or Blurb just at, or just past, what Open takes.
        if (round % 8 == 0) {
            const bool title = rng.bounded(2);
            const QList<QString *> which = title ? texts(d).first : texts(d).second;
            *which.at(rng.bounded(int(which.size()))) =
                QString((title ? MaxTitleChars : MaxBlurbChars) + int(rng.bounded(-1, 2)), 'x');
        }

        // Save's check lets a design through exactly when Open reads it...
        const QList<StoredValue> values = storedValues(d, breaker);
        const QByteArray bytes = projectBytes(values);
        const std::optional<QString> unread = fieldNotReadBack(bytes, values, freshDesign());
        const std::optional<Design> r = readProject(bytes, freshDesign());
        const bool opens = r && overlongText(*r).isEmpty();
        QVERIFY2(!unread == opens, qPrintable(QString("round %1: %2").arg(round).arg(unread.value_or("saved"))));
        if (!opens) {
            QVERIFY2(unread->contains(" text of "), qPrintable(*unread));
            ++refused;
            continue;
        }
        // ...and Open gives it back as stored.
        Design expected = d;
        for (QString *t : texts(expected).first)
            *t = upToBreak(*t);
        for (QString *t : texts(expected).second)
            *t = asStoredBlurb(*t);
        QCOMPARE(textsOf(*r), textsOf(expected));
        QCOMPARE(storedValues(*r, breaker), values);
    }
    qInfo("%d random designs saved, read back and compared in %lld ms, %d refused as too long", designs,
          clock.elapsed(), refused);
    QVERIFY(refused > 0);
}

void TestProjectFile::readBackCheckNamesTheField_data()
{
    // What the file holds for the field: what earlier versions wrote, or
    // text that cannot be encoded.
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("written");
    QTest::newRow("line break in a one-line value") << "Target of button 2" << "mainframe\r\n";
    QTest::newRow("quote ending a Blurb line") << "background's Blurb Text" << "Say \"hi\"\r\nbye";
    QTest::newRow("broken surrogate") << "Blurb Text of button 1" << QString("ok ") + QChar(0xD800);
    QTest::newRow("unknown version") << "file version" << "v2.0";
}

void TestProjectFile::readBackCheckNamesTheField()
{
    QFETCH(QString, field);
    QFETCH(QString, written);
    Design d = freshDesign();
    d.Buttons << d.newButton(program, 1, 2) << d.newButton(program, 3, 4);
    QList<StoredValue> values = storedValues(d, FixedWidthLineBreaker());
    QVERIFY(!fieldNotReadBack(projectBytes(values), values, freshDesign()));
    const auto at = std::find_if(values.begin(), values.end(), [&](const StoredValue &v) { return v.field == field; });
    QVERIFY(at != values.end());
    at->text = written;
    QCOMPARE(fieldNotReadBack(projectBytes(values), values, freshDesign()), std::optional<QString>(field));
}

void TestProjectFile::buttonsOnTheClipboard()
{
    qm::ButtonData b;
    b.setRect(QRect(3, 4, 50, 60));
    b.TitleText = "Café \"Ü\" <b>";
    b.BlurbText = "eins\r\nzwei \"\r\n";
    b.DefImageName = "pics/a b.png";
    b.DefImagePath = "PICS/A B.PNG";
    b.MouseOverImage = b.MouseOverImagePath = "/x/over.gif";
    b.MouseOverBlurbImage = "blurb.gif";
    b.MouseOverSound = "ding.au";
    b.LinkURL = "mailto:a@b.c";
    b.Target = "_blank";
    b.URLRelative = true;
    QCOMPARE(qm::buttonsFromBytes(qm::buttonsToBytes({b, b})), (QList<qm::ButtonData>{b, [&] {
                 qm::ButtonData second = b;
                 second.Tag = 1;
                 return second;
             }()}));

    // What another program put there is held to what a project may hold.
    const auto one = [](const QByteArray &button) {
        return qm::buttonsFromBytes(R"({"format":"quillmap-buttons","version":1,"buttons":[)" + button + "]}");
    };
    const std::optional<QList<qm::ButtonData>> odd = one(
        R"({"left":-5,"top":99999999,"width":0,"title":"one\ntwo","link":"a\rb","blurb":")"
        + QByteArray(qm::MaxBlurbChars + 10, 'x') + R"("})");
    QVERIFY(odd);
    QCOMPARE(odd->first().rect(), QRect(0, 32767, 1, 1));
    QCOMPARE(odd->first().TitleText, QString("one"));
    QCOMPARE(odd->first().LinkURL, QString("a"));
    QCOMPARE(odd->first().BlurbText.size(), qm::MaxBlurbChars);
    for (const QByteArray &bad : {QByteArray("<applet>"), QByteArray(R"({"format":"other","version":1,"buttons":[{}]})"),
                                  QByteArray(R"({"format":"quillmap-buttons","version":2,"buttons":[{}]})")})
        QVERIFY(!qm::buttonsFromBytes(bad));
    QVERIFY(!one("7"));
    QVERIFY(!one(""));
    QByteArray many = "{}";
    for (int i = 0; i < qm::MaxPastedButtons; ++i)
        many += ",{}";
    QVERIFY(!one(many));
}

void TestProjectFile::recentProjects()
{
    QTemporaryDir dir;
    qm::RecentFiles recent(dir.filePath("state/recent"));
    QVERIFY(recent.list().isEmpty());
    for (int i = 0; i < 12; ++i)
        QVERIFY(recent.add(dir.filePath(QString("p%1.qmf").arg(i))));
    // Again at the front, once; the newest ten; no line break splits a name.
    QVERIFY(recent.add(dir.filePath("p5.qmf")));
    QVERIFY(recent.add(dir.filePath("two\nlines.qmf")));
    const QStringList list = recent.list();
    QCOMPARE(list.size(), qm::RecentFiles::Max);
    QCOMPARE(list.first(), dir.filePath("p5.qmf"));
    QCOMPARE(list.at(1), dir.filePath("p11.qmf"));
    QCOMPARE(list.count(dir.filePath("p5.qmf")), 1);
    QVERIFY(!list.contains(dir.filePath("p1.qmf")));
    // A folder or a pipe where the list should be is no list.
    QVERIFY(QDir().mkpath(dir.filePath("folder")));
    QVERIFY(qm::RecentFiles(dir.filePath("folder")).list().isEmpty());
    QVERIFY(::mkfifo(QFile::encodeName(dir.filePath("fifo")).constData(), 0600) == 0);
    QVERIFY(qm::RecentFiles(dir.filePath("fifo")).list().isEmpty());

    // The desktop's list: made when there is none; another program's entry
    // kept to the character; ours entered once and counted; a broken list,
    // or one without the usual prefixes, left alone.
    const QDateTime now = QDateTime::fromSecsSinceEpoch(1800000000, Qt::UTC);
    const QString file = "/home/d/Menü 1.qmf";
    const QByteArray fresh = qm::desktopRecentWith({}, file, now).value();
    QVERIFY(fresh.contains(R"(href="file:///home/d/Men%C3%BC%201.qmf")"));
    const QByteArray foreign = R"(<?xml version="1.0" encoding="UTF-8"?>
<xbel version="1.0" xmlns:bookmark="http://www.freedesktop.org/standards/desktop-bookmarks"
 xmlns:mime="http://www.freedesktop.org/standards/shared-mime-info">
  <bookmark href="file:///x/a.txt" added="2020-01-01T00:00:00Z"><info><metadata owner="x"><bookmark:applications>
    <bookmark:application name="gedit" exec="gedit" count="4"/></bookmark:applications></metadata></info></bookmark>
</xbel>)";
    const QByteArray once = qm::desktopRecentWith(foreign, file, now).value();
    const QByteArray twice = qm::desktopRecentWith(once, file, now).value();
    for (const QByteArray &list : {fresh, once, twice}) {
        QVERIFY(list.startsWith(foreign.left(foreign.indexOf("</xbel>"))) || list == fresh);
        QCOMPARE(list.count("href=\"file:///home/d/Men%C3%BC%201.qmf\""), 1);
    }
    QVERIFY(twice.contains(R"(name="Quillmap" exec="&apos;quillmap %f&apos;" modified="2027-01-15T08:00:00.000Z" count="2")"));
    QCOMPARE(twice.size(), once.size());
    QVERIFY(!qm::desktopRecentWith("<xbel><bookmark>", file, now));
    QVERIFY(!qm::desktopRecentWith("<xbel version=\"1.0\"></xbel>", file, now));
}

QTEST_GUILESS_MAIN(TestProjectFile)
#include "test_projectfile.moc"
