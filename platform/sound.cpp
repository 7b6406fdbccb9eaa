#include "platform/sound.h"

namespace {

// Used until the program installs the real player: nothing to hear.
class SilentSound : public Sound
{
public:
    void play(const QString &) override {}
};

Sound *g_sound = nullptr;

} // namespace

Sound &Sound::instance()
{
    static SilentSound fallback;
    return g_sound ? *g_sound : fallback;
}

void Sound::setInstance(Sound *sound)
{
    g_sound = sound;
}
