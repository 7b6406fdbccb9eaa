#include "records/automailing.h"

#include "core/textfile.h"

namespace SubscriberList {

QStringList load()
{
    return TextFile::readLines(FilePath);
}

bool add(const QString &number)
{
    return bool(TextFile::appendLine(FilePath, number));
}

bool remove(const QString &number)
{
    const QStringList lines = load();
    QStringList kept;
    for (const QString &line : lines) {
        if (line != number)
            kept.append(line);
    }
    if (kept.size() == lines.size())
        return true;
    if (kept.isEmpty())
        return TextFile::remove(FilePath) || !TextFile::exists(FilePath);
    return bool(TextFile::writeLines(FilePath, kept));
}

} // namespace SubscriberList

AutoMailing::AutoMailing(Sender sender, QObject *parent)
    : QObject(parent)
    , m_sender(std::move(sender))
{
    m_timer.setSingleShot(true);
    connect(&m_timer, &QTimer::timeout, this, &AutoMailing::step);
}

qint64 AutoMailing::rangeBound(const QString &text)
{
    const QString digits = text.trimmed();
    if (digits.isEmpty() || digits.size() > MaxDigits)
        return -1;
    for (const QChar c : digits) {
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return -1;
    }
    return digits.toLongLong();
}

bool AutoMailing::startList(const QString &text, const QStringList &numbers)
{
    if (m_running || numbers.isEmpty())
        return false;
    m_numbers = numbers;
    m_first = -1;
    start(text, numbers.size());
    return true;
}

bool AutoMailing::startRange(const QString &text, qint64 first, qint64 last)
{
    if (m_running || first < 0 || last < first)
        return false;
    m_numbers.clear();
    m_first = first;
    start(text, last - first + 1);
    return true;
}

void AutoMailing::start(const QString &text, qint64 total)
{
    m_text = text;
    m_total = total;
    m_sent = 0;
    m_running = true;
    // The first message goes out from the event loop too, after the click that asked for it.
    m_timer.start(0);
}

void AutoMailing::stop()
{
    if (m_running)
        finish(false);
}

qint64 AutoMailing::msLeft() const
{
    if (!m_running)
        return 0;
    // Every message still due follows a pause, the next one included.
    return (m_total - m_sent) * qint64(m_pauseMs);
}

QString AutoMailing::numberAt(qint64 index) const
{
    return m_first >= 0 ? QString::number(m_first + index) : m_numbers.at(int(index));
}

void AutoMailing::step()
{
    if (!m_running)
        return;
    const qint64 index = m_sent;
    const QString number = numberAt(index);
    if (!m_sender(m_text, number)) {
        emit sendFailed(number);
        finish(false);
        return;
    }
    ++m_sent;
    emit sent(index, number);
    // A slot of sent() may have stopped the mailing.
    if (!m_running)
        return;
    if (m_sent >= m_total) {
        finish(true);
        return;
    }
    m_timer.start(m_pauseMs);
}

void AutoMailing::finish(bool completed)
{
    m_timer.stop();
    m_running = false;
    m_numbers.clear();
    emit finished(completed);
}
