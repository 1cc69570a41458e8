// One step in a design of 200 and of 5,000 buttons, with the window shown:
// an arrow-key nudge of the selected button, the undo of a nudge and the
// undo of a change of a button's properties. Each counts until every event
// it posted is handled, so the surface's extent and the repaint it asked for
// are part of it. A step touches only the controls it changed: at 5,000
// buttons a nudge costs at most 0.3 ms of CPU and an undo at most 1 ms
// (what still grows with the buttons is Qt's repaint walking the surface's
// children, and the surface's extent). With 200 buttons selected, a nudge
// and an alignment move them all as one step.

#include "benchmain.h"
#include "editor/tcleanmybutton.h"
#include "editor/designsurface.h"
#include "model/projectfile.h"
#include "testsupport.h"

#include <QCoreApplication>
#include <QTest>
#include <QUndoStack>

#include <benchmark/benchmark.h>

namespace {

// A window that has opened a design of `buttons` buttons, the middle one
// selected.
struct OpenDesign {
    explicit OpenDesign(int buttons)
    {
        TMainForm &m = *f.form;
        qm::Design d = m.design();
        d.Buttons.clear();
        for (int i = 0; i < buttons; ++i) {
            qm::ButtonData b = d.newButton(m.program(), 10 + (i % 50) * 64, 140 + (i / 50) * 44);
            b.Width = 60;
            b.Height = 40;
            d.Buttons.append(b);
        }
        const QString path = qmbench::workDir() + QStringLiteral("/steps.qmf");
        qmtest::writeBytes(path, qm::writeProject(d, qm::FixedWidthLineBreaker()));
        m.resize(1300, 700);
        m.openChosenFile(path);
        if (m.design().Buttons.size() != buttons)
            qFatal("the design did not open: %s", qPrintable(f.prompts.messages().join(QLatin1Char(' '))));
        m.HighlightButton(m.ButtonControls.at(buttons / 2));
        m.show();
        if (!QTest::qWaitForWindowExposed(&m))
            qFatal("the main window did not show");
        m.Background->setFocus();
        QCoreApplication::processEvents();
    }

    void key(Qt::Key key)
    {
        QTest::keyClick(f.form->Background, key);
        QCoreApplication::processEvents();
    }

    qmbench::Form f;
};

void BM_Nudge(benchmark::State &state)
{
    OpenDesign o(int(state.range(0)));
    bool right = true;
    for (auto _ : state) {
        o.key(right ? Qt::Key_Right : Qt::Key_Left);
        right = !right;
    }
    state.counters["steps"] = o.f.form->undoStack()->count();
}
BENCHMARK(BM_Nudge)->Arg(200)->Arg(5000)->Unit(benchmark::kMicrosecond);

// An undo and its redo per iteration: the time of one undo is half of it.
void undoRedo(benchmark::State &state, OpenDesign &o)
{
    TMainForm &m = *o.f.form;
    for (auto _ : state) {
        m.Undo();
        QCoreApplication::processEvents();
        m.Redo();
        QCoreApplication::processEvents();
    }
    state.SetItemsProcessed(state.iterations() * 2);
}

void BM_UndoNudge(benchmark::State &state)
{
    OpenDesign o(int(state.range(0)));
    o.key(Qt::Key_Down);
    undoRedo(state, o);
}
BENCHMARK(BM_UndoNudge)->Arg(200)->Arg(5000)->Unit(benchmark::kMicrosecond);

void BM_UndoButtonProperties(benchmark::State &state)
{
    OpenDesign o(int(state.range(0)));
    TMainForm &m = *o.f.form;
    const int index = m.selectionIndex();
    qm::ButtonData edited = m.design().Buttons.at(index);
    edited.TitleText = QStringLiteral("Changed");
    edited.Width += 20;
    m.document().push(new qm::edit::ButtonPropertiesStep(m.document(), index, m.design().Buttons.at(index), edited));
    undoRedo(state, o);
}
BENCHMARK(BM_UndoButtonProperties)->Arg(200)->Arg(5000)->Unit(benchmark::kMicrosecond);

// With every button selected: a nudge of all of them (a run of arrow keys
// is one step), and an alignment with its undo (items: the two of them).
void selectAll(OpenDesign &o)
{
    TMainForm &m = *o.f.form;
    QList<int> all;
    for (int i = 0; i < m.design().Buttons.size(); ++i)
        all << i;
    m.document().setAlsoSelected(all);
    QCoreApplication::processEvents();
}

void BM_NudgeSelected(benchmark::State &state)
{
    OpenDesign o(int(state.range(0)));
    selectAll(o);
    bool right = true;
    for (auto _ : state) {
        o.key(right ? Qt::Key_Right : Qt::Key_Left);
        right = !right;
    }
    state.counters["steps"] = o.f.form->undoStack()->count();
    state.counters["selected"] = o.f.form->document().selectedButtons().size();
}
BENCHMARK(BM_NudgeSelected)->Arg(200)->Unit(benchmark::kMicrosecond);

void BM_AlignSelected(benchmark::State &state)
{
    OpenDesign o(int(state.range(0)));
    selectAll(o);
    TMainForm &m = *o.f.form;
    for (auto _ : state) {
        m.ArrangeClick(qm::Arrangement::AlignLeft);
        QCoreApplication::processEvents();
        m.Undo();
        QCoreApplication::processEvents();
    }
    state.SetItemsProcessed(state.iterations() * 2);
    state.counters["selected"] = m.document().selectedButtons().size();
}
BENCHMARK(BM_AlignSelected)->Arg(200)->Unit(benchmark::kMicrosecond);

} // namespace
