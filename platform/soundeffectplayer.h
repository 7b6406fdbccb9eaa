#pragma once

#include "platform/sound.h"

#include <QObject>
#include <QTimer>

class QSoundEffect;

// Plays event sounds with QSoundEffect. One sound at a time: the effect lives
// until its sound ends or fails, and the next play() cuts it off. A missing
// file, a file that is not a whole PCM WAV and a machine without an audio
// device are silent. An effect that never finishes (a sink that never starts)
// is released after the time limit.
class SoundEffectPlayer : public QObject, public Sound
{
    Q_OBJECT

public:
    explicit SoundEffectPlayer(QObject *parent = nullptr);
    ~SoundEffectPlayer() override;

    void play(const QString &wavPath) override;

    // True from play() until soundEnded().
    bool isBusy() const { return m_effect != nullptr; }

    // Whether the WAV decoder can read the file to its end. Qt's loader waits for
    // bytes a truncated file never gives, and then blocks the next release of any
    // sound forever, so such files are refused before they reach it.
    static bool isPlayableWav(const QString &path);

    // Longest a sound may take, in milliseconds (five minutes unless set).
    void setTimeLimit(int milliseconds) { m_limit.setInterval(milliseconds); }

signals:
    // The current sound finished, failed, was cut off or ran out of time.
    void soundEnded();

protected:
    // Tests override it to reach the effect on a machine without sound.
    virtual bool hasAudioOutput() const;

private:
    void effectChanged();
    void release();

    QSoundEffect *m_effect = nullptr;
    QTimer m_limit;
};
