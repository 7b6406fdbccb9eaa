#include "session/packetreader.h"
#include "support/hex.h"

#include <QTest>

class tst_PacketReader : public QObject
{
    Q_OBJECT

private slots:
    void numbers();
    void shortReads_data();
    void shortReads();
    void failureIsSticky();
    void lengthPrefixed();
    void tlvs_data();
    void tlvs();
    void tlvBlock();
    void findTlvInList();

    void writer();
    void writerToFlap();
    void writerOverflow();
    void writerReadsBack();
};

void tst_PacketReader::numbers()
{
    const QByteArray data = hex("2A"
                                "2F8B"
                                "80000001"
                                "0A00"
                                "32790600"
                                "AABBCC");
    PacketReader r(data);
    QCOMPARE(r.u8(), quint8(0x2A));
    QCOMPARE(r.u16(), quint16(12171));
    QCOMPARE(r.u32(), 0x80000001u);
    QCOMPARE(r.u16le(), quint16(10));
    QCOMPARE(r.u32le(), 424242u);
    QCOMPARE(r.position(), qsizetype(13));
    QCOMPARE(r.remaining(), qsizetype(3));
    QCOMPARE(r.bytes(2).toHex(' '), hex("AABB").toHex(' '));
    QCOMPARE(r.rest().toHex(' '), hex("CC").toHex(' '));
    QVERIFY(r.atEnd());
    QVERIFY(!r.failed());
    QCOMPARE(r.rest(), QByteArray());
    QVERIFY(!r.failed());
}

void tst_PacketReader::shortReads_data()
{
    QTest::addColumn<QByteArray>("data");
    QTest::addColumn<QString>("read");

    QTest::newRow("u8 of nothing") << QByteArray() << "u8";
    QTest::newRow("u16 of one byte") << hex("01") << "u16";
    QTest::newRow("u32 of three bytes") << hex("010203") << "u32";
    QTest::newRow("u16le of one byte") << hex("01") << "u16le";
    QTest::newRow("u32le of three bytes") << hex("010203") << "u32le";
    QTest::newRow("bytes past the end") << hex("0102") << "bytes3";
    QTest::newRow("negative byte count") << hex("0102") << "bytes-1";
    QTest::newRow("skip past the end") << hex("0102") << "skip3";
    QTest::newRow("length-prefixed, cut") << hex("03AABB") << "len8";
    QTest::newRow("two-byte length, cut") << hex("0003AABB") << "len16";
}

void tst_PacketReader::shortReads()
{
    QFETCH(QByteArray, data);
    QFETCH(QString, read);

    PacketReader r(data);
    quint64 value = 0;
    QByteArray bytes;
    if (read == QLatin1String("u8"))
        value = r.u8();
    else if (read == QLatin1String("u16"))
        value = r.u16();
    else if (read == QLatin1String("u32"))
        value = r.u32();
    else if (read == QLatin1String("u16le"))
        value = r.u16le();
    else if (read == QLatin1String("u32le"))
        value = r.u32le();
    else if (read == QLatin1String("bytes3"))
        bytes = r.bytes(3);
    else if (read == QLatin1String("bytes-1"))
        bytes = r.bytes(-1);
    else if (read == QLatin1String("skip3"))
        QVERIFY(!r.skip(3));
    else if (read == QLatin1String("len8"))
        bytes = r.lenBytes8();
    else if (read == QLatin1String("len16"))
        bytes = r.lenBytes16();
    else
        QFAIL("unknown read");

    QVERIFY(r.failed());
    QCOMPARE(value, quint64(0));
    QCOMPARE(bytes, QByteArray());
    QVERIFY(r.atEnd());
    QCOMPARE(r.remaining(), qsizetype(0));
}

void tst_PacketReader::failureIsSticky()
{
    const QByteArray data = hex("01020304050607");
    PacketReader r(data);
    QCOMPARE(r.u16(), quint16(0x0102));
    QCOMPARE(r.bytes(10), QByteArray());
    QVERIFY(r.failed());
    // Bytes that were there before the failed read are not handed out afterwards.
    QCOMPARE(r.u8(), quint8(0));
    QCOMPARE(r.u32(), 0u);
    QCOMPARE(r.tlvs().size(), 0);
    QVERIFY(!r.skip(0));
    QVERIFY(r.failed());
}

void tst_PacketReader::lengthPrefixed()
{
    const QByteArray data = hex("06"
                                "343234323432"
                                "0002"
                                "4142"
                                "00");
    PacketReader r(data);
    QCOMPARE(r.lenBytes8(), QByteArray("424242"));
    QCOMPARE(r.lenBytes16(), QByteArray("AB"));
    QCOMPARE(r.lenBytes8(), QByteArray());
    QVERIFY(r.atEnd());
    QVERIFY(!r.failed());
}

void tst_PacketReader::tlvs_data()
{
    QTest::addColumn<QByteArray>("data");
    QTest::addColumn<int>("count");
    QTest::addColumn<bool>("failed");
    QTest::addColumn<QByteArray>("lastValue");

    QTest::newRow("none") << QByteArray() << 0 << false << QByteArray();
    QTest::newRow("empty value") << hex("00050000") << 1 << false << QByteArray();
    QTest::newRow("two") << hex("000100014A"
                                "00020002BEEF")
                         << 2 << false << hex("BEEF");
    QTest::newRow("value cut short") << hex("000100014A"
                                            "0002000ABEEF")
                                     << 1 << true << hex("4A");
    QTest::newRow("header cut short") << hex("000100014A"
                                             "0002")
                                      << 1 << true << hex("4A");
    // A real server sends user-info TLVs 0006 and 000F of two bytes each.
    QTest::newRow("short user-info TLVs") << hex("00060002ABCD"
                                                 "000F00020001")
                                          << 2 << false << hex("0001");
}

void tst_PacketReader::tlvs()
{
    QFETCH(QByteArray, data);
    QFETCH(int, count);
    QFETCH(bool, failed);
    QFETCH(QByteArray, lastValue);

    PacketReader r(data);
    const QList<TLVEntry> list = r.tlvs();
    QCOMPARE(list.size(), count);
    QCOMPARE(r.failed(), failed);
    QVERIFY(r.atEnd());
    if (count > 0) {
        QCOMPARE(list.last().value.toHex(' '), lastValue.toHex(' '));
        QCOMPARE(list.last().length, int(lastValue.size()));
    }
}

void tst_PacketReader::tlvBlock()
{
    // A user-info block: screen name, warning level, TLV count, the TLVs, then more data.
    const QByteArray data = hex("03313131"
                                "0000"
                                "0002"
                                "00010002"
                                "0050"
                                "000C0000"
                                "FFFF");
    PacketReader r(data);
    QCOMPARE(r.lenBytes8(), QByteArray("111"));
    QCOMPARE(r.u16(), quint16(0));
    const QList<TLVEntry> block = r.tlvBlock(r.u16());
    QCOMPARE(block.size(), 2);
    QCOMPARE(block[0].type, 1);
    QCOMPARE(block[0].value.toHex(' '), hex("0050").toHex(' '));
    QCOMPARE(block[1].type, 0xC);
    QCOMPARE(r.u16(), quint16(0xFFFF));
    QVERIFY(r.atEnd());
    QVERIFY(!r.failed());

    PacketReader cut(QByteArrayView(data).first(data.size() - 6));
    cut.skip(4 + 2);
    QCOMPARE(cut.tlvBlock(cut.u16()).size(), 1);
    QVERIFY(cut.failed());
}

void tst_PacketReader::findTlvInList()
{
    const QByteArray data = hex("000100014A"
                                "00020000"
                                "000100014B");
    const QList<TLVEntry> list = PacketReader(data).tlvs();
    QByteArray value("stale");
    QVERIFY(findTlv(list, 1, &value));
    QCOMPARE(value, QByteArray("J"));
    QVERIFY(findTlv(list, 2, &value));
    QCOMPARE(value, QByteArray());
    QVERIFY(!findTlv(list, 3, &value));
    QCOMPARE(value, QByteArray());
    QVERIFY(findTlv(list, 2));
}

void tst_PacketReader::writer()
{
    PacketWriter w;
    w.u8(0x2A).u16(0x2F8B).u32(0x01020304).u16le(10).u32le(1).bytes("AB").lenBytes8("424242");
    w.tlv(0x0005, "x").tlvU16(0x000E, 0x0102).tlvU32(0x0006, 0x00030004).snac(4, 7, 0, 7);
    QCOMPARE(w.data().toHex(' '), hex("2A"
                                      "2F8B"
                                      "01020304"
                                      "0A00"
                                      "01000000"
                                      "4142"
                                      "06343234323432"
                                      "0005000178"
                                      "000E00020102"
                                      "0006000400030004"
                                      "00040007000000000007")
                                      .toHex(' '));
    QVERIFY(!w.overflowed());
    w.clear();
    QCOMPARE(w.size(), qsizetype(0));
}

void tst_PacketReader::writerToFlap()
{
    PacketWriter w;
    w.snac(4, 6, 0, 0x00010006);
    QCOMPARE(w.toFlap(2, 12171).toHex(' '), hex("2A022F8B000A00040006000000010006").toHex(' '));
    QCOMPARE(PacketWriter::flap(1, 0, hex("00000001")).toHex(' '), hex("2A010000000400000001").toHex(' '));
    QCOMPARE(PacketWriter::flap(4, 1, QByteArray()).toHex(' '), hex("2A0400010000").toHex(' '));
    QCOMPARE(PacketWriter::flap(2, 1, QByteArray(0xFFFF, 'x')).size(), 6 + 0xFFFF);
    QVERIFY(PacketWriter::flap(2, 1, QByteArray(0x10000, 'x')).isEmpty());
}

void tst_PacketReader::writerOverflow()
{
    PacketWriter tlv;
    tlv.tlv(1, QByteArray(0x10000, 'x'));
    QVERIFY(tlv.overflowed());
    QVERIFY(tlv.toFlap(2, 1).isEmpty());

    PacketWriter name;
    name.lenBytes8(QByteArray(256, '1'));
    QVERIFY(name.overflowed());
    name.clear();
    QVERIFY(!name.overflowed());
}

void tst_PacketReader::writerReadsBack()
{
    PacketWriter w;
    w.snac(0x15, 2, 0, 0x20000).tlv(1, PacketWriter().u16le(8).u32le(424242).u16le(0x7D0).data());
    const QByteArray frame = w.toFlap(2, 7);

    PacketReader r(frame);
    QCOMPARE(r.u8(), quint8(0x2A));
    QCOMPARE(r.u8(), quint8(2));
    QCOMPARE(r.u16(), quint16(7));
    const quint16 length = r.u16();
    QCOMPARE(qsizetype(length), r.remaining());
    QCOMPARE(r.u16(), quint16(0x15));
    QCOMPARE(r.u16(), quint16(2));
    QVERIFY(r.skip(6));
    const QList<TLVEntry> list = r.tlvs();
    QCOMPARE(list.size(), 1);
    PacketReader meta(list[0].value);
    QCOMPARE(meta.u16le(), quint16(8));
    QCOMPARE(meta.u32le(), 424242u);
    QCOMPARE(meta.u16le(), quint16(0x7D0));
    QVERIFY(meta.atEnd());
    QVERIFY(!r.failed() && !meta.failed());
}

QTEST_GUILESS_MAIN(tst_PacketReader)
#include "tst_packetreader.moc"
