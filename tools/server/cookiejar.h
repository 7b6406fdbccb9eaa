#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QHash>
#include <QRandomGenerator>
#include <QString>

#include <optional>

// Authorization cookies handed out by the login leg and taken back, once each, by the
// session leg.
class CookieJar
{
public:
    // Random bytes of the given length, remembered for the number.
    QByteArray issue(const QString &uin, int length, QRandomGenerator &random);
    // The number a cookie was issued for; a cookie is good for one session only.
    std::optional<QString> redeem(QByteArrayView cookie);
    int outstanding() const { return int(m_cookies.size()); }
    void clear() { m_cookies.clear(); }

private:
    QHash<QByteArray, QString> m_cookies;
};
