#pragma once

#include "engine/answerengine.h"
#include "engine/webservices.h"
#include "files/subbotswitch.h"

#include <QObject>
#include <QString>

#include <optional>

class Random;

// "!bash [count]" or "!баш [count]": a few quotations picked at random from the
// quotation feed, handed to the answer timer for the user and slot that asked when
// the feed has arrived.
class QuotationBot : public QObject
{
    Q_OBJECT
public:
    static inline const QString &SwitchPath = SubBotSwitch::QuotationPath;
    static inline const QString OffText = QStringLiteral("BASH бот - отключен.");
    static inline const QString UnavailableText =
        QStringLiteral("BASH бот недоступен: адрес сервера цитат не настроен.");
    static inline const QString FailedText = QStringLiteral("Не удалось получить цитаты. Попробуйте позже.");
    static inline const QString NoneChosenText =
        QStringLiteral("Сейчас нет подходящих цитат. Попробуйте ещё раз.");
    static constexpr int DefaultCount = 5;
    static constexpr int MaxCount = 50;

    // context must outlive the bot.
    QuotationBot(const WebContext &context, QObject *parent = nullptr);

    // The pipeline stage: Stop for a quotation request, Continue for any other message.
    StageOutcome HandleQuotationRequest(MessageState &state);

    // The count text of a request ("" when it has none); nullopt for any other message.
    static std::optional<QString> countText(const QString &messageText);
    // How many quotations a count text asks for: a positive number, at most MaxCount;
    // DefaultCount for anything else.
    static int limitOf(const QString &countText);
    // The quotations the random rule picks from the items, at most limit of them.
    static QString choose(const QList<RssItem> &items, int limit, Random &random);

    int pendingLoads() const { return m_pending; }

private:
    void send(const MessageState &asker, const QString &text);
    void queue(const MessageState &asker, const QString &text);

    const WebContext &m_context;
    int m_pending = 0;
};
