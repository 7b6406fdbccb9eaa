#pragma once

#include <QObject>
#include <QString>

class IcqSession;
class MDIForm1;

// The "Сменить статус" and "Режим бота" items and "Запоминать статус при выходе".
class StatusCommands : public QObject
{
    Q_OBJECT
public:
    static inline const QString ModeFile = QStringLiteral("\\Настройки\\Режим.txt");
    static inline const QString AutoResponderFile = QStringLiteral("\\Настройки\\Автоответчик.txt");
    static inline const QString AutoResponderTitle = QStringLiteral("Автоответчик");
    static inline const QString AutoResponderPrompt = QStringLiteral("Введите сообщение автответчика");

    StatusCommands(MDIForm1 &window, IcqSession &session, QObject *parent = nullptr);

    // "Статус бота: ..." of a status code; empty for another code.
    static QString statusText(int code);

    // A status item: sent on every bot, then shown.
    void setStatus(int code);
    // The check marks and the status bar for a status, nothing sent. The status bar
    // changes only while the main bot is signed on.
    void showStatus(int code);

    // "Команды" ("1") and "Зеркало" ("3").
    void chooseMode(const QString &mode);
    // "Автоответчик": asks for the text; an empty answer changes nothing.
    void chooseAutoResponder();
    QString BotMode() const { return m_botMode; }
    // The mode restored at start: the check marks follow, no file is written.
    void setBotMode(const QString &mode);

    // "Запоминать статус при выходе".
    void zap_st_m_Click();

signals:
    void botModeChanged(const QString &mode);

private:
    void checkMode(const QString &mode);

    MDIForm1 &m_window;
    IcqSession &m_session;
    QString m_botMode = QStringLiteral("1");
};
