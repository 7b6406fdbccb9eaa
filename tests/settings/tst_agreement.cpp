#include "core/programfolder.h"
#include "files/agreement.h"
#include "support/filemode.h"
#include "support/programhome.h"

#include <QDir>
#include <QTest>

#include <memory>

class TestAgreement : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();

    void isAccepted_data();
    void isAccepted();
    void markerIsOneAndReadOnly();
    void markerRewrittenOverReadOnlyOne();
    void failedMarkerReported();

private:
    QString markerPath() const { return m_home->path() + "/Разрешение.txt"; }

    std::unique_ptr<ProgramHome> m_home;
};

void TestAgreement::init()
{
    m_home = std::make_unique<ProgramHome>();
    QVERIFY(m_home->isValid());
}

void TestAgreement::cleanup()
{
    ProgramFolder::setHome(QString());
    m_home.reset();
}

void TestAgreement::isAccepted_data()
{
    QTest::addColumn<QByteArray>("marker");
    QTest::addColumn<bool>("accepted");
    QTest::newRow("no marker") << QByteArray("<none>") << false;
    QTest::newRow("empty") << QByteArray() << false;
    QTest::newRow("1 CR LF") << QByteArray("1\r\n") << true;
    QTest::newRow("1 alone") << QByteArray("1") << true;
    QTest::newRow("print form") << QByteArray(" 1 \r\n") << true;
    QTest::newRow("0") << QByteArray("0\r\n") << false;
    QTest::newRow("2") << QByteArray("2\r\n") << false;
    QTest::newRow("text") << QByteArray("да\r\n") << false;
}

void TestAgreement::isAccepted()
{
    QFETCH(QByteArray, marker);
    QFETCH(bool, accepted);
    if (marker != "<none>")
        QVERIFY(FileProbe::writeBytes(markerPath(), marker));
    QCOMPARE(Agreement::isAccepted(), accepted);
}

void TestAgreement::markerIsOneAndReadOnly()
{
    QVERIFY(Agreement::writeMarker());
    QCOMPARE(FileProbe::bytes(markerPath()), QByteArray("1\r\n"));
    QCOMPARE(FileProbe::unixMode(markerPath()) & 0222, 0);
    QVERIFY(Agreement::isAccepted());
}

void TestAgreement::markerRewrittenOverReadOnlyOne()
{
    QVERIFY(FileProbe::writeBytes(markerPath(), "0\r\n"));
    QVERIFY(QFile::setPermissions(markerPath(), QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther));
    QVERIFY(Agreement::writeMarker());
    QCOMPARE(FileProbe::bytes(markerPath()), QByteArray("1\r\n"));
    QCOMPARE(FileProbe::unixMode(markerPath()) & 0222, 0);
}

void TestAgreement::failedMarkerReported()
{
    // A folder where the marker belongs: it cannot be written.
    QVERIFY(QDir(m_home->path()).mkpath("Разрешение.txt"));
    const TextFile::Result written = Agreement::writeMarker();
    QVERIFY(!written);
    QVERIFY(!written.error.isEmpty());
    QVERIFY(!Agreement::isAccepted());
}

QTEST_GUILESS_MAIN(TestAgreement)
#include "tst_agreement.moc"
