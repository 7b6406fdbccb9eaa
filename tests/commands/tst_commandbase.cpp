// The command base files: record layout, the three edits and the lookup.
#include "commands/commandbase.h"
#include "commands/commandsettings.h"
#include "core/programfolder.h"
#include "core/textfile.h"
#include "files/groupnumbers.h"
#include "support/programhome.h"

#include <QDir>
#include <QFileInfo>
#include <QTest>

#include <memory>

using namespace CommandBase;

namespace {
const QString CrLf = QStringLiteral("\r\n");
QString rec(const QString &name, const QString &body)
{
    return QStringLiteral("Команда: ") + name + CrLf + QStringLiteral("Действие: ") + body + CrLf +
           QStringLiteral("====") + CrLf;
}
} // namespace

class tst_CommandBase : public QObject
{
    Q_OBJECT

private slots:
    void init();

    void lookup_data();
    void lookup();
    void kinds_data();
    void kinds();
    void bodyLines();

    void addCreatesAndAppends();
    void addAfterUnendedFile();
    void changeReplacesFirstRecordOnly();
    void changeLeavesFileWhenNothingMatches_data();
    void changeLeavesFileWhenNothingMatches();
    void deleteRecords();
    void deleteLastRecordDeletesFile();
    void deleteKeepsGluedNextRecord();

    void groupFileFoundInAnyLetterCase();
    void unreadableGroupFileNeverRewritten();
    void unusableGroupNames_data();
    void unusableGroupNames();

    void optionsDefaultsWritten();
    void optionsRead_data();
    void optionsRead();
    void groupOfNumberLastLineWins();
    void botInformation_data();
    void botInformation();
    void unknownReply();

private:
    std::unique_ptr<ProgramHome> m_home;
};

void tst_CommandBase::init()
{
    m_home = std::make_unique<ProgramHome>();
    QVERIFY(m_home->isValid());
}

void tst_CommandBase::lookup_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("upper");
    QTest::addColumn<QString>("body"); // "<none>" when nothing matches

    const QString base = rec(QStringLiteral("приветствие"), QStringLiteral("долгое")) +
                         rec(QStringLiteral("привет"), QStringLiteral("Здравствуй!")) +
                         rec(QStringLiteral("Привет"), QStringLiteral("второй"));
    QTest::newRow("whole name, not the longer one") << base << "привет" << false << "Здравствуй!";
    QTest::newRow("no partial match") << base << "прив" << false << "<none>";
    QTest::newRow("case sensitive") << base << "ПРИВЕТ" << false << "<none>";
    QTest::newRow("upper case option, first wins") << base << "ПРИВЕТ" << true << "Здравствуй!";
    QTest::newRow("ё upper-cased") << rec("ёлка", "зелёная") << "ЁЛКА" << true << "зелёная";
    QTest::newRow("multi-line body") << rec("a", "one\r\ntwo") << "a" << false << "one\r\ntwo";
    QTest::newRow("body glued to terminator")
        << QStringLiteral("Команда: a\r\nДействие: x====\r\n") << "a" << false << "x";
    QTest::newRow("head inside a body is no record")
        << rec("a", "Команда: b\r\nтекст") + rec("b", "настоящий") << "b" << false << "настоящий";
    QTest::newRow("head without action line")
        << QStringLiteral("Команда: a\r\nмусор\r\n") + rec("a", "ok") << "a" << false << "ok";
    QTest::newRow("unterminated record")
        << QStringLiteral("Команда: a\r\nДействие: x\r\n") << "a" << false << "<none>";
    QTest::newRow("empty body") << QStringLiteral("Команда: a\r\nДействие: \r\n====\r\n") << "a" << false
                                << "";
    QTest::newRow("empty file") << QString() << "a" << false << "<none>";
}

void tst_CommandBase::lookup()
{
    QFETCH(QString, text);
    QFETCH(QString, name);
    QFETCH(bool, upper);
    QFETCH(QString, body);
    const std::optional<QString> found = findBody(text, name, upper);
    QCOMPARE(found.value_or(QStringLiteral("<none>")), body);
}

void tst_CommandBase::kinds_data()
{
    QTest::addColumn<QString>("body");
    QTest::addColumn<AnswerKind>("kind");
    QTest::newRow("text") << "просто текст" << AnswerKind::Text;
    QTest::newRow("file") << "'Ответ из файла'\r\nf.txt" << AnswerKind::File;
    QTest::newRow("download") << "'Ответ из файла, скаченного из интернета'\r\nhttp://x"
                              << AnswerKind::Download;
    QTest::newRow("program") << "'Ответ из файла, генерирующегося программой'\r\np\r\n1\r\no"
                             << AnswerKind::Program;
    QTest::newRow("random") << "'Случайный ответ'\r\nТип: 2" << AnswerKind::Random;
    QTest::newRow("other case is text") << "'ответ из файла'\r\nf.txt" << AnswerKind::Text;
    QTest::newRow("blank after is text") << "'Ответ из файла' \r\nf.txt" << AnswerKind::Text;
}

void tst_CommandBase::kinds()
{
    QFETCH(QString, body);
    QFETCH(AnswerKind, kind);
    QCOMPARE(kindOf(body), kind);
}

void tst_CommandBase::bodyLines()
{
    const QString body =
        QStringLiteral("'Ответ из файла, генерирующегося программой'\r\nprog a\r\n5\r\nout.txt");
    QCOMPARE(bodyLine(body, 2), QStringLiteral("prog a"));
    QCOMPARE(bodyLine(body, 3), QStringLiteral("5"));
    QCOMPARE(bodyLine(body, 4), QStringLiteral("out.txt"));
    QCOMPARE(bodyLine(body, 5), QString());
    QCOMPARE(bodyLine(body, 0), QString());
}

void tst_CommandBase::addCreatesAndAppends()
{
    const QString path = QStringLiteral("\\Команды\\Группа.txt");
    QVERIFY(AddCommandRecord(QStringLiteral("Группа"), QStringLiteral("a"),
                             QStringLiteral("'Ответ из файла'\r\nf.txt")));
    const QString one = QStringLiteral("Команда: a\r\nДействие: 'Ответ из файла'\r\nf.txt\r\n====\r\n");
    QCOMPARE(TextFile::readAll(path), one);
    QVERIFY(AddCommandRecord(QStringLiteral("Группа"), QStringLiteral("a"), QStringLiteral("второй")));
    QCOMPARE(TextFile::readAll(path), one + rec("a", "второй"));
    // A second record of the same name: readers keep taking the first.
    QCOMPARE(findBody(TextFile::readAll(path), QStringLiteral("a")).value(),
             QStringLiteral("'Ответ из файла'\r\nf.txt"));
}

void tst_CommandBase::addAfterUnendedFile()
{
    QCOMPARE(addRecord(QStringLiteral("хвост"), QStringLiteral("a"), QStringLiteral("b")),
             QStringLiteral("хвостКоманда: a\r\nДействие: b\r\n====\r\n"));
}

void tst_CommandBase::changeReplacesFirstRecordOnly()
{
    const QString group = QStringLiteral("g");
    TextFile::writeAll(QStringLiteral("\\Команды\\g.txt"),
                       rec("привет", "длинный") + rec("при", "T") + rec("при", "второй"));
    QVERIFY(ChangeCommandRecord(group, QStringLiteral("при"), QStringLiteral("U")));
    QCOMPARE(TextFile::readAll(QStringLiteral("\\Команды\\g.txt")),
             rec("привет", "длинный") + QStringLiteral("Команда: при\r\nДействие: U====\r\n") +
                 rec("при", "второй") + CrLf);
    QCOMPARE(findBody(TextFile::readAll(QStringLiteral("\\Команды\\g.txt")), QStringLiteral("при")).value(),
             QStringLiteral("U"));
}

void tst_CommandBase::changeLeavesFileWhenNothingMatches_data()
{
    QTest::addColumn<QString>("content");
    QTest::newRow("no such name") << rec("другая", "x");
    QTest::newRow("only a longer name") << rec("привет", "x");
    QTest::newRow("unterminated") << QStringLiteral("Команда: при\r\nДействие: x\r\n");
    QTest::newRow("empty") << QString();
}

void tst_CommandBase::changeLeavesFileWhenNothingMatches()
{
    QFETCH(QString, content);
    const QString path = QStringLiteral("\\Команды\\g.txt");
    if (!content.isEmpty())
        TextFile::writeAll(path, content);
    QVERIFY(!ChangeCommandRecord(QStringLiteral("g"), QStringLiteral("при"), QStringLiteral("U")));
    QVERIFY(!DeleteCommandRecord(QStringLiteral("g"), QStringLiteral("при")));
    QCOMPARE(TextFile::readAll(path), content);
    QCOMPARE(TextFile::exists(path), !content.isEmpty());
}

void tst_CommandBase::deleteRecords()
{
    const QString path = QStringLiteral("\\Команды\\g.txt");
    TextFile::writeAll(path, rec("a", "1") + rec("ab", "2") + rec("a", "3"));
    QVERIFY(DeleteCommandRecord(QStringLiteral("g"), QStringLiteral("a")));
    QCOMPARE(TextFile::readAll(path), rec("ab", "2") + rec("a", "3") + CrLf);
}

void tst_CommandBase::deleteLastRecordDeletesFile()
{
    const QString path = QStringLiteral("\\Команды\\g.txt");
    TextFile::writeAll(path, rec("a", "1"));
    QVERIFY(DeleteCommandRecord(QStringLiteral("g"), QStringLiteral("a")));
    QVERIFY(!TextFile::exists(path));

    // Empty lines left by earlier edits keep the file.
    TextFile::writeAll(path, rec("a", "1") + CrLf);
    QVERIFY(DeleteCommandRecord(QStringLiteral("g"), QStringLiteral("a")));
    QCOMPARE(TextFile::readAll(path), CrLf + CrLf);
}

void tst_CommandBase::deleteKeepsGluedNextRecord()
{
    const QString text =
        QStringLiteral("Команда: a\r\nДействие: 1\r\n====Команда: b\r\nДействие: 2\r\n====\r\n");
    QCOMPARE(removeRecord(text, QStringLiteral("a")).value(), rec("b", "2") + CrLf);
}

void tst_CommandBase::groupFileFoundInAnyLetterCase()
{
    TextFile::writeAll(QStringLiteral("\\Команды\\ДРУЗЬЯ.txt"), rec("a", "b"));
    QCOMPARE(groupFilePath(QStringLiteral("Друзья")), QStringLiteral("\\Команды\\ДРУЗЬЯ.txt"));
    QCOMPARE(groupFilePath(QStringLiteral("Новая")), QStringLiteral("\\Команды\\Новая.txt"));

    // The writers take the file the readers read: no second file hides the first.
    QVERIFY(AddCommandRecord(QStringLiteral("Друзья"), QStringLiteral("c"), QStringLiteral("d")));
    QVERIFY(!TextFile::exists(QStringLiteral("\\Команды\\Друзья.txt")));
    QCOMPARE(TextFile::readAll(QStringLiteral("\\Команды\\ДРУЗЬЯ.txt")), rec("a", "b") + rec("c", "d"));
    QVERIFY(ChangeCommandRecord(QStringLiteral("Друзья"), QStringLiteral("c"), QStringLiteral("e")));
    QVERIFY(DeleteCommandRecord(QStringLiteral("Друзья"), QStringLiteral("a")));
    QCOMPARE(TextFile::readAll(QStringLiteral("\\Команды\\ДРУЗЬЯ.txt")),
             QStringLiteral("Команда: c\r\nДействие: e====\r\n\r\n\r\n"));
    QVERIFY(!TextFile::exists(QStringLiteral("\\Команды\\Друзья.txt")));
}

void tst_CommandBase::unreadableGroupFileNeverRewritten()
{
    // A folder where the group's file should be: it exists, but reads as nothing.
    QVERIFY(QDir().mkpath(TextFile::filePath(QStringLiteral("\\Команды\\Занята.txt"))));
    QVERIFY(!AddCommandRecord(QStringLiteral("Занята"), QStringLiteral("a"), QStringLiteral("b")));
    QVERIFY(!ChangeCommandRecord(QStringLiteral("Занята"), QStringLiteral("a"), QStringLiteral("b")));
    QVERIFY(!DeleteCommandRecord(QStringLiteral("Занята"), QStringLiteral("a")));
    QVERIFY(QFileInfo(TextFile::filePath(QStringLiteral("\\Команды\\Занята.txt"))).isDir());
}

void tst_CommandBase::unusableGroupNames_data()
{
    QTest::addColumn<QString>("group");
    QTest::newRow("empty") << "";
    QTest::newRow("dot dot") << "..";
    QTest::newRow("slash") << "../x";
    QTest::newRow("backslash") << "a\\b";
    QTest::newRow("options file") << "Настройки";
    QTest::newRow("signature file, other case") << "подпись";
    QTest::newRow("additional commands") << "Добавочные";
    QTest::newRow("unknown reply") << "Ответ на неизвестную команду";
}

void tst_CommandBase::unusableGroupNames()
{
    QFETCH(QString, group);
    QVERIFY(!isUsableGroupName(group));
    QCOMPARE(groupFilePath(group), QString());
    QVERIFY(!AddCommandRecord(group, QStringLiteral("a"), QStringLiteral("b")));
}

void tst_CommandBase::optionsDefaultsWritten()
{
    const CommandOptions options = CommandOptions::load();
    QCOMPARE(options.upperCase, false);
    QCOMPARE(options.joint, false);
    QCOMPARE(options.trim, true);
    QCOMPARE(TextFile::readAll(CommandOptions::FilePath), QStringLiteral("0\r\n2\r\n1\r\n"));
}

void tst_CommandBase::optionsRead_data()
{
    QTest::addColumn<QString>("content");
    QTest::addColumn<bool>("upper");
    QTest::addColumn<bool>("joint");
    QTest::addColumn<bool>("trim");
    QTest::newRow("all on, printed numbers") << " 1 \r\n 1 \r\n 1 \r\n" << true << true << true;
    QTest::newRow("all off") << "0\r\n2\r\n0\r\n" << false << false << false;
    QTest::newRow("missing lines") << "1\r\n" << true << false << false;
}

void tst_CommandBase::optionsRead()
{
    QFETCH(QString, content);
    TextFile::writeAll(CommandOptions::FilePath, content);
    const CommandOptions options = CommandOptions::load();
    QFETCH(bool, upper);
    QFETCH(bool, joint);
    QFETCH(bool, trim);
    QCOMPARE(options.upperCase, upper);
    QCOMPARE(options.joint, joint);
    QCOMPARE(options.trim, trim);
}

void tst_CommandBase::groupOfNumberLastLineWins()
{
    TextFile::writeLines(GroupNumbers::FilePath,
                         {QStringLiteral("123:Первая"), QStringLiteral("1234:Чужая"),
                          QStringLiteral("без двоеточия"), QStringLiteral("123:Вторая:с:двоеточиями")});
    QCOMPARE(GroupNumbers::groupOf(QStringLiteral("123")), QStringLiteral("Вторая:с:двоеточиями"));
    QCOMPARE(GroupNumbers::groupOf(QStringLiteral("12")), QString());
}

void tst_CommandBase::botInformation_data()
{
    QTest::addColumn<QString>("content");
    QTest::addColumn<QString>("answer");
    QTest::newRow("on") << "1\r\nБот\r\nверсии 1\r\n"
                        << "Бот\r\nверсии 1";
    QTest::newRow("leading empty lines dropped") << " 1 \r\n\r\n\r\nБот\r\n\r\nконец"
                                                 << "Бот\r\n\r\nконец";
    QTest::newRow("off") << "0\r\nБот\r\n"
                         << "";
    QTest::newRow("missing") << ""
                             << "";
}

void tst_CommandBase::botInformation()
{
    QFETCH(QString, content);
    QFETCH(QString, answer);
    if (!content.isEmpty())
        TextFile::writeAll(BotInformation::FilePath, content);
    QCOMPARE(BotInformation::answer(), answer);
}

void tst_CommandBase::unknownReply()
{
    QCOMPARE(UnknownCommand::replyText(),
             QStringLiteral("Извините, но такой команды нет. Обратитесь к администратору."));
    TextFile::writeAll(UnknownCommand::FilePath, QStringLiteral("Нет такой.\r\nСовсем.\r\n"));
    QCOMPARE(UnknownCommand::replyText(), QStringLiteral("Нет такой.\r\nСовсем.\r\n"));
}

QTEST_GUILESS_MAIN(tst_CommandBase)
#include "tst_commandbase.moc"
