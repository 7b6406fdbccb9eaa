#include "records/operatormessage.h"

#include "core/listfile.h"
#include "core/textfile.h"
#include "session/icqsession.h"

namespace {
const QString ContactBookPath = QStringLiteral("\\Списки пользователей\\Контакты.txt");
} // namespace

OperatorMessage::OperatorMessage(IcqSession &session, QObject *parent)
    : QObject(parent)
    , m_session(session)
{
    m_timer.setInterval(CopyIntervalMs);
    connect(&m_timer, &QTimer::timeout, this, &OperatorMessage::sendNextCopy);
}

QString OperatorMessage::recipientOf(const QString &boxText)
{
    const qsizetype dash = boxText.indexOf(QStringLiteral(" -"));
    return dash < 0 ? boxText : boxText.left(dash);
}

QString OperatorMessage::outgoingText(const QString &subject, const QString &message)
{
    if (subject.isEmpty())
        return message;
    return QStringLiteral("Тема письма: ") + subject + QStringLiteral("\r\nСообщение: ") + message;
}

QString OperatorMessage::closedCopies(const QString &copies)
{
    if (copies.isEmpty() || copies.endsWith(QLatin1Char(';')))
        return copies;
    return copies + QLatin1Char(';');
}

QStringList OperatorMessage::copyNumbers(const QString &copies)
{
    QStringList numbers;
    for (const QString &entry : copies.split(QLatin1Char(';'))) {
        const QString number = entry.trimmed();
        bool digits = !number.isEmpty() && number.size() <= 15;
        for (const QChar c : number)
            digits = digits && c >= QLatin1Char('0') && c <= QLatin1Char('9');
        if (digits)
            numbers.append(QString::number(number.toLongLong()));
    }
    return numbers;
}

QStringList OperatorMessage::contactItems()
{
    QStringList items;
    for (const QString &line : TextFile::readLines(ContactBookPath)) {
        if (line.isEmpty())
            continue;
        const QStringList fields = ListFile::split(line);
        items.append(fields.value(1) + QStringLiteral(" - ") + fields.value(0));
    }
    return items;
}

bool OperatorMessage::send(const QString &recipientBox, const QString &copies, const QString &subject,
                           const QString &message)
{
    if (recipientBox.isEmpty() || message.isEmpty())
        return false;
    const QString text = outgoingText(subject, message);
    const bool ok = sendFromMainBot(recipientOf(recipientBox), text);
    if (!m_timer.isActive()) {
        m_pending = copyNumbers(copies);
        m_text = text;
        if (!m_pending.isEmpty())
            m_timer.start();
    }
    return ok;
}

void OperatorMessage::sendNextCopy()
{
    if (m_pending.isEmpty()) {
        m_timer.stop();
        Q_EMIT copiesDone();
        return;
    }
    sendFromMainBot(m_pending.takeFirst(), m_text);
    if (m_pending.isEmpty()) {
        m_timer.stop();
        Q_EMIT copiesDone();
    }
}

bool OperatorMessage::sendFromMainBot(const QString &number, const QString &text)
{
    const bool ok = m_session.sendMessageOn(1, text, number);
    Q_EMIT sent(number, ok);
    return ok;
}
