// Moving the mouse across a design of 200 buttons: every move goes through
// the window system layer, the surface's routing, the mouse-over picture
// swap (a read of the button's image name), the hot zones and the repaint
// that follows. Each event must stay far below what a user could notice.
//
// The argument is the number of timed mouse moves; running it with 10,000
// and with 20,000 under strace shows what one move costs in system calls.

#include "editor/tcleanmybutton.h"
#include "editor/designsurface.h"
#include "editor/tmainform.h"
#include "imageview/magickdecoder.h"
#include "platform/fileops.h"
#include "scriptedprompts.h"
#include "testsupport.h"

#include <QApplication>
#include <QDir>
#include <QPushButton>
#include <QTest>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>

namespace {

class CountingDecoder : public qm::ImageDecoder {
public:
    qm::DecodeResult decode(const QString &fileName, qm::DecoderFormat format, int depth, bool dither) override
    {
        ++count;
        return qm::MagickDecoder::instance().decode(fileName, format, depth, dither);
    }
    int count = 0;
};

// The main window in a program folder of its own, 1300 x 700, with 200
// buttons of 60 x 40 in 10 rows of 20 below the Title and Blurb areas.
struct Surface {
    Surface()
    {
        previous = QDir::currentPath();
        QDir::setCurrent(folder.path());
        services.prompts = &prompts;
        services.files = &files;
        services.images = TPMultiImage::standardContext(&prompts);
        services.images.decoder = &decoder;
        services.splash = false;
        form = std::make_unique<TMainForm>(services);
        TMainForm &m = *form;
        m.resize(1300, 700);
        while (m.design().Buttons.size() < 200)
            m.AddButtonClick(m.AddButton);
        for (int i = 0; i < 200; ++i) {
            m.design().Buttons[i].setRect(QRect(10 + (i % 20) * 62, 140 + (i / 20) * 42, 60, 40));
            m.pushButtonToControl(i);
        }
        m.HighlightTable();
        m.show();
        if (!QTest::qWaitForWindowExposed(&m))
            qFatal("the main window did not show");
    }
    ~Surface()
    {
        form.reset();
        QDir::setCurrent(previous);
    }

    // The k-th point of a path that sweeps back and forth across the rows
    // in 13-pixel steps, crossing buttons, their edges and the gaps.
    QPoint pathPoint(int k) const
    {
        const int band = (k / 100) % 11;
        const int step = k % 100;
        const int x = 5 + ((k / 100) % 2 ? 99 - step : step) * 13;
        const int y = 125 + band * 42 + (k / 1100) % 9 * 4;
        return form->Background->canvas()->mapTo(form.get(), QPoint(x, y));
    }

    void move(QPoint windowPos)
    {
        QTest::mouseMove(form->windowHandle(), windowPos);
        // The repaint of a swapped picture belongs to the event's cost.
        QCoreApplication::processEvents();
    }

    qmtest::ProgramFolder folder;
    QString previous;
    qm::ScriptedPrompts prompts;
    qm::LocalFileOps files;
    CountingDecoder decoder;
    MainFormServices services;
    std::unique_ptr<TMainForm> form;
};

void BM_MouseAcrossSurface(benchmark::State &state)
{
    Surface s;
    const int events = int(state.range(0));
    // Every picture is seen once before the timing starts.
    for (int k = 0; k < 1100; ++k)
        s.move(s.pathPoint(k));
    const int decodesBefore = s.decoder.count;

    std::vector<double> perEvent;
    perEvent.reserve(size_t(events));
    int entered = 0;
    for (auto _ : state) {
        for (int k = 0; k < events; ++k) {
            const QPoint p = s.pathPoint(k);
            const TCleanMyButton *last = s.form->LastMouseOverButton;
            const auto t0 = std::chrono::steady_clock::now();
            s.move(p);
            const auto t1 = std::chrono::steady_clock::now();
            perEvent.push_back(std::chrono::duration<double, std::milli>(t1 - t0).count());
            if (s.form->LastMouseOverButton != last)
                ++entered;
        }
    }
    std::sort(perEvent.begin(), perEvent.end());
    const auto at = [&](double q) { return perEvent[size_t(q * double(perEvent.size() - 1))]; };
    state.counters["median_ms"] = at(0.5);
    state.counters["p95_ms"] = at(0.95);
    state.counters["max_ms"] = perEvent.back();
    state.counters["decodes"] = s.decoder.count - decodesBefore;
    state.counters["events"] = double(perEvent.size());
    // Moves that took a new button's mouse-over picture (and gave the last one its default back).
    state.counters["buttons_entered"] = entered;
    if (s.decoder.count != decodesBefore)
        state.SkipWithError("a picture was decoded again during the timed moves");
}
BENCHMARK(BM_MouseAcrossSurface)->Arg(10000)->Arg(20000)->Iterations(1)->Unit(benchmark::kMillisecond);

} // namespace
