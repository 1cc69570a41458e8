#pragma once

#include <QString>

namespace qm {

// Sound playback of the program (the start-up splash's bang). Playing never
// blocks and never reports anything: a missing file or a machine without
// sound output simply stays silent.
class SoundPlayer {
public:
    virtual ~SoundPlayer() = default;
    // Starts playing a WAV file and returns at once. A relative name is taken
    // from the current directory; its case does not matter.
    virtual void playAsync(const QString &fileName) = 0;
};

} // namespace qm
