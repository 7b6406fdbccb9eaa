// The side files of the command base editor: the unknown-command reply, the bot
// information, the additional commands list and the embedded help texts.
#include "commands/sidetexts.h"
#include "support/filemode.h"
#include "support/commandrecords.h"
#include "support/programhome.h"

#include <QDir>
#include <QFile>
#include <QTest>

#include <sys/stat.h>

#include <memory>

class tst_SideTexts : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void unknownReplyKeptByteForByte_data();
    void unknownReplyKeptByteForByte();
    void botInfoShownWhateverTheSwitch_data();
    void botInfoShownWhateverTheSwitch();
    void answerEngineReadsWhatIsSaved();
    void additionalAdd();
    void additionalRemove_data();
    void additionalRemove();
    void additionalUnreadableLeftAlone();
    void additionalUsable_data();
    void additionalUsable();
    void helpEmbedded_data();
    void helpEmbedded();

private:
    QString path(const QString &relative) const { return m_home->path() + QLatin1Char('/') + relative; }
    QByteArray bytes(const QString &relative) const { return FileProbe::bytes(path(relative)); }
    bool write(const QString &relative, const QByteArray &content)
    {
        return FileProbe::writeBytes(path(relative), content);
    }

    std::unique_ptr<ProgramHome> m_home;
};

void tst_SideTexts::init()
{
    m_home = std::make_unique<ProgramHome>();
    QVERIFY(m_home->isValid());
    HelpEmbedding::setKind(HelpEmbedding::None);
}

void tst_SideTexts::cleanup()
{
    m_home.reset();
}

void tst_SideTexts::unknownReplyKeptByteForByte_data()
{
    QTest::addColumn<QByteArray>("stored");
    QTest::addColumn<QString>("shown");
    QTest::newRow("one line") << cp("Нет такой команды.\r\n") << "Нет такой команды.";
    QTest::newRow("lines and an empty one") << cp("А\r\n\r\nБ\r\n") << "А\r\n\r\nБ";
    QTest::newRow("ends with an empty line") << cp("А\r\n\r\n") << "А\r\n";
}

void tst_SideTexts::unknownReplyKeptByteForByte()
{
    QFETCH(QByteArray, stored);
    QFETCH(QString, shown);
    QVERIFY(!UnknownReply::load());
    QVERIFY(write("Команды/Ответ на неизвестную команду.txt", stored));
    const std::optional<QString> loaded = UnknownReply::load();
    QVERIFY(loaded);
    QCOMPARE(*loaded, shown);
    QVERIFY(UnknownReply::save(*loaded));
    QCOMPARE(bytes("Команды/Ответ на неизвестную команду.txt"), stored);
}

void tst_SideTexts::botInfoShownWhateverTheSwitch_data()
{
    QTest::addColumn<QByteArray>("stored");
    QTest::addColumn<bool>("visible");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QByteArray>("saved"); // after saving what was loaded
    QTest::newRow("missing") << QByteArray() << false << "" << QByteArray("0\r\n\r\n");
    QTest::newRow("on, two lines") << cp("1\r\nА\r\nБ\r\n") << true << "А\r\nБ" << cp("1\r\nА\r\nБ\r\n");
    QTest::newRow("off keeps its text") << cp("0\r\nА\r\n") << false << "А" << cp("0\r\nА\r\n");
    QTest::newRow("number with blanks") << cp(" 1 \r\nА\r\n") << true << "А" << cp("1\r\nА\r\n");
    QTest::newRow("leading empty line kept") << cp("1\r\n\r\nА\r\n") << true << "\r\nА" << cp("1\r\n\r\nА\r\n");
    QTest::newRow("off and empty") << cp("0\r\n\r\n") << false << "" << cp("0\r\n\r\n");
    QTest::newRow("switch line only") << cp("1") << true << "" << cp("1\r\n\r\n");
}

void tst_SideTexts::botInfoShownWhateverTheSwitch()
{
    QFETCH(QByteArray, stored);
    QFETCH(bool, visible);
    QFETCH(QString, text);
    QFETCH(QByteArray, saved);
    if (!stored.isEmpty())
        QVERIFY(write("Информация о боте.txt", stored));
    const BotInfo::Info info = BotInfo::load();
    QCOMPARE(info.visible, visible);
    QCOMPARE(info.text, text);
    QVERIFY(BotInfo::save(info));
    QCOMPARE(bytes("Информация о боте.txt"), saved);
}

void tst_SideTexts::answerEngineReadsWhatIsSaved()
{
    QVERIFY(UnknownReply::save("Нет такой.\r\nСпросите !помощь"));
    QCOMPARE(UnknownCommand::replyText(), "Нет такой.\r\nСпросите !помощь\r\n");
    QVERIFY(BotInfo::save({true, "\r\nА\r\n\r\nБ"}));
    QCOMPARE(BotInformation::answer(), "А\r\n\r\nБ");
    QVERIFY(BotInfo::save({false, "А"}));
    QCOMPARE(BotInformation::answer(), "");
}

void tst_SideTexts::additionalAdd()
{
    QVERIFY(AdditionalCommands::entries().isEmpty());
    QVERIFY(AdditionalCommands::add("Общая", "добавка"));
    QCOMPARE(bytes("Команды/Добавочные.txt"), cp("Общая добавка\r\n"));
    QVERIFY(AdditionalCommands::add("Общая", "добавка"));
    QVERIFY(AdditionalCommands::add("Друзья", "цитата"));
    QCOMPARE(bytes("Команды/Добавочные.txt"), cp("Общая добавка\r\nОбщая добавка\r\nДрузья цитата\r\n"));
    QCOMPARE(AdditionalCommands::entries(), QStringList({"Общая добавка", "Общая добавка", "Друзья цитата"}));
}

void tst_SideTexts::additionalRemove_data()
{
    QTest::addColumn<QByteArray>("stored");
    QTest::addColumn<QString>("entry");
    QTest::addColumn<QByteArray>("expected");
    QTest::newRow("every equal line") << cp("Общая а\r\nОбщая б\r\nОбщая а\r\n") << "Общая а" << cp("Общая б\r\n");
    QTest::newRow("whole line, case counts") << cp("Общая аб\r\nОбщая А\r\nОбщая а\r\n") << "Общая а"
                                             << cp("Общая аб\r\nОбщая А\r\n");
    QTest::newRow("empty lines before the first go") << cp("Общая а\r\n\r\nОбщая б\r\n\r\nОбщая в\r\n")
                                                     << "Общая а" << cp("Общая б\r\n\r\nОбщая в\r\n");
    QTest::newRow("last entry leaves one empty line") << cp("Общая а\r\n") << "Общая а" << QByteArray("\r\n");
    QTest::newRow("missing file stays missing") << QByteArray() << "Общая а" << QByteArray("<missing>");
}

void tst_SideTexts::additionalRemove()
{
    QFETCH(QByteArray, stored);
    QFETCH(QString, entry);
    QFETCH(QByteArray, expected);
    if (!stored.isEmpty())
        QVERIFY(write("Команды/Добавочные.txt", stored));
    QVERIFY(AdditionalCommands::remove(entry));
    QCOMPARE(bytes("Команды/Добавочные.txt"), expected);
}

void tst_SideTexts::additionalUnreadableLeftAlone()
{
    // A pipe cannot be read without blocking: neither add nor remove may start the list
    // afresh over it.
    QVERIFY(QDir().mkpath(path("Команды")));
    QVERIFY(::mkfifo(QFile::encodeName(path("Команды/Добавочные.txt")).constData(), 0600) == 0);
    AdditionalCommandsList list;
    int added = 0;
    connect(&list, &AdditionalCommandsList::entryAdded, this, [&added] { ++added; });
    QVERIFY(!list.add("Общая", "добавка"));
    QVERIFY(!AdditionalCommands::remove("Общая добавка"));
    QCOMPARE(added, 0);
    QVERIFY(!QFileInfo(path("Команды/Добавочные.txt")).isFile());
    QVERIFY(QFileInfo::exists(path("Команды/Добавочные.txt")));
}

void tst_SideTexts::additionalUsable_data()
{
    QTest::addColumn<QString>("group");
    QTest::addColumn<QString>("command");
    QTest::addColumn<bool>("usable");
    QTest::newRow("plain") << "Общая" << "добавка" << true;
    QTest::newRow("blank in group") << "Мои друзья" << "добавка" << false;
    QTest::newRow("blank in command") << "Общая" << "две части" << false;
    QTest::newRow("tab in command") << "Общая" << "две\tчасти" << false;
    QTest::newRow("no command") << "Общая" << "" << false;
    QTest::newRow("no group") << "" << "добавка" << false;
}

void tst_SideTexts::additionalUsable()
{
    QFETCH(QString, group);
    QFETCH(QString, command);
    QFETCH(bool, usable);
    QCOMPARE(AdditionalCommands::usable(group, command), usable);
}

void tst_SideTexts::helpEmbedded_data()
{
    const QByteArray notepad = cp("\r\n---Встроенная функция - Блокнот---\r\n"
                                  "Чтобы воспользоваться блокнотом:\r\n"
                                  "1) Для создания записи нужно выслать боту сообщения типа\r\n"
                                  "\r\n"
                                  "!блокнот_запись\r\n"
                                  "само сообщение\r\n"
                                  "\r\n"
                                  "2) Для получения сохранённых записей нужно выслать боту: !блокнот");
    const QByteArray admin = cp("\r\n---Встроенная функция - Связь с админом---\r\n"
                                "Чтобы связаться с админом:\r\n"
                                "Нужно выслать боту сообщения типа\r\n"
                                "\r\n"
                                "!админ само сообщение\r\n"
                                "Между !админ и самим сообщением должен быть пробел.");
    const QByteArray head = cp("Команда: привет\r\nДействие: ");
    QTest::addColumn<QByteArray>("stored");
    QTest::addColumn<QString>("command");
    QTest::addColumn<int>("kind");
    QTest::addColumn<QByteArray>("expected"); // empty: unchanged
    QTest::newRow("notepad after a line end")
        << rec("привет", "Здравствуй") << "привет" << 1
        << head + cp("Здравствуй\r\n") + notepad + "====\r\n\r\n";
    QTest::newRow("admin after a body without line end")
        << head + cp("Здравствуй====\r\n") << "привет" << 2 << head + cp("Здравствуй") + admin + "====\r\n\r\n";
    QTest::newRow("only the record of the whole name")
        << rec("привет2", "второй") + rec("привет", "первый") << "привет" << 1
        << rec("привет2", "второй") + head + cp("первый\r\n") + notepad + "====\r\n\r\n";
    QTest::newRow("head inside an answer is no record")
        << rec("пока", "Команда: привет") << "привет" << 1 << QByteArray();
    QTest::newRow("no such command") << rec("пока", "До встречи") << "привет" << 1 << QByteArray();
    QTest::newRow("unknown kind") << rec("привет", "Здравствуй") << "привет" << 0 << QByteArray();
    QTest::newRow("no command selected") << rec("привет", "Здравствуй") << "" << 1 << QByteArray();
}

void tst_SideTexts::helpEmbedded()
{
    QFETCH(QByteArray, stored);
    QFETCH(QString, command);
    QFETCH(int, kind);
    QFETCH(QByteArray, expected);
    QVERIFY(write("Команды/Общая.txt", stored));
    const CommandEditor::Result result = HelpEmbedding::embed("Общая", command, kind);
    QCOMPARE(bool(result), !expected.isEmpty());
    QCOMPARE(bytes("Команды/Общая.txt"), expected.isEmpty() ? stored : expected);
}

QTEST_MAIN(tst_SideTexts)
#include "tst_sidetexts.moc"
