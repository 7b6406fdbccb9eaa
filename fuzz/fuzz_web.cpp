// What the web answers: the weather and quotation feeds, the currency script's reply,
// the update check's version document and the downloaded news, each through the code
// that takes the answer apart.
//
// Input: a byte choosing the kind of answer, a second text with a 1-byte length before
// it (the town, the count of a request, a version), then the answer's bytes to the end.

#include "fuzzsupport.h"

#include "core/cp1251.h"
#include "core/programfolder.h"
#include "core/random.h"
#include "core/storage.h"
#include "core/textfile.h"
#include "engine/currencybot.h"
#include "engine/quotationbot.h"
#include "engine/weatherbot.h"
#include "engine/webservices.h"
#include "mainwindow/newsupdate.h"
#include "settings/infotexts.h"

#include <QCoreApplication>
#include <QTemporaryDir>

#include <cstdint>

using Fuzz::require;

namespace {

const QDate Today(2008, 3, 5);

void fuzzWeather(const QString &town, QByteArrayView body)
{
    const std::optional<QList<RssItem>> items = WebLoad::parseRss(body.toByteArray());
    if (items) {
        if (const std::optional<QString> reply = WeatherBot::buildReply(*items, Today))
            require(items->size() >= WeatherBot::Blocks && !reply->isEmpty());
    }
    // The city database is a file the operator may replace.
    const QString database = Cp1251::decode(body.toByteArray());
    if (const std::optional<QString> code = WeatherBot::townCode(database, town))
        require(code->size() == WeatherBot::CodeLength && database.contains(*code + town));
    (void)WeatherBot::isRequest(town);
}

void fuzzQuotations(const QString &request, QByteArrayView body)
{
    const std::optional<QList<RssItem>> items = WebLoad::parseRss(body.toByteArray());
    const std::optional<QString> count = QuotationBot::countText(request);
    const int limit = QuotationBot::limitOf(count.value_or(request));
    require(limit >= 1 && limit <= QuotationBot::MaxCount);
    if (!items)
        return;
    ScriptedRandom random;
    for (qsizetype i = 0; i < items->size(); ++i)
        random.queueUnit(double((i * 37 + body.size()) % 100) / 100);
    const QString chosen = QuotationBot::choose(*items, limit, random);
    if (items->isEmpty())
        require(chosen.isEmpty());
}

void fuzzCurrency(QByteArrayView body)
{
    const QString reply = Cp1251::decode(body.toByteArray());
    if (const std::optional<QString> rates = CurrencyBot::ratesText(reply))
        require(rates->startsWith(QStringLiteral("Курс доллара: ")) && rates->endsWith(QLatin1String("\r\n")));
}

void fuzzVersionFile(const QString &version, QByteArrayView body)
{
    require(NewsUpdate::compareVersions(version, version) == 0);
    const std::optional<QList<NewsUpdate::Announcement>> announcements =
        NewsUpdate::parseVersionFile(body.toByteArray());
    if (!announcements)
        return;
    for (const NewsUpdate::Announcement &announcement : *announcements) {
        const int forward = NewsUpdate::compareVersions(announcement.status, version);
        const int backward = NewsUpdate::compareVersions(version, announcement.status);
        require(forward == -backward && forward >= -1 && forward <= 1);
        (void)NewsUpdate::compareVersions(announcement.status, NewsUpdate::ProgramVersion);
    }
}

void fuzzNews(QByteArrayView body)
{
    TextFile::writeBytes(InfoTexts::NewsDownloadPath, body.toByteArray());
    TextFile::writeBytes(InfoTexts::AllNewsPath, body.toByteArray());
    const QString stored = TextFile::readAll(InfoTexts::AllNewsPath);
    const QString news = InfoTexts::takeNews();
    require(!TextFile::exists(InfoTexts::NewsDownloadPath));
    require(news.count(QLatin1Char('\n')) == stored.count(QLatin1Char('\n')));
    require(news.size() <= stored.size());
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
    const quint8 choice = cursor.u8();
    const QString text = Cp1251::decode(cursor.piece8().toByteArray());
    const QByteArrayView body = cursor.rest();
    switch (choice % 5) {
    case 0:
        fuzzWeather(text, body);
        break;
    case 1:
        fuzzQuotations(text, body);
        break;
    case 2:
        fuzzCurrency(body);
        break;
    case 3:
        fuzzVersionFile(text, body);
        break;
    default:
        fuzzNews(body);
        break;
    }
    Storage::discard();
    Fuzz::clearFolder(ProgramFolder::home());
    return 0;
}
