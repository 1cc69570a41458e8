// Designs of 10 to 5,000 buttons where every button has its own two
// pictures, all in one folder, the way a real site keeps them: Open (until
// the surface shows the design), Compile (until the first box) and Preview
// (until the browser gets the page). Each Open starts a fresh program, so
// nothing is known about the folders or the pictures beforehand.
//
// The time from 1,000 to 5,000 buttons must grow no more than the number of
// buttons does.

#include "benchmain.h"
#include "model/projectfile.h"
#include "model/recovery.h"
#include "platform/caseresolve.h"
#include "scriptedconversation.h"
#include "preview/tddeform.h"
#include "testsupport.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>
#include <QUndoStack>
#include <QToolButton>

#include <benchmark/benchmark.h>

#include <map>

namespace {

// A program folder and, beside it, a site folder with the project file and
// a pictures folder holding b0001.gif, b0001-over.gif ... for N buttons.
struct Site {
    explicit Site(int buttons)
    {
        QDir(folder.path()).mkpath(QStringLiteral("site/pics"));
        for (const char *name : {"loadall.class", "header.class", "buttbox.class", "mbutt.class", "quillmap.class",
                                 "mainarea.class", "quillmap.zip", "quillmap.cab", "quillmap.js"})
            qmtest::writeBytes(folder.file(QLatin1String("java/") + QLatin1String(name)), QByteArray(4096, 'j'));
        static const QByteArray gif =
            qmtest::encodedPicture(qmtest::solidImage(60, 40, qRgb(40, 80, 160)), QStringLiteral("GIF"));
        qm::Design d;
        const qm::ProgramSetup program = qm::programSetup(folder.path());
        qm::resetDesign(d);
        const QString pics = folder.file(QStringLiteral("site/pics/"));
        for (int i = 0; i < buttons; ++i) {
            const QString stem = pics + QStringLiteral("b%1").arg(i + 1, 4, 10, QLatin1Char('0'));
            qmtest::writeBytes(stem + QLatin1String(".gif"), gif);
            qmtest::writeBytes(stem + QLatin1String("-over.gif"), gif);
            qm::ButtonData b = d.newButton(program, 10 + (i % 50) * 64, 140 + (i / 50) * 44);
            b.Width = 60;
            b.Height = 40;
            b.DefImageName = stem + QLatin1String(".gif");
            b.MouseOverImage = stem + QLatin1String("-over.gif");
            b.TitleText = QStringLiteral("Page %1").arg(i + 1);
            b.BlurbText = QStringLiteral("What page %1 holds.").arg(i + 1);
            d.Buttons.append(b);
        }
        project = folder.file(QStringLiteral("site/menu.qmf"));
        qmtest::writeBytes(project, qm::writeProject(d, qm::FixedWidthLineBreaker()));
    }

    static Site &of(int buttons)
    {
        static std::map<int, std::unique_ptr<Site>> sites;
        auto &site = sites[buttons];
        if (!site)
            site = std::make_unique<Site>(buttons);
        return *site;
    }

    qmtest::ProgramFolder folder;
    QString project;
};

// A fresh program started in the site's program folder, its window shown.
struct Program {
    explicit Program(Site &site)
    {
        QDir::setCurrent(site.folder.path());
        qm::forgetFolderListings();
        services.prompts = &prompts;
        services.files = &files;
        services.images = TPMultiImage::standardContext(&prompts);
        services.splash = false;
        form = std::make_unique<TMainForm>(services);
        form->show();
        if (!QTest::qWaitForWindowExposed(form.get()))
            qFatal("the main window did not show");
        form->document().markSaved();
    }

    bool open(const QString &path, int buttons)
    {
        prompts.files = {path};
        form->Open();
        // What the surface does once the command has returned belongs to it.
        QCoreApplication::processEvents();
        return form->design().Buttons.size() == buttons && prompts.unscripted.isEmpty();
    }

    qm::ScriptedPrompts prompts;
    qm::LocalFileOps files;
    MainFormServices services;
    std::unique_ptr<TMainForm> form;
};

void BM_OpenOwnPictures(benchmark::State &state)
{
    const int buttons = int(state.range(0));
    Site &site = Site::of(buttons);
    for (auto _ : state) {
        state.PauseTiming();
        auto program = std::make_unique<Program>(site);
        state.ResumeTiming();
        if (!program->open(site.project, buttons))
            state.SkipWithError("the project did not open");
        state.PauseTiming();
        program.reset();
        state.ResumeTiming();
    }
    state.counters["buttons"] = buttons;
}

// A program with the site's design open, or null (and the benchmark
// skipped) when it did not open.
std::unique_ptr<Program> openedSite(benchmark::State &state)
{
    const int buttons = int(state.range(0));
    state.counters["buttons"] = buttons;
    Site &site = Site::of(buttons);
    auto program = std::make_unique<Program>(site);
    if (program->open(site.project, buttons))
        return program;
    state.SkipWithError("the project did not open");
    return nullptr;
}

void BM_CompileOwnPictures(benchmark::State &state)
{
    const std::unique_ptr<Program> program = openedSite(state);
    if (!program)
        return;
    TMainForm &m = *program->form;
    for (auto _ : state) {
        // Copy the runtime files too: Yes to the question.
        program->prompts.answers = {qm::ModalResult::Yes};
        m.CompileButtonClick(m.CompileButton);
        if (!program->prompts.answers.empty() || !program->prompts.unscripted.isEmpty())
            state.SkipWithError("Compile did not ask its question");
    }
}

void BM_PreviewOwnPictures(benchmark::State &state)
{
    const std::unique_ptr<Program> program = openedSite(state);
    if (!program)
        return;
    TMainForm &m = *program->form;
    // Any existing program passes for the browser; the scripted
    // conversation answers in its place.
    m.program().Browser = QCoreApplication::applicationFilePath();
    for (auto _ : state) {
        state.PauseTiming();
        auto conversation = std::make_unique<qm::ScriptedConversation>();
        qm::ScriptedConversation *log = conversation.get();
        conversation->answering = {QStringLiteral("WWW_OpenURL"), QStringLiteral("WWW_Activate")};
        conversation->replies = {QStringLiteral("1"), QStringLiteral("1")};
        m.DDEForm->setConversation(std::move(conversation));
        state.ResumeTiming();
        m.PreviewButtonClick(m.SpeedButton1);
        if (!log->log.join(QLatin1Char('\n')).contains(QLatin1String("preview.html")))
            state.SkipWithError("the browser did not get the page");
    }
}

// The autosave of an unsaved design, as much of it as the window waits for:
// the design made into a project file's bytes; the disk is a thread's job.
void BM_AutosaveOnTheWindowsThread(benchmark::State &state)
{
    QTemporaryDir folder;
    qm::RecoveryStore store(folder.path());
    if (!store.open())
        return state.SkipWithError("no recovery file");
    const int buttons = int(state.range(0));
    state.counters["buttons"] = buttons;
    Site &site = Site::of(buttons);
    QDir::setCurrent(site.folder.path());
    qm::ScriptedPrompts prompts;
    qm::LocalFileOps files;
    MainFormServices services;
    services.prompts = &prompts;
    services.files = &files;
    services.images = TPMultiImage::standardContext(&prompts);
    services.splash = false;
    services.recovery = &store;
    TMainForm m(services);
    prompts.files = {site.project};
    m.Open();
    QCoreApplication::processEvents();
    if (m.design().Buttons.size() != buttons)
        return state.SkipWithError("the project did not open");
    m.undoStack()->resetClean();
    for (auto _ : state) {
        m.autosave();
        state.PauseTiming();
        store.finishWriting();
        state.ResumeTiming();
    }
    if (!QFileInfo(store.file()).isFile())
        state.SkipWithError("no recovery file was written");
}

void scaleArgs(benchmark::internal::Benchmark *b)
{
    b->Arg(10)->Arg(100)->Arg(1000)->Arg(5000)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime()->UseRealTime();
}

BENCHMARK(BM_OpenOwnPictures)->Apply(scaleArgs);
BENCHMARK(BM_CompileOwnPictures)->Apply(scaleArgs);
BENCHMARK(BM_PreviewOwnPictures)->Apply(scaleArgs);
BENCHMARK(BM_AutosaveOnTheWindowsThread)->Arg(1000)->Arg(5000)->Unit(benchmark::kMillisecond);

} // namespace
