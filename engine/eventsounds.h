#pragma once

#include <QString>

class Sound;

// The new-message and start-up sounds, chosen from the sound page's keys of the
// general settings file and played through Sound without waiting.
class EventSounds
{
public:
    enum Kind { NewMessage = 1, Startup = 2 };

    // nullptr plays through Sound::instance() at the time of each call.
    explicit EventSounds(Sound *sound = nullptr);

    // The file a kind would play now; empty while sounds are off. Any kind but 1 is the
    // start-up sound.
    static QString soundFile(int kind);

    void PlayEventSound(int kind);

private:
    Sound *m_sound;
};
