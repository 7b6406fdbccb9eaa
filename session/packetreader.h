#pragma once

#include "session/flap.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QList>

// Reads packet fields with a cursor over bytes it does not own (keep them alive).
// A read past the end sets the sticky failed() flag, moves the cursor to the end and
// gives zero or empty bytes, so a handler reads on and checks failed() once.
class PacketReader
{
public:
    PacketReader() = default;
    explicit PacketReader(QByteArrayView data)
        : m_data(data)
    {}
    // A view of a temporary would dangle after the statement: name the bytes first.
    PacketReader(QByteArray &&) = delete;
    PacketReader(const QByteArray &&) = delete;

    quint8 u8();
    quint16 u16(); // big-endian, as in FLAP, SNAC and TLV headers
    quint32 u32();
    quint16 u16le(); // little-endian, as in ICQ meta requests
    quint32 u32le();

    QByteArray bytes(qsizetype n);
    QByteArrayView view(qsizetype n); // like bytes(), without a copy
    QByteArray lenBytes8();           // a one-byte length, then that many bytes (screen names)
    QByteArray lenBytes16();          // a two-byte big-endian length, then that many bytes
    QByteArray rest();                // everything left; never fails
    bool skip(qsizetype n);

    // TLVs up to the end; a TLV cut short fails the reader and is not returned.
    QList<TLVEntry> tlvs();
    // Exactly count TLVs (a block whose count stands before it).
    QList<TLVEntry> tlvBlock(int count);

    qsizetype remaining() const { return m_data.size() - m_pos; }
    qsizetype position() const { return m_pos; }
    bool atEnd() const { return m_pos >= m_data.size(); }
    bool failed() const { return m_failed; }
    QByteArrayView data() const { return m_data; }

private:
    // The next n bytes, or a failure when fewer are left.
    bool take(qsizetype n, QByteArrayView *out);
    bool readTlv(TLVEntry *entry);

    QByteArrayView m_data;
    qsizetype m_pos = 0;
    bool m_failed = false;
};

// The value of the first TLV of this type; false (and empty) when there is none.
bool findTlv(const QList<TLVEntry> &tlvs, qint32 type, QByteArray *value = nullptr);

// Builds packet bytes field by field. A TLV value over 65535 bytes or a length-prefixed
// field too long for its prefix marks the writer overflowed; toFlap() then gives nothing.
class PacketWriter
{
public:
    PacketWriter &u8(quint8 v);
    PacketWriter &u16(quint16 v);
    PacketWriter &u32(quint32 v);
    PacketWriter &u16le(quint16 v);
    PacketWriter &u32le(quint32 v);
    PacketWriter &bytes(QByteArrayView v);
    PacketWriter &lenBytes8(QByteArrayView v);
    PacketWriter &lenBytes16(QByteArrayView v);
    PacketWriter &tlv(quint16 type, QByteArrayView value);
    PacketWriter &tlvU16(quint16 type, quint16 value);
    PacketWriter &tlvU32(quint16 type, quint32 value);
    PacketWriter &snac(quint16 family, quint16 subtype, quint16 flags, quint32 requestId);

    QByteArray data() const { return m_data; }
    qsizetype size() const { return m_data.size(); }
    bool overflowed() const { return m_overflow; }
    void clear();

    // The written bytes as the data part of one FLAP frame; empty when they do not fit.
    QByteArray toFlap(quint8 channel, quint16 sequence) const;
    static QByteArray flap(quint8 channel, quint16 sequence, QByteArrayView data);

private:
    QByteArray m_data;
    bool m_overflow = false;
};
