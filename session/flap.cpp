#include "session/flap.h"

#include "session/databytes.h"
#include "session/packetreader.h"

#include <algorithm>
#include <limits>

namespace {

constexpr char FlapMarker = 0x2A;
constexpr int FlapHeaderSize = 6;
constexpr int SnacHeaderSize = 10;
constexpr int TlvHeaderSize = 4;
constexpr qsizetype MaxField16 = 0xFFFF;

// Up to n bytes from pos; shorter (or empty) where the input ends.
QByteArrayView clampedSlice(QByteArrayView bytes, qsizetype pos, qsizetype n)
{
    if (pos < 0 || n <= 0 || pos >= bytes.size())
        return {};
    return bytes.sliced(pos, std::min(n, bytes.size() - pos));
}

// A length field at pos. Where the input ends inside it, the one byte that is there counts
// alone, or 0 when none is: the walkers below still advance by at least a header.
qint32 lengthFieldAt(QByteArrayView bytes, qsizetype pos)
{
    return DataForm::BytesToNumber(clampedSlice(bytes, pos, 2)).value_or(0);
}

qint32 number16At(QByteArrayView bytes, qsizetype pos)
{
    return (quint8(bytes[pos]) << 8) | quint8(bytes[pos + 1]);
}

QByteArray bigEndian16(qint32 n)
{
    const char out[2] = {char((n >> 8) & 0xFF), char(n & 0xFF)};
    return QByteArray(out, 2);
}

bool fitsField16(qint64 n)
{
    return n >= 0 && n <= MaxField16;
}

} // namespace

qint32 FLAP::GetTLV_Type(int index) const
{
    return (index >= 1 && index <= m_tlvs.size()) ? m_tlvs[index - 1].type : 0;
}

qint32 FLAP::GetTLV_Len(int index) const
{
    return (index >= 1 && index <= m_tlvs.size()) ? m_tlvs[index - 1].length : 0;
}

QByteArray FLAP::GetTLV_Data(int index) const
{
    return (index >= 1 && index <= m_tlvs.size()) ? m_tlvs[index - 1].value : QByteArray();
}

bool FLAP::findTLV(qint32 type, QByteArray *value) const
{
    return findTlv(m_tlvs, type, value);
}

void FLAP::ClearFLAP()
{
    m_tlvs.clear();
    m_channel = 0;
    m_seq = 0;
    m_dataSize = 0;
    m_seqEx.clear();
    m_data.clear();
    m_fullPocket = false;
    m_useTlv = false;
    m_unsync = false;
}

void FLAP::ReadFLAP(QByteArrayView view)
{
    // The view may point into this object's own TLV values, which are about to be cleared.
    const QByteArray data = view.toByteArray();
    ClearFLAP();
    // A parse describes only this frame: SNAC fields of an earlier frame must not stick to
    // a frame that has no SNAC header of its own.
    m_family = 0;
    m_subtype = 0;
    m_flag0 = 0;
    m_flag1 = 0;
    m_request.clear();
    m_snacData.clear();

    if (data.size() < FlapHeaderSize)
        return;
    if (data[0] != FlapMarker) {
        m_unsync = true;
        return;
    }
    m_channel = quint8(data[1]);
    m_seqEx = data.sliced(2, 2);
    m_seq = number16At(data, 2);
    m_dataSize = number16At(data, 4);
    m_fullPocket = data.size() == qsizetype(m_dataSize) + FlapHeaderSize;
    // Not cut at the declared length: a caller that passed more sees all of it.
    m_data = data.sliced(FlapHeaderSize);

    switch (m_channel) {
    case 1:
    case 3:
    case 4:
        m_useTlv = ReadAllTLV(m_data);
        break;
    case 2:
        if (m_data.size() >= SnacHeaderSize) {
            ReadSNACHeader(m_data);
            m_useTlv = ReadAllTLV(m_snacData);
        }
        break;
    default:
        break;
    }
}

void FLAP::ReadSNACHeader(QByteArrayView data)
{
    if (data.size() < SnacHeaderSize)
        return;
    m_family = number16At(data, 0);
    m_subtype = number16At(data, 2);
    m_flag0 = quint8(data[4]);
    m_flag1 = quint8(data[5]);
    m_request = data.sliced(6, 4).toByteArray();
    m_snacData = data.sliced(SnacHeaderSize).toByteArray();
}

bool FLAP::ReadAllTLV(QByteArrayView data)
{
    // Built aside: the data may be a view of one of the values being replaced.
    QList<TLVEntry> entries;
    // The sign-on version 00 00 00 01, and anything no longer than a bare TLV header, is no list.
    if (data.size() > TlvHeaderSize) {
        qsizetype p = 0;
        while (p < data.size()) {
            const qint32 n = lengthFieldAt(data, p + 2);
            entries.append(TLVEntry());
            const QByteArrayView slice = clampedSlice(data, p, qsizetype(n) + TlvHeaderSize);
            p += qsizetype(n) + TlvHeaderSize;
            ReadTLV(slice, entries.last());
        }
    }
    m_tlvs = std::move(entries);
    return !m_tlvs.isEmpty();
}

void FLAP::ReadTLV(QByteArrayView slice, TLVEntry &entry)
{
    if (slice.size() < TlvHeaderSize) {
        entry = TLVEntry();
        return;
    }
    entry.type = number16At(slice, 0);
    entry.length = number16At(slice, 2);
    entry.value = clampedSlice(slice, TlvHeaderSize, entry.length).toByteArray();
}

void FLAP::FLAP_Create(quint8 channelId, qint32 seqId)
{
    ClearFLAP();
    m_overflow = false;
    m_channel = channelId;
    m_seq = seqId;
    m_seqEx = bigEndian16(seqId);
}

void FLAP::FLAP_AppendSNAC(qint32 familyId, qint32 subTypeId, quint8 flag0, quint8 flag1,
                           QByteArrayView reqId)
{
    if (!fitsField16(familyId) || !fitsField16(subTypeId))
        m_overflow = true;
    QByteArray header;
    header.reserve(SnacHeaderSize);
    header += bigEndian16(familyId);
    header += bigEndian16(subTypeId);
    header += char(flag0);
    header += char(flag1);
    if (reqId.size() == 4)
        header += reqId;
    else
        header += QByteArray(4, '\0');
    AppendData(header);
}

void FLAP::FLAP_AppendTLV(qint32 type, QByteArrayView data)
{
    if (!fitsField16(type) || !fitsField16(data.size()))
        m_overflow = true;
    QByteArray tlv;
    tlv.reserve(TlvHeaderSize + data.size());
    tlv += bigEndian16(type);
    tlv += bigEndian16(qint32(data.size() & MaxField16));
    tlv += data;
    AppendData(tlv);
}

void FLAP::AppendData(QByteArrayView newData)
{
    m_data += newData;
    if (!fitsField16(m_data.size()))
        m_overflow = true;
    m_dataSize = qint32(std::min<qsizetype>(m_data.size(), std::numeric_limits<qint32>::max()));
}

QByteArray FLAP::FLAP_Send() const
{
    // A length field that does not match the data would desynchronise the peer's stream.
    if (m_overflow || !fitsField16(m_data.size()))
        return {};
    QByteArray frame;
    frame.reserve(FlapHeaderSize + m_data.size());
    frame += FlapMarker;
    frame += char(m_channel);
    frame += bigEndian16(m_seq);
    frame += bigEndian16(qint32(m_data.size()));
    frame += m_data;
    return frame;
}

QList<FLAP> SplitFLAPs(QByteArrayView chunk)
{
    QList<FLAP> frames;
    qsizetype p = 0;
    while (p < chunk.size()) {
        const qint32 size = lengthFieldAt(chunk, p + 4);
        frames.append(FLAP());
        frames.last().ReadFLAP(clampedSlice(chunk, p, qsizetype(size) + FlapHeaderSize));
        p += qsizetype(size) + FlapHeaderSize;
    }
    return frames;
}
