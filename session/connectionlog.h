#pragma once

#include <QString>

#include <optional>

// The day's connection log "\Логи\<date>.txt": newest line first, nothing reads it back.
namespace ConnectionLog {

inline const QString LogInText = QStringLiteral("Вы подключились к серверу.");
inline const QString LogOffText = QStringLiteral("Вы отключились от сервера.");

// Lines of the log-ins and sessions that ended without the operator; %1 is the number.
inline const QString RefusedText = QStringLiteral("Сервер отказал во входе номеру %1, код ошибки: %2.");
inline const QString NoConnectionText = QStringLiteral("Вход номера %1 прерван: нет соединения с сервером.");
inline const QString LoginClosedText =
    QStringLiteral("Вход номера %1 прерван: сервер входа закрыл соединение без ответа.");
inline const QString SignOnCutText = QStringLiteral("Вход номера %1 прерван: сервер закрыл соединение.");
inline const QString TimedOutText = QStringLiteral("Вход номера %1 прерван: сервер не ответил вовремя.");
inline const QString SessionClosedText = QStringLiteral("Сервер разорвал соединение номера %1.");
inline const QString SignedOffText = QStringLiteral("Сервер отключил номер %1.");
inline const QString AnotherClientText =
    QStringLiteral("Сервер отключил номер %1: с этим номером вошёл другой клиент.");
inline const QString ProbeLostText =
    QStringLiteral("Пробное сообщение номера %1 не вернулось: соединение считается потерянным.");

// The refusal line: the error code of the login reply as four hex digits.
QString refusedLine(const QString &number, std::optional<quint16> errorCode);

// The day's log file, named by the clock's date.
QString filePath();
// Puts "<date> - <time> - <event>" in front of the day's log; false when it cannot be written.
bool prepend(const QString &event);

} // namespace ConnectionLog
