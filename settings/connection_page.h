#pragma once

#include "settings/connectionsettings.h"
#include "settings/logicpage.h"

class QCheckBox;
class QComboBox;
class QFrame;
class QLabel;
class QLineEdit;
class QPushButton;

// The connection page "Основные настройки" of the settings window: login server and
// port, reconnect watchdog, start with the session, update check, start in the tray.
// It shows ConnectionSettings and forwards its "Применить".
class nast_v : public LogicPage<ConnectionSettings>
{
    Q_OBJECT
public:
    static inline const QString Title = QStringLiteral("Основные настройки");
    static inline const QString ServerPrompt = QStringLiteral("Выберите или введите сервер");

    explicit nast_v(QWidget *parent = nullptr);

    // "Применить": stores the page, sets or removes the autostart entry.
    void Command1_Click();

    QLabel *Label1 = nullptr;
    QLabel *Label3 = nullptr;
    QLabel *Label4 = nullptr;
    QComboBox *Combo1 = nullptr;
    QLabel *Label5 = nullptr;
    QLineEdit *Text2 = nullptr;
    QCheckBox *Check5 = nullptr;
    QLabel *Label2 = nullptr;
    QLineEdit *Text1 = nullptr;
    QLabel *Label6 = nullptr;
    QCheckBox *Check1 = nullptr;
    QCheckBox *Check2 = nullptr;
    QCheckBox *Check4 = nullptr;
    QPushButton *Command1 = nullptr;
    QFrame *Shape1 = nullptr;
    QFrame *Line1 = nullptr;
    QFrame *Line2 = nullptr;

private:
    void showValues(const Values &values) override;
    void takeValues(Values &values) const override;
    // A save puts a server in place of the prompt: the page shows it.
    void afterSave() override;
};
