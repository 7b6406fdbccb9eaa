#pragma once

#include <QObject>
#include <QString>
#include <QStringList>
#include <QTimer>

#include <functional>

// The subscriber file of the auto-mailing: one number per line as the operator typed it,
// in the order of adding; duplicates possible. A missing file is an empty list, and the
// file goes when its last line does.
namespace SubscriberList {

inline const QString FilePath = QStringLiteral("\\Подпрограммы\\Авторассылка.txt");

// Every line, empty ones included.
QStringList load();
// Appends the number as a line; false when the file could not be written.
bool add(const QString &number);
// Removes every line equal to the number (exact comparison); deletes the file when no
// line is left. False when the file could not be rewritten.
bool remove(const QString &number);

} // namespace SubscriberList

// One mailing: the same text to a list of numbers or to every number of a range, one
// message at a time with a pause between them, during which the event loop is free.
class AutoMailing : public QObject
{
    Q_OBJECT
public:
    static constexpr int DefaultPauseMs = 1500;
    // The longest range bound: an ICQ number has at most 15 digits.
    static constexpr int MaxDigits = 15;

    // Sends one text to one number; false when it could not go.
    using Sender = std::function<bool(const QString &text, const QString &number)>;

    explicit AutoMailing(Sender sender, QObject *parent = nullptr);

    void setPause(int ms) { m_pauseMs = ms; }
    int pause() const { return m_pauseMs; }

    // A range bound: 1 to 15 digits, blanks around them allowed; -1 for anything else.
    static qint64 rangeBound(const QString &text);

    // Starts mailing to the numbers in order. False, and nothing sent, while a mailing
    // runs or when there is no number.
    bool startList(const QString &text, const QStringList &numbers);
    // Starts mailing to first, first + 1, ... last. False while a mailing runs or when
    // last < first (nothing sent then either).
    bool startRange(const QString &text, qint64 first, qint64 last);
    // No further message goes out.
    void stop();

    bool isRunning() const { return m_running; }
    qint64 total() const { return m_total; }
    qint64 sentCount() const { return m_sent; }
    // The time the messages still due will take at the current pace.
    qint64 msLeft() const;

signals:
    // A message went out to the number; index counts from 0.
    void sent(qint64 index, const QString &number);
    // A message could not go out; the mailing ends with it.
    void sendFailed(const QString &number);
    // The mailing ended: every number reached (completed), stopped or failed.
    void finished(bool completed);

private:
    void start(const QString &text, qint64 total);
    void step();
    QString numberAt(qint64 index) const;
    void finish(bool completed);

    Sender m_sender;
    int m_pauseMs = DefaultPauseMs;
    QTimer m_timer;
    bool m_running = false;
    QString m_text;
    QStringList m_numbers; // list mode
    qint64 m_first = -1;   // range mode when >= 0
    qint64 m_total = 0;
    qint64 m_sent = 0;
};
