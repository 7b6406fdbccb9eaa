#pragma once

#include "settings/botnumbers.h"
#include "settings/settingspage.h"

class QFrame;
class QLabel;
class QListWidget;
class QPushButton;

// The bot numbers page "Распределение" of the settings window: the secondary bot
// numbers and their passwords. It shows BotNumbers and forwards the buttons; the list
// is read by load(), when the settings window loads, and written only by "Применить".
class UserControl5 : public SettingsPage
{
    Q_OBJECT
public:
    static inline const QString ErrorTitle = QStringLiteral("Ошибка");
    static inline const QString EmptyListText = QStringLiteral("В списке должен быть хотя бы 1 номер.");
    static inline const QString SavedTitle = QStringLiteral("Распределение");
    static inline const QString SavedText =
        QStringLiteral("Настройки сохранены. Чтобы не возникло ошибок, не обходимо из бота выйти и "
                       "запустить программу заново.");
    static inline const QString WriteFailedText =
        QStringLiteral("Не удалось сохранить список номеров (%1). Прежний список остался без изменений.");
    static inline const QString NumberTitle = QStringLiteral("UIN");
    static inline const QString NumberPrompt = QStringLiteral("Введите ICQ номер бота");
    static inline const QString PasswordTitle = QStringLiteral("Пароль");
    static inline const QString PasswordPrompt = QStringLiteral("Введите пароль к боту");

    // An empty list until load().
    explicit UserControl5(QWidget *parent = nullptr);

    BotNumbers &botNumbers() { return m_numbers; }
    // What the last "Добавить" did with the two boxes.
    BotNumbers::AddOutcome lastAdd() const { return m_lastAdd; }

    // Fills the list from the distribution list.
    void load() override;
    // Writes the distribution list: refused for an empty list.
    SaveResult save() override;
    // No rows.
    void defaults() override;
    bool hasChanged() const override;

    // "Добавить": asks for the number, then the password, and adds the row.
    void Command2_Click();
    // "Удалить": removes the selected row.
    void Command3_Click();
    // "Применить": writes the distribution list and says how it went.
    void Command1_Click();

    QLabel *Label1 = nullptr;
    QLabel *Label2 = nullptr;
    QListWidget *List1 = nullptr;
    QPushButton *Command2 = nullptr;
    QPushButton *Command3 = nullptr;
    QPushButton *Command1 = nullptr;
    QFrame *Shape1 = nullptr;
    QFrame *Line1 = nullptr;
    QFrame *Line2 = nullptr;

private:
    void showRows();
    void followSelection();

    BotNumbers m_numbers;
    BotNumbers::AddOutcome m_lastAdd = BotNumbers::AddOutcome::NothingEntered;
};
