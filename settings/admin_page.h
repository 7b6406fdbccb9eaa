#pragma once

#include "settings/adminsettings.h"
#include "settings/logicpage.h"

class QFrame;
class QLabel;
class QLineEdit;
class QPushButton;

// The administrator page "Администраторский раздел" of the settings window: the number
// and password of the power commands. It shows AdminSettings; the answer engine obeys
// what "Применить" stored from the next message on.
class UserControl4 : public LogicPage<AdminSettings>
{
    Q_OBJECT
public:
    static inline const QString Title = QStringLiteral("Администраторский раздел");

    explicit UserControl4(QWidget *parent = nullptr);

    // "Применить".
    void Command1_Click();

    QLabel *Label1 = nullptr;
    QLabel *Label2 = nullptr;
    QLineEdit *Text1 = nullptr;
    QLabel *Label3 = nullptr;
    QLineEdit *Text2 = nullptr;
    QLabel *Label4 = nullptr;
    QLabel *Label5 = nullptr;
    QLabel *Label6 = nullptr;
    QLabel *Label7 = nullptr;
    QLabel *Label8 = nullptr;
    QLabel *Label9 = nullptr;
    QLabel *Label10 = nullptr;
    QLabel *Label11 = nullptr;
    QPushButton *Command1 = nullptr;
    QFrame *Shape1 = nullptr;
    QFrame *Line1 = nullptr;
    QFrame *Line2 = nullptr;

private:
    void showValues(const Values &values) override;
    void takeValues(Values &values) const override;
};
