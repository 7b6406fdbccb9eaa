#pragma once

#include "settings/autologinsettings.h"
#include "settings/logicpage.h"

class QCheckBox;
class QFrame;
class QLabel;
class QLineEdit;
class QPushButton;

// The auto-login page "Автовход" of the settings window: auto-login on or off and the
// number and password it logs in with. It shows AutoLoginSettings and forwards its
// "Применить"; a number the log-in cannot take is refused with a box.
class nast_a_v : public LogicPage<AutoLoginSettings>
{
    Q_OBJECT
public:
    static inline const QString Title = QStringLiteral("Автовход");

    explicit nast_a_v(QWidget *parent = nullptr);

    // "Применить": checks the number, then stores the page scrambled.
    void Command1_Click();

    QLabel *Label1 = nullptr;
    QLabel *Label2 = nullptr;
    QCheckBox *Check1 = nullptr;
    QLabel *Label3 = nullptr;
    QLineEdit *Text1 = nullptr;
    QLabel *Label4 = nullptr;
    QLineEdit *Text2 = nullptr;
    QPushButton *Command1 = nullptr;
    QFrame *Shape1 = nullptr;
    QFrame *Line1 = nullptr;
    QFrame *Line2 = nullptr;

private:
    void showValues(const Values &values) override;
    void takeValues(Values &values) const override;
};
