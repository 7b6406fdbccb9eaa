#include "session/flap.h"
#include "support/hex.h"

#include <QTest>

namespace {

// "type/length/value" per entry, so a failing row prints the whole list.
QString describe(const QList<TLVEntry> &tlvs)
{
    QStringList parts;
    for (const TLVEntry &entry : tlvs)
        parts << QStringLiteral("%1/%2/%3")
                     .arg(entry.type, 0, 16)
                     .arg(entry.length)
                     .arg(QString::fromLatin1(entry.value.toHex(' ')));
    return parts.join(QStringLiteral("; "));
}

} // namespace

class tst_Flap : public QObject
{
    Q_OBJECT

private slots:
    void readFlapHeader_data();
    void readFlapHeader();
    void readTlvs_data();
    void readTlvs();
    void readSnacHeader();
    void tlvGettersOutsideTheList();
    void findTlv();
    void reparseForgetsTheEarlierSnac();
    void readAllTlvOnItsOwnValue();

    void buildFrame_data();
    void buildFrame();
    void builtFrameReadsBack();
    void sendTwiceGivesTheSameBytes();
    void overflow_data();
    void overflow();
    void createClearsOverflow();

    void splitFlaps_data();
    void splitFlaps();
};

void tst_Flap::readFlapHeader_data()
{
    QTest::addColumn<QByteArray>("input");
    QTest::addColumn<int>("channel");
    QTest::addColumn<int>("seq");
    QTest::addColumn<QByteArray>("seqEx");
    QTest::addColumn<int>("dataSize");
    QTest::addColumn<QByteArray>("data");
    QTest::addColumn<bool>("full");
    QTest::addColumn<bool>("unsync");

    QTest::newRow("empty frame") << hex("2A0200050000") << 2 << 5 << hex("0005") << 0 << QByteArray() << true
                                 << false;
    QTest::newRow("five bytes") << hex("2A02000500") << 0 << 0 << QByteArray() << 0 << QByteArray() << false
                                << false;
    QTest::newRow("no input") << QByteArray() << 0 << 0 << QByteArray() << 0 << QByteArray() << false
                              << false;
    QTest::newRow("wrong marker") << hex("2B0200050000") << 0 << 0 << QByteArray() << 0 << QByteArray()
                                  << false << true;
    QTest::newRow("more than one frame") << hex("2A0400070001AA"
                                                "2A02")
                                         << 4 << 7 << hex("0007") << 1 << hex("AA2A02") << false << false;
    QTest::newRow("cut short") << hex("2A0100010004000000") << 1 << 1 << hex("0001") << 4 << hex("000000")
                               << false << false;
    QTest::newRow("high sequence") << hex("2A05FFFE0000") << 5 << 65534 << hex("FFFE") << 0 << QByteArray()
                                   << true << false;
}

void tst_Flap::readFlapHeader()
{
    QFETCH(QByteArray, input);
    QFETCH(int, channel);
    QFETCH(int, seq);
    QFETCH(QByteArray, seqEx);
    QFETCH(int, dataSize);
    QFETCH(QByteArray, data);
    QFETCH(bool, full);
    QFETCH(bool, unsync);

    FLAP flap;
    flap.ReadFLAP(input);
    QCOMPARE(int(flap.ChannelID()), channel);
    QCOMPARE(flap.SeqNumber(), seq);
    QCOMPARE(flap.SeqNumberEx().toHex(' '), seqEx.toHex(' '));
    QCOMPARE(flap.DataSize(), dataSize);
    QCOMPARE(flap.Data().toHex(' '), data.toHex(' '));
    QCOMPARE(flap.FullPocket(), full);
    QCOMPARE(flap.UnSinxronization(), unsync);
}

void tst_Flap::readTlvs_data()
{
    QTest::addColumn<QByteArray>("input");
    QTest::addColumn<bool>("useTlv");
    QTest::addColumn<QString>("tlvs");

    QTest::newRow("sign-on version only") << hex("2A010001000400000001") << false << QString();
    QTest::newRow("one TLV") << hex("2A040001000700010003414243") << true << "1/3/41 42 43";
    QTest::newRow("whole TLV of four bytes") << hex("2A040001000400050000") << false << QString();
    QTest::newRow("three data bytes") << hex("2A0400010003000100") << false << QString();
    QTest::newRow("two bytes after the last TLV") << hex("2A0400010007"
                                                         "0001000141"
                                                         "0002")
                                                  << true << "1/1/41; 0/0/";
    QTest::newRow("one byte after the last TLV") << hex("2A0400010006"
                                                        "0001000141"
                                                        "07")
                                                 << true << "1/1/41; 0/0/";
    // The one length byte that is there counts as the length.
    QTest::newRow("three bytes after the last TLV") << hex("2A0400010008"
                                                           "0001000141"
                                                           "000205")
                                                    << true << "1/1/41; 0/0/";
    QTest::newRow("value cut short") << hex("2A0400010007"
                                            "0008000A414243")
                                     << true << "8/10/41 42 43";
    QTest::newRow("empty value between others") << hex("2A040001000D"
                                                       "00010000"
                                                       "000200014A"
                                                       "00030000")
                                                << true << "1/0/; 2/1/4a; 3/0/";
    QTest::newRow("channel 3 reads TLVs") << hex("2A030001000600090002BEEF") << true << "9/2/be ef";
    QTest::newRow("channel 5 reads nothing") << hex("2A050001000600090002BEEF") << false << QString();
    QTest::newRow("SNAC with TLVs") << hex("2A0200010018"
                                           "0004000700000000000A"
                                           "0001000141"
                                           "00020003414243"
                                           "0003")
                                    << true << "1/1/41; 2/3/41 42 43; 0/0/";
    QTest::newRow("SNAC without data") << hex("2A020001000A"
                                              "00010007000000000007")
                                       << false << QString();
    QTest::newRow("SNAC data of four bytes") << hex("2A020001000E"
                                                    "00010007000000000007"
                                                    "00050000")
                                             << false << QString();
    QTest::newRow("channel 2, short of a SNAC header") << hex("2A02000100050001000600") << false << QString();
}

void tst_Flap::readTlvs()
{
    QFETCH(QByteArray, input);
    QFETCH(bool, useTlv);
    QFETCH(QString, tlvs);

    FLAP flap;
    flap.ReadFLAP(input);
    QVERIFY(!flap.UnSinxronization());
    QCOMPARE(describe(flap.tlvs()), tlvs);
    QCOMPARE(flap.UseTLV(), useTlv);
    QCOMPARE(flap.GetTLVCount(), int(flap.tlvs().size()));
}

void tst_Flap::readSnacHeader()
{
    FLAP flap;
    flap.ReadFLAP(hex("2A02000100"
                      "0C"
                      "00010007"
                      "8001"
                      "00000007"
                      "ABCD"));
    QVERIFY(flap.FullPocket());
    QCOMPARE(flap.SNAC_FamID(), 1);
    QCOMPARE(flap.SNAC_TipID(), 7);
    QCOMPARE(int(flap.SNAC_Flag0()), 0x80);
    QCOMPARE(int(flap.SNAC_Flag1()), 1);
    QCOMPARE(flap.SNAC_Request().toHex(' '), hex("00000007").toHex(' '));
    QCOMPARE(flap.SNAC_Data().toHex(' '), hex("ABCD").toHex(' '));
    QCOMPARE(flap.GetTLVCount(), 0);

    // Exactly the ten header bytes: no SNAC data, no TLVs.
    flap.ReadFLAP(hex("2A02000100"
                      "0A"
                      "00010007000000000007"));
    QCOMPARE(flap.SNAC_FamID(), 1);
    QCOMPARE(flap.SNAC_TipID(), 7);
    QCOMPARE(flap.SNAC_Request().toHex(' '), hex("00000007").toHex(' '));
    QCOMPARE(flap.SNAC_Data(), QByteArray());
    QCOMPARE(flap.GetTLVCount(), 0);
    QVERIFY(!flap.UseTLV());
}

void tst_Flap::tlvGettersOutsideTheList()
{
    FLAP flap;
    QCOMPARE(flap.GetTLVCount(), 0);
    QCOMPARE(flap.GetTLV_Type(1), 0);

    flap.ReadFLAP(hex("2A04000100080001000341424300")); // 1/3/ABC, then one stray byte
    QCOMPARE(flap.GetTLVCount(), 2);
    QCOMPARE(flap.GetTLV_Type(1), 1);
    QCOMPARE(flap.GetTLV_Len(1), 3);
    QCOMPARE(flap.GetTLV_Data(1), QByteArray("ABC"));
    for (int index : {0, -1, 3, 65535}) {
        QCOMPARE(flap.GetTLV_Type(index), 0);
        QCOMPARE(flap.GetTLV_Len(index), 0);
        QCOMPARE(flap.GetTLV_Data(index), QByteArray());
    }
}

void tst_Flap::findTlv()
{
    FLAP flap;
    flap.ReadFLAP(hex("2A040001000E"
                      "000100014A"
                      "00050000"
                      "0001000142"));
    QByteArray value("stale");
    QVERIFY(flap.findTLV(1, &value));
    QCOMPARE(value, QByteArray("J")); // the first of two
    QVERIFY(flap.findTLV(5, &value));
    QCOMPARE(value, QByteArray());
    QVERIFY(!flap.findTLV(9, &value));
    QCOMPARE(value, QByteArray());
    QVERIFY(flap.findTLV(1, nullptr));
}

void tst_Flap::reparseForgetsTheEarlierSnac()
{
    FLAP flap;
    flap.ReadFLAP(hex("2A020001000C"
                      "00040007000000000009"
                      "FFFF"));
    QCOMPARE(flap.SNAC_FamID(), 4);
    flap.ReadFLAP(hex("2A0400020000"));
    QCOMPARE(flap.ChannelID(), quint8(4));
    QCOMPARE(flap.SNAC_FamID(), 0);
    QCOMPARE(flap.SNAC_TipID(), 0);
    QCOMPARE(flap.SNAC_Request(), QByteArray());
    QCOMPARE(flap.SNAC_Data(), QByteArray());
}

void tst_Flap::readAllTlvOnItsOwnValue()
{
    // Readers walk a TLV list nested in a TLV value of the same object.
    FLAP flap;
    flap.ReadFLAP(hex("2A040001000D"
                      "00050009"
                      "000100054142434445"));
    QCOMPARE(flap.GetTLVCount(), 1);
    QVERIFY(flap.ReadAllTLV(flap.tlvs().first().value));
    QCOMPARE(describe(flap.tlvs()), QStringLiteral("1/5/41 42 43 44 45"));
    flap.ReadFLAP(flap.tlvs().first().value); // too short for a frame, and the view dies in the parse
    QCOMPARE(flap.ChannelID(), quint8(0));
    QCOMPARE(flap.GetTLVCount(), 0);
}

void tst_Flap::buildFrame_data()
{
    QTest::addColumn<int>("channel");
    QTest::addColumn<int>("seq");
    QTest::addColumn<QByteArray>("reqId");
    QTest::addColumn<QByteArray>("frame");

    QTest::newRow("message SNAC of slot 1")
        << 2 << 12171 << hex("00010006") << hex("2A022F8B000A00040006000000010006");
    QTest::newRow("sequence 0") << 2 << 0 << hex("00010006") << hex("2A020000000A00040006000000010006");
    QTest::newRow("sequence keeps its low 16 bits")
        << 2 << 65537 << hex("00010006") << hex("2A020001000A00040006000000010006");
    QTest::newRow("slot 6") << 2 << 73026 << hex("00010006") << hex("2A021D42000A00040006000000010006");
    QTest::newRow("three-byte request id")
        << 2 << 1 << hex("010203") << hex("2A020001000A00040006000000000000");
    QTest::newRow("empty request id") << 2 << 1 << QByteArray() << hex("2A020001000A00040006000000000000");
    QTest::newRow("five-byte request id")
        << 2 << 1 << hex("0102030405") << hex("2A020001000A00040006000000000000");
}

void tst_Flap::buildFrame()
{
    QFETCH(int, channel);
    QFETCH(int, seq);
    QFETCH(QByteArray, reqId);
    QFETCH(QByteArray, frame);

    FLAP flap;
    flap.FLAP_Create(quint8(channel), seq);
    QCOMPARE(flap.DataSize(), 0);
    flap.FLAP_AppendSNAC(4, 6, 0, 0, reqId);
    QCOMPARE(flap.DataSize(), 10);
    QVERIFY(!flap.overflowed());
    QCOMPARE(flap.FLAP_Send().toHex(' '), frame.toHex(' '));
}

void tst_Flap::builtFrameReadsBack()
{
    FLAP out;
    out.FLAP_Create(1, 7);
    out.AppendData(hex("00000001"));
    out.FLAP_AppendTLV(1, "424242");
    out.FLAP_AppendTLV(0x25, QByteArray());
    QCOMPARE(out.DataSize(), 4 + 4 + 6 + 4);
    const QByteArray frame = out.FLAP_Send();
    QCOMPARE(frame.toHex(' '), hex("2A0100070012"
                                   "00000001"
                                   "00010006343234323432"
                                   "00250000")
                                   .toHex(' '));

    FLAP in;
    in.ReadFLAP(frame);
    QVERIFY(in.FullPocket());
    QCOMPARE(in.ChannelID(), quint8(1));
    QCOMPARE(in.SeqNumber(), 7);
    QCOMPARE(in.Data().toHex(' '), out.Data().toHex(' '));
}

void tst_Flap::sendTwiceGivesTheSameBytes()
{
    FLAP flap;
    flap.FLAP_Create(2, 12171);
    flap.FLAP_AppendSNAC(1, 0x17, 0, 0, hex("00000017"));
    flap.FLAP_AppendTLV(5, "ab");
    const QByteArray first = flap.FLAP_Send();
    QCOMPARE(flap.FLAP_Send().toHex(' '), first.toHex(' '));
    QCOMPARE(first.size(), 6 + 10 + 6);
}

void tst_Flap::overflow_data()
{
    QTest::addColumn<int>("dataBytes");
    QTest::addColumn<int>("tlvBytes");
    QTest::addColumn<int>("family");
    QTest::addColumn<bool>("overflows");

    QTest::newRow("largest data part") << 0xFFFF - 10 << -1 << 4 << false;
    QTest::newRow("data part one byte too long") << 0xFFFF - 9 << -1 << 4 << true;
    QTest::newRow("largest TLV that fits the frame") << 0 << 0xFFFF - 14 << 4 << false;
    QTest::newRow("TLV value over 65535") << 0 << 0x10000 << 4 << true;
    QTest::newRow("TLV pushes the frame over") << 0xFFFF - 16 << 4 << 4 << true;
    QTest::newRow("family over 16 bits") << 0 << -1 << 0x10004 << true;
    QTest::newRow("negative family") << 0 << -1 << -1 << true;
}

void tst_Flap::overflow()
{
    QFETCH(int, dataBytes);
    QFETCH(int, tlvBytes);
    QFETCH(int, family);
    QFETCH(bool, overflows);

    FLAP flap;
    flap.FLAP_Create(2, 1);
    flap.FLAP_AppendSNAC(family, 6, 0, 0, hex("00000001"));
    flap.AppendData(QByteArray(dataBytes, 'x'));
    if (tlvBytes >= 0)
        flap.FLAP_AppendTLV(2, QByteArray(tlvBytes, 'y'));
    QCOMPARE(flap.overflowed(), overflows);
    const QByteArray frame = flap.FLAP_Send();
    if (overflows) {
        QVERIFY(frame.isEmpty());
        return;
    }
    QCOMPARE(frame.size(), 6 + flap.DataSize());
    FLAP back;
    back.ReadFLAP(frame);
    QVERIFY(back.FullPocket());
    QCOMPARE(back.DataSize(), flap.DataSize());
}

void tst_Flap::createClearsOverflow()
{
    FLAP flap;
    flap.FLAP_Create(2, 1);
    flap.AppendData(QByteArray(0x10000, 'x'));
    QVERIFY(flap.overflowed());
    flap.FLAP_Create(2, 2);
    QVERIFY(!flap.overflowed());
    flap.AppendData("ab");
    QCOMPARE(flap.FLAP_Send().toHex(' '), hex("2A02000200026162").toHex(' '));
}

void tst_Flap::splitFlaps_data()
{
    QTest::addColumn<QByteArray>("chunk");
    // channel:full:unsync per frame
    QTest::addColumn<QStringList>("frames");

    QTest::newRow("empty chunk") << QByteArray() << QStringList();
    QTest::newRow("two whole frames")
        << hex("2A0100010004000000012A0200020000") << QStringList{"1:1:0", "2:1:0"};
    QTest::newRow("one frame and three bytes of the next") << hex("2A0400010000"
                                                                  "2A0200")
                                                           << QStringList{"4:1:0", "0:0:0"};
    QTest::newRow("second frame cut in its data") << hex("2A0400010000"
                                                         "2A0200020004AABB")
                                                  << QStringList{"4:1:0", "2:0:0"};
    // Lengths are trusted even without the marker: the next frame still comes out.
    QTest::newRow("bad marker, good length") << hex("000000000001FF"
                                                    "2A0400010000")
                                             << QStringList{"0:0:1", "4:1:0"};
    QTest::newRow("single byte") << hex("2A") << QStringList{"0:0:0"};
    QTest::newRow("five header bytes") << hex("2A02000100") << QStringList{"0:0:0"};
    QTest::newRow("length cut after one byte") << hex("2A020001FF") << QStringList{"0:0:0"};
}

void tst_Flap::splitFlaps()
{
    QFETCH(QByteArray, chunk);
    QFETCH(QStringList, frames);

    QStringList actual;
    for (const FLAP &flap : SplitFLAPs(chunk))
        actual << QStringLiteral("%1:%2:%3")
                      .arg(flap.ChannelID())
                      .arg(int(flap.FullPocket()))
                      .arg(int(flap.UnSinxronization()));
    QCOMPARE(actual, frames);
}

QTEST_GUILESS_MAIN(tst_Flap)
#include "tst_flap.moc"
