#include "compile/appletblock.h"

#include "compile/pathconv.h"
#include "model/textarea.h"
#include "platform/fileops.h"

#include <QHash>

namespace qm {

namespace {

// Longest file name part the Preview form passes on.
constexpr qsizetype kMaxPreviewName = 255;

// A value goes between double quotes: a quote inside it would end the value
// early in the browser, so it is written as an entity.
QString valueText(const QString &text)
{
    if (!text.contains(QLatin1Char('"')))
        return text;
    QString out = text;
    out.replace(QLatin1Char('"'), QLatin1String("&quot;"));
    return out;
}

// The title in the comment line before a button. A browser ends or nests
// a comment only at a "--" run ("-->", "--!>", "<!--") or at a ">" or "->"
// right after its opening, and a "-" at its end would join the closing
// "-->". So every "--" run is written with blanks between its dashes, a
// leading ">" or "->" and a trailing "-" get a blank beside them, and the
// comment ends only where the line does. A title without dash runs or such
// ends is written unchanged.
QString commentText(const QString &text)
{
    if (!text.contains(QLatin1String("--")) && !text.startsWith(QLatin1Char('>'))
        && !text.startsWith(QLatin1String("->")) && !text.endsWith(QLatin1Char('-')))
        return text;
    QString out;
    out.reserve(text.size() + 8);
    for (const QChar c : text) {
        if (c == QLatin1Char('-') && out.endsWith(QLatin1Char('-')))
            out += QLatin1Char(' ');
        out += c;
    }
    if (out.startsWith(QLatin1Char('>')) || out.startsWith(QLatin1String("->")))
        out.prepend(QLatin1Char(' '));
    if (out.endsWith(QLatin1Char('-')))
        out += QLatin1Char(' ');
    return out;
}

QString param(const QString &name, const QString &value)
{
    return QLatin1String("<param name=\"") + name + QLatin1String("\" value=\"") + valueText(value)
        + QLatin1String("\">");
}

QString param(const QString &name, int value)
{
    return param(name, QString::number(value));
}

// The multi-line form: the first display line on the parameter's own line,
// every further one on a line of its own after a bar.
void appendMultiLine(QStringList &out, const QString &name, const QStringList &lines)
{
    QString first = QLatin1String("<param name=\"") + name + QLatin1String("\" value=\"");
    if (!lines.isEmpty())
        first += valueText(lines.constFirst());
    out << first;
    for (qsizetype j = 1; j < lines.size(); ++j) {
        const QString &line = lines.at(j);
        out << (line.isEmpty() ? QStringLiteral("| ") : QLatin1Char('|') + valueText(line));
    }
    out.last() += QLatin1String("\">");
}

// Attribute values and texts of the plain links: the markup characters as
// entities, so no title or address can end a value or open an element.
QString htmlText(const QString &text)
{
    QString out;
    out.reserve(text.size() + 8);
    for (const QChar c : text) {
        switch (c.unicode()) {
        case '&': out += QLatin1String("&amp;"); break;
        case '<': out += QLatin1String("&lt;"); break;
        case '>': out += QLatin1String("&gt;"); break;
        case '"': out += QLatin1String("&quot;"); break;
        default: out += c;
        }
    }
    return out;
}

// A URL as an entry of a srcset list, where blanks and commas separate.
QString srcsetUrl(const QString &url)
{
    QString out = url;
    out.replace(QLatin1Char(' '), QLatin1String("%20"));
    out.replace(QLatin1Char(','), QLatin1String("%2C"));
    return out;
}

struct Builder {
    Design &d;
    bool preview;
    const AppletBuildEnv &env;
    QString projectPath;

    QString pathForm(const QString &path) const
    {
        if (path.isEmpty())
            return QString();
        if (preview)
            return fileNamePart(path, env.style).left(kMaxPreviewName);
        return relativeUrl(projectPath, path, env.style);
    }

    // "NAME.EXT 1x, NAME@2x.EXT 2x" when the picture has a copy for sharp
    // screens beside it, else empty. Preview copies it with the picture.
    QString srcset(const QString &path) const
    {
        if (path.isEmpty() || !env.isFile)
            return QString();
        const QString sharp = doubleDensityName(path, env.style);
        if (!env.isFile(sharp))
            return QString();
        return srcsetUrl(pathForm(path)) + QLatin1String(" 1x, ") + srcsetUrl(pathForm(sharp)) + QLatin1String(" 2x");
    }

    QString urlForm(const ButtonData &b) const
    {
        if (!b.URLRelative)
            return b.LinkURL;
        if (!preview)
            return relativeUrl(projectPath, b.LinkURL, env.style);
        // Three slashes in all: an absolute POSIX path brings its own.
        if (b.LinkURL.startsWith(QLatin1Char('/')))
            return QLatin1String("file://") + b.LinkURL;
        return QLatin1String("file:///") + b.LinkURL;
    }
};

// The menu as plain links inside the applet element, after its parameters:
// what a browser without script and a search engine see, and what lets a
// browser load the pictures while it parses the page. The script runtime
// reads the sharp copies of the mouse-over and Blurb pictures from it.
void appendPlainLinks(QStringList &body, const Builder &b, const LineBreaker &lines, QStringList *scriptLinks)
{
    const Design &d = b.d;
    if (d.Buttons.isEmpty())
        return;
    QString nav = QStringLiteral("<nav class=\"quillmap-links\"");
    if (d.ShowTitleAndBlurb) {
        const QString sharp = b.srcset(d.BlurbImageName);
        if (!sharp.isEmpty())
            nav += QLatin1String(" data-blurb-srcset=\"") + htmlText(sharp) + QLatin1Char('"');
    }
    body << nav + QLatin1Char('>') << QStringLiteral("<ul>");
    for (qsizetype i = 0; i < d.Buttons.size(); ++i) {
        const ButtonData &btn = d.Buttons.at(i);
        QString title = lines.firstLine(TextArea::Title, btn.TitleText).trimmed();
        if (title.isEmpty())
            title = QStringLiteral("Menu button %1").arg(i + 1);
        QString item = QStringLiteral("<li");
        const auto data = [&](const char *name, const QString &path) {
            const QString sharp = b.srcset(path);
            if (!sharp.isEmpty())
                item += QLatin1Char(' ') + QLatin1String(name) + QLatin1String("=\"") + htmlText(sharp) + QLatin1Char('"');
        };
        data("data-over-srcset", btn.MouseOverImage);
        if (d.ShowTitleAndBlurb)
            data("data-blurb-srcset", btn.MouseOverBlurbImage);
        item += QLatin1Char('>');

        QString content;
        if (!btn.DefImageName.isEmpty()) {
            content = QLatin1String("<img src=\"") + htmlText(b.pathForm(btn.DefImageName)) + QLatin1Char('"');
            const QString sharp = b.srcset(btn.DefImageName);
            if (!sharp.isEmpty())
                content += QLatin1String(" srcset=\"") + htmlText(sharp) + QLatin1Char('"');
            content += QStringLiteral(" width=%1 height=%2 alt=\"").arg(qMax(0, btn.Width)).arg(qMax(0, btn.Height))
                + htmlText(title) + QLatin1String("\">");
        } else {
            content = htmlText(title);
        }
        const QString address = b.urlForm(btn).trimmed();
        if (isScriptAddress(address)) {
            scriptLinks->append(QStringLiteral("%1 (%2)").arg(i + 1).arg(title));
        } else if (!address.isEmpty()) {
            QString link = QLatin1String("<a href=\"") + htmlText(address) + QLatin1Char('"');
            if (!btn.Target.trimmed().isEmpty() && btn.Target.trimmed() != QLatin1String("_self"))
                link += QLatin1String(" target=\"") + htmlText(btn.Target.trimmed()) + QLatin1Char('"');
            content = link + QLatin1Char('>') + content + QLatin1String("</a>");
        }
        body << item + content + QLatin1String("</li>");
    }
    body << QStringLiteral("</ul>") << QStringLiteral("</nav>");
}

} // namespace

bool isScriptAddress(const QString &address)
{
    // A browser drops tabs and line breaks anywhere in an address, and
    // blanks and control characters before it.
    QString a;
    a.reserve(address.size());
    for (const QChar c : address) {
        if (c != QLatin1Char('\t') && c != QLatin1Char('\n') && c != QLatin1Char('\r'))
            a += c;
    }
    qsizetype start = 0;
    while (start < a.size() && a.at(start).unicode() <= 0x20)
        ++start;
    const QStringView rest = QStringView(a).mid(start);
    for (const char *scheme : {"javascript:", "vbscript:", "data:"}) {
        if (rest.startsWith(QLatin1String(scheme), Qt::CaseInsensitive))
            return true;
    }
    return false;
}

QString scriptLinksMessage(const QStringList &buttons)
{
    return QLatin1String("The links of these buttons would run a script in the visitor's browser, so the menu "
                         "shows them without a link:\n")
        + buttons.join(QLatin1Char('\n'));
}

QString AppletFont(const QString &fontName)
{
    return appletFontName(fontName);
}

QString AppletFontStyle(const QString &styleName)
{
    if (styleName == QLatin1String("Bold"))
        return QStringLiteral("bold");
    if (styleName == QLatin1String("Italic"))
        return QStringLiteral("italic");
    if (styleName == QLatin1String("Normal"))
        return QStringLiteral("normal");
    if (styleName == QLatin1String("Bold Italic"))
        return QStringLiteral("bold+italic");
    return QStringLiteral("normal");
}

QString colorForm(TColor color)
{
    const QString hex = QStringLiteral("%1").arg(color, 8, 16, QLatin1Char('0')).toUpper();
    return hex.mid(6, 2) + hex.mid(4, 2) + hex.mid(2, 2);
}

bool GetTablesize(Design &d, QSize surfaceSize)
{
    int left, top, right, bottom;
    if (d.ShowTitleAndBlurb) {
        left = qMin(d.TitleRect.left(), d.BlurbRect.left());
        top = qMin(d.TitleRect.top(), d.BlurbRect.top());
        right = qMax(d.TitleRect.left() + d.TitleRect.width(), d.BlurbRect.left() + d.BlurbRect.width());
        bottom = qMax(d.TitleRect.top() + d.TitleRect.height(), d.BlurbRect.top() + d.BlurbRect.height());
    } else if (!d.Buttons.isEmpty()) {
        const ButtonData &b = d.Buttons.constFirst();
        left = b.Left;
        top = b.Top;
        right = b.Left + b.Width;
        bottom = b.Top + b.Height;
    } else {
        return false;
    }
    for (const ButtonData &b : std::as_const(d.Buttons)) {
        left = qMin(left, b.Left);
        top = qMin(top, b.Top);
        right = qMax(right, b.Left + b.Width);
        bottom = qMax(bottom, b.Top + b.Height);
    }
    if (d.AbsolutePositioning) {
        d.OffsetTop = 0;
        d.OffsetLeft = 0;
        d.AppletWidth = surfaceSize.width();
        d.AppletHeight = surfaceSize.height();
    } else {
        d.OffsetTop = top - d.TableMargin;
        d.OffsetLeft = left - d.TableMargin;
        d.AppletHeight = (bottom - top) + 2 * d.TableMargin;
        d.AppletWidth = (right - left) + 2 * d.TableMargin;
    }
    return true;
}

std::optional<AppletBlock> buildAppletBlock(Design &d, bool preview, const AppletBuildEnv &env)
{
    if (!GetTablesize(d, env.surfaceSize))
        return std::nullopt;

    Builder b{d, preview, env, d.FileDir + d.FileName};
    const LineBreaker &lines = *env.lines;
    QStringList body;
    body << QString();

    body << param(QStringLiteral("table_color"), colorForm(d.BackgroundColor));
    body << param(QStringLiteral("text_color"), colorForm(d.TextColor));
    const bool show = d.ShowTitleAndBlurb;
    body << param(QStringLiteral("head_top"), show ? d.TitleRect.top() - d.OffsetTop : 1);
    body << param(QStringLiteral("head_left"), show ? d.TitleRect.left() - d.OffsetLeft : 1);
    body << param(QStringLiteral("head_height"), show ? d.TitleRect.height() : 1);
    body << param(QStringLiteral("head_width"), show ? d.TitleRect.width() : 1);
    body << param(QStringLiteral("head_font"), AppletFont(d.TitleFont));
    body << param(QStringLiteral("head_style"), AppletFontStyle(d.TitleStyle));
    body << param(QStringLiteral("head_size"), show ? d.TitleFontSize + 2 : 1);
    body << param(QStringLiteral("mainbox_top"), show ? d.BlurbRect.top() - d.OffsetTop : 2);
    body << param(QStringLiteral("mainbox_left"), show ? d.BlurbRect.left() - d.OffsetLeft : 2);
    body << param(QStringLiteral("mainbox_height"), show ? d.BlurbRect.height() : 1);
    body << param(QStringLiteral("mainbox_width"), show ? d.BlurbRect.width() : 1);
    body << param(QStringLiteral("mainbox_font"), AppletFont(d.BlurbFont));
    body << param(QStringLiteral("mainbox_style"), AppletFontStyle(d.BlurbStyle));
    body << param(QStringLiteral("mainbox_size"), show ? d.BlurbFontSize + 2 : 1);
    if (show) {
        body << param(QStringLiteral("deftag"), lines.firstLine(TextArea::Title, d.BgTitleText));
        appendMultiLine(body, QStringLiteral("defmaintext"), lines.displayLines(TextArea::Blurb, d.BgBlurbText));
        body << param(QStringLiteral("defimg"), b.pathForm(d.BlurbImageName));
        body << param(QStringLiteral("defcenter"), d.StretchBlurbImages ? QStringLiteral("false") : QStringLiteral("true"));
    } else {
        body << param(QStringLiteral("deftag"), QString());
        body << param(QStringLiteral("defmaintext"), QString());
        body << param(QStringLiteral("defimg"), QString());
        body << param(QStringLiteral("defcenter"), QStringLiteral("false"));
    }

    bool soundFound = false;
    // Every button may name the same sound: each file is looked at and
    // copied once, after the last button that names it.
    QList<FileCopy> soundCopies;
    enum SoundFile { NoFile, File, NotAFile };
    QHash<QString, SoundFile> soundFiles;
    for (qsizetype i = 0; i < d.Buttons.size(); ++i) {
        const ButtonData &btn = d.Buttons.at(i);
        const QString n = QString::number(i + 1);
        body << QString();
        body << QLatin1String("<!-- ") + commentText(btn.TitleText) + QLatin1String(" -->");
        body << param(QLatin1String("left") + n, btn.Left - d.OffsetLeft);
        body << param(QLatin1String("top") + n, btn.Top - d.OffsetTop);
        body << param(QLatin1String("width") + n, btn.Width);
        body << param(QLatin1String("height") + n, btn.Height);
        body << param(QLatin1String("tag") + n, lines.firstLine(TextArea::Title, btn.TitleText));
        body << param(QLatin1String("font") + n, AppletFont(d.BlurbFont));
        body << param(QLatin1String("fontstyle") + n, AppletFontStyle(d.BlurbStyle));
        body << param(QLatin1String("fontsize") + n, d.BlurbFontSize);
        body << param(QLatin1String("img") + n, b.pathForm(btn.DefImageName));
        body << param(QLatin1String("rollOverImg") + n, b.pathForm(btn.MouseOverImage));
        body << param(QLatin1String("imageCenter") + n, b.pathForm(btn.MouseOverBlurbImage));
        body << param(QLatin1String("URL") + n, b.urlForm(btn) + QLatin1Char(',') + btn.Target);
        appendMultiLine(body, QLatin1String("blurb") + n, lines.displayLines(TextArea::Blurb, btn.BlurbText));
        const QString soundName = fileNamePart(btn.MouseOverSound, env.style);
        body << param(QLatin1String("sound") + n, soundName);
        if (!preview && env.files) {
            auto known = soundFiles.constFind(btn.MouseOverSound);
            if (known == soundFiles.constEnd()) {
                // A pipe or a device is no file to copy, but the user hears of it.
                const SoundFile kind = env.files->exists(btn.MouseOverSound) ? File
                    : copyRefusal(btn.MouseOverSound).isEmpty()                ? NoFile
                                                                               : NotAFile;
                known = soundFiles.insert(btn.MouseOverSound, kind);
            }
            if (*known != NoFile)
                soundCopies.append({btn.MouseOverSound, d.FileDir + soundName});
            soundFound = soundFound || *known == File;
        }
    }
    const QList<SkippedCopy> skipped = env.files ? copyEach(*env.files, soundCopies, CopyKind::Durable).skipped
                                                 : QList<SkippedCopy>();
    body << QString();
    QStringList scriptLinks;
    appendPlainLinks(body, b, lines, &scriptLinks);
    body << QStringLiteral("</applet>");

    QStringList head;
    head << QStringLiteral("<!-- Pellory Software -->");
    head << QStringLiteral("<applet archive=\"quillmap.zip\" code=\"quillmap.class\" width=%1 height=%2>")
                .arg(d.AppletWidth)
                .arg(d.AppletHeight);
    head << param(QStringLiteral("cabbase"), QStringLiteral("quillmap.cab"));

    QString html;
    html.reserve((head.size() + body.size()) * 48);
    for (const QString &line : std::as_const(head))
        html += line + QLatin1String("\r\n");
    for (const QString &line : std::as_const(body))
        html += line + QLatin1String("\r\n");

    return AppletBlock{html, soundFound, skipped, scriptLinks};
}

QString pastedText(const QString &block)
{
    return QLatin1String(PastedScriptLine) + QLatin1String("\r\n") + block;
}

QString runtimeCopyQuestion(const QString &pageFolder)
{
    return QLatin1String("Applet Code copied to Clipboard!\r\nA page with this code needs the menu's runtime beside it: "
                         "quillmap.js, which plays the menu in today's browsers, and the applet's class files. "
                         "Copy them to ")
        + pageFolder + QLatin1String(" ?");
}

QString soundsCopiedMessage(const Design &design)
{
    return QLatin1String("AU File(s) copied to ") + design.FileDir;
}

} // namespace qm
