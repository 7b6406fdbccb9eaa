#pragma once

#include "files/distributionlist.h"

#include <QString>
#include <QtGlobal>

#include <optional>

// A bot's login: the number as typed (digits) and the password.
struct Credentials
{
    QString number;
    QString password;

    bool isEmpty() const { return number.isEmpty(); }
    // The number as an ICQ number, by the rule every log-in shares.
    std::optional<qint32> uin() const { return uinFromText(number); }
    static std::optional<qint32> uinFromText(const QString &text) { return DistributionList::loginNumber(text); }
    friend bool operator==(const Credentials &, const Credentials &) = default;
};

// The login server a log-in goes to.
struct ServerAddress
{
    QString host;
    quint16 port = 5190;

    friend bool operator==(const ServerAddress &, const ServerAddress &) = default;
};
