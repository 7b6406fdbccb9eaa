#include "tools/server/accountstore.h"

#include "core/cp1251.h"

#include <QFile>
#include <QStringDecoder>

#include <algorithm>

void AccountStore::add(const QString &uin, const QByteArray &password)
{
    m_passwords.insert(uin, password);
}

bool AccountStore::remove(const QString &uin)
{
    return m_passwords.remove(uin);
}

void AccountStore::clear()
{
    m_passwords.clear();
}

namespace {

// Files written on this side are UTF-8, the bot roasts Windows-1251: a password that
// reads as UTF-8 and fits the code page is kept in it, any other as its bytes.
QByteArray clientBytes(QByteArrayView password)
{
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString text = utf8.decode(password);
    if (utf8.hasError() || !Cp1251::canEncode(text))
        return password.toByteArray();
    return Cp1251::encode(text);
}

} // namespace

bool AccountStore::load(const QString &path, QString *error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        if (error)
            *error = QStringLiteral("%1: %2").arg(path, file.errorString());
        return false;
    }
    return parse(file.readAll(), error);
}

bool AccountStore::parse(QByteArrayView text, QString *error)
{
    QHash<QString, QByteArray> found;
    int lineNumber = 0;
    for (QByteArrayView line : text.toByteArray().split('\n')) {
        ++lineNumber;
        while (!line.isEmpty() && (line.back() == '\r' || line.back() == ' ' || line.back() == '\t'))
            line.chop(1);
        const QByteArrayView trimmed = line.trimmed();
        if (trimmed.isEmpty() || trimmed.startsWith('#'))
            continue;
        const auto blank =
            std::find_if(trimmed.begin(), trimmed.end(), [](char c) { return c == ' ' || c == '\t'; });
        const QByteArrayView uin = trimmed.first(blank - trimmed.begin());
        const QByteArrayView password = trimmed.sliced(uin.size()).trimmed();
        const bool digits = std::all_of(uin.begin(), uin.end(), [](char c) { return c >= '0' && c <= '9'; });
        if (!digits || password.isEmpty()) {
            if (error)
                *error = QStringLiteral("line %1: expected a number and a password").arg(lineNumber);
            return false;
        }
        found.insert(QString::fromLatin1(uin), clientBytes(password));
    }
    m_passwords.insert(found);
    return true;
}

bool AccountStore::passwordMatches(const QString &uin, QByteArrayView password) const
{
    const auto it = m_passwords.constFind(uin);
    return it != m_passwords.cend() && *it == password;
}

QStringList AccountStore::uins() const
{
    QStringList out = m_passwords.keys();
    out.sort();
    return out;
}
