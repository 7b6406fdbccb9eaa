#include "engine/quotationbot.h"

#include "core/random.h"
#include "core/vbvalues.h"

#include <cmath>

namespace {

const QString CrLf = QStringLiteral("\r\n");

bool isKeyword(const QString &text)
{
    const QString upper = VbValues::upperCase(text);
    return upper == QLatin1String("!BASH") || upper == QStringLiteral("!БАШ");
}

} // namespace

QuotationBot::QuotationBot(const WebContext &context, QObject *parent)
    : QObject(parent)
    , m_context(context)
{}

std::optional<QString> QuotationBot::countText(const QString &messageText)
{
    const qsizetype blank = messageText.indexOf(QLatin1Char(' '));
    if (blank >= 0 && isKeyword(messageText.left(blank)))
        return messageText.mid(blank + 1);
    if (isKeyword(messageText.left(5)))
        return QString();
    return std::nullopt;
}

int QuotationBot::limitOf(const QString &countText)
{
    const std::optional<double> number = VbValues::toNumber(countText);
    if (!number || !std::isfinite(*number) || *number <= 0)
        return DefaultCount;
    const double rounded = VbValues::roundHalfEven(qMin(*number, double(MaxCount)));
    return rounded < 1 ? DefaultCount : int(rounded);
}

QString QuotationBot::choose(const QList<RssItem> &items, int limit, Random &random)
{
    const QString dashes(200, QLatin1Char('-'));
    QString buffer;
    int taken = 0;
    int previous = 0;
    for (const RssItem &item : items) {
        const int r = int(VbValues::roundHalfEven(random.unit() * 100));
        if (std::abs(r - previous) > 30 && r > 70) {
            buffer += item.title + CrLf + item.description + CrLf + dashes + CrLf;
            if (++taken == limit)
                break;
        }
        previous = r;
    }
    buffer.replace(QStringLiteral("<br>"), CrLf);
    buffer.replace(QStringLiteral("&lt;"), QStringLiteral("<"));
    buffer.replace(QStringLiteral("&gt;"), QStringLiteral(">"));
    buffer.replace(QStringLiteral("&quot;"), QStringLiteral("\""));
    return buffer;
}

StageOutcome QuotationBot::HandleQuotationRequest(MessageState &state)
{
    const std::optional<QString> count = countText(state.MessageText);
    if (!count)
        return StageOutcome::Continue;
    if (!SubBotSwitch(SwitchPath).isOn()) {
        send(state, OffText);
        return StageOutcome::Stop;
    }
    const int limit = limitOf(*count);
    const std::optional<QUrl> url = WebAddresses::url(WebAddresses::QuotationFeed, QStringLiteral("/rss/"));
    if (!url || !m_context.network) {
        send(state, UnavailableText);
        return StageOutcome::Stop;
    }

    ++m_pending;
    WebLoad::get(*m_context.network, *url, m_context.timeoutMs, this,
                 [this, asker = state, limit](bool ok, const QByteArray &body) {
                     --m_pending;
                     const std::optional<QList<RssItem>> items = ok ? WebLoad::parseRss(body) : std::nullopt;
                     if (!items) {
                         send(asker, FailedText);
                         return;
                     }
                     const QString quotations = choose(*items, limit, Random::instance());
                     if (quotations.isEmpty())
                         send(asker, NoneChosenText);
                     else
                         queue(asker, quotations);
                 });
    return StageOutcome::Stop;
}

void QuotationBot::send(const MessageState &asker, const QString &text)
{
    if (m_context.send)
        m_context.send(asker.slot, text, asker.SenderUin);
}

void QuotationBot::queue(const MessageState &asker, const QString &text)
{
    if (m_context.queueAnswer)
        m_context.queueAnswer(asker.slot, asker.SenderUin, text);
    else
        send(asker, text);
}
