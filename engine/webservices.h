#pragma once

#include "engine/answerengine.h"
#include "engine/answersender.h"
#include "engine/webaddresses.h"

#include <QByteArray>
#include <QList>
#include <QObject>
#include <QString>
#include <QUrl>

#include <functional>
#include <optional>

class QNetworkAccessManager;
class WeatherBot;
class QuotationBot;
class CurrencyBot;

// What the web sub-bots need of the program.
struct WebContext
{
    // Direct replies: one message to the user and slot that asked.
    SendFunction send;
    // The answer timer: a long text to the user and slot that asked, in parts, with no
    // signature. When empty, the text is sent directly.
    std::function<void(int slot, const QString &toUin, const QString &text)> queueAnswer;
    // Not owned; nullptr lets the services make their own.
    QNetworkAccessManager *network = nullptr;
    int timeoutMs = WebAddresses::TimeoutMs;
};

// One entry of an RSS feed.
struct RssItem
{
    QString title;
    QString description;
};

namespace WebLoad {

// Feeds larger than this are cut off as failed.
constexpr qint64 MaxFeedBytes = 2 * 1024 * 1024;

// Loads url without blocking. done(ok, body) runs once, later, unless context is gone;
// ok only for a complete 2xx answer within timeoutMs.
void get(QNetworkAccessManager &network, const QUrl &url, int timeoutMs, QObject *context,
         std::function<void(bool ok, const QByteArray &body)> done);

// The items of rss/channel/item in document order; nullopt when the bytes are not such
// a well-formed document.
std::optional<QList<RssItem>> parseRss(const QByteArray &xml);

} // namespace WebLoad

// The weather, quotation and currency sub-bots with their shared network access.
// Must outlive the engine whose hooks it fills.
class WebServices : public QObject
{
    Q_OBJECT
public:
    explicit WebServices(WebContext context, QObject *parent = nullptr);
    ~WebServices() override;

    // Fills the three sub-bot stages, and nothing else.
    void install(EngineHooks &hooks);

    WeatherBot &weather() { return *m_weather; }
    QuotationBot &quotations() { return *m_quotations; }
    CurrencyBot &currency() { return *m_currency; }
    const WebContext &context() const { return m_context; }

private:
    WebContext m_context;
    WeatherBot *m_weather = nullptr;
    QuotationBot *m_quotations = nullptr;
    CurrencyBot *m_currency = nullptr;
};

inline void installWebHooks(EngineHooks &hooks, WebServices &services)
{
    services.install(hooks);
}
