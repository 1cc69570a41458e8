#include "app/commandline.h"

#include "app/programfolder.h"
#include "compile/appletblock.h"
#include "compile/linkcheck.h"
#include "compile/projectcompile.h"
#include "compile/runtimefiles.h"
#include "model/textarea.h"
#include "platform/fileops.h"
#include "platform/paths.h"

#include <QCommandLineParser>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <cerrno>
#include <cstdio>
#include <cstring>

namespace qm::commandline {

namespace {

// Options only the command line has; any of them means no window.
const char *const kCommandLineOnly[] = {"--compile", "-o", "--output", "--runtime", "--preview", "--cropped",
                                        "--json", "--strict", "-h", "--help", "--help-all", "-?", "-v", "--version"};

void say(const QString &message)
{
    std::fprintf(stderr, "quillmap: %s\n", qPrintable(message));
}

int wrongUsage(const QString &message)
{
    say(message);
    std::fputs("Try 'quillmap --help' for more information.\n", stderr);
    return WrongUsage;
}

QJsonObject rectJson(const QRect &r)
{
    return QJsonObject{{"left", r.left()}, {"top", r.top()}, {"width", r.width()}, {"height", r.height()}};
}

// Where the editor draws the ink of the background's text lines in an
// area, relative to the area: the Title's first line, every Blurb line.
QJsonArray inkJson(const Design &d, TextArea area)
{
    const bool title = area == TextArea::Title;
    const QFont font = areaFont(title ? d.TitleFont : d.BlurbFont, title ? d.TitleFontSize : d.BlurbFontSize,
                                title ? d.TitleAreaStyle : d.BlurbAreaStyle);
    const AreaLineBreaker breaker(d);
    QStringList lines = breaker.displayLines(area, title ? d.BgTitleText : d.BgBlurbText);
    if (title && lines.size() > 1)
        lines = lines.mid(0, 1);
    QJsonArray out;
    const QList<QRect> ink = areaInk(font, lineStep(title ? d.TitleFont : d.BlurbFont, font.pixelSize()), lines);
    for (qsizetype i = 0; i < lines.size(); ++i)
        out.append(QJsonObject{{"text", lines.at(i)}, {"ink", rectJson(ink.at(i))}});
    return out;
}

// The block with what the editor shows around it, for tools that check
// where a runtime draws each part.
QByteArray blockJson(const ProjectBlock &b, bool preview)
{
    const Design &d = b.design;
    QJsonArray buttons;
    for (const ButtonData &button : d.Buttons)
        buttons.append(rectJson(button.rect()));
    const QJsonObject o{
        {"html", b.html},
        {"preview", preview},
        {"absolute", d.AbsolutePositioning},
        {"surface", QJsonObject{{"width", b.surface.width()}, {"height", b.surface.height()}}},
        {"offsetLeft", d.OffsetLeft},
        {"offsetTop", d.OffsetTop},
        {"appletWidth", d.AppletWidth},
        {"appletHeight", d.AppletHeight},
        {"showTitleAndBlurb", d.ShowTitleAndBlurb},
        {"title", rectJson(d.TitleRect)},
        {"blurb", rectJson(d.BlurbRect)},
        {"buttons", buttons},
        {"titleLines", d.ShowTitleAndBlurb ? inkJson(d, TextArea::Title) : QJsonArray()},
        {"blurbLines", d.ShowTitleAndBlurb ? inkJson(d, TextArea::Blurb) : QJsonArray()},
    };
    return QJsonDocument(o).toJson(QJsonDocument::Indented);
}

// Copies the runtime and the design's sound files into `dir`, as Compile's
// "Yes" and its sound copies put them beside the page. A runtime file the
// program folder lacks, or a sound that does not exist, is reported and
// skipped; a file that cannot be written makes the whole command fail.
bool copyRuntime(const QString &appDir, const Design &d, const QString &dir)
{
    const QFileInfo info(dir);
    if ((!info.exists() && !QDir().mkpath(dir)) || !QFileInfo(dir).isDir()) {
        say(QStringLiteral("Cannot write to %1: it is not a folder that can be made").arg(dir));
        return false;
    }
    LocalFileOps files;
    bool ok = true;
    auto copy = [&](const QString &source, const QString &name) {
        const QString target = QDir(dir).filePath(name);
        if (isSameFile(source, target))
            return;
        if (!files.copyFile(source, target)) {
            say(QStringLiteral("Cannot write to %1: %2 could not be copied there").arg(dir, source));
            ok = false;
        }
    };
    for (const FileCopy &c : runtimeCopies(appDir, dir)) {
        if (QFileInfo(c.source).isFile())
            copy(c.source, fileNamePart(c.target));
        else
            say(QStringLiteral("the runtime file %1 is missing; not copied").arg(c.source));
    }
    // In button order, as Compile copies them: of two sounds with one name
    // the later one is left.
    QStringList missing;
    for (const ButtonData &b : d.Buttons) {
        if (b.MouseOverSound.isEmpty() || missing.contains(b.MouseOverSound))
            continue;
        if (QFileInfo(b.MouseOverSound).isFile()) {
            copy(b.MouseOverSound, fileNamePart(b.MouseOverSound));
        } else {
            say(QStringLiteral("the sound %1 does not exist; not copied").arg(b.MouseOverSound));
            missing << b.MouseOverSound;
        }
    }
    return ok;
}

bool writeOutput(const QString &out, const QByteArray &bytes)
{
    if (out.isEmpty() || out == QLatin1String("-")) {
        const bool written = std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stdout) == size_t(bytes.size());
        if (std::fflush(stdout) != 0 || !written) {
            say(QStringLiteral("Error writing the standard output: %1").arg(QString::fromLocal8Bit(std::strerror(errno))));
            return false;
        }
        return true;
    }
    QString reason;
    const QFileInfo info(out);
    if (info.exists() && !info.isFile()) {
        // A pipe or a device: written straight into, there is nothing to replace.
        QFile f(out);
        if (f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size() && f.flush())
            return true;
        reason = f.errorString();
    } else if (writeFileAtomically(out, bytes, &reason)) {
        return true;
    }
    say(QStringLiteral("Error writing %1: %2").arg(out, reason));
    return false;
}

void addOptions(QCommandLineParser &parser)
{
    parser.setApplicationDescription(QStringLiteral(
        "Quillmap lays out rollover menus for the web and builds the applet element that carries them.\n"
        "Without options it opens its window, and FILE when one is named.\n"
        "With --compile it writes the applet block of the project FILE, as Compile puts it on the\n"
        "clipboard, to standard output or OUT; it needs no window and no display. Sound files\n"
        "are copied only with --runtime, into DIR, beside the runtime."));
    parser.addHelpOption();
    parser.addVersionOption();
    parser.addOption({QStringLiteral("compile"), QStringLiteral("Write the applet block of FILE instead of opening it.")});
    parser.addOption({{QStringLiteral("o"), QStringLiteral("output")},
                      QStringLiteral("Write the block to OUT instead of standard output."), QStringLiteral("OUT")});
    parser.addOption({QStringLiteral("runtime"),
                      QStringLiteral("Also copy the runtime files and the project's sounds into DIR, the folder of "
                                     "the page the block goes into."),
                      QStringLiteral("DIR")});
    parser.addOption({QStringLiteral("preview"), QStringLiteral("Build Preview's form of the block: bare file names.")});
    parser.addOption({QStringLiteral("cropped"),
                      QStringLiteral("Crop the applet to the design, as with \"Absolute positioning\" unticked.")});
    parser.addOption({QStringLiteral("json"),
                      QStringLiteral("Write the block with the design's rectangles as JSON.")});
    parser.addOption({QStringLiteral("strict"),
                      QStringLiteral("Exit with status 1 when a file the page asks for would not be found online "
                                     "(the block is written all the same).")});
    parser.addPositionalArgument(QStringLiteral("FILE"), QStringLiteral("A project file (*.qmf)."));
}

} // namespace

bool wanted(int argc, char **argv)
{
    for (int i = 1; i < argc; ++i) {
        const char *arg = argv[i];
        if (std::strcmp(arg, "--") == 0)
            return false;
        for (const char *option : kCommandLineOnly) {
            const size_t n = std::strlen(option);
            if (std::strncmp(arg, option, n) == 0 && (arg[n] == '\0' || (option[1] == '-' && arg[n] == '=')))
                return true;
        }
    }
    return false;
}

int run(int argc, char **argv)
{
    // Never a window: the offscreen platform lays text out with the same
    // fonts, and needs no display whatever the environment names.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("quillmap"));
    QCoreApplication::setApplicationVersion(QStringLiteral(QUILLMAP_VERSION));

    QCommandLineParser parser;
    addOptions(parser);
    if (!parser.parse(app.arguments()))
        return wrongUsage(parser.errorText());
    if (parser.isSet(QStringLiteral("help")) || parser.isSet(QStringLiteral("help-all"))) {
        std::fputs(qPrintable(parser.helpText()), stdout);
        return 0;
    }
    if (parser.isSet(QStringLiteral("version"))) {
        std::printf("quillmap %s\n", QUILLMAP_VERSION);
        return 0;
    }
    if (!parser.isSet(QStringLiteral("compile")))
        return wrongUsage(QStringLiteral("-o, --runtime, --preview, --cropped, --json and --strict go with --compile"));
    const QStringList files = parser.positionalArguments();
    if (files.size() != 1)
        return wrongUsage(QStringLiteral("--compile takes one project file"));

    const QString appDir = programfolder::forCommandLine(QDir::currentPath(), QCoreApplication::applicationDirPath());
    ProjectBlockOptions options;
    options.preview = parser.isSet(QStringLiteral("preview"));
    options.absolute = !parser.isSet(QStringLiteral("cropped"));
    const ProjectBlock block = buildProjectBlock(appDir, QFileInfo(files.first()).absoluteFilePath(), options);
    if (!block.error.isEmpty()) {
        say(block.error);
        return Failed;
    }
    if (!block.scriptLinks.isEmpty())
        say(scriptLinksMessage(block.scriptLinks));
    if (parser.isSet(QStringLiteral("runtime")) && !copyRuntime(appDir, block.design, parser.value(QStringLiteral("runtime"))))
        return Failed;
    // The page goes beside the project: what it would not get online.
    const QList<LinkProblem> problems = options.preview ? QList<LinkProblem>() : checkLinks(block.design, appDir, false);
    if (!problems.isEmpty())
        say(linkProblemsMessage(block.design, problems));
    const QByteArray bytes = parser.isSet(QStringLiteral("json")) ? blockJson(block, options.preview)
                                                                  : pastedText(block.html).toUtf8();
    if (!writeOutput(parser.value(QStringLiteral("output")), bytes))
        return Failed;
    return !problems.isEmpty() && parser.isSet(QStringLiteral("strict")) ? Failed : 0;
}

WindowArguments windowArguments(const QStringList &arguments)
{
    QCommandLineParser parser;
    addOptions(parser);
    WindowArguments out;
    if (!parser.parse(arguments)) {
        out.exitCode = wrongUsage(parser.errorText());
        return out;
    }
    for (const char *option : {"compile", "output", "runtime", "preview", "cropped", "json", "strict"}) {
        if (parser.isSet(QLatin1String(option))) {
            out.exitCode = wrongUsage(QStringLiteral("-o, --runtime, --preview, --cropped, --json and --strict go with --compile"));
            return out;
        }
    }
    const QStringList files = parser.positionalArguments();
    if (files.size() > 1) {
        out.exitCode = wrongUsage(QStringLiteral("the window opens one project file"));
        return out;
    }
    if (!files.isEmpty())
        out.file = QFileInfo(files.first()).absoluteFilePath();
    return out;
}

} // namespace qm::commandline
