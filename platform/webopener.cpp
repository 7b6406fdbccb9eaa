#include "platform/webopener.h"

#include <QDebug>

namespace {

// Used until the program installs the real opener: logs and opens nothing.
class LoggingWebOpener : public WebOpener
{
public:
    bool open(const QString &address) override
    {
        qWarning().noquote() << "web page not opened:" << address;
        return false;
    }
};

WebOpener *g_opener = nullptr;

} // namespace

WebOpener &WebOpener::instance()
{
    static LoggingWebOpener fallback;
    return g_opener ? *g_opener : fallback;
}

void WebOpener::setInstance(WebOpener *opener)
{
    g_opener = opener;
}

QUrl WebOpener::webAddress(const QString &address)
{
    const QString trimmed = address.trimmed();
    if (trimmed.isEmpty())
        return {};
    // Not QUrl::fromUserInput(): it turns an existing local path into a file URL.
    const bool hasScheme = trimmed.contains(QLatin1String("://"));
    const QUrl url(hasScheme ? trimmed : QStringLiteral("http://") + trimmed, QUrl::StrictMode);
    if (!url.isValid() || url.host().isEmpty())
        return {};
    const QString scheme = url.scheme().toLower();
    if (scheme != QLatin1String("http") && scheme != QLatin1String("https"))
        return {};
    return url;
}
