#pragma once

#include <QString>

// Event sounds. One instance serves the whole program; tests replace it with
// RecordingSound.
class Sound
{
public:
    virtual ~Sound() = default;

    // Starts a WAV file and returns at once; a sound still playing is cut off.
    // A file that is missing or cannot be played stays silent.
    virtual void play(const QString &wavPath) = 0;

    static Sound &instance();
    // Replaces the instance (not owned); nullptr restores the silent default.
    static void setInstance(Sound *sound);
};
