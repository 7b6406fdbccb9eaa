#include "settings/botnumbers.h"

#include "core/cp1251.h"

namespace {

constexpr int kMaxNumberDigits = 15;

} // namespace

BotNumbers::BotNumbers(QObject *parent)
    : QObject(parent)
{}

bool BotNumbers::load()
{
    m_rows.clear();
    for (const QString &line : TextFile::readLines(FilePath)) {
        if (const std::optional<Row> row = parseLine(line))
            m_rows.append(*row);
    }
    m_stored = m_rows;
    emit rowsChanged();
    return !m_rows.isEmpty();
}

BotNumbers::SaveResult BotNumbers::save()
{
    if (m_rows.isEmpty())
        return {SaveOutcome::EmptyList, QString()};
    // The file holds the passwords in plain text.
    const TextFile::Result written =
        TextFile::writeLines(FilePath, fileLines(m_rows), TextFile::Option::OwnerOnly);
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
    if (!isBotNumber(number))
        return AddOutcome::BadNumber;
    if (password.isEmpty())
        return AddOutcome::EmptyPassword;
    for (const QChar c : password) {
        if (c.isSpace())
            return AddOutcome::PasswordWithBlank;
    }
    if (!Cp1251::canEncode(password))
        return AddOutcome::PasswordNotStorable;
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

QStringList BotNumbers::fileLines(const QList<Row> &rows)
{
    QStringList lines;
    lines.reserve(rows.size());
    for (qsizetype i = 0; i < rows.size(); ++i)
        lines.append(QString::number(i + 2) + QLatin1Char(' ') + rows.at(i).text() + QStringLiteral(" 0"));
    return lines;
}

std::optional<BotNumbers::Row> BotNumbers::parseLine(const QString &line)
{
    // Fields by position: slot, number, password, count; the slot and count are not kept.
    const QStringList fields = line.split(QLatin1Char(' '));
    if (fields.size() < 3 || fields.at(1).isEmpty() || fields.at(2).isEmpty())
        return std::nullopt;
    return Row{fields.at(1), fields.at(2)};
}

bool BotNumbers::isBotNumber(const QString &number)
{
    if (number.isEmpty() || number.size() > kMaxNumberDigits)
        return false;
    for (const QChar c : number) {
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return false;
    }
    return true;
}
