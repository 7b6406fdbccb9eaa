#pragma once

#include "settings/popupsettings.h"
#include "settings/logicpage.h"

class QCheckBox;
class QFrame;
class QLabel;
class QLineEdit;
class QPushButton;

// The human-imitation page "Имитация человека" of the settings window: a delay before
// each answer, on or off, and its length. It shows ImitationSettings; the answer engine
// times the next answer by what "Применить" stored.
class nast_d_v : public LogicPage<ImitationSettings>
{
    Q_OBJECT
public:
    static inline const QString Title = QStringLiteral("Имитация человека");

    explicit nast_d_v(QWidget *parent = nullptr);

    // "Применить".
    void Command1_Click();

    QLabel *Label1 = nullptr;
    QLabel *Label2 = nullptr;
    QCheckBox *Check1 = nullptr;
    QLabel *Label4 = nullptr;
    QLineEdit *Text1 = nullptr;
    QLabel *Label5 = nullptr;
    QPushButton *Command1 = nullptr;
    QFrame *Shape1 = nullptr;
    QFrame *Shape2 = nullptr;
    QFrame *Line1 = nullptr;
    QFrame *Line2 = nullptr;

private:
    void showValues(const Values &values) override;
    void takeValues(Values &values) const override;
};
