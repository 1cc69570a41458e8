#pragma once

#include "platform/sound.h"

namespace qm {

// Plays sounds through Qt Multimedia, which lives in the sound module and is
// loaded at the first sound. One sound at a time: a new one stops the one
// before. Without the module the program stays silent, as on a machine
// without sound.
class QtSoundPlayer : public SoundPlayer {
public:
    QtSoundPlayer();
    ~QtSoundPlayer() override;
    QtSoundPlayer(const QtSoundPlayer &) = delete;
    QtSoundPlayer &operator=(const QtSoundPlayer &) = delete;

    void playAsync(const QString &fileName) override;

    // What the last playAsync did, for the curious (and the tests).
    enum class Outcome { None, NoFile, NoOutput, Started };
    Outcome lastOutcome() const { return m_last; }

private:
    void *m_player = nullptr;
    Outcome m_last = Outcome::None;
};

// True when the machine has at least one audio output (and the sound module
// is there to play on it). Asking costs a connection attempt to the sound
// server, whose failure Qt would otherwise print; the answer is kept for the
// run.
bool hasAudioOutput();

} // namespace qm
