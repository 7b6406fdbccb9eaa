#pragma once

#include <QString>
#include <QtGlobal>

#include <limits>
#include <optional>

// A bot's login: the number as typed (digits) and the password.
struct Credentials
{
    QString number;
    QString password;

    bool isEmpty() const { return number.isEmpty(); }
    // The number as an ICQ number: 1 to 10 digits within 32 bits.
    std::optional<qint32> uin() const { return uinFromText(number); }
    static std::optional<qint32> uinFromText(const QString &text)
    {
        if (text.isEmpty() || text.size() > 10)
            return std::nullopt;
        qint64 value = 0;
        for (const QChar c : text) {
            if (c < u'0' || c > u'9')
                return std::nullopt;
            value = value * 10 + (c.unicode() - u'0');
        }
        if (value > std::numeric_limits<qint32>::max())
            return std::nullopt;
        return qint32(value);
    }
    friend bool operator==(const Credentials &, const Credentials &) = default;
};

// The login server a log-in goes to.
struct ServerAddress
{
    QString host;
    quint16 port = 5190;

    friend bool operator==(const ServerAddress &, const ServerAddress &) = default;
};
