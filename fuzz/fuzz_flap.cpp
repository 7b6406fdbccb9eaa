// Feeds arbitrary bytes to every parser a server's stream reaches: the frame splitter,
// the FLAP and TLV readers, the stream's frame reader and the packet cursor.

#include "session/databytes.h"
#include "session/flap.h"
#include "session/framereader.h"
#include "session/packetreader.h"

#include <QString>

#include <cstdint>
#include <cstdlib>

namespace {

void require(bool condition)
{
    if (!condition)
        abort();
}

void quiet(QtMsgType, const QMessageLogContext &, const QString &) {}

quint16 be16(QByteArrayView bytes, qsizetype pos)
{
    return quint16((quint8(bytes[pos]) << 8) | quint8(bytes[pos + 1]));
}

// Piece sizes come from the input itself, so a crash replays exactly.
class Pieces
{
public:
    explicit Pieces(QByteArrayView input)
    {
        for (const char c : input)
            m_state = m_state * 31 + quint8(c);
    }
    qsizetype next()
    {
        m_state = m_state * 6364136223846793005ULL + 1442695040888963407ULL;
        const quint32 r = quint32(m_state >> 33);
        // Mostly small pieces, now and then one large enough to hold several frames.
        return (r % 8 == 0) ? 1 + r % 70000 : 1 + r % 40;
    }

private:
    quint64 m_state = 0x9E3779B97F4A7C15ULL;
};

void checkParsed(const FLAP &flap)
{
    require(flap.GetTLVCount() == flap.tlvs().size());
    for (int i = 0; i <= flap.GetTLVCount() + 1; ++i) {
        require(flap.GetTLV_Data(i).size() <= flap.GetTLV_Len(i));
        (void)flap.GetTLV_Type(i);
    }
    QByteArray value;
    flap.findTLV(1, &value);
    if (flap.FullPocket())
        require(flap.Data().size() == flap.DataSize());
    if (flap.UnSinxronization())
        require(flap.ChannelID() == 0 && flap.Data().isEmpty());
}

void fuzzFlap(QByteArrayView input)
{
    const QList<FLAP> frames = SplitFLAPs(input);
    require(frames.size() <= input.size() / 6 + 1);
    for (const FLAP &flap : frames)
        checkParsed(flap);

    FLAP whole;
    whole.ReadFLAP(input);
    checkParsed(whole);
    if (whole.FullPocket()) {
        require(input.size() == whole.DataSize() + 6);
        FLAP rebuilt;
        rebuilt.FLAP_Create(whole.ChannelID(), whole.SeqNumber());
        rebuilt.AppendData(whole.Data());
        require(rebuilt.FLAP_Send() == input);
    }

    whole.ReadAllTLV(input);
    checkParsed(whole);
    // Readers walk lists nested inside a value of the same object.
    if (whole.GetTLVCount() > 0) {
        whole.ReadAllTLV(whole.tlvs().first().value);
        checkParsed(whole);
        whole.ReadFLAP(whole.tlvs().isEmpty() ? QByteArray() : whole.tlvs().last().value);
        checkParsed(whole);
    }
}

void fuzzFrameReader(QByteArrayView input)
{
    FrameReader pieces;
    FrameReader once;
    Pieces sizes(input);
    QByteArray out;
    QList<QByteArray> piecewise;
    for (qsizetype p = 0; p < input.size();) {
        const qsizetype n = std::min(sizes.next(), input.size() - p);
        for (const QByteArray &frame : pieces.feed(input.sliced(p, n))) {
            require(frame.size() >= 6 && frame[0] == 0x2A);
            require(frame.size() == 6 + be16(frame, 4));
            FLAP flap;
            flap.ReadFLAP(frame);
            require(flap.FullPocket());
            out += frame;
            piecewise.append(frame);
        }
        require(pieces.buffered() < FrameReader::MaxFrameSize);
        p += n;
    }
    const QList<QByteArray> atOnce = once.feed(input);
    if (pieces.desyncCount() == 0 && once.desyncCount() == 0) {
        // Without a lost marker, how the stream was cut changes nothing.
        require(piecewise == atOnce);
        require(out.size() + pieces.buffered() == input.size());
        require(QByteArrayView(out) == input.first(out.size()));
    }
    pieces.clear();
    require(pieces.buffered() == 0);
}

void fuzzPacketReader(QByteArrayView input)
{
    PacketReader reader(input);
    // The input drives which reads are made on itself.
    for (qsizetype k = 0; k < input.size() && !reader.atEnd(); ++k) {
        const qsizetype before = reader.position();
        switch (quint8(input[k]) % 11) {
        case 0:
            reader.u8();
            break;
        case 1:
            reader.u16();
            break;
        case 2:
            reader.u32();
            break;
        case 3:
            reader.u16le();
            break;
        case 4:
            reader.u32le();
            break;
        case 5:
            reader.bytes(quint8(input[k]) / 11);
            break;
        case 6:
            reader.skip(qsizetype(quint8(input[k])) - 128);
            break;
        case 7:
            reader.lenBytes8();
            break;
        case 8:
            reader.lenBytes16();
            break;
        case 9:
            reader.tlvBlock(quint8(input[k]) / 11);
            break;
        default:
            reader.tlvs();
            break;
        }
        require(reader.position() >= before && reader.position() <= input.size());
        require(reader.remaining() == input.size() - reader.position());
        if (reader.failed())
            require(reader.atEnd());
    }

    PacketReader walker(input);
    const QList<TLVEntry> tlvs = walker.tlvs();
    PacketWriter writer;
    for (const TLVEntry &entry : tlvs) {
        require(entry.value.size() == entry.length);
        writer.tlv(quint16(entry.type), entry.value);
    }
    require(!writer.overflowed());
    const QByteArray written = writer.data();
    const QList<TLVEntry> again = PacketReader(written).tlvs();
    require(again.size() == tlvs.size());
    if (!walker.failed())
        require(written == input);
}

void fuzzHelpers(QByteArrayView input)
{
    const QByteArrayView head = input.first(std::min<qsizetype>(input.size(), 64));
    require(DataForm::ShowHex(head).size() == head.size() * 3);
    require(DataForm::RoastPassword(DataForm::RoastPassword(head)) == head);
    const std::optional<qint32> number =
        DataForm::BytesToNumber(input.first(std::min<qsizetype>(input.size(), 8)));
    if (number)
        require(DataForm::BytesToNumber(DataForm::NumberToBytes(*number)) == number);
    require(DataForm::HexToBytes(QString::fromLatin1(head)).size() <= head.size() / 2);
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    // A lost marker is traced on every such input; the trace is not what is tested.
    qInstallMessageHandler(quiet);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArrayView input(reinterpret_cast<const char *>(data), qsizetype(size));
    fuzzFlap(input);
    fuzzFrameReader(input);
    fuzzPacketReader(input);
    fuzzHelpers(input);
    return 0;
}
