#include "compile/linkcheck.h"

#include "compile/pathconv.h"
#include "compile/runtimefiles.h"
#include "platform/caseresolve.h"
#include "platform/fileops.h"
#include "platform/paths.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace qm {

namespace {

using Field = LinkProblem::Field;
using Kind = LinkProblem::Kind;

// A web address, not a file: "http://...", "mailto:..." (a drive letter is
// no scheme).
bool isAddress(const QString &link)
{
    const qsizetype colon = link.indexOf(QLatin1Char(':'));
    return colon > 1 && !link.left(colon).contains(QLatin1Char('/'));
}

struct Checker {
    const Design &d;
    QString appDir;
    QString pageDir;      // cleaned, ending in '/'
    QList<LinkProblem> out;

    QString source(const QString &path) const
    {
        return QFileInfo(path).isAbsolute() ? path : QDir(appDir).filePath(path);
    }

    // A file the page names by its path relative to the project.
    void referenced(int button, Field field, const QString &path)
    {
        if (path.isEmpty())
            return;
        const QString from = source(path);
        const QString target = QDir::cleanPath(pageDir + relativeUrl(d.FileDir + d.FileName, path));
        const bool inside = target.startsWith(pageDir);
        if (inside && isFile(target))
            return;
        const QString found = isFile(from) ? from : resolveCaseInsensitive(from);
        LinkProblem p{Kind::Missing, field, button, path, QString(), false};
        if (!found.isEmpty() && isFile(found)) {
            // A name relative to the program folder is written as it is: the
            // page asks its own folder for a file that lies elsewhere.
            const bool there = inside && QDir::cleanPath(found).startsWith(pageDir);
            p.kind = there ? Kind::WrongCase : Kind::Outside;
            p.found = found;
            p.sharp = !there && isFile(doubleDensityName(found));
        }
        out.append(p);
    }

    // A sound goes beside the page as a copy of the design's file.
    void sound(int button, const QString &path)
    {
        if (path.isEmpty() || isFile(source(path)))
            return;
        const QString found = resolveCaseInsensitive(source(path));
        const bool there = !found.isEmpty() && isFile(found);
        out.append({there ? Kind::WrongCase : Kind::Missing, Field::Sound, button, path, there ? found : QString(), false});
    }
};

QString fieldName(Field f)
{
    switch (f) {
    case Field::Picture: return QStringLiteral("picture");
    case Field::MouseOverPicture: return QStringLiteral("mouse-over picture");
    case Field::BlurbPicture: return QStringLiteral("Blurb picture");
    case Field::Sound: return QStringLiteral("sound");
    case Field::Link: return QStringLiteral("link");
    case Field::Runtime: return QStringLiteral("files");
    }
    return QString();
}

// The design's name field a problem is about, with the upper-case form the
// editor compares pictures by, where it keeps one.
struct NameField {
    QString *name = nullptr;
    QString *upper = nullptr;
};

NameField fieldOf(Design &d, const LinkProblem &p)
{
    if (p.button < 0)
        return p.field == Field::BlurbPicture ? NameField{&d.BlurbImageName, &d.BlurbImagePath} : NameField{};
    ButtonData &b = d.Buttons[p.button];
    switch (p.field) {
    case Field::Picture: return {&b.DefImageName, &b.DefImagePath};
    case Field::MouseOverPicture: return {&b.MouseOverImage, &b.MouseOverImagePath};
    case Field::BlurbPicture: return {&b.MouseOverBlurbImage, nullptr};
    case Field::Sound: return {&b.MouseOverSound, nullptr};
    case Field::Link: return {&b.LinkURL, nullptr};
    case Field::Runtime: break;
    }
    return {};
}

bool sameBytes(const QString &a, const QString &b)
{
    QFile fa(a), fb(b);
    if (fa.size() != fb.size() || !fa.open(QIODevice::ReadOnly) || !fb.open(QIODevice::ReadOnly))
        return false;
    return fa.readAll() == fb.readAll();
}

// Where a file from outside goes beside the page: its own name, or a
// numbered one where another file of that name is there already.
QString copyTarget(const QString &pageDir, const QString &file)
{
    const QFileInfo info(file);
    QString target = pageDir + info.fileName();
    for (int n = 1; isFile(target) && !sameBytes(target, file); ++n) {
        const QString suffix = info.suffix().isEmpty() ? QString() : QLatin1Char('.') + info.suffix();
        target = pageDir + info.completeBaseName() + QLatin1Char('-') + QString::number(n) + suffix;
    }
    return target;
}

} // namespace

QList<LinkProblem> checkLinks(const Design &d, const QString &appDir, bool runtime)
{
    const CaseResolveScope listedOnce;
    Checker c{d, appDir, QDir::cleanPath(d.FileDir) + QLatin1Char('/'), {}};
    if (d.ShowTitleAndBlurb)
        c.referenced(-1, Field::BlurbPicture, d.BlurbImageName);
    for (int i = 0; i < d.Buttons.size(); ++i) {
        const ButtonData &b = d.Buttons.at(i);
        c.referenced(i, Field::Picture, b.DefImageName);
        c.referenced(i, Field::MouseOverPicture, b.MouseOverImage);
        if (d.ShowTitleAndBlurb)
            c.referenced(i, Field::BlurbPicture, b.MouseOverBlurbImage);
        c.sound(i, b.MouseOverSound);
        if (b.URLRelative && !isAddress(b.LinkURL))
            c.referenced(i, Field::Link, b.LinkURL);
    }
    if (runtime) {
        QStringList missing;
        for (const char *name : kRuntimeFiles) {
            if (!isFile(c.pageDir + QLatin1String(name)))
                missing << QLatin1String(name);
        }
        if (!missing.isEmpty())
            c.out.append({Kind::Missing, Field::Runtime, -1, missing.join(QLatin1String(", ")), QString(), false});
    }
    return c.out;
}

QString linkProblemsMessage(const Design &d, const QList<LinkProblem> &problems)
{
    constexpr int MaxNamed = 20;
    QString text = QLatin1String("Online, the page in ") + d.FileDir + QLatin1String(" would not get these files:");
    for (qsizetype i = 0; i < problems.size() && i < MaxNamed; ++i) {
        const LinkProblem &p = problems.at(i);
        QString who = p.field == Field::Runtime ? QStringLiteral("The runtime")
            : p.button < 0                     ? QStringLiteral("The background")
                           : QStringLiteral("Button %1 (%2)").arg(p.button + 1).arg(d.Buttons.at(p.button).TitleText.section(QLatin1Char('\n'), 0, 0).trimmed());
        QString what;
        switch (p.kind) {
        case Kind::WrongCase:
            what = p.path + QLatin1String(" is named ") + fileNamePart(p.found)
                + QLatin1String(" on the disk; a web server takes names with their letter case");
            break;
        case Kind::Outside:
            what = p.path + QLatin1String(" is outside the page's folder, where a web server does not look")
                + (p.sharp ? QLatin1String(" (and so is its @2x copy)") : QString());
            break;
        case Kind::Missing:
            what = p.field == Field::Runtime ? p.path + QLatin1String(" not beside the page")
                : QFileInfo::exists(p.path)  ? p.path + QLatin1String(" is no plain file")
                                             : p.path + QLatin1String(" does not exist");
            break;
        }
        text += QLatin1Char('\n') + who + QLatin1String(", ") + fieldName(p.field) + QLatin1String(": ") + what + QLatin1Char('.');
    }
    if (problems.size() > MaxNamed)
        text += QStringLiteral("\n... and %1 more.").arg(problems.size() - MaxNamed);
    return text;
}

bool canMendLinks(const QList<LinkProblem> &problems)
{
    for (const LinkProblem &p : problems) {
        if (p.kind != Kind::Missing)
            return true;
    }
    return false;
}

QString linkMendQuestion(const QList<LinkProblem> &problems)
{
    bool cased = false, outside = false;
    for (const LinkProblem &p : problems) {
        cased = cased || p.kind == Kind::WrongCase;
        outside = outside || p.kind == Kind::Outside;
    }
    if (cased && outside)
        return QStringLiteral("Use the names on the disk, and copy the files from outside the page's folder beside the page?");
    return cased ? QStringLiteral("Use the names on the disk?")
                 : QStringLiteral("Copy the files from outside the page's folder beside the page?");
}

Design mendedLinks(const Design &design, const QList<LinkProblem> &problems, FileOps &files, QStringList *failed)
{
    Design d = design;
    const QString pageDir = QDir::cleanPath(d.FileDir) + QLatin1Char('/');
    for (const LinkProblem &p : problems) {
        const NameField f = fieldOf(d, p);
        if (p.kind == Kind::Missing || !f.name)
            continue;
        QString name = p.found;
        if (p.kind == Kind::Outside) {
            const QString target = copyTarget(pageDir, p.found);
            const bool copied = isFile(target) || files.copyFile(p.found, target);
            if (!copied) {
                failed->append(p.found);
                continue;
            }
            if (p.sharp && !files.copyFile(doubleDensityName(p.found), doubleDensityName(target)))
                failed->append(doubleDensityName(p.found));
            name = target;
        }
        *f.name = name;
        if (f.upper)
            *f.upper = name.toUpper();
    }
    return d;
}

} // namespace qm
