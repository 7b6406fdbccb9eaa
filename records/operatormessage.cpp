#include "records/operatormessage.h"

#include "core/listfile.h"
#include "core/textfile.h"
#include "core/textrowsmodel.h"
#include "session/icqsession.h"

namespace {
const QString ContactBookPath = QStringLiteral("\\Списки пользователей\\Контакты.txt");
// One more than a view shows, so a cut text still shows as cut.
constexpr qsizetype ShownChars = TextRowsModel::MaxShownChars + 1;
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
    // A field longer than a box shows is taken only as far as it shows, so a hand-edited
    // line of megabytes is never copied whole.
    const auto shown = [](QStringView field) { return field.first(std::min(field.size(), ShownChars)).toString(); };
    QStringList items;
    for (const QString &line : TextFile::readLines(ContactBookPath)) {
        if (line.isEmpty())
            continue;
        const QStringView whole(line);
        const qsizetype nameEnd = whole.indexOf(ListFile::Separator);
        const QStringView name = nameEnd < 0 ? whole : whole.first(nameEnd);
        QStringView number;
        if (nameEnd >= 0) {
            const QStringView rest = whole.sliced(nameEnd + ListFile::Separator.size());
            const qsizetype numberEnd = rest.indexOf(ListFile::Separator);
            number = numberEnd < 0 ? rest : rest.first(numberEnd);
        }
        items.append(shown(number) + QStringLiteral(" - ") + shown(name));
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
