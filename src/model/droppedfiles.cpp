#include "model/droppedfiles.h"

#include "imageview/pictureloader.h"
#include "platform/fileops.h"
#include "platform/paths.h"

namespace qm {

namespace {

// Room between buttons made from dropped pictures.
constexpr int kDroppedGap = 8;

} // namespace

DroppedFiles sortDroppedFiles(const QStringList &paths)
{
    DroppedFiles out;
    for (const QString &path : paths) {
        if (!isFile(path))
            continue;
        // The image view knows a kind by the first four characters of the extension.
        const QString ext = fileExtension(path).left(4).toUpper();
        if (ext == QLatin1String(".QMF"))
            out.projects << path;
        else if (sourceForExtension(ext))
            out.pictures << path;
    }
    return out;
}

QList<ButtonData> buttonsForPictures(const Design &design, const ProgramSetup &program, const QStringList &pictures,
                                     QPoint at)
{
    QList<ButtonData> out;
    int left = std::max(0, at.x());
    for (const QString &picture : pictures) {
        ButtonData b = withPicture(design.newButton(program, left, std::max(0, at.y())), picture, false);
        left += b.Width + kDroppedGap;
        out << b;
    }
    return out;
}

ButtonData withPicture(ButtonData button, const QString &picture, bool mouseOver)
{
    // Under the name typed and the name the image view reports, as a project
    // file holds a picture.
    (mouseOver ? button.MouseOverImage : button.DefImageName) = picture;
    (mouseOver ? button.MouseOverImagePath : button.DefImagePath) = picture.toUpper();
    return button;
}

} // namespace qm
