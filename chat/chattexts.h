#pragma once

#include <QString>
#include <QStringList>

// What the chat says: its replies, notices and the labels of its log lines, in one place
// for every part of the chat (and, through ChatService, for moderation and the tests).
struct ChatTexts
{
    // How the chat's texts join their lines and their pieces.
    static inline const QString CrLf = QStringLiteral("\r\n");
    static inline const QString Dash = QStringLiteral(" - ");

    static inline const QString ConnectedState = QStringLiteral("Да, подключен");

    // Replies and notices.
    static inline const QString AlreadyInChatText = QStringLiteral("Вы уже в чате.");
    static inline const QString NickBlankText = QStringLiteral("Регистрация ников с пробелами запрещена.");
    static inline const QString NickForbiddenText = QStringLiteral("Вы ввели запрщённые символы ':^:' (без кавычек)");
    static inline const QString NickTooLongText =
        QStringLiteral("Слишком длинный ник. Ограничение на длинну ника 15 символов.");
    static inline const QString OneNickText = QStringLiteral("Вы не можете зарегистрировать более одного ника.");
    static inline const QString NickTakenText = QStringLiteral("Такой ник уже занят.");
    // A member's change that could not be written: nothing changed.
    static inline const QString SaveFailedText = QStringLiteral("Не удалось сохранить, попробуйте позже.");
    static inline const QString NotRegisteredText = QStringLiteral("Вы ещё не зарегестрировались");
    static inline const QString JoinedText = QStringLiteral("Вы авторизовались в чате");
    static inline const QStringList RegisteredLines = {
        QStringLiteral("Благодарю за регистрацию! Теперь можете войти в чат."),
        QStringLiteral("Для входа введите: !chat"),
        QStringLiteral("Для выхода: !exit"),
        QStringLiteral("Для того чтобы проверить кто в комнате, введите: !inroom 0"),
        QStringLiteral("Сейчас вы уже в чате. Используйте !chat после того вы выдите или вас 'выкинет' из чата за "
                       "молчание."),
    };
    static inline const QString JoinNotice = QStringLiteral("К нам присоединился: ");
    static inline const QString LeaveNotice = QStringLiteral("Чат покинул : ");
    static inline const QString AutoMessageNotice = QStringLiteral("Автоматическое сообщение: ");
    static inline const QString ObscenityText =
        QStringLiteral("Программа обнаружила матное слово в вашем сообщении. Вы получаете предупреждение.");
    static inline const QString PrivateOffText =
        QStringLiteral("Функция отправки приватных сообщений не включена. Обратитесь к администратору бота.");
    static inline const QString NoSuchNickText = QStringLiteral("Человека с таким ником нет в чате.");
    static inline const QString PrivateLead = QStringLiteral("Вам приватное сообщение от: ");
    static inline const QString NoSuchMemberText = QStringLiteral("Такого участника не существует.");
    static inline const QString IgnoredText = QStringLiteral("Сообщения указаного участника не будут вам видны.");
    static inline const QString UnignoredText = QStringLiteral("Сообщения указаного участника будут вам видны.");
    static inline const QString FunctionOffText = QStringLiteral("Эта функция отключена");
    static inline const QString NobodyText = QStringLiteral("В чате ни кого нет.");
    static inline const QString HistoryHeading = QStringLiteral("История чата:");
    static inline const QString MemberListHeading = QStringLiteral("Список пользователей чата:");
    static inline const QString EmptyRoomText = QStringLiteral("В комнате пусто");
    static inline const QString BadInputText = QStringLiteral("Не правильный ввод данных.");
    static inline const QString NoRoomsText = QStringLiteral("В этом чате комнат нет.");
    static inline const QString NoSuchRoomText =
        QStringLiteral("Такой комнаты нет. Введите !allroom для проверки доступных комнат.");
    static inline const QString RoomChangedText = QStringLiteral("Вы перешли в другую комнату.");
    static inline const QString LeftText = QStringLiteral("Вы вышли из чата.");
    static inline const QString ReconnectedText =
        QStringLiteral("Бот востановил соединение, после обырва связи. Пожалуйста продолжайте разговор в чате.");

    // Labels of the chat log's event lines (after the date and time).
    static inline const QString LogRegistered = QStringLiteral(" Регистрация нового ника: ");
    static inline const QString LogJoined = QStringLiteral(" Авторизовался: ");
    static inline const QString LogPrivate = QStringLiteral(" Послано приватное сообщение от: ");
    static inline const QString LogHistoryRequest = QStringLiteral(" Сделан запрос на показ истории чата: от ");
    static inline const QString LogListRequest = QStringLiteral(" Сделан запрос на показ списка пользователей чата: от ");
    static inline const QString LogLeft = QStringLiteral(" Из чата вышел: от ");
};
