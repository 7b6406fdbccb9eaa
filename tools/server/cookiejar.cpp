#include "tools/server/cookiejar.h"

#include <algorithm>

namespace {

// Cookies nobody came back with pile up only when clients log in and never connect;
// past this many the jar starts over.
constexpr int MaxOutstanding = 4096;

} // namespace

QByteArray CookieJar::issue(const QString &uin, int length, QRandomGenerator &random)
{
    if (m_cookies.size() >= MaxOutstanding)
        m_cookies.clear();
    QByteArray cookie;
    do {
        cookie = QByteArray(std::max(length, 1), '\0');
        for (char &c : cookie)
            c = char(random.bounded(256));
    } while (m_cookies.contains(cookie));
    m_cookies.insert(cookie, uin);
    return cookie;
}

std::optional<QString> CookieJar::redeem(QByteArrayView cookie)
{
    const auto it = m_cookies.constFind(cookie.toByteArray());
    if (it == m_cookies.cend())
        return std::nullopt;
    const QString uin = *it;
    m_cookies.erase(it);
    return uin;
}
