#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QList>

struct TLVEntry
{
    qint32 type = 0;
    qint32 length = 0; // as the header declares; value may be shorter when the buffer ended early
    QByteArray value;
};

// The FLAP channels the bot and the local server use.
inline constexpr quint8 ChannelSignOn = 1;  // hello, login and cookie
inline constexpr quint8 ChannelSnac = 2;    // SNACs
inline constexpr quint8 ChannelSignOff = 4; // login reply, goodbye

// One OSCAR frame: FLAP header, the SNAC header of a channel-2 frame and the TLV
// list of its data. Both parser (ReadFLAP) and builder (FLAP_Create ... FLAP_Send).
// Never reads past its input: short or malformed input gives cleared fields.
class FLAP
{
public:
    quint8 ChannelID() const { return m_channel; }
    qint32 SeqNumber() const { return m_seq; }
    QByteArray SeqNumberEx() const { return m_seqEx; }
    qint32 DataSize() const { return m_dataSize; }
    QByteArray Data() const { return m_data; }
    bool FullPocket() const { return m_fullPocket; }
    bool UnSinxronization() const { return m_unsync; }
    bool UseTLV() const { return m_useTlv; }

    // TLV entries are numbered from 1; outside 1..count the getters give 0 or empty bytes.
    int GetTLVCount() const { return int(m_tlvs.size()); }
    qint32 GetTLV_Type(int index) const;
    qint32 GetTLV_Len(int index) const;
    QByteArray GetTLV_Data(int index) const;
    // The value of the first TLV of this type, or nullopt-like empty + false.
    bool findTLV(qint32 type, QByteArray *value) const;
    const QList<TLVEntry> &tlvs() const { return m_tlvs; }

    qint32 SNAC_FamID() const { return m_family; }
    qint32 SNAC_TipID() const { return m_subtype; }
    quint8 SNAC_Flag0() const { return m_flag0; }
    quint8 SNAC_Flag1() const { return m_flag1; }
    QByteArray SNAC_Request() const { return m_request; }
    QByteArray SNAC_Data() const { return m_snacData; }

    void ReadFLAP(QByteArrayView data);
    bool ReadAllTLV(QByteArrayView data);

    void FLAP_Create(quint8 channelId, qint32 seqId);
    void FLAP_AppendSNAC(qint32 familyId, qint32 subTypeId, quint8 flag0, quint8 flag1, QByteArrayView reqId);
    void FLAP_AppendTLV(qint32 type, QByteArrayView data);
    void AppendData(QByteArrayView newData);
    // The whole frame. Empty when something appended did not fit its 16-bit field
    // (a data part over 65535 bytes): such a frame is never put on the wire.
    QByteArray FLAP_Send() const;
    bool overflowed() const { return m_overflow; }

private:
    void ClearFLAP();
    void ReadSNACHeader(QByteArrayView data);
    void ReadTLV(QByteArrayView slice, TLVEntry &entry);

    quint8 m_channel = 0;
    qint32 m_seq = 0;
    QByteArray m_seqEx;
    qint32 m_dataSize = 0;
    QByteArray m_data;
    bool m_fullPocket = false;
    bool m_unsync = false;
    bool m_useTlv = false;
    bool m_overflow = false;
    QList<TLVEntry> m_tlvs;
    qint32 m_family = 0;
    qint32 m_subtype = 0;
    quint8 m_flag0 = 0;
    quint8 m_flag1 = 0;
    QByteArray m_request;
    QByteArray m_snacData;
};

// Cuts one received chunk into frames, trusting each length field.
QList<FLAP> SplitFLAPs(QByteArrayView chunk);
