#pragma once

#include "tools/server/accountstore.h"
#include "tools/server/cookiejar.h"
#include "tools/server/faultplan.h"
#include "tools/server/loginpolicy.h"
#include "tools/wire/oscarlink.h"

#include <QByteArray>
#include <QLoggingCategory>
#include <QRandomGenerator>
#include <QSet>
#include <QString>

Q_DECLARE_LOGGING_CATEGORY(lcOscarServer)

struct ServerSettings
{
    WriteMode loginWriteMode = WriteMode::Whole;
    WriteMode sessionWriteMode = WriteMode::Whole;
    int cookieLength = 256;
    QByteArray messageOfTheDay = "Korvane test server";
    QByteArray errorUrl = "http://127.0.0.1/login-error";
    // 4,7 user-info TLVs 6 and F two bytes long, as a lenient real server sends them.
    bool shortUserInfoTlvs = false;
    // The own-information answer (1,F) under a request id of the server's own instead of
    // the request's, as one real server answers it.
    bool ownInfoWithOwnRequestId = false;
    // A connection that has not logged in or presented a cookie by then is dropped.
    int unauthenticatedTimeoutMs = 60000;
    FaultPlan faults;
};

// What the login and session handlers of one server share. Its own random generator:
// the program's Random is scripted by the tests of the bot and must not be drawn from here.
struct ServerState
{
    ServerSettings settings;
    AccountStore accounts;
    CookieJar cookies;
    LoginPolicy loginPolicy;
    QRandomGenerator random{QRandomGenerator::global()->generate()};
    QString sessionAddress; // "host:port", as TLV 5 of the login reply carries it
    QSet<quint64> reportedOddities;
    // Connections closed for a frame out of sequence, on either port.
    int sequenceErrors = 0;

    // A random first sequence number for a server connection, as real servers use.
    quint16 firstSequence() { return quint16(random.bounded(2, 0x8000)); }

    // True the first time a kind of unexpected input is seen, so each is logged once.
    bool firstReport(quint16 channel, quint16 family, quint16 subtype)
    {
        const quint64 key = (quint64(channel) << 32) | (quint64(family) << 16) | subtype;
        if (reportedOddities.contains(key))
            return false;
        reportedOddities.insert(key);
        return true;
    }

    // As strict real servers do: a client frame whose sequence number is not the one after
    // its previous frame's is logged and the connection closed.
    void checkSequence(OscarLink *link, const QString &connection)
    {
        link->setIncomingSequenceChecked(true);
        QObject::connect(link, &OscarLink::sequenceBroken, link, [this, connection](quint16 expected, quint16 got) {
            ++sequenceErrors;
            qCWarning(lcOscarServer).noquote()
                << QStringLiteral("flap sequence error on the %1: expected %2, got %3; closing")
                       .arg(connection)
                       .arg(expected)
                       .arg(got);
        });
    }
};
