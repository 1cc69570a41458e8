// Building the applet block runs every text through the Title and Blurb
// areas' own layout. A design of 1,000 buttons must still build in far less
// time than a user notices.

#include "benchmain.h"
#include "compile/appletblock.h"

#include <QDir>

#include <benchmark/benchmark.h>

namespace {

void fillDesign(qm::Design &d, const qm::ProgramSetup &program, int buttons)
{
    d.Buttons.clear();
    for (int i = 0; i < buttons; ++i) {
        qm::ButtonData b = d.newButton(program, 10 + (i % 20) * 20, 10 + (i / 20) * 20);
        b.TitleText = QStringLiteral("Button %1: fresh coffee, delivered").arg(i);
        b.BlurbText = QStringLiteral("Roasted this week in small batches.\r\n\r\n"
                                     "Order before noon and it ships today, with a free sample of the month's beans.");
        d.Buttons.append(b);
    }
    d.renumber();
}

// The whole command as the program runs it: flush, layout through the real
// areas, restore. The texts are the same at every build, as when the user
// compiles or previews again.
void BM_BuildThroughTheAreas(benchmark::State &state)
{
    qmbench::Form rig;
    TMainForm &form = *rig.form;
    // The design's values only: the controls of the buttons are not needed.
    qm::Design &d = form.design();
    const int buttons = int(state.range(0));
    form.HighlightTable();
    fillDesign(d, form.program(), buttons);
    form.design().FileDir = QDir::tempPath() + QStringLiteral("/");
    form.design().FileName = QStringLiteral("bench.qmf");
    for (auto _ : state) {
        if (!form.BuildCompileString(true))
            state.SkipWithError("build abandoned");
        benchmark::DoNotOptimize(form.HTML.constData());
    }
    state.counters["buttons"] = buttons;
}
BENCHMARK(BM_BuildThroughTheAreas)->Arg(10)->Arg(100)->Arg(1000)->Unit(benchmark::kMillisecond);

// The same with texts the areas have not laid out before, as in the first
// build after the texts were edited.
void BM_FirstBuildThroughTheAreas(benchmark::State &state)
{
    qmbench::Form rig;
    TMainForm &form = *rig.form;
    qm::Design &d = form.design();
    const int buttons = int(state.range(0));
    form.HighlightTable();
    fillDesign(d, form.program(), buttons);
    int round = 0;
    for (auto _ : state) {
        state.PauseTiming();
        ++round;
        for (qm::ButtonData &b : d.Buttons) {
            b.TitleText = QStringLiteral("Round %1, button %2: fresh coffee").arg(round).arg(b.Tag);
            b.BlurbText = QStringLiteral("Roasted this week (%1).\r\n\r\nOrder before noon and it ships "
                                         "today, with a free sample of the month's beans.").arg(round * 10000 + b.Tag);
        }
        state.ResumeTiming();
        if (!form.BuildCompileString(true))
            state.SkipWithError("build abandoned");
        benchmark::DoNotOptimize(form.HTML.constData());
    }
    state.counters["buttons"] = buttons;
}
BENCHMARK(BM_FirstBuildThroughTheAreas)->Arg(10)->Arg(100)->Arg(1000)->Unit(benchmark::kMillisecond);

// The block alone, with a line breaker that only splits at typed breaks:
// what the layout through the areas adds is the difference.

void BM_BuildBlockOnly(benchmark::State &state)
{
    qm::Design d;
    const qm::ProgramSetup program = qm::programSetup(QDir::tempPath());
    qm::resetDesign(d);
    fillDesign(d, program, int(state.range(0)));
    d.FileDir = QDir::tempPath() + QStringLiteral("/");
    d.FileName = QStringLiteral("bench.qmf");
    qm::FixedWidthLineBreaker breaker;
    qm::AppletBuildEnv env;
    env.lines = &breaker;
    env.surfaceSize = QSize(450, 321);
    for (auto _ : state) {
        auto block = qm::buildAppletBlock(d, true, env);
        benchmark::DoNotOptimize(block->html.constData());
    }
}
BENCHMARK(BM_BuildBlockOnly)->Arg(10)->Arg(100)->Arg(1000)->Unit(benchmark::kMillisecond);

} // namespace
