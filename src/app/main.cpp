#include "app/quillmapapplication.h"
#include "editor/tmainform.h"
#include "imageview/magickdecoder.h"
#include "dialogs/taskifsave.h"
#include "platform/clipboard.h"
#include "platform/fileops.h"
#include "platform/qtprompts.h"
#include "platform/qtsound.h"

int main(int argc, char **argv)
{
    QuillmapApplication app(argc, argv);

    qm::QtPrompts prompts;
    qm::LocalFileOps files;
    qm::SystemClipboard clipboard;
    qm::QtSoundPlayer sound;
    MainFormServices services;
    services.files = &files;
    services.clipboard = &clipboard;
    services.prompts = &prompts;
    services.sound = &sound;
    services.images = TPMultiImage::standardContext(&prompts);

    // The main window first; the dialogs it owns, the unsaved-changes
    // question among them, are made when they are first needed and live
    // until the program ends.
    TMainForm mainForm(services);
    prompts.setParent(&mainForm);
    prompts.setAskIfSave([&mainForm]() -> QDialog * { return new TAskIfSave(&mainForm); });

    mainForm.show();
    return app.exec();
}
