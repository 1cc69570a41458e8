// Saving and opening a design of 1,000 buttons through the main window:
// titles go through the Title area's layout, the file through a temporary
// file, and opening builds a button control per record.

#include "benchmain.h"
#include "model/projectfile.h"

#include <QDir>
#include <QPushButton>

#include <benchmark/benchmark.h>

namespace {

void makeDesign(TMainForm &m, int buttons)
{
    m.HighlightTable();
    for (int i = 1; i < buttons; ++i)
        m.AddButtonClick(m.AddButton);
    m.HighlightTable();
    for (int i = 0; i < m.design().Buttons.size(); ++i) {
        qm::ButtonData &b = m.design().Buttons[i];
        b.Left = 10 + (i % 20) * 20;
        b.Top = 10 + (i / 20) * 20;
        b.TitleText = QStringLiteral("Button %1: fresh coffee").arg(i);
        b.BlurbText = QStringLiteral("Roasted this week.\r\n\r\nOrder before noon and it ships today.");
    }
    m.design().FileDir = qmbench::workDir() + QLatin1Char('/');
    m.design().FileName = QStringLiteral("big.qmf");
    m.design().FileDirUpper = m.design().FileDir.toUpper();
    m.design().FileNameUpper = m.design().FileName.toUpper();
}

void BM_Save1000(benchmark::State &state)
{
    qmbench::Form f;
    makeDesign(*f.form, 1000);
    for (auto _ : state) {
        if (!f.form->Save())
            state.SkipWithError("save failed");
    }
}
BENCHMARK(BM_Save1000)->Unit(benchmark::kMillisecond);

void BM_Open1000(benchmark::State &state)
{
    qmbench::Form f;
    makeDesign(*f.form, 1000);
    if (!f.form->Save()) {
        state.SkipWithError("save failed");
        return;
    }
    const QString path = f.form->design().FileDir + f.form->design().FileName;
    for (auto _ : state) {
        f.prompts.files = {path};
        f.form->Open();
        if (f.form->design().Buttons.size() != 1000)
            state.SkipWithError("open failed");
    }
}
BENCHMARK(BM_Open1000)->Unit(benchmark::kMillisecond);

// The file format alone: reading the bytes of a 1,000-button file.
void BM_ReadProjectBytes1000(benchmark::State &state)
{
    qmbench::Form f;
    makeDesign(*f.form, 1000);
    f.form->Save();
    QFile file(f.form->design().FileDir + f.form->design().FileName);
    file.open(QIODevice::ReadOnly);
    const QByteArray bytes = file.readAll();
    const qm::Design base = f.form->design();
    for (auto _ : state) {
        auto d = qm::readProject(bytes, base);
        benchmark::DoNotOptimize(d->Buttons.size());
    }
    state.SetBytesProcessed(state.iterations() * bytes.size());
}
BENCHMARK(BM_ReadProjectBytes1000)->Unit(benchmark::kMillisecond);

} // namespace
