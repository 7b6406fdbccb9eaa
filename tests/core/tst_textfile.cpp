#include "core/cp1251.h"
#include "core/programfolder.h"
#include "core/storage.h"
#include "core/textfile.h"
#include "support/filemode.h"
#include "support/programhome.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

#include <sys/stat.h>

namespace {

QByteArray allBytes()
{
    QByteArray bytes;
    for (int b = 0; b < 256; ++b)
        bytes.append(char(b));
    return bytes;
}

} // namespace

class TestTextFile : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();

    void everyByteSurvivesReadAndWrite();
    void cyrillicNamesAreUtf8OnDisk();
    void missingFileReadsEmpty();
    void splitLines_data();
    void splitLines();
    void find_data();
    void find();
    void readLinesWithCrLfAndBareLf();
    void firstLine();
    void writeLinesEndsWithOneCrLf();
    void writeCreatesParentFolders();
    void appendAndAppendLine();
    void failedWriteWherePathComponentIsAFile();
    void failedWriteWhereTargetIsAFolder();
    void failedRewriteKeepsOldFile_data();
    void failedRewriteKeepsOldFile();
    void failedAppendLeavesFileAsItWas_data();
    void failedAppendLeavesFileAsItWas();
    void longAppendWholeOrNotAtAll_data();
    void longAppendWholeOrNotAtAll();
    void appendEndsUnendedLastLine_data();
    void appendEndsUnendedLastLine();
    void handEditBetweenAppendsSeen();
    void utf8FileKeepsItsLetters_data();
    void utf8FileKeepsItsLetters();
    void ownerOnlyAtCreation();
    void ownerOnlyOnRewriteAndAppend();
    void plainRewriteKeepsPermissions();
    void removeOneFile();
    void removeMatching_data();
    void removeMatching();
    void removeMatchingLeavesFolders();
    void existsAndFolders();
    void absolutePaths();

private:
    std::unique_ptr<ProgramHome> m_home;
    QString home() const { return m_home->path(); }
};

void TestTextFile::init()
{
    m_home = std::make_unique<ProgramHome>();
    QVERIFY(m_home->isValid());
}

void TestTextFile::cleanup()
{
    ProgramFolder::setHome(QString());
    m_home.reset();
}

void TestTextFile::everyByteSurvivesReadAndWrite()
{
    const QByteArray bytes = allBytes();
    QVERIFY(FileProbe::writeBytes(home() + "/in.bin", bytes));

    const QString text = TextFile::readAll(QStringLiteral("\\in.bin"));
    QCOMPARE(text.size(), 256);
    QVERIFY(TextFile::writeAll(QStringLiteral("\\out.bin"), text));
    QCOMPARE(FileProbe::bytes(home() + "/out.bin").toHex(' '), bytes.toHex(' '));

    // Appending goes through the same codec.
    QVERIFY(TextFile::append(QStringLiteral("\\out.bin"), text));
    QCOMPARE(FileProbe::bytes(home() + "/out.bin"), bytes + bytes);
    QCOMPARE(TextFile::readBytes(QStringLiteral("\\in.bin")), bytes);
}

void TestTextFile::cyrillicNamesAreUtf8OnDisk()
{
    QVERIFY(
        TextFile::writeAll(QStringLiteral("\\Настройки\\Общие.txt"), QStringLiteral("Ключ=Значение\r\n")));
    const QByteArray utf8Name = QStringLiteral("Настройки/Общие.txt").toUtf8();
    QVERIFY(QFile::exists(QFile::decodeName(QFile::encodeName(home()) + '/' + utf8Name)));
    // Contents are 1251, not UTF-8.
    QCOMPARE(FileProbe::bytes(home() + "/Настройки/Общие.txt"),
             QByteArray("\xCA\xEB\xFE\xF7=\xC7\xED\xE0\xF7\xE5\xED\xE8\xE5\r\n"));
    QCOMPARE(TextFile::readAll(QStringLiteral("Настройки/Общие.txt")), QStringLiteral("Ключ=Значение\r\n"));
}

void TestTextFile::missingFileReadsEmpty()
{
    QCOMPARE(TextFile::readAll(QStringLiteral("\\нет.txt")), QString());
    QCOMPARE(TextFile::readBytes(QStringLiteral("\\нет.txt")), QByteArray());
    QCOMPARE(TextFile::readLines(QStringLiteral("\\нет.txt")), QStringList());
    QCOMPARE(TextFile::firstLine(QStringLiteral("\\нет.txt")), QString());
    QDir(home()).mkdir("folder");
    QCOMPARE(TextFile::readAll(QStringLiteral("\\folder")), QString());
}

void TestTextFile::splitLines_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("lines");
    QTest::newRow("empty") << "" << QStringList();
    QTest::newRow("one unended") << "a" << QStringList{"a"};
    QTest::newRow("one ended") << "a\r\n" << QStringList{"a"};
    QTest::newRow("two, last unended") << "a\r\nb" << QStringList{"a", "b"};
    QTest::newRow("two ended") << "a\r\nb\r\n" << QStringList{"a", "b"};
    QTest::newRow("only CR LF") << "\r\n" << QStringList{""};
    QTest::newRow("trailing empty line") << "a\r\n\r\n" << QStringList{"a", ""};
    QTest::newRow("empty line inside") << "a\r\n\r\nb\r\n" << QStringList{"a", "", "b"};
    QTest::newRow("bare LF") << "a\nb\n" << QStringList{"a", "b"};
    QTest::newRow("mixed") << "a\nb\r\nc" << QStringList{"a", "b", "c"};
    QTest::newRow("bare CR") << "a\rb" << QStringList{"a", "b"};
    QTest::newRow("CR CR LF") << "a\r\r\n" << QStringList{"a", ""};
    QTest::newRow("LF CR") << "a\n\rb" << QStringList{"a", "", "b"};
    QTest::newRow("blanks kept") << " a \r\n" << QStringList{" a "};
    QTest::newRow("LF lines, then a CR") << "a\nb\nc\rd" << QStringList{"a", "b", "c", "d"};
    QTest::newRow("CR lines, then an LF") << "a\rb\rc\nd\r\n" << QStringList{"a", "b", "c", "d"};
    QTest::newRow("CR LF after bare ends") << "a\n\r\nb\r" << QStringList{"a", "", "b"};
    QTest::newRow("control characters stay") << "a\tb\x0B\x0C\x0E\r\n" << QStringList{"a\tb\x0B\x0C\x0E"};
}

void TestTextFile::find_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("needle");
    QTest::addColumn<int>("from");
    QTest::addColumn<int>("at");
    QTest::newRow("at the start") << "&^x" << "&^" << 0 << 0;
    QTest::newRow("head alone first") << "a&b&^c" << "&^" << 0 << 3;
    QTest::newRow("at the end") << "abc&^" << "&^" << 0 << 3;
    QTest::newRow("head at the very end") << "abc&" << "&^" << 0 << -1;
    QTest::newRow("nowhere") << "abc" << ":^:" << 0 << -1;
    QTest::newRow("from past the first") << "&^a&^" << "&^" << 1 << 3;
    QTest::newRow("overlapping heads") << "^^&^&" << "^&^&" << 0 << 1;
    QTest::newRow("line end") << "a\rb\r\n" << "\r\n" << 0 << 3;
    QTest::newRow("one character") << "abc" << "c" << 0 << 2;
    QTest::newRow("empty text") << "" << "&^" << 0 << -1;
}

void TestTextFile::find()
{
    QFETCH(QString, text);
    QFETCH(QString, needle);
    QFETCH(int, from);
    QFETCH(int, at);
    QCOMPARE(TextFile::find(text, needle, from), qsizetype(at));
    QCOMPARE(TextFile::find(text, needle, from), text.indexOf(needle, from));
}

void TestTextFile::splitLines()
{
    QFETCH(QString, text);
    QFETCH(QStringList, lines);
    QCOMPARE(TextFile::splitLines(text), lines);
}

void TestTextFile::readLinesWithCrLfAndBareLf()
{
    QVERIFY(FileProbe::writeBytes(home() + "/Логи/x.txt", "\xCF\xE5\xF0\xE2\xE0\xFF\r\nsecond\nthird\r\n"));
    QCOMPARE(TextFile::readLines(QStringLiteral("\\Логи\\x.txt")),
             (QStringList{QStringLiteral("Первая"), "second", "third"}));
}

void TestTextFile::firstLine()
{
    QVERIFY(FileProbe::writeBytes(home() + "/f.txt", " 1 \r\nrest\r\n"));
    QCOMPARE(TextFile::firstLine(QStringLiteral("\\f.txt")), QStringLiteral(" 1 "));
}

void TestTextFile::writeLinesEndsWithOneCrLf()
{
    QVERIFY(TextFile::writeLines(QStringLiteral("\\l.txt"), {"a", "б"}));
    QCOMPARE(FileProbe::bytes(home() + "/l.txt"), QByteArray("a\r\n\xE1\r\n"));
    QVERIFY(TextFile::writeLines(QStringLiteral("\\l.txt"), {}));
    QCOMPARE(FileProbe::bytes(home() + "/l.txt"), QByteArray("\r\n"));
}

void TestTextFile::writeCreatesParentFolders()
{
    const auto result = TextFile::writeAll(QStringLiteral("\\Статистика\\05.03.2008\\a.txt"), "x");
    QVERIFY2(result.ok, qPrintable(result.error));
    QVERIFY(result.error.isEmpty());
    QCOMPARE(FileProbe::bytes(home() + "/Статистика/05.03.2008/a.txt"), QByteArray("x"));
}

void TestTextFile::appendAndAppendLine()
{
    QVERIFY(TextFile::appendLine(QStringLiteral("\\Логи\\неизвестные.txt"), "один"));
    QVERIFY(TextFile::appendLine(QStringLiteral("\\Логи\\неизвестные.txt"), "два"));
    QVERIFY(TextFile::append(QStringLiteral("\\Логи\\неизвестные.txt"), "три"));
    QCOMPARE(TextFile::readAll(QStringLiteral("\\Логи\\неизвестные.txt")),
             QStringLiteral("один\r\nдва\r\nтри"));
}

void TestTextFile::failedWriteWherePathComponentIsAFile()
{
    QVERIFY(FileProbe::writeBytes(home() + "/Настройки", "I am a file"));
    const auto result = TextFile::writeAll(QStringLiteral("\\Настройки\\Общие.txt"), "Server=x\r\n");
    QVERIFY(!result.ok);
    QVERIFY(!result);
    QVERIFY(!result.error.isEmpty());
    QCOMPARE(FileProbe::bytes(home() + "/Настройки"), QByteArray("I am a file"));

    const auto appended = TextFile::append(QStringLiteral("\\Настройки\\Общие.txt"), "x");
    QVERIFY(!appended.ok);
    QVERIFY(!appended.error.isEmpty());
    QVERIFY(!TextFile::ensureFolder(QStringLiteral("\\Настройки\\sub")));
}

void TestTextFile::failedWriteWhereTargetIsAFolder()
{
    QVERIFY(QDir(home()).mkpath("target.txt/inner"));
    const auto result = TextFile::writeAll(QStringLiteral("\\target.txt"), "x");
    QVERIFY(!result.ok);
    QVERIFY(!result.error.isEmpty());
    QVERIFY(QFileInfo(home() + "/target.txt/inner").isDir());
    QVERIFY(!TextFile::remove(QStringLiteral("\\target.txt")));
    QVERIFY(QFileInfo(home() + "/target.txt").isDir());
}

void TestTextFile::failedRewriteKeepsOldFile_data()
{
    QTest::addColumn<int>("limit");
    QTest::addColumn<int>("size");
    // A large write fails in write(); a small one only when the buffer is flushed.
    QTest::newRow("larger than the buffer") << 4096 << 100000;
    QTest::newRow("cut short at flush") << 4 << 50;
}

void TestTextFile::failedRewriteKeepsOldFile()
{
    QFETCH(int, limit);
    QFETCH(int, size);
    const QByteArray old = "Server=login.icq.com\r\nPort=5190\r\n";
    QVERIFY(FileProbe::writeBytes(home() + "/Настройки/Общие.txt", old));

    TextFile::Result result;
    {
        // Permissions do not stop root; a file-size limit does.
        FileProbe::FileSizeLimit fileSizeLimit{rlim_t(limit)};
        QVERIFY(fileSizeLimit.ok());
        result = TextFile::writeAll(QStringLiteral("\\Настройки\\Общие.txt"), QString(size, QLatin1Char('x')));
    }
    QVERIFY(!result.ok);
    QVERIFY(!result.error.isEmpty());
    QCOMPARE(FileProbe::bytes(home() + "/Настройки/Общие.txt"), old);
    // No temporary file is left beside it.
    QCOMPARE(QDir(home() + "/Настройки").entryList(QDir::Files | QDir::Hidden), QStringList{"Общие.txt"});

    // Once the limit is gone the same write succeeds.
    QVERIFY(TextFile::writeAll(QStringLiteral("\\Настройки\\Общие.txt"), QString(size, QLatin1Char('x'))));
    QCOMPARE(FileProbe::bytes(home() + "/Настройки/Общие.txt").size(), size);
}

void TestTextFile::failedAppendLeavesFileAsItWas_data()
{
    QTest::addColumn<int>("room"); // bytes the disk still takes
    QTest::addColumn<bool>("cached");
    QTest::newRow("half a line fits") << 5 << false;
    QTest::newRow("half a line fits, file read before") << 5 << true;
    QTest::newRow("nothing fits") << 0 << false;
    QTest::newRow("one byte fits") << 1 << true;
}

void TestTextFile::failedAppendLeavesFileAsItWas()
{
    QFETCH(int, room);
    QFETCH(bool, cached);
    const QString log = QStringLiteral("\\Логи\\неизвестные.txt");
    const QByteArray old = "05.03.2008 - 123 : первая\r\n";
    QVERIFY(FileProbe::writeBytes(home() + "/Логи/неизвестные.txt", old));
    if (cached)
        QCOMPARE(TextFile::readBytes(log), old);
    TextFile::Result result;
    {
        // A full disk: a write that goes past the limit is cut short, then refused.
        FileProbe::FileSizeLimit fileSizeLimit{rlim_t(old.size() + room)};
        QVERIFY(fileSizeLimit.ok());
        result = TextFile::appendLine(log, QStringLiteral("05.03.2008 - 456 : вторая строка"));
    }
    QVERIFY(!result.ok);
    QVERIFY(!result.error.isEmpty());
    QCOMPARE(FileProbe::bytes(home() + "/Логи/неизвестные.txt"), old);
    QCOMPARE(TextFile::readBytes(log), old);

    // The next line starts a line of its own.
    QVERIFY(TextFile::appendLine(log, QStringLiteral("третья")));
    QCOMPARE(TextFile::readLines(log), QStringList({QStringLiteral("05.03.2008 - 123 : первая"),
                                                    QStringLiteral("третья")}));
}

void TestTextFile::longAppendWholeOrNotAtAll_data()
{
    QTest::addColumn<QByteArray>("before");
    QTest::addColumn<bool>("utf8");
    QTest::addColumn<bool>("refused");
    QTest::newRow("1251") << QByteArray("a\r\n") << false << false;
    QTest::newRow("UTF-8") << QByteArray("\xD0\xB6\r\n") << true << false;
    QTest::newRow("unended") << QByteArray("a") << false << false;
    QTest::newRow("missing") << QByteArray() << false << false;
    QTest::newRow("refused midway") << QByteArray("a\r\n") << false << true;
}

// A line of megabytes is written in pieces: the bytes are those of one write, and a
// refusal midway leaves nothing of it.
void TestTextFile::longAppendWholeOrNotAtAll()
{
    QFETCH(QByteArray, before);
    QFETCH(bool, utf8);
    QFETCH(bool, refused);
    const QString log = QStringLiteral("\\Логи\\длинный.txt");
    const QString file = home() + "/Логи/длинный.txt";
    if (!before.isEmpty())
        QVERIFY(FileProbe::writeBytes(file, before));
    QString line;
    for (int i = 0; i < 5; ++i)
        line += QString(65535, QChar(0x0436)) + QStringLiteral("\U0001F600") + QStringLiteral("\r\n^&^&");
    TextFile::Result result;
    {
        FileProbe::FileSizeLimit fileSizeLimit{rlim_t(refused ? before.size() + 100000 : RLIM_INFINITY)};
        QVERIFY(fileSizeLimit.ok());
        if (refused)
            QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("cannot append to")));
        result = TextFile::appendLine(log, line);
    }
    QCOMPARE(result.ok, !refused);
    if (refused) {
        QCOMPARE(FileProbe::bytes(file), before);
        return;
    }
    const QByteArray lineEnd = before.isEmpty() || before.endsWith('\n') ? QByteArray() : QByteArray("\r\n");
    const QByteArray expected = before + lineEnd + (utf8 ? line.toUtf8() : Cp1251::encode(line)) + "\r\n";
    QCOMPARE(FileProbe::bytes(file).size(), expected.size());
    QVERIFY(FileProbe::bytes(file) == expected);
    QVERIFY(TextFile::readBytes(log) == expected);
}

void TestTextFile::appendEndsUnendedLastLine_data()
{
    QTest::addColumn<QByteArray>("before");
    QTest::addColumn<QString>("appended");
    QTest::addColumn<bool>("cached");
    QTest::addColumn<QByteArray>("after");
    const QString line = QStringLiteral("b\r\n");
    for (const bool cached : {false, true}) {
        const char *read = cached ? ", read before" : "";
        QTest::addRow("unended%s", read) << QByteArray("a") << line << cached << QByteArray("a\r\nb\r\n");
        QTest::addRow("ended%s", read) << QByteArray("a\r\n") << line << cached << QByteArray("a\r\nb\r\n");
        QTest::addRow("bare LF%s", read) << QByteArray("a\n") << line << cached << QByteArray("a\nb\r\n");
        QTest::addRow("bare CR%s", read) << QByteArray("a\r") << line << cached << QByteArray("a\rb\r\n");
        QTest::addRow("empty file%s", read) << QByteArray() << line << cached << QByteArray("b\r\n");
        QTest::addRow("ends with a blank%s", read) << QByteArray("a ") << line << cached << QByteArray("a \r\nb\r\n");
        // A piece of a line is appended as it is.
        QTest::addRow("piece of a line%s", read) << QByteArray("a") << QStringLiteral("b") << cached << QByteArray("ab");
        // A caller that ends the line itself is not given a second line end.
        QTest::addRow("caller ends it%s", read)
            << QByteArray("a") << QStringLiteral("\r\nb\r\n") << cached << QByteArray("a\r\nb\r\n");
        QTest::addRow("1251 nick%s", read)
            << QByteArray("\xcd\xe8\xea") << QStringLiteral("Ник\r\n") << cached
            << QByteArray("\xcd\xe8\xea\r\n\xcd\xe8\xea\r\n");
    }
}

void TestTextFile::appendEndsUnendedLastLine()
{
    QFETCH(QByteArray, before);
    QFETCH(QString, appended);
    QFETCH(bool, cached);
    QFETCH(QByteArray, after);
    const QString file = QStringLiteral("\\Чат\\Кик.txt");
    if (!before.isEmpty())
        QVERIFY(FileProbe::writeBytes(home() + "/Чат/Кик.txt", before));
    if (cached)
        QCOMPARE(TextFile::readBytes(file), before);
    QVERIFY(TextFile::append(file, appended));
    QCOMPARE(FileProbe::bytes(home() + "/Чат/Кик.txt"), after);
    QCOMPARE(TextFile::readBytes(file), after);
}

void TestTextFile::handEditBetweenAppendsSeen()
{
    // The layer remembers what its last append left; an edit since then is looked at.
    const QString file = QStringLiteral("\\Статистика\\1.txt");
    const QString disk = home() + "/Статистика/1.txt";
    QVERIFY(TextFile::appendLine(file, QStringLiteral("один")));
    QVERIFY(TextFile::appendLine(file, QStringLiteral("два")));
    QVERIFY(FileProbe::writeBytes(disk, FileProbe::bytes(disk) + "hand"));
    QVERIFY(TextFile::appendLine(file, QStringLiteral("три")));
    QCOMPARE(FileProbe::bytes(disk), QByteArray("\xee\xe4\xe8\xed\r\n\xe4\xe2\xe0\r\nhand\r\n\xf2\xf0\xe8\r\n"));
    // Rewritten as UTF-8 by hand: the next line is UTF-8 too.
    QVERIFY(FileProbe::writeBytes(disk, QStringLiteral("один\r\n").toUtf8()));
    QVERIFY(TextFile::appendLine(file, QStringLiteral("два")));
    QCOMPARE(FileProbe::bytes(disk), QStringLiteral("один\r\nдва\r\n").toUtf8());
}

void TestTextFile::utf8FileKeepsItsLetters_data()
{
    QTest::addColumn<QByteArray>("before");
    QTest::addColumn<bool>("rewrite"); // else an append
    QTest::addColumn<QString>("text");
    QTest::addColumn<QByteArray>("after");
    const QString foreign = QStringLiteral("Zoë Łódź ✓");
    const QByteArray utf8 = QStringLiteral("Ключ=Zoë\r\n").toUtf8();
    QTest::newRow("UTF-8 rewritten with letters 1251 lacks")
        << utf8 << true << QStringLiteral("Ключ=") + foreign + QStringLiteral("\r\n")
        << (QStringLiteral("Ключ=") + foreign + QStringLiteral("\r\n")).toUtf8();
    QTest::newRow("UTF-8 rewritten with text 1251 holds")
        << utf8 << true << QStringLiteral("Ключ=да\r\n") << QByteArray("\xca\xeb\xfe\xf7=\xe4\xe0\r\n");
    QTest::newRow("UTF-8 with a BOM keeps it")
        << QByteArray("\xef\xbb\xbf") + utf8 << true << foreign
        << QByteArray("\xef\xbb\xbf") + foreign.toUtf8();
    QTest::newRow("1251 file: letters it lacks become ?")
        << QByteArray("\xca\xeb\xfe\xf7\r\n") << true << QStringLiteral("ë") << QByteArray("?");
    QTest::newRow("new file is 1251") << QByteArray() << true << QStringLiteral("да") << QByteArray("\xe4\xe0");
    QTest::newRow("UTF-8 appended to in UTF-8")
        << utf8 << false << QStringLiteral("Ещё=да\r\n") << utf8 + QStringLiteral("Ещё=да\r\n").toUtf8();
    QTest::newRow("1251 appended to in 1251")
        << QByteArray("\xca\r\n") << false << QStringLiteral("да\r\n") << QByteArray("\xca\r\n\xe4\xe0\r\n");
}

void TestTextFile::utf8FileKeepsItsLetters()
{
    QFETCH(QByteArray, before);
    QFETCH(bool, rewrite);
    QFETCH(QString, text);
    QFETCH(QByteArray, after);
    const QString file = QStringLiteral("\\Настройки\\Общие.txt");
    if (!before.isEmpty())
        QVERIFY(FileProbe::writeBytes(home() + "/Настройки/Общие.txt", before));
    if (rewrite)
        QVERIFY(TextFile::writeAll(file, text));
    else
        QVERIFY(TextFile::append(file, text));
    QCOMPARE(FileProbe::bytes(home() + "/Настройки/Общие.txt"), after);
    if (!after.contains('?'))
        QCOMPARE(TextFile::readAll(file), rewrite ? text : Storage::decode(before) + text);
}

void TestTextFile::ownerOnlyAtCreation()
{
    QVERIFY(
        TextFile::writeAll(QStringLiteral("\\Настройки\\Админ.txt"), "secret", TextFile::Option::OwnerOnly));
    QCOMPARE(unixMode(home() + "/Настройки/Админ.txt"), 0600);

    QVERIFY(TextFile::appendLine(QStringLiteral("\\Настройки\\Распределение.txt"), "1:^:pw",
                                 TextFile::Option::OwnerOnly));
    QCOMPARE(unixMode(home() + "/Настройки/Распределение.txt"), 0600);

    QVERIFY(TextFile::writeLines(QStringLiteral("\\Настройки\\L.txt"), {"a"}, TextFile::Option::OwnerOnly));
    QCOMPARE(unixMode(home() + "/Настройки/L.txt"), 0600);
}

void TestTextFile::ownerOnlyOnRewriteAndAppend()
{
    const QFile::Permissions ownerOnly = QFile::ReadOwner | QFile::WriteOwner;
    const QFile::Permissions open = ownerOnly | QFile::ReadGroup | QFile::ReadOther;
    const QString path = home() + "/Настройки/Админ.txt";
    QVERIFY(FileProbe::writeBytes(path, "old"));
    QVERIFY(QFile::setPermissions(path, open));
    QVERIFY(TextFile::writeAll(QStringLiteral("\\Настройки\\Админ.txt"), "new", TextFile::Option::OwnerOnly));
    QCOMPARE(unixMode(path), 0600);
    QCOMPARE(FileProbe::bytes(path), QByteArray("new"));

    QVERIFY(QFile::setPermissions(path, open));
    QVERIFY(TextFile::append(QStringLiteral("\\Настройки\\Админ.txt"), "!", TextFile::Option::OwnerOnly));
    QCOMPARE(unixMode(path), 0600);
    QCOMPARE(FileProbe::bytes(path), QByteArray("new!"));
}

void TestTextFile::plainRewriteKeepsPermissions()
{
    // A new plain file gets the usual mode, 0666 less the umask.
    const mode_t mask = ::umask(022);
    QVERIFY(TextFile::writeAll(QStringLiteral("\\new.txt"), "x"));
    QVERIFY(TextFile::append(QStringLiteral("\\appended.txt"), "x"));
    ::umask(mask);
    QCOMPARE(unixMode(home() + "/new.txt"), 0644);
    QCOMPARE(unixMode(home() + "/appended.txt"), 0644);

    const QFile::Permissions open =
        QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup | QFile::ReadOther;
    const QString path = home() + "/a.txt";
    QVERIFY(FileProbe::writeBytes(path, "old"));
    QVERIFY(QFile::setPermissions(path, open));
    QVERIFY(TextFile::writeAll(QStringLiteral("\\a.txt"), "new"));
    QCOMPARE(unixMode(path), 0644);
}

void TestTextFile::removeOneFile()
{
    QVERIFY(FileProbe::writeBytes(home() + "/Выход.txt", " 1 \r\n"));
    QVERIFY(TextFile::remove(QStringLiteral("\\Выход.txt")));
    QVERIFY(!QFile::exists(home() + "/Выход.txt"));
    QVERIFY(!TextFile::remove(QStringLiteral("\\Выход.txt")));
}

void TestTextFile::removeMatching_data()
{
    QTest::addColumn<QString>("pattern");
    QTest::addColumn<QStringList>("files");
    QTest::addColumn<QStringList>("kept");

    const QStringList rooms{"Общая.txt", "Флуд.txt", "без_точки", "a.b.c"};
    QTest::newRow("*.* takes every file") << "\\Подпрограммы\\Комнаты\\*.*" << rooms << QStringList();
    QTest::newRow("* takes every file") << "\\Подпрограммы\\Комнаты\\*" << rooms << QStringList();
    QTest::newRow("*.txt") << "\\Подпрограммы\\Комнаты\\*.txt" << rooms << QStringList{"a.b.c", "без_точки"};
    QTest::newRow("prefix*") << "\\Подпрограммы\\Сообщения_в*"
                             << QStringList{"Сообщения_в1.txt", "Сообщения_вход.txt", "Сообщения.txt",
                                            "Чат.txt"}
                             << QStringList{"Сообщения.txt", "Чат.txt"};
    QTest::newRow("question mark is one character")
        << "\\Подпрограммы\\q?.txt" << QStringList{"q1.txt", "q12.txt", "q.txt"}
        << QStringList{"q.txt", "q12.txt"};
    QTest::newRow("letter case ignored")
        << "\\Подпрограммы\\сообщения_В*" << QStringList{"Сообщения_в1.txt", "x.txt"} << QStringList{"x.txt"};
    QTest::newRow("no wildcard: one file")
        << "\\Подпрограммы\\a.txt" << QStringList{"a.txt", "a.txt2"} << QStringList{"a.txt2"};
    QTest::newRow("dots are literal")
        << "\\Подпрограммы\\a.t*" << QStringList{"a.txt", "abt.txt"} << QStringList{"abt.txt"};
}

void TestTextFile::removeMatching()
{
    QFETCH(QString, pattern);
    QFETCH(QStringList, files);
    QFETCH(QStringList, kept);

    const QString programFolder = pattern.left(pattern.lastIndexOf('\\'));
    const QString folder = ProgramFolder::path(programFolder);
    for (const QString &name : files)
        QVERIFY(FileProbe::writeBytes(folder + '/' + name, "x"));
    const int removed = TextFile::removeMatching(pattern);
    QCOMPARE(removed, files.size() - kept.size());
    QStringList left = QDir(folder).entryList(QDir::Files | QDir::Hidden, QDir::Name);
    QStringList expected = kept;
    expected.sort();
    left.sort();
    QCOMPARE(left, expected);
}

void TestTextFile::removeMatchingLeavesFolders()
{
    QVERIFY(FileProbe::writeBytes(home() + "/Подпрограммы/Комнаты/a.txt", "x"));
    QVERIFY(QDir(home()).mkpath("Подпрограммы/Комнаты/sub.dir"));
    QVERIFY(FileProbe::writeBytes(home() + "/Подпрограммы/Комнаты/sub.dir/b.txt", "x"));
    QCOMPARE(TextFile::removeMatching(QStringLiteral("\\Подпрограммы\\Комнаты\\*.*")), 1);
    QVERIFY(QFileInfo(home() + "/Подпрограммы/Комнаты/sub.dir/b.txt").isFile());
    QCOMPARE(TextFile::removeMatching(QStringLiteral("\\Нет\\*.*")), 0);
}

void TestTextFile::existsAndFolders()
{
    QVERIFY(!TextFile::exists(QStringLiteral("\\Разрешение.txt")));
    QVERIFY(TextFile::writeAll(QStringLiteral("\\Разрешение.txt"), "1"));
    QVERIFY(TextFile::exists(QStringLiteral("\\Разрешение.txt")));
    QVERIFY(!TextFile::folderExists(QStringLiteral("\\Разрешение.txt")));

    QVERIFY(!TextFile::folderExists(QStringLiteral("\\Подпрограммы\\")));
    QVERIFY(TextFile::ensureFolder(QStringLiteral("\\Подпрограммы\\")));
    QVERIFY(TextFile::ensureFolder(QStringLiteral("\\Подпрограммы\\")));
    QVERIFY(TextFile::folderExists(QStringLiteral("\\Подпрограммы")));
    QVERIFY(!TextFile::exists(QStringLiteral("\\Подпрограммы")));
}

void TestTextFile::absolutePaths()
{
    QTemporaryDir other;
    QVERIFY(other.isValid());
    const TextFile::Absolute file{other.path() + "/звук/путь.txt"};
    QCOMPARE(TextFile::filePath(file), file.path);
    QVERIFY(TextFile::writeAll(file, "Привет"));
    QCOMPARE(FileProbe::bytes(file.path), QByteArray("\xCF\xF0\xE8\xE2\xE5\xF2"));
    QCOMPARE(TextFile::readAll(file), QStringLiteral("Привет"));
    QVERIFY(TextFile::exists(file));
    // A line appended after a last line without its line end stands on its own.
    QVERIFY(TextFile::appendLine(file, "!"));
    QCOMPARE(TextFile::readLines(file), (QStringList{"Привет", "!"}));
    QCOMPARE(TextFile::removeMatching(TextFile::Absolute{other.path() + "/звук/*.txt"}), 1);
    QVERIFY(!TextFile::exists(file));
    // Nothing went into the program folder.
    QCOMPARE(QDir(home()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), QStringList());
}

QTEST_GUILESS_MAIN(TestTextFile)
#include "tst_textfile.moc"
