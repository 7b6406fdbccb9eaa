#include "core/listfile.h"

#include <QTest>

Q_DECLARE_METATYPE(std::optional<QStringList>)

class TestListFile : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void split_data();
    void split();
    void fields_data();
    void fields();
    void field();
    void uinOf();
    void canHoldField_data();
    void canHoldField();
};

void TestListFile::split_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<QStringList>("parts");
    QTest::newRow("empty") << "" << QStringList{""};
    QTest::newRow("one") << "123" << QStringList{"123"};
    QTest::newRow("three") << "123:^:05.03.2008:^:спам" << QStringList{"123", "05.03.2008", "спам"};
    QTest::newRow("empty fields") << ":^:a:^:" << QStringList{"", "a", ""};
    QTest::newRow("lookalikes") << "a:^b^:c" << QStringList{"a:^b^:c"};
}

void TestListFile::split()
{
    QFETCH(QString, line);
    QFETCH(QStringList, parts);
    QCOMPARE(ListFile::split(line), parts);
    QCOMPARE(ListFile::join(parts), line);
}

void TestListFile::fields_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<int>("count");
    QTest::addColumn<std::optional<QStringList>>("fields");
    QTest::newRow("exact") << "a:^:b:^:c" << 3 << std::optional<QStringList>(QStringList{"a", "b", "c"});
    QTest::newRow("last holds separator") << "a:^:b:^:c" << 2 << std::optional<QStringList>(QStringList{"a", "b:^:c"});
    QTest::newRow("one field is the line") << "a:^:b" << 1 << std::optional<QStringList>(QStringList{"a:^:b"});
    QTest::newRow("empty last") << "a:^:" << 2 << std::optional<QStringList>(QStringList{"a", ""});
    QTest::newRow("too few separators") << "a:^:b" << 3 << std::optional<QStringList>();
    QTest::newRow("no fields") << "a" << 0 << std::optional<QStringList>();
}

void TestListFile::fields()
{
    QFETCH(QString, line);
    QFETCH(int, count);
    QFETCH(std::optional<QStringList>, fields);
    QCOMPARE(ListFile::fields(line, count), fields);
}

void TestListFile::field()
{
    const QString line = QStringLiteral("Вася:^:Привет:^:как дела :^: ок");
    QCOMPARE(ListFile::field(line, 0, 2), std::optional<QString>("Вася"));
    QCOMPARE(ListFile::field(line, 1, 2), std::optional<QString>("Привет:^:как дела :^: ок"));
    QCOMPARE(ListFile::field(line, 3, 4), std::optional<QString>(" ок"));
    QCOMPARE(ListFile::field(line, 2, 2), std::optional<QString>());
    QCOMPARE(ListFile::field(line, -1, 2), std::optional<QString>());
    QCOMPARE(ListFile::field(line, 0, 5), std::optional<QString>());
}

void TestListFile::uinOf()
{
    QCOMPARE(ListFile::uinOf("123456 Вася"), std::optional<QString>("123456"));
    QCOMPARE(ListFile::uinOf(" x"), std::optional<QString>(""));
    QCOMPARE(ListFile::uinOf("123456"), std::optional<QString>());
}

void TestListFile::canHoldField_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("holds");
    QTest::newRow("plain") << "Вася" << true;
    QTest::newRow("empty") << "" << true;
    QTest::newRow("separator") << "a:^:b" << false;
    QTest::newRow("ends in :^") << "Вопрос:^" << false;
    QTest::newRow("ends in :") << "a:" << true;
    QTest::newRow("starts with ^:") << "^:a" << true;
}

// A field must read back whole from a line where a separator follows it.
void TestListFile::canHoldField()
{
    QFETCH(QString, text);
    QFETCH(bool, holds);
    QCOMPARE(ListFile::canHoldField(text), holds);
    const std::optional<QStringList> back = ListFile::fields(ListFile::join({text, QStringLiteral("x")}), 2);
    QVERIFY(back);
    QCOMPARE(back->first() == text, holds);
}

QTEST_GUILESS_MAIN(TestListFile)
#include "tst_listfile.moc"
