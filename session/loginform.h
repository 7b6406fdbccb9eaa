#pragma once

#include "session/credentials.h"

#include <QString>

#include <optional>

class IcqSession;

// What the login window "Вход" does, without the window: the button's log-in, the
// remembered login it shows when it becomes active, and the login server it uses.
class LoginForm
{
public:
    enum class Outcome {
        Started,            // the login connection is opening
        NoDistributionList, // no secondary bots: no log-in; the settings' distribution page should open
        BadNumber,          // the number box does not hold an ICQ number
    };
    using Credentials = ::Credentials;
    using Server = ServerAddress;

    static inline const QString DistributionTitle = QStringLiteral("Ощибка");
    static inline const QString DistributionText = QStringLiteral(
        "Бот с версии 1.9 является многономерным. Теперь для входа нужно не только ввести номер главно бота, "
        "но и как минимум 1 второстепенный.");
    static inline const QString ErrorTitle = QStringLiteral("Ошибка");
    static inline const QString BadNumberText = QStringLiteral("Введён не правильный формат ICQ номера");

    // The entry of our own address file that names the standard login server.
    static inline const QString LoginServerKey = QStringLiteral("LoginServer");
    static inline const QString FallbackLoginHost = QStringLiteral("login.icq.com");

    explicit LoginForm(IcqSession &session);

    // The button's log-in with the boxes' texts. On Started the bot being logged in is
    // MainUin and MainPassword, on its fixed slot (slot()).
    Outcome submit(const QString &number, const QString &password, bool remember);
    int slot() const { return m_slot; }

    // What the boxes show when the window becomes active: the remembered login file, or
    // the stored login file decoded. Only shown: the session's login state is left alone.
    std::optional<Credentials> rememberedLogin() const;

    // Server and Port of the general settings file; the standard login server (our
    // address file, else login.icq.com) and 5190 for what it does not name.
    static Server loginServer();
    static bool distributionListEmpty();
    // The number box's text as an ICQ number, by the one number rule of every log-in
    // (DistributionList::loginNumber).
    static std::optional<qint32> numberFromText(const QString &text);

private:
    IcqSession &m_session;
    int m_slot = 0;
};
