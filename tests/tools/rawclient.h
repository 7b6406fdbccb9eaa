#pragma once

#include "session/flap.h"
#include "session/packetreader.h"
#include "support/frames.h"
#include "tools/wire/oscarlink.h"

#include <QHostAddress>
#include <QList>
#include <QTcpSocket>

#include <memory>

// A client that speaks bytes rather than protocol: it sends what a test gives it and
// records every frame the server sends, so tests can check the server's answers exactly.
class RawClient
{
public:
    explicit RawClient(quint16 port)
    {
        auto *socket = new QTcpSocket;
        m_link = std::make_unique<OscarLink>(socket);
        QObject::connect(m_link.get(), &OscarLink::frameReceived, m_link.get(),
                         [this](const FLAP &frame) { m_frames.append(frame); });
        QObject::connect(m_link.get(), &OscarLink::closed, m_link.get(), [this] { m_closed = true; });
        socket->connectToHost(QHostAddress::LocalHost, port);
    }

    OscarLink *link() const { return m_link.get(); }
    bool isClosed() const { return m_closed; }
    const QList<FLAP> &frames() const { return m_frames; }
    qsizetype count() const { return m_frames.size(); }
    const FLAP &last() const { return m_frames.constLast(); }

    // Frames from index `from` on, of one channel-2 SNAC.
    QList<FLAP> snacs(quint16 family, quint16 subtype, qsizetype from = 0) const
    {
        QList<FLAP> out;
        for (qsizetype i = from; i < m_frames.size(); ++i) {
            const FLAP &f = m_frames[i];
            if (f.ChannelID() == 2 && f.SNAC_FamID() == family && f.SNAC_TipID() == subtype)
                out.append(f);
        }
        return out;
    }

    void send(const QByteArray &bytes) { m_link->sendRaw(bytes); }
    void sendFrame(quint8 channel, const QByteArray &data) { m_link->sendFrame(channel, data); }
    // Hangs up at once, whatever is half sent.
    void drop() { m_link->abort(); }

private:
    std::unique_ptr<OscarLink> m_link;
    QList<FLAP> m_frames;
    bool m_closed = false;
};

inline QList<TLVEntry> tlvsOf(const QByteArray &bytes)
{
    PacketReader r(bytes);
    return r.tlvs();
}

inline QList<qint32> tlvTypes(const QList<TLVEntry> &tlvs)
{
    QList<qint32> out;
    for (const TLVEntry &tlv : tlvs)
        out.append(tlv.type);
    return out;
}
