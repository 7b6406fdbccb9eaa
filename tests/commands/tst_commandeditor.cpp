// The file logic of the command base editor windows, without the windows.
#include "commands/commandeditor.h"
#include "support/filemode.h"
#include "support/commandrecords.h"
#include "support/programhome.h"
#include "core/cp1251.h"
#include "core/programfolder.h"
#include "core/textfile.h"

#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <QTest>

#include <sys/stat.h>

#include <memory>

using namespace CommandEditor;
using Answer = CommandWizard::Answer;
using CommandBase::AnswerKind;

Q_DECLARE_METATYPE(CommandWizard::Answer)

class tst_CommandEditor : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void namesSkipHeadsInsideAnswers();
    void bodyShownAndSavedUnchanged();
    void editsTouchOnlyTheWholeName_data();
    void editsTouchOnlyTheWholeName();
    void missingRecordLeavesFile_data();
    void missingRecordLeavesFile();
    void notEncodableNothingWritten();
    void failedReadAndWriteReported();
    void badNamesNeverWritten_data();
    void badNamesNeverWritten();
    void groupFileInOtherLetterCase();
    void editorLineBreaks_data();
    void editorLineBreaks();

    void pageRefusals_data();
    void pageRefusals();
    void pageBodies_data();
    void pageBodies();
    void currentValuesOfEachKind_data();
    void currentValuesOfEachKind();
    void reservedNames_data();
    void reservedNames();
    void nameTakenInFileOrIndex();
    void overwriteChangesTheRecord();
    void addAndDeleteSignal();

    void optionsApplied_data();
    void optionsApplied();
    void searchRows_data();
    void searchRows();

private:
    QString path(const QString &relative) const { return m_home->path() + QLatin1Char('/') + relative; }
    QByteArray bytes(const QString &relative) const { return FileProbe::bytes(path(relative)); }
    void write(const QString &relative, const QByteArray &content)
    {
        QVERIFY(FileProbe::writeBytes(path(relative), content));
    }

    std::unique_ptr<ProgramHome> m_home;
};

void tst_CommandEditor::init()
{
    m_home = std::make_unique<ProgramHome>();
    QVERIFY(m_home->isValid());
}

void tst_CommandEditor::cleanup()
{
    m_home.reset();
}

void tst_CommandEditor::namesSkipHeadsInsideAnswers()
{
    const QString text = Cp1251::decode(rec("привет", "Здравствуй\r\nКоманда: X") + rec("пока", "До встречи") +
                                         rec("привет", "второй"));
    QCOMPARE(commandNames(text), QStringList({"привет", "пока", "привет"}));
    QCOMPARE(commandNames(QString()), QStringList());
}

void tst_CommandEditor::bodyShownAndSavedUnchanged()
{
    const QByteArray file = rec("привет", "строка 1\r\nстрока 2") + cp("Команда: пока\r\nДействие: до встречи====\r\n");
    write("Команды/Общая.txt", file);
    const std::optional<QString> text = readGroupText("Общая");
    QVERIFY(text);
    const std::optional<QString> body = rawBody(*text, "привет");
    QCOMPARE(body, QString("строка 1\r\nстрока 2\r\n"));
    QCOMPARE(rawBody(*text, "пока"), QString("до встречи"));

    // Through the editor's line breaks and back: the record stays byte for byte and the
    // file gains only the line end every change adds.
    QVERIFY(changeCommand("Общая", "привет", fromEditorText(toEditorText(*body))));
    QCOMPARE(bytes("Команды/Общая.txt"), file + "\r\n");
}

void tst_CommandEditor::editsTouchOnlyTheWholeName_data()
{
    QTest::addColumn<bool>("remove");
    QTest::addColumn<QByteArray>("expected");
    const QByteArray longer = rec("приветствие", "Команда: привет\r\nДобрый день");
    QTest::newRow("change") << false << longer + cp("Команда: привет\r\nДействие: новый====\r\n\r\n");
    QTest::newRow("delete") << true << longer + "\r\n";
}

void tst_CommandEditor::editsTouchOnlyTheWholeName()
{
    QFETCH(bool, remove);
    QFETCH(QByteArray, expected);
    write("Команды/Друзья.txt", rec("приветствие", "Команда: привет\r\nДобрый день") + rec("привет", "старый"));
    const Result result = remove ? deleteCommand("Друзья", "привет") : changeCommand("Друзья", "привет", "новый");
    QVERIFY(result);
    QCOMPARE(bytes("Команды/Друзья.txt"), expected);
}

void tst_CommandEditor::missingRecordLeavesFile_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<bool>("remove");
    const QByteArray other = rec("приветствие", "Добрый день");
    const QByteArray unterminated = cp("Команда: привет\r\nДействие: без конца\r\n");
    QTest::newRow("change, other name") << other << false;
    QTest::newRow("delete, other name") << other << true;
    QTest::newRow("change, no terminator") << unterminated << false;
    QTest::newRow("delete, no terminator") << unterminated << true;
    QTest::newRow("change, missing file") << QByteArray() << false;
    QTest::newRow("delete, missing file") << QByteArray() << true;
}

void tst_CommandEditor::missingRecordLeavesFile()
{
    QFETCH(QByteArray, file);
    QFETCH(bool, remove);
    if (!file.isEmpty())
        write("Команды/Друзья.txt", file);
    const Result result = remove ? deleteCommand("Друзья", "привет") : changeCommand("Друзья", "привет", "новый");
    QCOMPARE(result.outcome, Outcome::NotFound);
    QCOMPARE(bytes("Команды/Друзья.txt"), file.isEmpty() ? QByteArray("<missing>") : file);
    const Message message = messageFor(result);
    QCOMPARE(message.title, "Ошибка");
    QCOMPARE(message.text, "Команда не найдена.");
}

void tst_CommandEditor::notEncodableNothingWritten()
{
    const QByteArray file = rec("привет", "старый");
    write("Команды/Общая.txt", file);
    QCOMPARE(changeCommand("Общая", "привет", "日本").outcome, Outcome::NotEncodable);
    QCOMPARE(addCommand("Общая", "日本", "текст").outcome, Outcome::NotEncodable);
    QCOMPARE(bytes("Команды/Общая.txt"), file);
    QCOMPARE(messageFor({Outcome::NotEncodable, {}}).text,
             "Текст содержит символы, которые нельзя сохранить в кодировке Windows-1251.");
}

void tst_CommandEditor::failedReadAndWriteReported()
{
    // A folder where the group file should be: the write cannot replace it.
    QVERIFY(QDir().mkpath(path("Команды/Друзья.txt")));
    const Result written = addCommand("Друзья", "привет", "текст");
    QCOMPARE(written.outcome, Outcome::WriteFailed);
    QCOMPARE(messageFor(written).text, "Не удалось записать файл:\n" + path("Команды/Друзья.txt"));

    // A pipe cannot be read without blocking: it is unreadable, and never rewritten.
    QVERIFY(::mkfifo(QFile::encodeName(path("Команды/Враги.txt")).constData(), 0600) == 0);
    Result failure;
    QVERIFY(!readGroupText("Враги", &failure));
    QCOMPARE(failure.outcome, Outcome::Unreadable);
    QCOMPARE(messageFor(failure).text, "Не удалось прочитать файл:\n" + path("Команды/Враги.txt"));
    QCOMPARE(addCommand("Враги", "привет", "текст").outcome, Outcome::Unreadable);
    QCOMPARE(deleteCommand("Враги", "привет").outcome, Outcome::Unreadable);
}

void tst_CommandEditor::badNamesNeverWritten_data()
{
    QTest::addColumn<QString>("name");
    QTest::newRow("empty") << "";
    QTest::newRow("CR LF") << "привет\r\nДействие: x";
    QTest::newRow("LF") << "привет\n";
    QTest::newRow("CR") << "\rпривет";
}

void tst_CommandEditor::badNamesNeverWritten()
{
    QFETCH(QString, name);
    const QByteArray file = rec("привет", "старый");
    write("Команды/Общая.txt", file);
    QCOMPARE(addCommand("Общая", name, "текст").outcome, Outcome::BadName);
    QCOMPARE(changeCommand("Общая", name, "текст").outcome, Outcome::BadName);
    CommandWizard wizard;
    QSignalSpy added(&wizard, &CommandWizard::commandAdded);
    Answer answer;
    answer.text = "текст";
    wizard.startAdd("Общая");
    QCOMPARE(wizard.save(wizard.handOver("Общая", name, false), answer).outcome, Outcome::BadName);
    // A page that was never handed a command has none to write.
    QCOMPARE(wizard.save(CommandWizard::Handover(), answer).outcome, Outcome::BadName);
    QCOMPARE(added.size(), 0);
    QCOMPARE(bytes("Команды/Общая.txt"), file);
    QCOMPARE(messageFor({Outcome::BadName, {}}).text, BadNameText);
}

void tst_CommandEditor::groupFileInOtherLetterCase()
{
    // A command folder copied from Windows: the names' letter case is not ours.
    write("Команды/общая.txt", rec("привет", "старый"));
    write("Команды/ДРУЗЬЯ.txt", rec("пока", "до встречи"));
    QCOMPARE(groupFile("Общая"), CommandBase::groupFilePath("Общая"));
    QCOMPARE(commandNames(readGroupText("Общая").value()), QStringList{"привет"});
    QCOMPARE(commandNames(readGroupText("Друзья").value()), QStringList{"пока"});
    QVERIFY(addCommand("Общая", "новая", "текст"));
    QVERIFY(changeCommand("Друзья", "пока", "всего доброго"));
    QCOMPARE(bytes("Команды/общая.txt"), rec("привет", "старый") + rec("новая", "текст"));
    QCOMPARE(bytes("Команды/ДРУЗЬЯ.txt"), cp("Команда: пока\r\nДействие: всего доброго====\r\n\r\n"));
    QCOMPARE(bytes("Команды/Общая.txt"), QByteArray("<missing>"));
    QCOMPARE(bytes("Команды/Друзья.txt"), QByteArray("<missing>"));
    QVERIFY(CommandWizard::nameTaken("Общая", "привет"));
}

void tst_CommandEditor::editorLineBreaks_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("editor");
    QTest::addColumn<QString>("back");
    QTest::newRow("crlf") << "a\r\nb\r\n"
                          << "a\nb\n"
                          << "a\r\nb\r\n";
    QTest::newRow("bare lf") << "a\nb"
                             << "a\nb"
                             << "a\r\nb";
    QTest::newRow("one line") << "a"
                              << "a"
                              << "a";
    QTest::newRow("empty") << ""
                           << ""
                           << "";
}

void tst_CommandEditor::editorLineBreaks()
{
    QFETCH(QString, file);
    QFETCH(QString, editor);
    QFETCH(QString, back);
    QCOMPARE(toEditorText(file), editor);
    QCOMPARE(fromEditorText(toEditorText(file)), back);
}

void tst_CommandEditor::pageRefusals_data()
{
    QTest::addColumn<Answer>("answer");
    QTest::addColumn<QString>("refusal");
    const auto text = [](const QString &t) {
        Answer a;
        a.text = t;
        return a;
    };
    const auto file = [](const QString &p) {
        Answer a;
        a.kind = AnswerKind::File;
        a.path = p;
        return a;
    };
    const auto program = [](const QString &p, const QString &s, const QString &f) {
        Answer a;
        a.kind = AnswerKind::Program;
        a.program = p;
        a.seconds = s;
        a.answerFile = f;
        return a;
    };
    const auto download = [](const QString &u) {
        Answer a;
        a.kind = AnswerKind::Download;
        a.url = u;
        return a;
    };
    const auto random = [](const QString &sep, const QString &count, bool inRecord, const QString &source) {
        Answer a;
        a.kind = AnswerKind::Random;
        a.separator = sep;
        a.count = count;
        a.answersInRecord = inRecord;
        (inRecord ? a.answers : a.answersPath) = source;
        return a;
    };
    const QString forbidden = CommandWizard::EmptyOrForbiddenText;
    const QString empty = CommandWizard::EmptyFieldText;
    QTest::newRow("text ok") << text("Привет\r\nмир") << QString();
    QTest::newRow("text empty") << text("") << forbidden;
    QTest::newRow("text with ====") << text("a====b") << forbidden;
    QTest::newRow("text with a head") << text("x\r\nКоманда: y") << CommandWizard::HeadInTextText;
    QTest::newRow("file ok") << file("/tmp/a.txt") << QString();
    QTest::newRow("file empty") << file("") << empty;
    QTest::newRow("file with ====") << file("a====") << forbidden;
    QTest::newRow("program ok") << program("prog", " 2 ", "out.txt") << QString();
    QTest::newRow("program seconds letters") << program("prog", "2a", "out.txt") << empty;
    QTest::newRow("program seconds empty") << program("prog", "", "out.txt") << empty;
    QTest::newRow("program file empty") << program("prog", "2", "") << empty;
    QTest::newRow("program with ====") << program("prog ====", "2", "out") << forbidden;
    QTest::newRow("download ok") << download("http://x/a.txt") << QString();
    QTest::newRow("download empty") << download("") << empty;
    QTest::newRow("download with ====") << download("http://x/====") << forbidden;
    QTest::newRow("random ok") << random("=", " 2", true, "a\r\n=\r\nb") << QString();
    QTest::newRow("random no separator") << random("", "1", true, "a") << CommandWizard::NoSeparatorText;
    QTest::newRow("random count letters") << random("#", "abc", true, "a") << CommandWizard::CountLettersText;
    QTest::newRow("random count zero") << random("#", "0", true, "a") << CommandWizard::CountTooSmallText;
    QTest::newRow("random count negative") << random("#", "-2", true, "a") << CommandWizard::CountTooSmallText;
    QTest::newRow("random separator ====") << random("====x", "1", true, "a")
                                           << CommandWizard::SeparatorForbiddenText;
    QTest::newRow("random separator ===") << random("===", "1", true, "a") << QString();
    QTest::newRow("random answers empty") << random("#", "1", true, "") << CommandWizard::SourceEmptyText;
    QTest::newRow("random path empty") << random("#", "1", false, "") << CommandWizard::SourceEmptyText;
    QTest::newRow("random answers with ====") << random("#", "1", true, "a\r\n====") << forbidden;
}

void tst_CommandEditor::pageRefusals()
{
    QFETCH(Answer, answer);
    QFETCH(QString, refusal);
    QCOMPARE(CommandWizard::refusal(answer), refusal);
}

void tst_CommandEditor::pageBodies_data()
{
    QTest::addColumn<Answer>("answer");
    QTest::addColumn<QString>("body");
    Answer text;
    text.text = "Привет\r\nмир";
    Answer file;
    file.kind = AnswerKind::File;
    file.path = "C:\\a.txt";
    Answer program;
    program.kind = AnswerKind::Program;
    program.program = "prog.exe";
    program.seconds = "5";
    program.answerFile = "out.txt";
    Answer download;
    download.kind = AnswerKind::Download;
    download.url = "http://x/a.txt";
    Answer inFile;
    inFile.kind = AnswerKind::Random;
    inFile.separator = "#";
    inFile.count = "2";
    inFile.answersPath = "ans.txt";
    Answer inRecord = inFile;
    inRecord.answersInRecord = true;
    inRecord.answers = "a\r\n#\r\nb";
    QTest::newRow("text") << text << "Привет\r\nмир";
    QTest::newRow("file") << file << "'Ответ из файла'\r\nC:\\a.txt";
    QTest::newRow("program") << program << "'Ответ из файла, генерирующегося программой'\r\nprog.exe\r\n5\r\nout.txt";
    QTest::newRow("download") << download << "'Ответ из файла, скаченного из интернета'\r\nhttp://x/a.txt";
    QTest::newRow("random in a file") << inFile << "'Случайный ответ'\r\nТип: 1\r\nСообщений: 2\r\n#**\r\nans.txt";
    QTest::newRow("random in the record")
        << inRecord << "'Случайный ответ'\r\nТип: 2\r\nСообщений: 2\r\n#**\r\na\r\n#\r\nb";
}

void tst_CommandEditor::pageBodies()
{
    QFETCH(Answer, answer);
    QFETCH(QString, body);
    QCOMPARE(CommandWizard::bodyOf(answer), body);
}

void tst_CommandEditor::currentValuesOfEachKind_data()
{
    pageBodies_data();
}

void tst_CommandEditor::currentValuesOfEachKind()
{
    QFETCH(Answer, answer);
    QFETCH(QString, body);
    // Written by an add, then by a change (no CR LF before "===="): read back the same.
    for (const bool changed : {false, true}) {
        write("Команды/Общая.txt", rec("другая", "x") + rec("команда", "старый"));
        CommandWizard wizard;
        wizard.startChange("Общая", "команда");
        const CommandWizard::Handover handover = wizard.handOver("Общая", "команда", false);
        if (changed)
            QVERIFY(changeCommand("Общая", "команда", body));
        else
            QVERIFY(deleteCommand("Общая", "команда") && addCommand("Общая", "команда", body));
        const std::optional<Answer> current = CommandWizard::currentAnswer(handover);
        QVERIFY(current);
        QCOMPARE(CommandWizard::bodyOf(*current), body);
        QCOMPARE(int(current->kind), int(answer.kind));
    }
    CommandWizard wizard;
    wizard.startChange("Общая", "нет такой");
    QVERIFY(!CommandWizard::currentAnswer(wizard.handOver("Общая", "нет такой", false)));
}

void tst_CommandEditor::reservedNames_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("refusal");
    const QString plain = "Нельзя создать такую команду.";
    QTest::newRow("bot information") << "информация о Боте"
                                     << "Нельзя создать такую команду. Воспользуйтесь окном 'Информация о боте' в "
                                        "меню 'Команды'";
    QTest::newRow("settings") << "настройки" << plain;
    QTest::newRow("vote") << "Голосование" << plain;
    QTest::newRow("weather anywhere") << "мой !погода 2" << "Нельзя создать такую команду. Используйте подбота погоды.";
    QTest::newRow("rates alone") << "!кв" << "Нельзя создать такую команду. Используйте подбота курса валют.";
    QTest::newRow("rates longer") << "!квота" << QString();
    QTest::newRow("bash") << "x!Bash" << "Нельзя создать такую команду. Используйте подбота BASH.";
    QTest::newRow("free") << "привет" << QString();
}

void tst_CommandEditor::reservedNames()
{
    QFETCH(QString, name);
    QFETCH(QString, refusal);
    QCOMPARE(CommandWizard::reservedNameRefusal(name), refusal);
}

void tst_CommandEditor::nameTakenInFileOrIndex()
{
    write("Команды/Друзья.txt", rec("приветствие", "x\r\nКоманда: пока"));
    write("Команды/Друзья/Команды.txt", cp("старая\r\n"));
    write("Команды/Настройки.txt", "0\r\n2\r\n1\r\n");
    QVERIFY(CommandWizard::nameTaken("Друзья", "приветствие"));
    QVERIFY(CommandWizard::nameTaken("Друзья", "старая"));
    QVERIFY(!CommandWizard::nameTaken("Друзья", "привет"));
    QVERIFY(!CommandWizard::nameTaken("Друзья", "пока"));
    QVERIFY(!CommandWizard::nameTaken("Друзья", "ПРИВЕТСТВИЕ"));
    // With letter case ignored the engine would never reach a second "ПРИВЕТСТВИЕ".
    write("Команды/Настройки.txt", " 1 \r\n2\r\n1\r\n");
    QVERIFY(CommandWizard::nameTaken("Друзья", "ПРИВЕТСТВИЕ"));
}

void tst_CommandEditor::overwriteChangesTheRecord()
{
    write("Команды/Друзья.txt", rec("привет", "старый") + rec("пока", "пока"));
    CommandWizard wizard;
    QSignalSpy added(&wizard, &CommandWizard::commandAdded);
    QSignalSpy changed(&wizard, &CommandWizard::commandChanged);
    wizard.startAdd("Друзья");
    const CommandWizard::Handover handover = wizard.handOver("Друзья", "привет", true);
    Answer answer;
    answer.text = "новый";
    QVERIFY(wizard.save(handover, answer));
    QCOMPARE(bytes("Команды/Друзья.txt"),
             cp("Команда: привет\r\nДействие: новый====\r\n") + rec("пока", "пока") + "\r\n");
    QCOMPARE(added.size(), 0);
    QCOMPARE(changed.size(), 1);

    // Without the question's Yes, an add is an add.
    wizard.startAdd("Друзья");
    QVERIFY(wizard.save(wizard.handOver("Друзья", "новая", false), answer));
    QCOMPARE(added.size(), 1);
    QCOMPARE(added.at(0), QVariantList({"Друзья", "новая"}));
}

void tst_CommandEditor::addAndDeleteSignal()
{
    CommandWizard wizard;
    QSignalSpy added(&wizard, &CommandWizard::commandAdded);
    QSignalSpy deleted(&wizard, &CommandWizard::commandDeleted);
    wizard.startAdd("Общая");
    const CommandWizard::Handover handover = wizard.handOver("Общая", "привет", false);
    Answer answer;
    answer.kind = AnswerKind::File;
    answer.path = "a.txt";
    // A later entry of the wizard does not change what was handed over.
    wizard.startAdd("Друзья");
    QVERIFY(wizard.save(handover, answer));
    QCOMPARE(bytes("Команды/Общая.txt"), rec("привет", "'Ответ из файла'\r\na.txt"));
    QCOMPARE(added.size(), 1);

    QCOMPARE(wizard.deleteCommand("Общая", "пока").outcome, Outcome::NotFound);
    QCOMPARE(deleted.size(), 0);
    QVERIFY(wizard.deleteCommand("Общая", "привет"));
    QCOMPARE(deleted.size(), 1);
    QCOMPARE(bytes("Команды/Общая.txt"), QByteArray("<missing>"));
}

void tst_CommandEditor::optionsApplied_data()
{
    QTest::addColumn<bool>("upperCase");
    QTest::addColumn<bool>("joint");
    QTest::addColumn<bool>("trim");
    QTest::addColumn<QByteArray>("file");
    QTest::newRow("all on") << true << true << true << QByteArray(" 1 \r\n1\r\n 1 \r\n");
    QTest::newRow("all off") << false << false << false << QByteArray(" 0 \r\n2\r\n 0 \r\n");
}

void tst_CommandEditor::optionsApplied()
{
    QFETCH(bool, upperCase);
    QFETCH(bool, joint);
    QFETCH(bool, trim);
    QFETCH(QByteArray, file);
    CommandOptions options;
    options.upperCase = upperCase;
    options.joint = joint;
    options.trim = trim;
    QVERIFY(applyOptions(options));
    QCOMPARE(bytes("Команды/Настройки.txt"), file);
    const CommandOptions back = loadOptions();
    QCOMPARE(back.upperCase, upperCase);
    QCOMPARE(back.joint, joint);
    QCOMPARE(back.trim, trim);
}

void tst_CommandEditor::searchRows_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("rows");
    QTest::newRow("first record of the common file") << "привет" << QStringList{"Общая|привет", "А|привет"};
    QTest::newRow("beginning of a name") << "при" << QStringList{"Общая|при", "А|при"};
    QTest::newRow("first group only") << "дом" << QStringList{"А|дом"};
    QTest::newRow("letter case counts") << "Привет" << QStringList{};
    QTest::newRow("not inside an answer") << "скрытая" << QStringList{};
    QTest::newRow("empty text") << "" << QStringList{"Общая|", "А|"};
}

void tst_CommandEditor::searchRows()
{
    QFETCH(QString, text);
    QFETCH(QStringList, rows);
    write("Команды/Общая.txt", rec("привет", "Здравствуй\r\nКоманда: скрытая"));
    write("Группы/Все группы.txt", cp("Пустая\r\nА\r\nБ\r\n"));
    write("Команды/А.txt", rec("дом", "x") + rec("привет", "y"));
    write("Команды/Б.txt", rec("дом", "z"));
    QStringList found;
    const QList<SearchRow> result = search(text);
    for (const SearchRow &row : result)
        found.append(row.group + QLatin1Char('|') + row.command);
    QCOMPARE(found, rows);
}

QTEST_GUILESS_MAIN(tst_CommandEditor)
#include "tst_commandeditor.moc"
