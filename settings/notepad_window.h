#pragma once

#include "settings/featureboxes.h"

#include <QString>
#include <QWidget>

class QCheckBox;
class QComboBox;
class QFrame;
class QLabel;
class QPlainTextEdit;
class QPushButton;
class WindowHost;

// The notepad window "Блокнот": the notepad's switch, which acts at once, the notes of
// the users, and the help about the notepad put into a command's answer.
class Form23 : public QWidget
{
    Q_OBJECT
public:
    explicit Form23(WindowHost &windows, QWidget *parent = nullptr);

    // The box was clicked: the switch file is written or deleted.
    void Check1_Click();
    // "Просмотреть": the chosen number's note.
    void Command1_Click();
    // The help embedding window, set to the notepad's help.
    void Command2_Click();

    QLabel *Label1 = nullptr;
    QCheckBox *Check1 = nullptr;
    QFrame *Line1 = nullptr;
    QLabel *Label2 = nullptr;
    QLabel *Label3 = nullptr;
    QLabel *Label4 = nullptr;
    QFrame *Line2 = nullptr;
    QComboBox *Combo1 = nullptr;
    QPushButton *Command1 = nullptr;
    QPlainTextEdit *Text1 = nullptr;
    QPushButton *Command2 = nullptr;

private:
    void Form_Load();

    WindowHost &m_windows;
};
