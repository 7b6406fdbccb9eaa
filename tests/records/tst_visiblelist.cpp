// The visible list file as the operator edits it and as the sign-on reads it.
#include "core/textfile.h"
#include "records/visiblelist.h"
#include "session/signon.h"
#include "support/filemode.h"
#include "support/programhome.h"

#include <QTest>

#include <memory>

Q_DECLARE_METATYPE(VisibleList::AddResult)

class tst_VisibleList : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void add_data();
    void add();
    void remove_data();
    void remove();
    void theSignOnReadsWhatWasAdded();

private:
    QByteArray fileBytes() const { return FileProbe::bytes(m_home->filePath(SignOn::VisibleListPath)); }
    std::unique_ptr<ProgramHome> m_home;
};

void tst_VisibleList::init()
{
    m_home = std::make_unique<ProgramHome>();
    QVERIFY(m_home->isValid());
}

void tst_VisibleList::cleanup()
{
    m_home.reset();
}

void tst_VisibleList::add_data()
{
    using R = VisibleList::AddResult;
    QTest::addColumn<QByteArray>("before");
    QTest::addColumn<QString>("entry");
    QTest::addColumn<R>("result");
    QTest::addColumn<QByteArray>("after");
    const QByteArray gone = "<missing>";
    QTest::newRow("the first") << gone << "123456" << R::Added << QByteArray("123456\r\n");
    QTest::newRow("a second") << QByteArray("123456\r\n") << "4242" << R::Added
                              << QByteArray("123456\r\n4242\r\n");
    QTest::newRow("the same again") << QByteArray("123456\r\n") << "123456" << R::Duplicate
                                    << QByteArray("123456\r\n");
    QTest::newRow("a blank makes it another")
        << QByteArray("123456\r\n") << " 123456" << R::Added << QByteArray("123456\r\n 123456\r\n");
    QTest::newRow("empty adds nothing") << gone << "" << R::Empty << gone;
    QTest::newRow("after an unended line")
        << QByteArray("123456") << "4242" << R::Added << QByteArray("123456\r\n4242\r\n");
}

void tst_VisibleList::add()
{
    QFETCH(QByteArray, before);
    QFETCH(QString, entry);
    QFETCH(VisibleList::AddResult, result);
    QFETCH(QByteArray, after);
    if (before != "<missing>")
        QVERIFY(FileProbe::writeBytes(m_home->filePath(SignOn::VisibleListPath), before));
    QCOMPARE(VisibleList::add(entry), result);
    QCOMPARE(fileBytes(), after);
}

void tst_VisibleList::remove_data()
{
    QTest::addColumn<QByteArray>("before");
    QTest::addColumn<QString>("entry");
    QTest::addColumn<QByteArray>("after");
    QTest::newRow("every equal line") << QByteArray("1\r\n2\r\n1\r\n") << "1" << QByteArray("2\r\n");
    QTest::newRow("nothing selected takes the empty lines")
        << QByteArray("1\r\n\r\n2\r\n\r\n") << "" << QByteArray("1\r\n2\r\n");
    QTest::newRow("the only entry deletes the file") << QByteArray("1\r\n") << "1" << QByteArray("<missing>");
}

void tst_VisibleList::remove()
{
    QFETCH(QByteArray, before);
    QFETCH(QString, entry);
    QFETCH(QByteArray, after);
    QVERIFY(FileProbe::writeBytes(m_home->filePath(SignOn::VisibleListPath), before));
    QVERIFY(VisibleList::remove(entry));
    QCOMPARE(fileBytes(), after);
}

void tst_VisibleList::theSignOnReadsWhatWasAdded()
{
    for (const char *entry : {"123456", "4242", "не номер", "777"})
        QCOMPARE(VisibleList::add(QString::fromUtf8(entry)), VisibleList::AddResult::Added);
    QCOMPARE(SignOn::visibleNumbers(TextFile::readLines(SignOn::VisibleListPath)),
             QStringList({"123456", "4242", "777"}));
}

QTEST_GUILESS_MAIN(tst_VisibleList)
#include "tst_visiblelist.moc"
