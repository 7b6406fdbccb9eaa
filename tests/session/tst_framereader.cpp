#include "session/flap.h"
#include "session/framereader.h"
#include "support/hex.h"

#include <QFile>
#include <QMap>
#include <QRegularExpression>
#include <QTest>

namespace {

const QRegularExpression desyncWarning(QStringLiteral("lost the frame marker"));

// Server segments of one capture, in order, per connection.
QMap<int, QList<QByteArray>> serverSegments(const QString &fileName)
{
    QMap<int, QList<QByteArray>> segments;
    QFile file(QStringLiteral(KORVANE_TEST_DATA "/") + fileName);
    if (!file.open(QIODevice::ReadOnly))
        return segments;
    while (!file.atEnd()) {
        const QList<QByteArray> fields = file.readLine().trimmed().split(' ');
        if (fields.size() == 3 && fields[1] == "S")
            segments[fields[0].toInt()].append(QByteArray::fromHex(fields[2]));
    }
    return segments;
}

QList<QByteArray> feedInPieces(FrameReader &reader, QByteArrayView stream, qsizetype pieceSize)
{
    QList<QByteArray> frames;
    for (qsizetype p = 0; p < stream.size(); p += pieceSize)
        frames += reader.feed(stream.sliced(p, std::min(pieceSize, stream.size() - p)));
    return frames;
}

} // namespace

class tst_FrameReader : public QObject
{
    Q_OBJECT

private slots:
    void byteByByte();
    void coalescedFrames();
    void everySplitOfTwoFrames();
    void emptyAndLargestFrames();
    void garbagePrefixIsDropped();
    void damagedStretchCostsOnlyItself_data();
    void damagedStretchCostsOnlyItself();
    void clearDropsThePartialTail();

    void capturedSessions_data();
    void capturedSessions();
};

void tst_FrameReader::byteByByte()
{
    const QByteArray frame = hex("2A022F8B000A00040006000000010006");
    FrameReader reader;
    for (int i = 0; i < frame.size() - 1; ++i) {
        QVERIFY2(reader.feed(frame.mid(i, 1)).isEmpty(), qPrintable(QString::number(i)));
        QCOMPARE(reader.buffered(), qsizetype(i + 1));
    }
    const QList<QByteArray> frames = reader.feed(frame.right(1));
    QCOMPARE(frames.size(), 1);
    QCOMPARE(frames[0].toHex(' '), frame.toHex(' '));
    QCOMPARE(reader.buffered(), qsizetype(0));
    QCOMPARE(reader.desyncCount(), 0);
}

void tst_FrameReader::coalescedFrames()
{
    const QByteArray a = hex("2A010001000400000001");
    const QByteArray b = hex("2A0200020000");
    const QByteArray c = hex("2A04000300050001000141");
    FrameReader reader;
    // Two whole frames and the first four bytes of a third: the third waits.
    QList<QByteArray> frames = reader.feed(a + b + c.left(4));
    QCOMPARE(frames.size(), 2);
    QCOMPARE(frames[0].toHex(' '), a.toHex(' '));
    QCOMPARE(frames[1].toHex(' '), b.toHex(' '));
    QCOMPARE(reader.buffered(), qsizetype(4));
    frames = reader.feed(c.mid(4) + a);
    QCOMPARE(frames.size(), 2);
    QCOMPARE(frames[0].toHex(' '), c.toHex(' '));
    QCOMPARE(frames[1].toHex(' '), a.toHex(' '));
    QCOMPARE(reader.buffered(), qsizetype(0));
}

void tst_FrameReader::everySplitOfTwoFrames()
{
    const QByteArray a = hex("2A040001000700010003414243");
    const QByteArray b = hex("2A020002000C0004000700000000000AFFFF");
    const QByteArray stream = a + b;
    for (int cut = 0; cut <= stream.size(); ++cut) {
        FrameReader reader;
        // Two statements: the operands of + may be evaluated in either order.
        QList<QByteArray> frames = reader.feed(stream.left(cut));
        frames += reader.feed(stream.mid(cut));
        QCOMPARE(frames.size(), 2);
        QCOMPARE(frames[0].toHex(' '), a.toHex(' '));
        QCOMPARE(frames[1].toHex(' '), b.toHex(' '));
        QCOMPARE(reader.buffered(), qsizetype(0));
    }
}

void tst_FrameReader::emptyAndLargestFrames()
{
    const QByteArray empty = hex("2A0200050000");
    QByteArray largest = hex("2A020006FFFF");
    largest += QByteArray(0xFFFF, '\x2A');
    FrameReader reader;
    QCOMPARE(reader.feed(QByteArray()).size(), 0);
    QList<QByteArray> frames = reader.feed(empty + largest.left(largest.size() - 1));
    QCOMPARE(frames.size(), 1);
    QCOMPARE(frames[0].toHex(' '), empty.toHex(' '));
    // The longest tail there can be waits whole.
    QCOMPARE(reader.buffered(), FrameReader::MaxFrameSize - 1);
    frames = reader.feed(largest.right(1));
    QCOMPARE(frames.size(), 1);
    QCOMPARE(frames[0].size(), FrameReader::MaxFrameSize);
    QVERIFY(frames[0] == largest);
}

void tst_FrameReader::garbagePrefixIsDropped()
{
    const QByteArray frame = hex("2A0200020000");
    FrameReader reader;
    QTest::ignoreMessage(QtWarningMsg, desyncWarning);
    // The junk goes; the frame right after it is found and read.
    QList<QByteArray> frames = reader.feed(hex("000102") + frame);
    QCOMPARE(frames.size(), 1);
    QCOMPARE(frames[0].toHex(' '), frame.toHex(' '));
    QCOMPARE(reader.desyncCount(), 1);
    QCOMPARE(reader.buffered(), qsizetype(0));

    frames = reader.feed(frame);
    QCOMPARE(frames.size(), 1);
    QCOMPARE(reader.desyncCount(), 1);
}

void tst_FrameReader::damagedStretchCostsOnlyItself_data()
{
    QTest::addColumn<QByteArray>("damaged");
    // Junk is found in any split of the stream; a cut frame when the bytes after it have
    // come with it (a frame that ends right where the bytes end so far is taken as whole).
    QTest::addColumn<bool>("anySplit");
    const QByteArray message = hex("2A02000300090004000700000000000A");
    QTest::newRow("junk between frames") << hex("2B0200030000") << true;
    QTest::newRow("junk with a star") << hex("112A99") << true;
    QTest::newRow("frame cut short") << message.left(9) << false;
    QTest::newRow("header alone") << message.left(6) << false;
}

void tst_FrameReader::damagedStretchCostsOnlyItself()
{
    QFETCH(QByteArray, damaged);
    QFETCH(bool, anySplit);
    const QByteArray before = hex("2A0200020000");
    const QByteArray after = hex("2A0200040004414243FF");
    const QByteArray stream = before + damaged + after + before;
    // Whole and byte by byte: the frames after the damage come through either way.
    for (const bool bytewise : {false, true}) {
        if (bytewise && !anySplit)
            continue;
        FrameReader reader;
        if (!bytewise)
            QTest::ignoreMessage(QtWarningMsg, desyncWarning);
        QList<QByteArray> frames;
        if (bytewise) {
            for (qsizetype i = 0; i < stream.size(); ++i)
                frames += reader.feed(stream.mid(i, 1));
        } else {
            frames = reader.feed(stream);
        }
        QCOMPARE(frames.size(), 3);
        QCOMPARE(frames[0].toHex(' '), before.toHex(' '));
        QCOMPARE(frames[1].toHex(' '), after.toHex(' '));
        QCOMPARE(frames[2].toHex(' '), before.toHex(' '));
        QVERIFY(reader.desyncCount() >= 1);
    }
}

void tst_FrameReader::clearDropsThePartialTail()
{
    const QByteArray frame = hex("2A010001000400000001");
    FrameReader reader;
    QVERIFY(reader.feed(frame.left(7)).isEmpty());
    reader.clear();
    QCOMPARE(reader.buffered(), qsizetype(0));
    // Without the clear, this frame would be glued to the stale tail.
    const QList<QByteArray> frames = reader.feed(frame);
    QCOMPARE(frames.size(), 1);
    QCOMPARE(frames[0].toHex(' '), frame.toHex(' '));
}

void tst_FrameReader::capturedSessions_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<int>("frameCount");
    QTest::addColumn<int>("pieceSize"); // 0: the captured segments as they came

    const struct
    {
        const char *file;
        int frames;
    } captures[] = {{"session-cpp.txt", 22}, {"session-node.txt", 37}, {"session-python.txt", 18}};
    for (const auto &capture : captures) {
        for (int piece : {0, 1, 5, 7, 100, 16384}) {
            QTest::addRow("%s, %s", capture.file,
                          piece ? qPrintable(QStringLiteral("pieces of %1").arg(piece)) : "as captured")
                << QString::fromLatin1(capture.file) << capture.frames << piece;
        }
    }
}

void tst_FrameReader::capturedSessions()
{
    QFETCH(QString, file);
    QFETCH(int, frameCount);
    QFETCH(int, pieceSize);

    const QMap<int, QList<QByteArray>> connections = serverSegments(file);
    QVERIFY2(!connections.isEmpty(), qPrintable(file));

    int total = 0;
    for (auto it = connections.cbegin(); it != connections.cend(); ++it) {
        const QByteArray stream = it.value().join();
        FrameReader reader;
        QList<QByteArray> frames;
        if (pieceSize == 0) {
            for (const QByteArray &segment : it.value())
                frames += reader.feed(segment);
        } else {
            frames = feedInPieces(reader, stream, pieceSize);
        }

        const QString where = QStringLiteral("connection %1").arg(it.key());
        QCOMPARE(reader.desyncCount(), 0);
        QCOMPARE(reader.buffered(), qsizetype(0));
        QVERIFY2(frames.join() == stream, qPrintable(where)); // every byte, in order, once
        for (const QByteArray &bytes : frames) {
            FLAP flap;
            flap.ReadFLAP(bytes);
            QVERIFY2(flap.FullPocket(), qPrintable(where + QLatin1Char(' ') + bytes.left(16).toHex(' ')));
            QVERIFY(!flap.UnSinxronization());
            QCOMPARE(flap.DataSize() + 6, bytes.size());
            // The splitter agrees with the reader on a frame that stands alone.
            const QList<FLAP> split = SplitFLAPs(bytes);
            QCOMPARE(split.size(), 1);
            QCOMPARE(split[0].ChannelID(), flap.ChannelID());
            QCOMPARE(split[0].SNAC_FamID(), flap.SNAC_FamID());
            QCOMPARE(split[0].SNAC_TipID(), flap.SNAC_TipID());
        }
        total += frames.size();

        // The whole stream of a connection split in one go gives the same frames.
        const QList<FLAP> all = SplitFLAPs(stream);
        QCOMPARE(all.size(), frames.size());
        for (const FLAP &flap : all)
            QVERIFY(flap.FullPocket());
    }
    QCOMPARE(total, frameCount);
}

QTEST_GUILESS_MAIN(tst_FrameReader)
#include "tst_framereader.moc"
