#include "session/packetreader.h"

#include <QtEndian>

bool PacketReader::take(qsizetype n, QByteArrayView *out)
{
    if (m_failed || n < 0 || n > remaining()) {
        m_failed = true;
        m_pos = m_data.size();
        *out = {};
        return false;
    }
    *out = m_data.sliced(m_pos, n);
    m_pos += n;
    return true;
}

quint8 PacketReader::u8()
{
    QByteArrayView v;
    return take(1, &v) ? quint8(v[0]) : 0;
}

quint16 PacketReader::u16()
{
    QByteArrayView v;
    return take(2, &v) ? qFromBigEndian<quint16>(v.data()) : 0;
}

quint32 PacketReader::u32()
{
    QByteArrayView v;
    return take(4, &v) ? qFromBigEndian<quint32>(v.data()) : 0;
}

quint16 PacketReader::u16le()
{
    QByteArrayView v;
    return take(2, &v) ? qFromLittleEndian<quint16>(v.data()) : 0;
}

quint32 PacketReader::u32le()
{
    QByteArrayView v;
    return take(4, &v) ? qFromLittleEndian<quint32>(v.data()) : 0;
}

QByteArray PacketReader::bytes(qsizetype n)
{
    return view(n).toByteArray();
}

QByteArrayView PacketReader::view(qsizetype n)
{
    QByteArrayView v;
    take(n, &v);
    return v;
}

QByteArray PacketReader::lenBytes8()
{
    const quint8 n = u8();
    return bytes(n);
}

QByteArray PacketReader::lenBytes16()
{
    const quint16 n = u16();
    return bytes(n);
}

QByteArray PacketReader::rest()
{
    QByteArray out = m_data.sliced(m_pos).toByteArray();
    m_pos = m_data.size();
    return out;
}

bool PacketReader::skip(qsizetype n)
{
    QByteArrayView v;
    return take(n, &v);
}

bool PacketReader::readTlv(TLVEntry *entry)
{
    const quint16 type = u16();
    const quint16 length = u16();
    const QByteArrayView value = view(length);
    if (m_failed)
        return false;
    entry->type = type;
    entry->length = length;
    entry->value = value.toByteArray();
    return true;
}

QList<TLVEntry> PacketReader::tlvs()
{
    QList<TLVEntry> out;
    while (!atEnd() && !m_failed) {
        TLVEntry entry;
        if (readTlv(&entry))
            out.append(entry);
    }
    return out;
}

QList<TLVEntry> PacketReader::tlvBlock(int count)
{
    QList<TLVEntry> out;
    for (int i = 0; i < count && !m_failed; ++i) {
        TLVEntry entry;
        if (readTlv(&entry))
            out.append(entry);
    }
    return out;
}

bool findTlv(const QList<TLVEntry> &tlvs, qint32 type, QByteArray *value)
{
    for (const TLVEntry &entry : tlvs) {
        if (entry.type == type) {
            if (value)
                *value = entry.value;
            return true;
        }
    }
    if (value)
        value->clear();
    return false;
}

PacketWriter &PacketWriter::u8(quint8 v)
{
    m_data.append(char(v));
    return *this;
}

PacketWriter &PacketWriter::u16(quint16 v)
{
    char buf[2];
    qToBigEndian(v, buf);
    m_data.append(buf, 2);
    return *this;
}

PacketWriter &PacketWriter::u32(quint32 v)
{
    char buf[4];
    qToBigEndian(v, buf);
    m_data.append(buf, 4);
    return *this;
}

PacketWriter &PacketWriter::u16le(quint16 v)
{
    char buf[2];
    qToLittleEndian(v, buf);
    m_data.append(buf, 2);
    return *this;
}

PacketWriter &PacketWriter::u32le(quint32 v)
{
    char buf[4];
    qToLittleEndian(v, buf);
    m_data.append(buf, 4);
    return *this;
}

PacketWriter &PacketWriter::bytes(QByteArrayView v)
{
    m_data.append(v);
    return *this;
}

PacketWriter &PacketWriter::lenBytes8(QByteArrayView v)
{
    if (v.size() > 0xFF)
        m_overflow = true;
    return u8(quint8(v.size())).bytes(v);
}

PacketWriter &PacketWriter::lenBytes16(QByteArrayView v)
{
    if (v.size() > 0xFFFF)
        m_overflow = true;
    return u16(quint16(v.size())).bytes(v);
}

PacketWriter &PacketWriter::tlv(quint16 type, QByteArrayView value)
{
    return u16(type).lenBytes16(value);
}

PacketWriter &PacketWriter::tlvU16(quint16 type, quint16 value)
{
    return u16(type).u16(2).u16(value);
}

PacketWriter &PacketWriter::tlvU32(quint16 type, quint32 value)
{
    return u16(type).u16(4).u32(value);
}

PacketWriter &PacketWriter::snac(quint16 family, quint16 subtype, quint16 flags, quint32 requestId)
{
    return u16(family).u16(subtype).u16(flags).u32(requestId);
}

void PacketWriter::clear()
{
    m_data.clear();
    m_overflow = false;
}

QByteArray PacketWriter::toFlap(quint8 channel, quint16 sequence) const
{
    if (m_overflow)
        return {};
    return flap(channel, sequence, m_data);
}

QByteArray PacketWriter::flap(quint8 channel, quint16 sequence, QByteArrayView data)
{
    if (data.size() > 0xFFFF)
        return {};
    PacketWriter frame;
    frame.m_data.reserve(6 + data.size());
    frame.u8(0x2A).u8(channel).u16(sequence).u16(quint16(data.size())).bytes(data);
    return frame.m_data;
}
