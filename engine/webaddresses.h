#pragma once

#include "core/generalsettings.h"

#include <QString>
#include <QUrl>

#include <optional>

// The keys of "\Настройки\Адреса.txt" that name the web services. A host value is
// "host" or "host:port", or a whole base address such as "http://host:8080/prefix";
// the fixed paths are appended to it. A missing or unusable value means the service
// is unavailable.
namespace WebAddresses {

inline const QString WeatherFeed = QStringLiteral("WeatherFeed");     // weather RSS host
inline const QString QuotationFeed = QStringLiteral("QuotationFeed"); // quotation RSS host
inline const QString CurrencyHost = QStringLiteral("CurrencyHost");   // currency script host name
inline const QString CurrencyPort = QStringLiteral("CurrencyPort");   // its port; 80 when missing
inline const QString Site = QStringLiteral("Site");                   // the program's web site

// Every network load gives up after this long.
constexpr int TimeoutMs = 15000;

// The base address of a host value; nullopt unless it is an http(s) address with a host.
inline std::optional<QUrl> baseUrl(const QString &value)
{
    const QString text = value.contains(QStringLiteral("://")) ? value : QStringLiteral("http://") + value;
    QUrl url(text, QUrl::StrictMode);
    if (!url.isValid() || url.host().isEmpty() ||
        (url.scheme() != QLatin1String("http") && url.scheme() != QLatin1String("https")))
        return std::nullopt;
    return url;
}

// The address of path (already percent-encoded, starting with "/", or empty) under the
// host of key.
inline std::optional<QUrl> url(const QString &key, const QString &path)
{
    const std::optional<QString> value = Addresses::value(key);
    if (!value)
        return std::nullopt;
    std::optional<QUrl> base = baseUrl(value->trimmed());
    if (!base)
        return std::nullopt;
    QString prefix = base->path(QUrl::FullyEncoded);
    while (prefix.endsWith(QLatin1Char('/')))
        prefix.chop(1);
    base->setPath(prefix + path, QUrl::StrictMode);
    if (!base->isValid())
        return std::nullopt;
    return base;
}

} // namespace WebAddresses
