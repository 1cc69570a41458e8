// libFuzzer entry: feeds arbitrary bytes to the project file reader. A read
// must end in a complete design or in the corrupt-file result, never in a
// crash, a hang or a design half read.

#include "model/projectfile.h"

#include <cstdint>
#include <cstdlib>

namespace {

const qm::Design &base()
{
    static const qm::Design d = [] {
        qm::Design x;
        x.AppDir = QStringLiteral("/nonexistent/quillmap");
        qm::resetDesign(x);
        x.FileDir = QStringLiteral("/tmp/");
        x.FileName = QStringLiteral("fuzz.qmf");
        return x;
    }();
    return d;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    const std::optional<qm::Design> d = qm::readProject(bytes, base());
    if (!d)
        return 0;
    for (qsizetype i = 0; i < d->Buttons.size(); ++i) {
        if (d->Buttons.at(i).Tag != i || d->Buttons.at(i).DefImagePath != d->Buttons.at(i).DefImageName.toUpper())
            std::abort();
    }
    if (d->FileName != base().FileName || !d->Saved)
        std::abort();
    // What was read can be written again and reads back as a design.
    static const qm::FixedWidthLineBreaker breaker;
    if (!qm::readProject(qm::writeProject(*d, breaker), base()))
        std::abort();
    return 0;
}
