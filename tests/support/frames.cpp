#include "support/frames.h"

#include "session/framereader.h"

QList<FLAP> framesOf(const QByteArray &stream)
{
    FrameReader reader;
    QList<FLAP> frames;
    for (const QByteArray &bytes : reader.feed(stream)) {
        frames.append(FLAP());
        frames.last().ReadFLAP(bytes);
    }
    return frames;
}

QString frameName(const FLAP &frame)
{
    if (frame.ChannelID() != 2)
        return QStringLiteral("ch %1").arg(frame.ChannelID());
    return QStringLiteral("%1,%2").arg(frame.SNAC_FamID(), 0, 16).arg(frame.SNAC_TipID(), 0, 16).toUpper();
}

QStringList frameNames(const QList<FLAP> &frames, qsizetype from)
{
    QStringList out;
    for (qsizetype i = from; i < frames.size(); ++i)
        out.append(frameName(frames[i]));
    return out;
}
