// Reads a project file the way the program does and prints the applet
// block that Compile or Preview would build for it, or the block together
// with the design's rectangles as JSON. The runtimes' tests use it, so the
// blocks they check are the very ones the program produces.
//
//   quillmap_blockgen [--preview] [--cropped] [--json] PROJECT.QMF
//
// Run it from a program folder (images/, sound/ ...): like the program, it
// takes the current directory as that folder. --cropped builds as with
// "Absolute positioning" unticked. Compile form copies the sound files
// beside the project, as Compile does.

#include "dialogs/ttableform.h"
#include "editor/tcleanmybutton.h"
#include "editor/tdesignsurface.h"
#include "editor/tmainform.h"
#include "platform/clipboard.h"
#include "platform/fileops.h"
#include "platform/scriptedprompts.h"

#include <QApplication>
#include <QCheckBox>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <cstdio>

namespace {

QJsonObject rectJson(const QRect &r)
{
    return QJsonObject{{"left", r.left()}, {"top", r.top()}, {"width", r.width()}, {"height", r.height()}};
}

int usage()
{
    std::fprintf(stderr, "usage: quillmap_blockgen [--preview] [--cropped] [--json] PROJECT.QMF\n");
    return 2;
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    bool preview = false, cropped = false, json = false;
    QString project;
    for (const QString &arg : app.arguments().mid(1)) {
        if (arg == QLatin1String("--preview"))
            preview = true;
        else if (arg == QLatin1String("--cropped"))
            cropped = true;
        else if (arg == QLatin1String("--json"))
            json = true;
        else if (arg.startsWith(QLatin1String("--")) || !project.isEmpty())
            return usage();
        else
            project = QFileInfo(arg).absoluteFilePath();
    }
    if (project.isEmpty())
        return usage();

    qm::ScriptedPrompts prompts;
    qm::LocalFileOps files;
    MainFormServices services;
    services.prompts = &prompts;
    services.files = &files;
    services.images = TPMultiImage::standardContext(&prompts);
    services.splash = false;
    TMainForm form(services);

    prompts.files = {project};
    form.Open();
    if (form.FileName.isEmpty() || !prompts.messages().isEmpty()) {
        std::fprintf(stderr, "quillmap_blockgen: %s could not be read\n", qPrintable(project));
        return 1;
    }
    form.TableForm->cbAbsPos->setChecked(!cropped);
    if (!form.BuildCompileString(preview)) {
        std::fprintf(stderr, "quillmap_blockgen: nothing to build (no Title and Blurb, no buttons)\n");
        return 1;
    }

    QByteArray out;
    if (json) {
        QJsonArray buttons;
        for (const qm::ButtonData &b : std::as_const(form.Buttons))
            buttons.append(rectJson(b.rect()));
        const QJsonObject o{
            {"html", form.HTML},
            {"preview", preview},
            {"absolute", form.AbsolutePositioning},
            {"surface", QJsonObject{{"width", form.Background->width()}, {"height", form.Background->height()}}},
            {"offsetLeft", form.OffsetLeft},
            {"offsetTop", form.OffsetTop},
            {"appletWidth", form.AppletWidth},
            {"appletHeight", form.AppletHeight},
            {"showTitleAndBlurb", form.ShowTitleAndBlurb},
            {"title", rectJson(form.TitleRect)},
            {"blurb", rectJson(form.BlurbRect)},
            {"buttons", buttons},
        };
        out = QJsonDocument(o).toJson(QJsonDocument::Indented);
    } else {
        out = form.HTML.toUtf8();
    }
    std::fwrite(out.constData(), 1, size_t(out.size()), stdout);
    return 0;
}
