#pragma once

#include "engine/answerengine.h"
#include "engine/webservices.h"
#include "files/subbotswitch.h"

#include <QDate>
#include <QObject>
#include <QString>

#include <optional>

// "!погода <town>": the town's code from the city database, the forecast feed for it,
// four blocks (one per part of the day) sent back as one message to the user and slot
// that asked, when the feed has arrived.
class WeatherBot : public QObject
{
    Q_OBJECT
public:
    static inline const QString &SwitchPath = SubBotSwitch::WeatherPath;
    static inline const QString CityDatabasePath = QStringLiteral("\\погода.txt");
    static inline const QString Keyword = QStringLiteral("!ПОГОДА");
    static inline const QString OffText = QStringLiteral("Погодный бот - отключен.");
    static inline const QString NoTownText = QStringLiteral("Вы не ввели название города");
    static inline const QString TownNotFoundText = QStringLiteral("Населённый пункт не найден в БД.");
    static inline const QString UnavailableText =
        QStringLiteral("Погодный бот недоступен: адрес сервера погоды не настроен.");
    static inline const QString FailedText =
        QStringLiteral("Не удалось получить прогноз погоды. Попробуйте позже.");
    static constexpr int CodeLength = 5;
    static constexpr int Blocks = 4;

    // context must outlive the bot.
    WeatherBot(const WebContext &context, QObject *parent = nullptr);

    // The pipeline stage: Stop for a weather request (answered now or when the feed
    // arrives), Continue for any other message.
    StageOutcome HandleWeatherRequest(MessageState &state);

    // The first word, upper-cased, is the keyword.
    static bool isRequest(const QString &messageText);
    // The code of town in the city database text; nullopt when it is not there.
    static std::optional<QString> townCode(const QString &database, const QString &town);
    // The answer cut out of the feed's items; nullopt when they are too few or do not
    // have the forecast layout.
    static std::optional<QString> buildReply(const QList<RssItem> &items, const QDate &today);

    int pendingLoads() const { return m_pending; }

private:
    void reply(const MessageState &asker, const QString &text);

    const WebContext &m_context;
    int m_pending = 0;
};
