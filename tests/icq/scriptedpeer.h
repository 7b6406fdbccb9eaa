#pragma once

#include "session/flap.h"
#include "session/packetreader.h"
#include "support/frames.h"

#include <QHostAddress>
#include <QList>
#include <QPointer>
#include <QTcpServer>
#include <QTcpSocket>

#include <memory>

// The server end of a connection under the test's control: it writes exactly the bytes
// a test gives it, when the test says so, and keeps everything the bot sent.
class ScriptedPeer
{
public:
    ScriptedPeer()
    {
        QObject::connect(&m_server, &QTcpServer::newConnection, &m_server, [this] {
            while (QTcpSocket *socket = m_server.nextPendingConnection()) {
                auto connection = std::make_shared<Connection>();
                connection->socket = socket;
                QObject::connect(socket, &QTcpSocket::readyRead, socket,
                                 [connection] { connection->received += connection->socket->readAll(); });
                QObject::connect(socket, &QTcpSocket::disconnected, socket,
                                 [connection] { connection->closed = true; });
                m_connections.append(connection);
            }
        });
    }

    bool listen() { return m_server.listen(QHostAddress::LocalHost, 0); }
    quint16 port() const { return m_server.serverPort(); }
    QString address() const { return QStringLiteral("127.0.0.1:%1").arg(port()); }

    int count() const { return int(m_connections.size()); }
    QByteArray received(int i) const { return m_connections.at(i)->received; }
    bool closedByBot(int i) const { return m_connections.at(i)->closed; }
    void write(int i, const QByteArray &bytes)
    {
        m_connections.at(i)->socket->write(bytes);
        m_connections.at(i)->socket->flush();
    }
    void close(int i) { m_connections.at(i)->socket->abort(); }

    // What the bot sent on connection i, cut into frames.
    QList<FLAP> frames(int i) const { return framesOf(received(i)); }

private:
    struct Connection
    {
        QPointer<QAbstractSocket> socket;
        QByteArray received;
        bool closed = false;
    };
    QTcpServer m_server;
    QList<std::shared_ptr<Connection>> m_connections;
};

// Frames as a server writes them.
inline QByteArray serverFrame(quint8 channel, const QByteArray &data, quint16 sequence = 100)
{
    return PacketWriter::flap(channel, sequence, data);
}

inline QByteArray serverSnac(quint16 family, quint16 subtype, const QByteArray &body = {})
{
    return serverFrame(2, PacketWriter().snac(family, subtype, 0, 0).bytes(body).data());
}

inline QByteArray serverHello()
{
    return serverFrame(1, QByteArray::fromHex("00000001"));
}

inline QByteArray tlv(quint16 type, const QByteArray &value)
{
    return PacketWriter().tlv(type, value).data();
}

// SNAC data of 4,7 from sender with the given TLV 2 value, after one user-info TLV.
inline QByteArray incomingData(const QByteArray &sender, const QByteArray &messageTlvValue)
{
    return PacketWriter()
        .bytes(QByteArray::fromHex("0102030405060708"))
        .u16(1)
        .lenBytes8(sender)
        .u16(0)
        .u16(1)
        .tlv(0x0006, QByteArray::fromHex("00000000"))
        .tlv(0x0002, messageTlvValue)
        .data();
}

// The TLV 2 value of a plain text message: capabilities, then one text fragment.
inline QByteArray textFragments(quint16 charset, const QByteArray &text)
{
    return PacketWriter()
        .bytes(QByteArray::fromHex("0501000101"))
        .u16(0x0101)
        .u16(quint16(text.size() + 4))
        .u16(charset)
        .u16(0)
        .bytes(text)
        .data();
}

// The body of a 4,7 from sender with text (charset 3 unless told).
inline QByteArray incomingMessage(const QByteArray &sender, const QByteArray &text, quint16 charset = 3)
{
    return incomingData(sender, textFragments(charset, text));
}

// Recipient and text bytes of a 4,6 the bot sent; empty recipient when it is no message.
struct SentMessage
{
    QByteArray to;
    QByteArray text;
    qint32 sequence = 0;
};

inline SentMessage readSentMessage(const FLAP &frame)
{
    SentMessage message;
    if (frame.ChannelID() != 2 || frame.SNAC_FamID() != 4 || frame.SNAC_TipID() != 6)
        return message;
    const QByteArray data = frame.SNAC_Data();
    PacketReader reader(data);
    reader.skip(8);
    reader.u16();
    message.to = reader.lenBytes8();
    message.sequence = frame.SeqNumber();
    for (const TLVEntry &tlv : reader.tlvs()) {
        if (tlv.type != 2)
            continue;
        PacketReader fragments(tlv.value);
        for (const TLVEntry &fragment : fragments.tlvs()) {
            if (fragment.type == 0x0101)
                message.text = fragment.value.sliced(4);
        }
    }
    return message;
}
