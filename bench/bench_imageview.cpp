// Reading the image name of a button happens at every mouse move over the
// design; it must cost a stat, not a decode. The first load shows what a
// decode of a typical photo costs.

#include "benchmain.h"
#include "imageview/tpmultiimage.h"
#include "platform/scriptedprompts.h"

#include <benchmark/benchmark.h>

namespace {

// A 1024 x 768 JPEG with some detail, so the decoder has real work.
QString photo()
{
    static QString path;
    if (path.isEmpty()) {
        path = qmbench::workDir() + QStringLiteral("/Photo.jpg");
        QImage img(1024, 768, QImage::Format_RGB32);
        for (int y = 0; y < img.height(); ++y) {
            QRgb *line = reinterpret_cast<QRgb *>(img.scanLine(y));
            for (int x = 0; x < img.width(); ++x)
                line[x] = qRgb(x & 255, y & 255, (x * y) & 255);
        }
        if (!img.save(path, "JPEG", 85))
            qFatal("cannot write %s", qPrintable(path));
    }
    return path;
}

void BM_ReadUnchangedImageName10k(benchmark::State &state)
{
    qm::ScriptedPrompts prompts;
    TPMultiImage view(nullptr, TPMultiImage::standardContext(&prompts));
    const QString name = photo().toUpper();
    view.setImageName(name);
    if (!view.hasPicture()) {
        state.SkipWithError("photo did not decode");
        return;
    }
    for (auto _ : state) {
        for (int i = 0; i < 10000; ++i) {
            QString reported = view.ImageName();
            benchmark::DoNotOptimize(reported);
        }
    }
    state.SetItemsProcessed(state.iterations() * 10000);
}
BENCHMARK(BM_ReadUnchangedImageName10k)->Unit(benchmark::kMillisecond);

void BM_FirstLoad(benchmark::State &state)
{
    qm::ScriptedPrompts prompts;
    const QString name = photo().toUpper();
    for (auto _ : state) {
        // A fresh store each time: nothing decoded or resolved before.
        TPMultiImage view(nullptr, TPMultiImage::standardContext(&prompts));
        view.setImageName(name);
        benchmark::DoNotOptimize(view.Picture().constBits());
    }
}
BENCHMARK(BM_FirstLoad)->Unit(benchmark::kMillisecond);

} // namespace
