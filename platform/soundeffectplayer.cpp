#include "platform/soundeffectplayer.h"

#include <QAudioDevice>
#include <QDebug>
#include <QFile>
#include <QFileInfo>
#include <QMediaDevices>
#include <QSoundEffect>
#include <QUrl>
#include <QtEndian>

#include <utility>

SoundEffectPlayer::SoundEffectPlayer(QObject *parent)
    : QObject(parent)
{
    m_limit.setSingleShot(true);
    m_limit.setInterval(5 * 60 * 1000);
    connect(&m_limit, &QTimer::timeout, this, [this] {
        if (m_effect)
            qDebug().noquote() << "sound cut off after" << m_limit.interval()
                               << "ms:" << m_effect->source().toLocalFile();
        release();
    });
}

SoundEffectPlayer::~SoundEffectPlayer()
{
    if (QSoundEffect *effect = std::exchange(m_effect, nullptr)) {
        effect->disconnect(this);
        delete effect;
    }
}

void SoundEffectPlayer::play(const QString &wavPath)
{
    release();
    if (!QFileInfo(wavPath).isFile()) {
        qDebug().noquote() << "no sound file" << wavPath;
        return;
    }
    if (!isPlayableWav(wavPath)) {
        qDebug().noquote() << "not a playable WAV file" << wavPath;
        return;
    }
    // Without a device the effect would wait for a sink that never starts.
    if (!hasAudioOutput()) {
        qDebug().noquote() << "no audio device for" << wavPath;
        return;
    }

    m_effect = new QSoundEffect(this);
    m_effect->setSource(QUrl::fromLocalFile(QFileInfo(wavPath).absoluteFilePath()));
    m_effect->play();
    // Watched only from here: a cached sample is ready before play() is called.
    connect(m_effect, &QSoundEffect::statusChanged, this, &SoundEffectPlayer::effectChanged);
    connect(m_effect, &QSoundEffect::playingChanged, this, &SoundEffectPlayer::effectChanged);
    m_limit.start();
    effectChanged();
}

bool SoundEffectPlayer::isPlayableWav(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    const qint64 fileSize = file.size();

    // Little-endian RIFF only: Qt 6.4's decoder crashes on big-endian RIFX data.
    const QByteArray riff = file.read(12);
    if (riff.size() != 12 || !riff.startsWith("RIFF") || riff.mid(8, 4) != "WAVE")
        return false;
    const auto number = [](const QByteArray &bytes, int at, int size) -> quint32 {
        const auto *data = reinterpret_cast<const uchar *>(bytes.constData()) + at;
        return size == 2 ? qFromLittleEndian<quint16>(data) : qFromLittleEndian<quint32>(data);
    };

    // The chunks as the decoder walks them: "fmt " first, then "data", skipping
    // others. Every byte it waits for must be in the file.
    qint64 position = 12;
    int bytesPerSample = 0;
    while (true) {
        if (position + 8 > fileSize || !file.seek(position))
            return false;
        const QByteArray header = file.read(8);
        if (header.size() != 8)
            return false;
        const QByteArray id = header.left(4);
        const qint64 size = number(header, 4, 4);

        if (bytesPerSample == 0 && id == "fmt ") {
            // The decoder reads 16 bytes and skips the rest without a pad byte.
            if (size < 16 || size % 2 != 0 || position + 8 + size > fileSize)
                return false;
            const QByteArray format = file.read(16);
            const quint32 code = number(format, 0, 2);
            const quint32 channels = number(format, 2, 2);
            const quint32 rate = number(format, 4, 4);
            const quint32 bits = number(format, 14, 2);
            if ((code != 0 && code != 1) || channels == 0 || rate == 0 ||
                (bits != 8 && bits != 16 && bits != 32))
                return false;
            bytesPerSample = int(bits / 8);
            position += 8 + size;
        } else if (bytesPerSample != 0 && id == "data") {
            // A size of 0 means the rest of a file with the 44-byte standard header.
            const qint64 dataSize = size != 0 ? size : fileSize - 44;
            return dataSize >= 0 && dataSize % bytesPerSample == 0 && position + 8 + dataSize <= fileSize;
        } else {
            // Qt 6.4 skips a chunk without its pad byte, so after an odd-sized one
            // it reads garbage and may wait for bytes that never come.
            if (size % 2 != 0)
                return false;
            position += 8 + size;
        }
    }
}

bool SoundEffectPlayer::hasAudioOutput() const
{
    return !QMediaDevices::defaultAudioOutput().isNull();
}

void SoundEffectPlayer::effectChanged()
{
    if (!m_effect)
        return;
    const QSoundEffect::Status status = m_effect->status();
    if (status == QSoundEffect::Error) {
        qDebug().noquote() << "sound not played:" << m_effect->source().toLocalFile();
        release();
    } else if (status == QSoundEffect::Ready && !m_effect->isPlaying()) {
        release();
    }
}

void SoundEffectPlayer::release()
{
    m_limit.stop();
    if (!m_effect)
        return;
    QSoundEffect *effect = m_effect;
    m_effect = nullptr;
    effect->disconnect(this);
    effect->stop();
    // Deleted later: release() may run inside one of the effect's own signals.
    effect->deleteLater();
    emit soundEnded();
}
