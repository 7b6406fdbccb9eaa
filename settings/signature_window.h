#pragma once

#include "settings/featuresetups.h"

#include <QWidget>

class QCheckBox;
class QFrame;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

// The signature window "Подпись": signatures of which the bot puts one, picked at
// random, under each answer, after a separator.
class Form34 : public QWidget
{
    Q_OBJECT
public:
    explicit Form34(QWidget *parent = nullptr);

    // "Сохранить и применить": signatures on write the file, off delete it.
    void Command1_Click();

    QCheckBox *Check1 = nullptr;
    QFrame *Shape1 = nullptr;
    QFrame *Shape2 = nullptr;
    QFrame *Line1 = nullptr;
    QLabel *Label1 = nullptr;
    QPlainTextEdit *Text1 = nullptr;
    QLabel *Label2 = nullptr;
    QLineEdit *Text2 = nullptr;
    QLabel *Label3 = nullptr;
    QPushButton *Command1 = nullptr;

private:
    void Form_Load();

    SignatureSetup m_setup;
};
