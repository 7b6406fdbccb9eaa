#pragma once

#include "engine/answerengine.h"
#include "engine/webservices.h"
#include "files/subbotswitch.h"

#include <QByteArray>
#include <QList>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QTimer>

#include <optional>

class QTcpSocket;

// "!кв": the dollar and euro rates cut out of the currency script, fetched with a
// plain HTTP request over a socket of its own. Everyone who asks while a fetch runs
// is answered from it, each on the slot that received the request.
class CurrencyBot : public QObject
{
    Q_OBJECT
public:
    static inline const QString &SwitchPath = SubBotSwitch::CurrencyPath;
    static inline const QString OffText = QStringLiteral("Бот круса валют - отключен.");
    static inline const QString UnavailableText =
        QStringLiteral("Бот курса валют недоступен: адрес сервера не настроен.");
    static inline const QString FailedText =
        QStringLiteral("Не удалось получить курс валют. Попробуйте позже.");
    static inline const QString Marker = QStringLiteral("var cur1=new Array");
    static constexpr quint16 DefaultPort = 80;
    // The reply is complete once the server has been quiet this long (or has closed).
    static constexpr int QuietMs = 1000;
    static constexpr qint64 MaxReplyBytes = 1024 * 1024;

    // context must outlive the bot.
    CurrencyBot(const WebContext &context, QObject *parent = nullptr);
    ~CurrencyBot() override;

    // The pipeline stage: Stop for a currency request, Continue for any other message.
    StageOutcome HandleCurrencyRequest(MessageState &state);

    static bool isRequest(const QString &messageText);
    // The request's bytes, header lines as the script's server expects them.
    static QByteArray requestBytes(const QString &host);
    // The answer cut out of the whole reply (status line, header and body); nullopt when
    // it does not hold the rates where they are expected.
    static std::optional<QString> ratesText(const QString &reply);

    void setQuietInterval(int ms) { m_quiet.setInterval(ms); }
    // Users waiting for the running fetch.
    int waiting() const { return int(m_requesters.size()); }

private:
    struct Requester
    {
        int slot = 0;
        QString uin;
    };

    void start(const QString &host, quint16 port);
    void finish();
    void answerAll(const QString &text);
    void send(int slot, const QString &uin, const QString &text);

    const WebContext &m_context;
    QList<Requester> m_requesters;
    QPointer<QTcpSocket> m_socket;
    QString m_host;
    QByteArray m_buffer;
    QTimer m_quiet;
    QTimer m_deadline;
};
