// The contact book file: the fill rule, adding, changing and deleting by line, and the
// search, each checked against the file's bytes.
#include "records/contactbook.h"
#include "support/filemode.h"
#include "support/programhome.h"

#include <QSignalSpy>
#include <QTest>

#include <memory>

Q_DECLARE_METATYPE(Contact)
Q_DECLARE_METATYPE(ContactBook::Result)

namespace {
const QByteArray Gone = "<missing>";
// Иванов Иван, Петров
const QByteArray Ivanov = "\xc8\xe2\xe0\xed\xee\xe2 \xc8\xe2\xe0\xed";
const QByteArray Petrov = "\xcf\xe5\xf2\xf0\xee\xe2";
const QString IvanovText = QStringLiteral("Иванов Иван");
const QString PetrovText = QStringLiteral("Петров");

Contact contact(const QString &fio, const QString &uin, const QString &address = QString())
{
    return {fio,       uin,    QStringLiteral("+7"), QStringLiteral("a@b.c"), QStringLiteral("30"),
            QString(), address};
}
} // namespace

class tst_ContactBook : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void fillRule_data();
    void fillRule();
    void add_data();
    void add();
    void changeRewritesOnlyItsLine();
    void changeOfAMovedContactWritesNothing();
    void removeTakesOnlyThatLine_data();
    void removeTakesOnlyThatLine();
    void findGoesOnAfterALine();

private:
    QByteArray fileBytes() const { return FileProbe::bytes(m_home->filePath(ContactBook::FilePath)); }
    bool writeFile(const QByteArray &bytes)
    {
        return FileProbe::writeBytes(m_home->filePath(ContactBook::FilePath), bytes);
    }

    std::unique_ptr<ProgramHome> m_home;
};

void tst_ContactBook::init()
{
    m_home = std::make_unique<ProgramHome>();
    QVERIFY(m_home->isValid());
}

void tst_ContactBook::cleanup()
{
    m_home.reset();
}

void tst_ContactBook::fillRule_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<QStringList>("fields");
    QTest::newRow("seven fields") << "a:^:1:^:t:^:e:^:30:^:w:^:home"
                                  << QStringList({"a", "1", "t", "e", "30", "w", "home"});
    QTest::newRow("empty e-mail") << "a:^:1:^:t:^::^:30:^:w:^:home"
                                  << QStringList({"a", "1", "t", "", "30", "w", "home"});
    QTest::newRow("two-letter address")
        << "a:^:1:^:t:^:e:^:30:^:w:^:дм" << QStringList({"a", "1", "t", "e", "30", "w", "дм"});
    QTest::newRow("empty address") << "ab:^:1:^:t:^:e:^:30:^:w:^:"
                                   << QStringList({"ab", "1", "t", "e", "30", "w", ""});
    QTest::newRow("every field empty") << ":^::^::^::^::^::^:" << QStringList({"", "", "", "", "", "", ""});
    QTest::newRow("the address keeps a separator")
        << "a:^:1:^:t:^:e:^:30:^:w:^:x:^:y" << QStringList({"a", "1", "t", "e", "30", "w", "x:^:y"});
    QTest::newRow("too few separators") << "a:^:1" << QStringList({"a", "1", "", "", "", "", ""});
}

void tst_ContactBook::fillRule()
{
    QFETCH(QString, line);
    QFETCH(QStringList, fields);
    const Contact parsed = Contact::fromLine(line);
    QCOMPARE(parsed.fields(), fields);
    if (line.count(QStringLiteral(":^:")) == 6)
        QCOMPARE(parsed.line(), line);
}

void tst_ContactBook::add_data()
{
    QTest::addColumn<QByteArray>("before");
    QTest::addColumn<Contact>("added");
    QTest::addColumn<ContactBook::Result>("result");
    QTest::addColumn<QByteArray>("after");
    const QByteArray stored = Ivanov + ":^:123:^:+7:^:a@b.c:^:30:^::^:\r\n";
    QTest::newRow("into a missing file")
        << Gone << contact(IvanovText, "123") << ContactBook::Result::Done << stored;
    QTest::newRow("same name and number")
        << stored << contact(IvanovText, "123") << ContactBook::Result::Duplicate << stored;
    QTest::newRow("same name, other number")
        << stored << contact(IvanovText, "124") << ContactBook::Result::Done
        << stored + Ivanov + ":^:124:^:+7:^:a@b.c:^:30:^::^:\r\n";
    QTest::newRow("same number, other name")
        << stored << contact(PetrovText, "123") << ContactBook::Result::Done
        << stored + Petrov + ":^:123:^:+7:^:a@b.c:^:30:^::^:\r\n";
    QTest::newRow("every box empty") << QByteArray("x:^:1:^::^::^::^::^:") << Contact()
                                     << ContactBook::Result::Done
                                     << QByteArray("x:^:1:^::^::^::^::^:\r\n:^::^::^::^::^::^:\r\n");
    QTest::newRow("a separator in a field")
        << stored << contact(QStringLiteral("a:^:b"), "1") << ContactBook::Result::InvalidField << stored;
    QTest::newRow("a field ending in the separator's head")
        << stored << contact(QStringLiteral("Иван:^"), "1") << ContactBook::Result::InvalidField << stored;
    QTest::newRow("a line break in a field")
        << stored << contact(QStringLiteral("a\nb"), "1") << ContactBook::Result::InvalidField << stored;
    QTest::newRow("a letter outside the code page")
        << stored << contact(QStringLiteral("a\u4e2d"), "1") << ContactBook::Result::InvalidField << stored;
}

void tst_ContactBook::add()
{
    QFETCH(QByteArray, before);
    QFETCH(Contact, added);
    QFETCH(ContactBook::Result, result);
    QFETCH(QByteArray, after);
    if (before != Gone)
        QVERIFY(writeFile(before));
    ContactBook book;
    QSignalSpy changed(&book, &ContactBook::changed);
    QCOMPARE(book.add(added), result);
    QCOMPARE(fileBytes(), after);
    QCOMPARE(changed.size(), result == ContactBook::Result::Done ? 1 : 0);
}

void tst_ContactBook::changeRewritesOnlyItsLine()
{
    const QByteArray first = "a:^:1:^:t:^:e:^:30:^:w:^:h\r\n";
    const QByteArray third = "c:^:3:^:t:^:e:^:30:^:w:^:h\r\n";
    QVERIFY(writeFile(first + "b:^:2:^:t:^:e:^:30:^:w:^:h\r\n" + third));
    ContactBook book;
    const QList<ContactEntry> entries = ContactBook::entries();
    QCOMPARE(entries.size(), 3);
    QCOMPARE(entries.at(1).line, 2);
    Contact updated = entries.at(1).contact;
    updated.address = QStringLiteral("Москва");
    QCOMPARE(book.change(2, entries.at(1).contact, updated), ContactBook::Result::Done);
    QCOMPARE(fileBytes(), first + "b:^:2:^:t:^:e:^:30:^:w:^:\xcc\xee\xf1\xea\xe2\xe0\r\n" + third);
    // The same save again rewrites the same line.
    QCOMPARE(book.change(2, updated, updated), ContactBook::Result::Done);
    QCOMPARE(fileBytes(), first + "b:^:2:^:t:^:e:^:30:^:w:^:\xcc\xee\xf1\xea\xe2\xe0\r\n" + third);
}

void tst_ContactBook::changeOfAMovedContactWritesNothing()
{
    const QByteArray file = "a:^:1:^::^::^::^::^:\r\nc:^:3:^::^::^::^::^:\r\n";
    QVERIFY(writeFile(file));
    ContactBook book;
    QSignalSpy changed(&book, &ContactBook::changed);
    // The window opened "b" on line 2 before someone deleted it.
    const Contact b = Contact::fromLine(QStringLiteral("b:^:2:^::^::^::^::^:"));
    Contact updated = b;
    updated.phone = QStringLiteral("5");
    QCOMPARE(book.change(2, b, updated), ContactBook::Result::Moved);
    QCOMPARE(book.change(7, b, updated), ContactBook::Result::Moved);
    QCOMPARE(book.remove(2, b), ContactBook::Result::Moved);
    QCOMPARE(fileBytes(), file);
    // The windows read the book again.
    QCOMPARE(changed.size(), 3);
}

void tst_ContactBook::removeTakesOnlyThatLine_data()
{
    QTest::addColumn<QByteArray>("before");
    QTest::addColumn<int>("line");
    QTest::addColumn<QByteArray>("after");
    QTest::newRow("one of two with the same name")
        << QByteArray("a:^:1:^::^::^::^::^:\r\na:^:2:^::^::^::^::^:\r\nb:^:3:^::^::^::^::^:\r\n") << 2
        << QByteArray("a:^:1:^::^::^::^::^:\r\nb:^:3:^::^::^::^::^:\r\n");
    QTest::newRow("empty lines go too") << QByteArray("a:^:1:^::^::^::^::^:\r\n\r\nb:^:3:^::^::^::^::^:") << 1
                                        << QByteArray("b:^:3:^::^::^::^::^:\r\n");
    QTest::newRow("the only contact deletes the file")
        << QByteArray("\r\na:^:1:^::^::^::^::^:\r\n") << 2 << Gone;
}

void tst_ContactBook::removeTakesOnlyThatLine()
{
    QFETCH(QByteArray, before);
    QFETCH(int, line);
    QFETCH(QByteArray, after);
    QVERIFY(writeFile(before));
    ContactBook book;
    std::optional<ContactEntry> entry;
    for (const ContactEntry &e : ContactBook::entries()) {
        if (e.line == line)
            entry = e;
    }
    QVERIFY(entry);
    QCOMPARE(book.remove(line, entry->contact), ContactBook::Result::Done);
    QCOMPARE(fileBytes(), after);
}

void tst_ContactBook::findGoesOnAfterALine()
{
    QVERIFY(writeFile(
        "Иванов:^:1:^::^::^::^::^:\r\n\r\nИванов Иван:^:2:^::^::^::^::^:\r\nИванов:^:3:^::^::^::^::^:\r\n"
        ":^:4:^::^::^::^::^:\r\n"));
    using Key = ContactBook::Key;
    // Exact: neither the surname alone nor another letter case finds "Иванов Иван".
    QCOMPARE(ContactBook::find(QStringLiteral("Иванов"), Key::Fio)->line, 1);
    QCOMPARE(ContactBook::find(QStringLiteral("Иванов"), Key::Fio, 1)->line, 4);
    QVERIFY(!ContactBook::find(QStringLiteral("Иванов"), Key::Fio, 4));
    QVERIFY(!ContactBook::find(QStringLiteral("иванов иван"), Key::Fio));
    QCOMPARE(ContactBook::find(QStringLiteral("2"), Key::Uin)->line, 3);
    QCOMPARE(ContactBook::find(QString(), Key::Fio)->line, 5);
}

QTEST_GUILESS_MAIN(tst_ContactBook)
#include "tst_contactbook.moc"
