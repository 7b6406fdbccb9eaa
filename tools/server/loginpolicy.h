#pragma once

#include "tools/server/accountstore.h"

#include <QByteArrayView>
#include <QHash>
#include <QString>

// Decides each login and counts the attempts. Besides the password check, tests can
// make the server refuse logins it would otherwise accept.
class LoginPolicy
{
public:
    // Error codes of the login reply's TLV 8.
    static constexpr quint16 ErrorBadPassword = 0x0005; // wrong password or unknown number
    static constexpr quint16 ErrorMissingNumber = 0x0004;
    static constexpr quint16 ErrorRateLimit = 0x0018; // "reconnecting too fast"

    struct Decision
    {
        bool accepted = false;
        quint16 errorCode = 0;
    };

    // Counts the attempt and consumes a pending refusal for the number.
    Decision decide(const QString &uin, QByteArrayView password, const AccountStore &accounts);

    // The next login of this number is refused with the code, even with the right password.
    void refuseNext(const QString &uin, quint16 errorCode) { m_refuseNext.insert(uin, errorCode); }
    void setRefuseAll(bool refuse, quint16 errorCode);
    bool refusesAll() const { return m_refuseAll; }

    int attempts() const { return m_total; }
    int attempts(const QString &uin) const { return m_perUin.value(uin); }
    void resetCounters();

private:
    QHash<QString, quint16> m_refuseNext;
    QHash<QString, int> m_perUin;
    int m_total = 0;
    bool m_refuseAll = false;
    quint16 m_refuseAllCode = ErrorRateLimit;
};
