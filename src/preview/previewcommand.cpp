#include "preview/previewcommand.h"

#include "compile/pathconv.h"
#include "compile/runtimefiles.h"
#include "model/settings.h"
#include "platform/fileops.h"
#include "platform/paths.h"
#include "platform/prompts.h"
#include "preview/browserchoice.h"
#include "preview/tddeform.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <sys/stat.h>

namespace qm {

namespace {

// The four name fields, given back when the command ends however it ends.
class BorrowedNames {
public:
    explicit BorrowedNames(Design &d)
        : m_d(d), m_name(d.FileName), m_dir(d.FileDir), m_nameUpper(d.FileNameUpper), m_dirUpper(d.FileDirUpper)
    {
    }
    ~BorrowedNames()
    {
        m_d.FileName = m_name;
        m_d.FileDir = m_dir;
        m_d.FileNameUpper = m_nameUpper;
        m_d.FileDirUpper = m_dirUpper;
    }
    BorrowedNames(const BorrowedNames &) = delete;
    BorrowedNames &operator=(const BorrowedNames &) = delete;

private:
    Design &m_d;
    QString m_name, m_dir, m_nameUpper, m_dirUpper;
};

bool lstatMode(const QString &path, mode_t *mode)
{
    struct stat st;
    if (::lstat(QFile::encodeName(path).constData(), &st) != 0)
        return false;
    *mode = st.st_mode;
    return true;
}

} // namespace

QString previewFolder(const QString &appDir)
{
    return programPath(appDir, QStringLiteral("tmp"));
}

int emptyPreviewFolder(const QString &folder, const QSet<QString> &reusable, QStringList *kept)
{
    const QDir dir(folder);
    const QStringList names = dir.entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                                            QDir::Name);
    int deleted = 0;
    for (const QString &name : names) {
        const QString path = dir.filePath(name);
        mode_t mode = 0;
        if (!lstatMode(path, &mode) || !(S_ISREG(mode) || S_ISLNK(mode)))
            continue;
        if (S_ISREG(mode) && reusable.contains(name)) {
            if (kept)
                kept->append(name);
            continue;
        }
        // unlink: a link goes, what it points at stays.
        if (::unlink(QFile::encodeName(path).constData()) != 0)
            break;
        ++deleted;
    }
    return deleted;
}

QList<FileCopy> previewCopies(const Design &d, const QString &programFolder, const QString &folder)
{
    const QDir appDir(programFolder);
    QList<FileCopy> copies = runtimeCopies(programFolder, folder);
    auto add = [&](const QString &name) {
        const QString bare = fileNamePart(name);
        if (name.isEmpty() || bare.isEmpty())
            return;
        copies.append({appDir.filePath(name), folder + QLatin1Char('/') + bare});
    };
    // A picture's copy for sharp screens goes along where there is one.
    auto addPicture = [&](const QString &name) {
        add(name);
        const QString sharp = doubleDensityName(name);
        if (!name.isEmpty() && QFileInfo(appDir.filePath(sharp)).isFile())
            add(sharp);
    };
    addPicture(d.BlurbImageName);
    for (const ButtonData &b : d.Buttons) {
        addPicture(b.DefImageName);
        addPicture(b.MouseOverImage);
        addPicture(b.MouseOverBlurbImage);
        add(b.MouseOverSound);
    }
    return copies;
}

QByteArray previewPage(const QString &block)
{
    // The script runtime shows the menu in browsers that run no applets.
    // Deferred, it holds neither the parser nor the pictures up; where the
    // browser can, the first frame waits for it, so the block's plain links
    // never show before the menu. The page is written in UTF-8 and says so,
    // or a browser reading it over http guesses another encoding and
    // garbles every text beyond ASCII.
    QString page = QStringLiteral("<HTML>\r\n<HEAD>\r\n<script src=\"quillmap.js\" defer blocking=\"render\"></script>\r\n"
                                  "<meta charset=\"utf-8\">\r\n</HEAD>\r\n<BODY>\r\n");
    page += block;
    page += QLatin1String("\r\n</BODY>\r\n</HTML>\r\n");
    return page.toUtf8();
}

bool writePreviewPage(const QString &fileName, const QString &block, QString *reason)
{
    return writeFileAtomically(fileName, previewPage(block), reason);
}

bool runPreview(Design &d, ProgramSetup &p, const PreviewEnv &env)
{
    Prompts &prompts = *env.prompts;
    if (!isUsableBrowser(p.Browser)) {
        prompts.messageBox(BoxIcon::Question, QStringLiteral("Confirm"),
                           QStringLiteral("Please pick a default browser with which to preview the Quillmap Applet."),
                           BoxButtons::Ok);
        if (const std::optional<QString> chosen = chooseBrowser(prompts, QString(), p.AppDir)) {
            p.Browser = *chosen;
            QString reason;
            if (!writeBrowserSetting(p.AppDir, p.Browser, &reason))
                prompts.warning(QLatin1String("Error saving ") + settingsFilePath(p.AppDir) + QLatin1String(": ") + reason);
        }
    }
    if (!isUsableBrowser(p.Browser))
        return false;

    // Nothing to place on the page: say so, as Compile does, rather than
    // show the block of an earlier build.
    if (!d.ShowTitleAndBlurb && d.Buttons.isEmpty()) {
        prompts.information(QStringLiteral("There are no Buttons!"));
        return false;
    }

    const QString folder = previewFolder(p.AppDir);
    if (!QFileInfo(folder).isDir()) {
        prompts.warning(QLatin1String("The preview folder ") + folder + QLatin1String(" is missing."));
        return false;
    }
    // The files a new copy replaces are written over rather than deleted
    // and made anew: previewing a large design again then makes no new files.
    const QList<FileCopy> copies = previewCopies(d, p.AppDir, folder);
    QSet<QString> reusable;
    for (const FileCopy &c : copies)
        reusable.insert(fileNamePart(c.target));
    QStringList kept;
    emptyPreviewFolder(folder, reusable, &kept);
    QDir::setCurrent(p.AppDir);

    // The preview folder is scratch space: its files need not reach the disk.
    const CopyReport report = env.files ? copyEach(*env.files, copies, CopyKind::Scratch) : CopyReport();
    QSet<QString> written;
    for (const QString &target : report.written)
        written.insert(fileNamePart(target));
    for (const QString &name : std::as_const(kept)) {
        if (!written.contains(name))
            QFile::remove(folder + QLatin1Char('/') + name);
    }
    if (!report.skipped.isEmpty())
        prompts.warning(skippedCopiesMessage(report.skipped));

    BorrowedNames names(d);
    d.FileDir = d.FileDirUpper = folder + QLatin1Char('/');
    d.FileName = d.FileNameUpper = QLatin1String(PreviewPageName);
    if (!env.buildBlock())
        return false;
    QString reason;
    if (!env.writePage(&reason)) {
        prompts.warning(QLatin1String("Error writing ") + d.FileDir + d.FileName + QLatin1String(": ") + reason);
        return false;
    }
    env.launcher->OpenURL(QLatin1Char('"') + p.Browser + QLatin1Char('"'),
                          QLatin1Char('"') + d.FileDir + d.FileName + QLatin1Char('"'));
    return true;
}

} // namespace qm
