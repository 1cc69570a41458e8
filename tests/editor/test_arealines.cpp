// The Title and Blurb areas on the design surface and the window-free line
// breaker of the core must give the same display lines for every text, width,
// size and style, or the command line would build another block than the
// program's Compile.

#include "editor/designsurface.h"
#include "editor/areaedit.h"
#include "mainformfixture.h"
#include "model/textarea.h"

#include <QTextBlock>
#include <QTextLayout>
#include <QtTest>

using namespace qm;

namespace {

const AreaStyle kStyles[] = {{false, false}, {true, false}, {false, true}, {true, true}};

// Texts that wrap in every way an area can wrap them.
const QList<QPair<const char *, QString>> &texts()
{
    static const QList<QPair<const char *, QString>> t = {
        {"empty", QString()},
        {"default", QStringLiteral("type background blurb here")},
        {"sentence", QStringLiteral("Quillmap lays out a rollover menu of image buttons on a coloured background.")},
        {"long word", QString(QStringLiteral("Supercalifragilisticexpialidocious")).repeated(4)},
        {"word then long word", QStringLiteral("Go ") + QString(QLatin1Char('W')).repeated(120) + QStringLiteral(" end")},
        {"line breaks", QStringLiteral("Fast\r\n\r\nCheap\r\nGood")},
        {"leading and trailing breaks", QStringLiteral("\r\nfirst\r\n\r\n")},
        {"lone CR and LF", QStringLiteral("one\rtwo\nthree")},
        {"accents", QStringLiteral("Ünïcödé café — naïve façade, smørrebrød, Œuvres complètes, Ångström")},
        {"cjk", QStringLiteral("東京の地図と日本語の長い文章を折り返すためのテキストです。地図を描く羽根ペン。")},
        {"arabic and hebrew", QStringLiteral("مرحبا بالعالم هذا نص عربي طويل جدا שלום עולם זהו טקסט ארוך")},
        {"emoji and combining", QStringLiteral("🗺️ menus ✒️ with e\u0301 and a\u0308 and 👩‍💻 👍🏽 marks 🗺️🗺️🗺️🗺️🗺️")},
        {"non-breaking spaces", QStringLiteral("keep\u00a0these\u00a0words\u00a0together\u00a0on\u00a0one\u00a0line\u00a0please")},
        {"unicode separators", QStringLiteral("line\u2028separator and paragraph\u2029separator")},
        {"tabs", QStringLiteral("col\tumn\t\tand\tmore\ttabs\there")},
        {"markup and quotes", QStringLiteral("<b>\"quoted\"</b> & 'single' --> <!-- <applet> |bar|")},
        {"spaces", QStringLiteral("   many    spaces   between   words        and at the end      ")},
    };
    return t;
}

} // namespace

class TestAreaLines : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void sameLinesAsTheAreas_data();
    void sameLinesAsTheAreas();
    void everySizeTheDialogsOffer_data();
    void everySizeTheDialogsOffer();
    void textComesBackFromAnAreaAsTheCoreSays();

private:
    // Lines of both breakers for one text, with the design set to the area's
    // width, size and style.
    void compare(TextArea area, const QString &text, int width, int points, AreaStyle style,
                 const QString &font = QStringLiteral("Times Roman"));
    std::unique_ptr<MainFormFixture> m_fixture;
};

void TestAreaLines::initTestCase()
{
    m_fixture = std::make_unique<MainFormFixture>();
}

void TestAreaLines::compare(TextArea area, const QString &text, int width, int points, AreaStyle style,
                            const QString &font)
{
    TMainForm &m = *m_fixture->form;
    (area == TextArea::Title ? m.design().TitleFont : m.design().BlurbFont) = font;
    QRect &rect = area == TextArea::Title ? m.design().TitleRect : m.design().BlurbRect;
    rect.setWidth(width);
    (area == TextArea::Title ? m.design().TitleFontSize : m.design().BlurbFontSize) = points;
    (area == TextArea::Title ? m.design().TitleAreaStyle : m.design().BlurbAreaStyle) = style;
    m.pushDesignToControls();

    // The lines the area on the surface shows, and the lines the block and
    // the project file get.
    const QStringList editor = (area == TextArea::Title ? m.Title : m.Blurb)->displayLinesOf(text);
    const QStringList core = AreaLineBreaker(m.design()).displayLines(area, text);
    if (editor != core) {
        qWarning() << "editor:" << editor;
        qWarning() << "core:  " << core;
    }
    QCOMPARE(core, editor);
}

void TestAreaLines::sameLinesAsTheAreas_data()
{
    QTest::addColumn<int>("area");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("points");

    // The default width, narrow and very narrow areas, ones too narrow to
    // hold any text, a damaged negative width and a very wide one.
    const int widths[] = {372, 150, 41, 8, 7, 6, 5, 4, 0, -20, 3000};
    const int sizes[] = {1, 8, 14, 24, 100};
    for (const auto &[name, text] : texts()) {
        for (int width : widths) {
            for (int points : sizes) {
                for (TextArea area : {TextArea::Title, TextArea::Blurb}) {
                    QTest::addRow("%s, %s, width %d, %d pt", name, area == TextArea::Title ? "Title" : "Blurb",
                                  width, points)
                        << int(area) << text << width << points;
                }
            }
        }
    }
}

void TestAreaLines::sameLinesAsTheAreas()
{
    QFETCH(int, area);
    QFETCH(QString, text);
    QFETCH(int, width);
    QFETCH(int, points);
    for (AreaStyle style : kStyles)
        compare(TextArea(area), text, width, points, style);
}

void TestAreaLines::everySizeTheDialogsOffer_data()
{
    QTest::addColumn<QString>("font");
    QTest::addColumn<int>("style");
    for (const char *font : {"Times Roman", "Helvetica", "Courier", "Dialog", "Symbol"}) {
        for (int i = 0; i < 4; ++i)
            QTest::addRow("%s, bold %d, italic %d", font, kStyles[i].bold, kStyles[i].italic) << font << i;
    }
}

void TestAreaLines::everySizeTheDialogsOffer()
{
    QFETCH(QString, font);
    QFETCH(int, style);
    const QString text = texts().at(2).second + QStringLiteral("\r\n") + texts().at(3).second
        + QStringLiteral("\r\n") + texts().at(8).second;
    AreaEdit *blurb = m_fixture->form->Blurb;
    for (int points = 1; points <= 100; ++points) {
        compare(TextArea::Title, text, 372, points, kStyles[style], font);
        compare(TextArea::Blurb, text, 372, points, kStyles[style], font);
        // Lines follow each other at the step the runtimes set as the line
        // height.
        blurb->setText(QStringLiteral("Line"));
        blurb->displayLines();
        const QTextLayout *layout = blurb->document()->begin().layout();
        QCOMPARE(layout->lineAt(0).height(), qreal(lineStep(font, fontPixels(points))));
    }
}

void TestAreaLines::textComesBackFromAnAreaAsTheCoreSays()
{
    AreaEdit *memo = m_fixture->form->Blurb;
    for (const auto &[name, text] : texts()) {
        memo->setText(text);
        QCOMPARE(memo->text(), throughArea(text));
    }
    // A non-breaking space stays one: the text given back is the text shown.
    memo->setText(QStringLiteral("a\u00a0b"));
    QCOMPARE(memo->text(), QStringLiteral("a\u00a0b"));
}

QTEST_MAIN(TestAreaLines)
#include "test_arealines.moc"
