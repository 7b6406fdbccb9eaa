#pragma once

#include <QObject>
#include <QString>
#include <QStringList>
#include <QTimer>

class IcqSession;

// A message the operator writes by hand in the send-message window: it goes out from
// the main bot (slot 1) to the recipient at once, and its copies follow one per tick of
// a 100 ms timer, also from the main bot.
class OperatorMessage : public QObject
{
    Q_OBJECT
public:
    static constexpr int CopyIntervalMs = 100;

    explicit OperatorMessage(IcqSession &session, QObject *parent = nullptr);

    // The recipient box's number: the text before its first " -" ("12345 - Вася"), else
    // the whole text.
    static QString recipientOf(const QString &boxText);
    // The text that goes out: the message alone, or with its subject in front.
    static QString outgoingText(const QString &subject, const QString &message);
    // The copies box with a ";" at its end, as the window shows it after a send.
    static QString closedCopies(const QString &copies);
    // The numbers of a copies box: entries between ";" with the blanks around them
    // trimmed; leading zeros dropped; entries that are not 1 to 15 digits are skipped.
    static QStringList copyNumbers(const QString &copies);
    // The recipient box's items: "<number> - <name>" per contact of the contact book.
    static QStringList contactItems();

    // Sends the message; nothing happens (false) when the recipient or the message is
    // empty. The copies start unless a run of copies is still going, which is left to
    // end as it was. True when the message was handed to the main bot's session.
    bool send(const QString &recipientBox, const QString &copies, const QString &subject, const QString &message);

    bool copiesRunning() const { return m_timer.isActive(); }

Q_SIGNALS:
    // One message left for number (the first one and every copy).
    void sent(const QString &number, bool ok);
    // The last copy of a run went out.
    void copiesDone();

private:
    void sendNextCopy();
    bool sendFromMainBot(const QString &number, const QString &text);

    IcqSession &m_session;
    QTimer m_timer;
    QStringList m_pending;
    QString m_text;
};
