#pragma once

#include "platform/sound.h"

#include <QStringList>

// Test double: records the path of every sound played.
class RecordingSound : public Sound
{
public:
    void play(const QString &wavPath) override { played.append(wavPath); }

    QStringList played;
};
