#pragma once

#include "settings/featuresetups.h"

#include <QWidget>

class QFrame;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

// The redirect window "Редикет": the number that receives a copy of every message and
// whether the bot still answers such messages itself.
class Form18 : public QWidget
{
    Q_OBJECT
public:
    explicit Form18(QWidget *parent = nullptr);

    // "Применить": writes the redirect file; the window stays open.
    void Command1_Click();

    QFrame *Shape1 = nullptr;
    QFrame *Shape2 = nullptr;
    QLabel *Label1 = nullptr;
    QLineEdit *Text1 = nullptr;
    QLabel *Label2 = nullptr;
    QRadioButton *Option1 = nullptr;
    QRadioButton *Option2 = nullptr;
    QPushButton *Command1 = nullptr;

private:
    void Form_Load();

    RedirectSetup m_setup;
};
