#pragma once

#include "platform/sound.h"

#include <memory>

class QSoundEffect;

namespace qm {

// Plays sounds through Qt Multimedia. One sound at a time: a new one stops
// the one before.
class QtSoundPlayer : public SoundPlayer {
public:
    QtSoundPlayer();
    ~QtSoundPlayer() override;

    void playAsync(const QString &fileName) override;

    // What the last playAsync did, for the curious (and the tests).
    enum class Outcome { None, NoFile, NoOutput, Started };
    Outcome lastOutcome() const { return m_last; }

private:
    std::unique_ptr<QSoundEffect> m_effect;
    Outcome m_last = Outcome::None;
};

// True when the machine has at least one audio output. Asking costs a
// connection attempt to the sound server, whose failure Qt would otherwise
// print; the answer is kept for the run.
bool hasAudioOutput();

} // namespace qm
