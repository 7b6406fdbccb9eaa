#include "tools/server/loginpolicy.h"

LoginPolicy::Decision LoginPolicy::decide(const QString &uin, QByteArrayView password,
                                          const AccountStore &accounts)
{
    ++m_total;
    ++m_perUin[uin];
    if (uin.isEmpty())
        return {false, ErrorMissingNumber};
    const auto pending = m_refuseNext.constFind(uin);
    if (pending != m_refuseNext.cend()) {
        const quint16 code = *pending;
        m_refuseNext.erase(pending);
        return {false, code};
    }
    if (m_refuseAll)
        return {false, m_refuseAllCode};
    if (!accounts.passwordMatches(uin, password))
        return {false, ErrorBadPassword};
    return {true, 0};
}

void LoginPolicy::setRefuseAll(bool refuse, quint16 errorCode)
{
    m_refuseAll = refuse;
    m_refuseAllCode = errorCode;
}

void LoginPolicy::resetCounters()
{
    m_perUin.clear();
    m_total = 0;
}
