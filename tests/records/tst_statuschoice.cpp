// The status choice: names, codes and the status file.
#include "records/statuschoice.h"
#include "support/filemode.h"
#include "support/programhome.h"

#include <QTest>

#include <memory>

class tst_StatusChoice : public QObject
{
    Q_OBJECT
private slots:
    void choose_data();
    void choose();
    void nothingChosenKeepsTheFile();
};

void tst_StatusChoice::choose_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("code");
    QTest::addColumn<int>("botStatus");
    QTest::newRow("online") << "Онлайн" << 1 << 1;
    QTest::newRow("away") << "Отошёл" << 2 << 0;
    QTest::newRow("not available") << "Не доступен" << 3 << 0;
    QTest::newRow("occupied") << "Занят" << 4 << 2;
    QTest::newRow("invisible") << "Не видимый" << 5 << 3;
    QTest::newRow("free for chat") << "Готов поболтать" << 6 << 0;
}

void tst_StatusChoice::choose()
{
    QFETCH(QString, name);
    QFETCH(int, code);
    QFETCH(int, botStatus);
    ProgramHome home;
    QVERIFY(home.isValid());
    QCOMPARE(StatusChoice::names().at(code - 1), name);
    QCOMPARE(StatusChoice::choose(name), code);
    QCOMPARE(FileProbe::bytes(home.filePath(StatusChoice::FilePath)), QByteArray::number(code) + "\r\n");
    QCOMPARE(StatusChoice::botStatusOf(code), botStatus);
}

void tst_StatusChoice::nothingChosenKeepsTheFile()
{
    ProgramHome home;
    QVERIFY(home.isValid());
    QVERIFY(FileProbe::writeBytes(home.filePath(StatusChoice::FilePath), "4\r\n"));
    QCOMPARE(StatusChoice::choose(QString()), 0);
    QCOMPARE(StatusChoice::choose(QStringLiteral("занят")), 0);
    QCOMPARE(FileProbe::bytes(home.filePath(StatusChoice::FilePath)), QByteArray("4\r\n"));
}

QTEST_GUILESS_MAIN(tst_StatusChoice)
#include "tst_statuschoice.moc"
