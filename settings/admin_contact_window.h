#pragma once

#include "settings/featuresetups.h"
#include "settings/featureboxes.h"

#include <QWidget>

class QCheckBox;
class QFrame;
class QLabel;
class QLineEdit;
class QPushButton;
class WindowHost;

// The administrator contact window "Связь с админом": the switch and the number that
// users' "!АДМИН" messages go to, and the help about it put into a command's answer.
class Form24 : public QWidget
{
    Q_OBJECT
public:
    explicit Form24(WindowHost &windows, QWidget *parent = nullptr);

    // "Применить": writes the switch and the number.
    void Command1_Click();
    // The help embedding window, set to the administrator contact's help.
    void Command2_Click();

    QLabel *Label1 = nullptr;
    QCheckBox *Check1 = nullptr;
    QFrame *Frame1 = nullptr;
    QLabel *Label2 = nullptr;
    QLineEdit *Text1 = nullptr;
    QLabel *Label3 = nullptr;
    QFrame *Line1 = nullptr;
    QFrame *Line2 = nullptr;
    QPushButton *Command1 = nullptr;
    QPushButton *Command2 = nullptr;

private:
    void Form_Load();

    WindowHost &m_windows;
    AdminContactSetup m_setup;
};
