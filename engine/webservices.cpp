#include "engine/webservices.h"

#include "core/textfile.h"
#include "core/vbvalues.h"
#include "engine/currencybot.h"
#include "engine/httpget.h"
#include "engine/quotationbot.h"
#include "engine/weatherbot.h"

#include <QNetworkAccessManager>
#include <QXmlStreamReader>

#include <utility>

namespace WebLoad {

void get(QNetworkAccessManager &network, const QUrl &url, int timeoutMs, QObject *context,
         std::function<void(bool ok, const QByteArray &body)> done)
{
    HttpGet::run(network, url, HttpGet::Limits{.timeoutMs = timeoutMs, .maxBytes = MaxFeedBytes}, context,
                 [done = std::move(done)](const HttpGet::Result &result) { done(result.ok(), result.body); });
}

std::optional<QList<RssItem>> parseRss(const QByteArray &bytes)
{
    QXmlStreamReader xml(bytes);
    QList<RssItem> items;
    if (!xml.readNextStartElement() || xml.name() != QLatin1String("rss"))
        return std::nullopt;
    while (xml.readNextStartElement()) {
        if (xml.name() != QLatin1String("channel")) {
            xml.skipCurrentElement();
            continue;
        }
        while (xml.readNextStartElement()) {
            if (xml.name() != QLatin1String("item")) {
                xml.skipCurrentElement();
                continue;
            }
            RssItem item;
            bool haveTitle = false;
            bool haveDescription = false;
            while (xml.readNextStartElement()) {
                // The first child of each name counts, as a path selection finds it.
                if (xml.name() == QLatin1String("title") && !haveTitle) {
                    item.title = xml.readElementText(QXmlStreamReader::IncludeChildElements);
                    haveTitle = true;
                } else if (xml.name() == QLatin1String("description") && !haveDescription) {
                    item.description = xml.readElementText(QXmlStreamReader::IncludeChildElements);
                    haveDescription = true;
                } else {
                    xml.skipCurrentElement();
                }
            }
            items.append(item);
        }
    }
    if (xml.hasError())
        return std::nullopt;
    return items;
}

} // namespace WebLoad

WebServices::WebServices(WebContext context, QObject *parent)
    : QObject(parent)
    , m_context(std::move(context))
{
    if (!m_context.network)
        m_context.network = new QNetworkAccessManager(this);
    m_weather = new WeatherBot(m_context, this);
    m_quotations = new QuotationBot(m_context, this);
    m_currency = new CurrencyBot(m_context, this);
}

WebServices::~WebServices() = default;

void WebServices::install(EngineHooks &hooks)
{
    hooks.handleWeatherRequest = [weather = m_weather](MessageState &state) {
        return weather->HandleWeatherRequest(state);
    };
    hooks.handleQuotationRequest = [quotations = m_quotations](MessageState &state) {
        return quotations->HandleQuotationRequest(state);
    };
    hooks.handleCurrencyRequest = [currency = m_currency](MessageState &state) {
        return currency->HandleCurrencyRequest(state);
    };
}
