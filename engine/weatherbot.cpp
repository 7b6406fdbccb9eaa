#include "engine/weatherbot.h"

#include "core/clock.h"
#include "core/datetexts.h"
#include "core/textfile.h"
#include "core/vbvalues.h"

#include <QRegularExpression>

#include <utility>

namespace {

const QString CrLf = QStringLiteral("\r\n");

// The feed's month and weekday abbreviations, replaced in this order.
const std::pair<const char16_t *, const char16_t *> Replacements[] = {
    {u"янв", u"01"},         {u"фев", u"02"},     {u"мрт", u"03"},         {u"апр", u"04"},
    {u"май", u"05"},         {u"июн", u"06"},     {u"июл", u"07"},         {u"авг", u"08"},
    {u"сен", u"09"},         {u"окт", u"10"},     {u"нбр", u"11"},         {u"дкб", u"12"},
    {u"Пн", u"Понедельник"}, {u"Вт", u"Вторник"}, {u"Ср", u"Среда"},       {u"Чт", u"Четверг"},
    {u"Пт", u"Пятница"},     {u"Сб", u"Суббота"}, {u"Вс", u"Воскресенье"},
};

// Cuts the text before the first separator off rest, then drops `extra` more characters.
std::optional<QString> cut(QString &rest, const QString &separator, int extra)
{
    const qsizetype at = rest.indexOf(separator);
    if (at < 0)
        return std::nullopt;
    QString before = rest.left(at);
    rest.remove(0, qMin(rest.size(), at + extra));
    return before;
}

QString timeOf(const QString &partOfDay)
{
    if (partOfDay == QStringLiteral("Утро"))
        return QStringLiteral("10:00");
    if (partOfDay == QStringLiteral("День"))
        return QStringLiteral("16:00");
    if (partOfDay == QStringLiteral("Вечер"))
        return QStringLiteral("22:00");
    return QStringLiteral("4:00");
}

// ".yyyy" for the forecast's date: a month before the current one lies in next year.
QString yearText(const QString &date, const QDate &today)
{
    int year = today.year();
    static const QRegularExpression lastNumber(QStringLiteral("(\\d{1,2})\\D*$"));
    const QRegularExpressionMatch match = lastNumber.match(date);
    if (match.hasMatch()) {
        const int month = match.captured(1).toInt();
        if (month >= 1 && month <= 12 && month < today.month())
            ++year;
    }
    return QStringLiteral(".%1").arg(year, 4, 10, QLatin1Char('0'));
}

} // namespace

WeatherBot::WeatherBot(const WebContext &context, QObject *parent)
    : QObject(parent)
    , m_context(context)
{}

bool WeatherBot::isRequest(const QString &messageText)
{
    const qsizetype blank = messageText.indexOf(QLatin1Char(' '));
    return blank >= 0 && VbValues::upperCase(messageText.left(blank)) == Keyword;
}

std::optional<QString> WeatherBot::townCode(const QString &database, const QString &town)
{
    const qsizetype at = database.indexOf(town);
    if (town.isEmpty() || at < CodeLength)
        return std::nullopt;
    return database.mid(at - CodeLength, CodeLength);
}

std::optional<QString> WeatherBot::buildReply(const QList<RssItem> &items, const QDate &today)
{
    if (items.size() < Blocks)
        return std::nullopt;
    const QString dashes(200, QLatin1Char('-'));
    QString rest;
    for (const RssItem &item : items)
        rest += item.title + CrLf + item.description + CrLf + dashes + CrLf;
    for (const auto &[from, to] : Replacements)
        rest.replace(QString::fromUtf16(from), QString::fromUtf16(to));

    const qsizetype colon = rest.indexOf(QLatin1Char(':'));
    if (colon <= 0)
        return std::nullopt;
    const QString town = rest.left(colon);
    rest.remove(0, town.size() + 2);

    QString reply;
    for (int block = 0; block < Blocks; ++block) {
        const std::optional<QString> part = cut(rest, QStringLiteral(" "), 1);
        std::optional<QString> date = part ? cut(rest, QStringLiteral(","), 1) : std::nullopt;
        const std::optional<QString> weekday = date ? cut(rest, CrLf, 2) : std::nullopt;
        const std::optional<QString> clouds = weekday ? cut(rest, QStringLiteral(","), 2) : std::nullopt;
        const std::optional<QString> rain = clouds ? cut(rest, QStringLiteral(","), 2) : std::nullopt;
        if (!rain)
            return std::nullopt;

        // Temperature: an 11-character label, the value, a 2-character unit and the comma.
        const qsizetype tempComma = rest.indexOf(QLatin1Char(','));
        if (tempComma < 0 || tempComma + 1 < 14)
            return std::nullopt;
        const QString temperature = rest.mid(11, tempComma + 1 - 14);
        rest.remove(0, qMin(rest.size(), tempComma + 2));

        // Pressure: a 9-character label and the value with its comma.
        const qsizetype pressureComma = rest.indexOf(QLatin1Char(','));
        if (pressureComma < 0)
            return std::nullopt;
        const QString pressure = rest.left(pressureComma + 1).mid(9);
        rest.remove(0, qMin(rest.size(), pressureComma + 2));

        const std::optional<QString> wind = cut(rest, CrLf, 1);
        if (!wind)
            return std::nullopt;

        *date += yearText(*date, today);
        const QStringList lines = {
            QStringLiteral("Дата: ") + *date,          QStringLiteral("День недели: ") + *weekday,
            QStringLiteral("Время: ") + timeOf(*part), QStringLiteral("Облачность: ") + *clouds,
            QStringLiteral("Осадки: ") + *rain,        QStringLiteral("Температура: ") + temperature,
            QStringLiteral("Давление: ") + pressure,   QStringLiteral("Ветер: ") + *wind,
        };
        if (reply.isEmpty())
            reply = QStringLiteral("Погода предоставлена Gismeteo.") + CrLf + QStringLiteral("Погода на: ") +
                    town + CrLf + CrLf + lines.join(CrLf);
        else
            reply += CrLf + CrLf + lines.join(CrLf);

        if (block + 1 < Blocks) {
            // On to the next item: past the town's name, its colon and blank.
            const qsizetype next = rest.indexOf(town);
            if (next < 0)
                return std::nullopt;
            rest.remove(0, qMin(rest.size(), next + town.size() + 2));
        }
    }
    return reply;
}

StageOutcome WeatherBot::HandleWeatherRequest(MessageState &state)
{
    if (!isRequest(state.MessageText))
        return StageOutcome::Continue;
    if (!SubBotSwitch(SwitchPath).isOn()) {
        reply(state, OffText);
        return StageOutcome::Stop;
    }
    const QString town = state.MessageText.mid(state.MessageText.indexOf(QLatin1Char(' ')) + 1);
    if (town.isEmpty()) {
        reply(state, NoTownText);
        return StageOutcome::Stop;
    }
    const std::optional<QString> code = townCode(TextFile::readAll(CityDatabasePath), town);
    if (!code) {
        reply(state, TownNotFoundText);
        return StageOutcome::Stop;
    }
    const std::optional<QUrl> url =
        WebAddresses::url(WebAddresses::WeatherFeed, QStringLiteral("/rss/") +
                                                         QString::fromLatin1(QUrl::toPercentEncoding(*code)) +
                                                         QStringLiteral(".xml"));
    if (!url || !m_context.network) {
        reply(state, UnavailableText);
        return StageOutcome::Stop;
    }

    ++m_pending;
    WebLoad::get(*m_context.network, *url, m_context.timeoutMs, this,
                 [this, asker = state](bool ok, const QByteArray &body) {
                     --m_pending;
                     std::optional<QString> answer;
                     if (ok) {
                         if (const std::optional<QList<RssItem>> items = WebLoad::parseRss(body))
                             answer = buildReply(*items, Clock::instance().today());
                     }
                     reply(asker, answer.value_or(FailedText));
                 });
    return StageOutcome::Stop;
}

void WeatherBot::reply(const MessageState &asker, const QString &text)
{
    if (m_context.send)
        m_context.send(asker.slot, text, asker.SenderUin);
}
