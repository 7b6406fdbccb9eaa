// The core's own files as a previous run or an operator left them: the journal of a
// newest-first file with its recovery and fold at start-up, the general settings read
// through the typed loader, "Адреса.txt", and the stored login.
//
// Input: a byte choosing the area (its value modulo the number of areas), then:
//   journal:   a byte of choices, the file's bytes with a 2-byte length before them, the
//              journal's bytes to the end;
//   settings:  the settings file's bytes with a 2-byte length before them, the address
//              file's bytes to the end;
//   login:     a 4-byte number, a password with a 1-byte length before it, the
//              stored-login file's bytes to the end.

#include "fuzzsupport.h"

#include "core/cp1251.h"
#include "core/generalsettings.h"
#include "core/programfolder.h"
#include "core/storage.h"
#include "core/textfile.h"
#include "engine/webaddresses.h"
#include "files/storedlogin.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <cstdint>

using Fuzz::putFile;
using Fuzz::require;

namespace {


const QString LogPath = QStringLiteral("\\Логи\\журнал.txt");

QByteArray fileBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// A journal a killed run left beside its file: the start-up takes its valid records in,
// folds them on top of the file and removes the journal; the file then takes new lines.
void fuzzJournal(Fuzz::Cursor &cursor)
{
    const quint8 choices = cursor.u8();
    const bool ownerOnly = choices & 1;
    const bool withFile = choices & 2;
    const QByteArrayView file = cursor.piece16();
    const QByteArrayView journal = cursor.rest();

    const QString path = TextFile::filePath(LogPath);
    const QString journalPath = Storage::journalPath(path);
    QFile::remove(path);
    if (withFile)
        putFile(path, file);
    putFile(journalPath, journal);

    Storage::discard();
    // Newest first, each with its line end, as they will stand on top of the file.
    const QList<QByteArray> unfolded = Storage::instance().unfoldedLines(path);
    Storage::discard();

    Storage &storage = Storage::instance();
    storage.openNewestFirst(path, ownerOnly);
    require(!QFile::exists(journalPath));
    require(storage.unfoldedLines(path).isEmpty());
    const QByteArray folded = fileBytes(path);
    if (unfolded.isEmpty()) {
        require(folded == (withFile ? file.toByteArray() : QByteArray()));
    } else {
        QByteArray expected = unfolded.join();
        const qsizetype lineEnds = withFile && !file.isEmpty() ? unfolded.size() : unfolded.size() - 1;
        expected += file.toByteArray() + QByteArray("\r\n").repeated(lineEnds);
        require(folded == expected);
    }
    (void)storage.lines(path);

    // A new line goes on top, before and after the fold.
    const QByteArray line = QByteArrayLiteral("новая строка\r\n");
    const QByteArray lineBytes = Cp1251::encode(QString::fromUtf8(line));
    storage.prependLine(path, lineBytes, ownerOnly);
    require(storage.bytes(path).startsWith(lineBytes));
    storage.flushAll();
    require(fileBytes(path).startsWith(lineBytes));
    Storage::discard();
}

void fuzzSettings(Fuzz::Cursor &cursor)
{
    const QByteArrayView settingsBytes = cursor.piece16();
    const QByteArrayView addressBytes = cursor.rest();

    Storage::discard();
    putFile(TextFile::filePath(GeneralSettings::FilePath), settingsBytes);
    const Settings settings = Settings::read();
    require(settings.text() == Storage::decode(settingsBytes.toByteArray()));
    require(settings.isEmpty() == settings.text().isEmpty());
    (void)settings.server();
    require(settings.port() > 0);
    (void)settings.autoRun();
    (void)settings.autoUpdate();
    (void)settings.hideTray();
    const qint16 minutes = settings.reconnectMinutes();
    require(settings.reconnectOn() ? minutes >= 1 : minutes == 0);
    (void)settings.autoEnter();
    (void)StoredLogin::fromSettings(settings);
    require(!(settings.soundsOn() && settings.soundsOffTicked()));
    require(!settings.messageSound().isEmpty() && !settings.startupSound().isEmpty());
    (void)settings.popupOn();
    (void)settings.popupTopmost();
    require(settings.popupTimeMs() > 0);
    (void)settings.answerDelayOn();
    require(settings.answerDelayMs() > 0);
    (void)settings.saveStatus();
    require(settings.savedStatus() >= 0 && settings.savedStatus() <= 3);
    const QString mode = settings.botMode();
    require(mode == QLatin1String("1") || mode == QLatin1String("2") || mode == QLatin1String("3"));

    // A writer keeps every other setting's value and its own reads back.
    const bool remember = !settingsBytes.isEmpty() && (settingsBytes.front() & 1);
    if (Settings::writeSaveStatus(remember)) {
        const Settings after = Settings::read();
        require(after.saveStatus() == remember);
        require(after.port() == settings.port());
    }

    putFile(TextFile::filePath(Addresses::FilePath), addressBytes);
    Storage::discard();
    for (const QString &key : {WebAddresses::WeatherFeed, WebAddresses::QuotationFeed, WebAddresses::CurrencyHost,
                               WebAddresses::CurrencyPort, WebAddresses::Site}) {
        const std::optional<QString> value = Addresses::value(key);
        if (!value)
            continue;
        require(!value->isEmpty());
        (void)WebAddresses::baseUrl(*value);
        if (const std::optional<QUrl> url = WebAddresses::url(key, QStringLiteral("/rss/vers.xml"))) {
            require(url->isValid() && !url->host().isEmpty());
            require(url->scheme() == QLatin1String("http") || url->scheme() == QLatin1String("https"));
        }
    }
}

void fuzzStoredLogin(Fuzz::Cursor &cursor)
{
    const quint32 number = (quint32(cursor.u16()) << 16 | cursor.u16()) & 0x7fffffff;
    const QString password = Cp1251::decode(cursor.piece8().toByteArray());
    const QByteArrayView file = cursor.rest();

    // The scramble is undone exactly, for every number and every letter the file keeps.
    const std::optional<StoredLogin::Credentials> login =
        StoredLogin::decode(StoredLogin::ScrambleNumber(double(number)), StoredLogin::ScramblePassword(password));
    require(login && login->uin == qint32(number) && login->password == password);

    putFile(TextFile::filePath(StoredLogin::FilePath), file);
    Storage::discard();
    (void)StoredLogin::readFile();
    for (const QString &line : TextFile::readLines(StoredLogin::FilePath)) {
        (void)StoredLogin::UnscrambleNumber(line);
        (void)StoredLogin::ScrambleNumber(line);
        const QString unscrambled = StoredLogin::UnscramblePassword(line);
        require(unscrambled.size() <= line.size() / 4);
    }
    putFile(TextFile::filePath(RememberedLogin::FilePath), file);
    Storage::discard();
    if (const std::optional<RememberedLogin::Boxes> boxes = RememberedLogin::read())
        require(!boxes->number.isEmpty() && !boxes->password.isEmpty());
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv)
{
    Fuzz::startProgram(argc, argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArrayView input(reinterpret_cast<const char *>(data), qsizetype(size));
    Fuzz::Cursor cursor(input);
    switch (cursor.u8() % 3) {
    case 0:
        fuzzJournal(cursor);
        break;
    case 1:
        fuzzSettings(cursor);
        break;
    default:
        fuzzStoredLogin(cursor);
        break;
    }
    Storage::discard();
    Fuzz::clearFolder(ProgramFolder::home());
    return 0;
}
