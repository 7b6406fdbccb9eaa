#include "settings/botnumbers.h"

BotNumbers::BotNumbers(QObject *parent)
    : QObject(parent)
{}

bool BotNumbers::load()
{
    m_rows.clear();
    for (const DistributionList::Account &account : DistributionList::load().accounts())
        m_rows.append({account.number, account.password});
    m_stored = m_rows;
    emit rowsChanged();
    return !m_rows.isEmpty();
}

BotNumbers::SaveResult BotNumbers::save()
{
    if (m_rows.isEmpty())
        return {SaveOutcome::EmptyList, QString()};
    QList<DistributionList::Account> accounts;
    accounts.reserve(m_rows.size());
    for (const Row &row : m_rows)
        accounts.append({row.number, row.password});
    const TextFile::Result written = DistributionList::write(accounts);
    if (!written)
        return {SaveOutcome::WriteFailed, written.error};
    m_stored = m_rows;
    return {SaveOutcome::Saved, QString()};
}

void BotNumbers::defaults()
{
    if (m_rows.isEmpty())
        return;
    m_rows.clear();
    emit rowsChanged();
}

bool BotNumbers::hasChanged() const
{
    return m_rows != m_stored;
}

BotNumbers::AddOutcome BotNumbers::add(const QString &number, const QString &password)
{
    if (number.isEmpty() && password.isEmpty())
        return AddOutcome::NothingEntered;
    const std::optional<qint32> uin = DistributionList::loginNumber(number);
    if (!uin)
        return AddOutcome::BadNumber;
    for (const Row &row : std::as_const(m_rows)) {
        if (DistributionList::loginNumber(row.number) == uin)
            return AddOutcome::AlreadyListed;
    }
    if (const auto problem = DistributionList::passwordProblem(password)) {
        switch (*problem) {
        case DistributionList::PasswordProblem::Empty:
            return AddOutcome::EmptyPassword;
        case DistributionList::PasswordProblem::HasBlank:
            return AddOutcome::PasswordWithBlank;
        case DistributionList::PasswordProblem::NotStorable:
            return AddOutcome::PasswordNotStorable;
        }
    }
    m_rows.append({number, password});
    emit rowsChanged();
    return AddOutcome::Added;
}

bool BotNumbers::remove(int index)
{
    if (index < 0 || index >= m_rows.size())
        return false;
    m_rows.removeAt(index);
    emit rowsChanged();
    return true;
}

QStringList BotNumbers::rowTexts() const
{
    QStringList texts;
    texts.reserve(m_rows.size());
    for (const Row &row : m_rows)
        texts.append(row.text());
    return texts;
}
