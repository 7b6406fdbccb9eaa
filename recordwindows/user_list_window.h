#pragma once

#include <QWidget>

class QFrame;
class QListWidget;
class QPushButton;
class AnswerEngine;
class WindowHost;

// "Список пользователей": every number that wrote to the bot since the program started,
// kept current while the window is open; a number's messages of today, or a message to it.
class Form28 : public QWidget
{
    Q_OBJECT
public:
    Form28(AnswerEngine &engine, WindowHost &windows, QWidget *parent = nullptr);

    // The list afresh from the user file; the selected number stays selected.
    void refill();

    void Command1_Click(); // "Просмотреть историю"
    void Command2_Click(); // "Написать сообщение"

    QListWidget *List1 = nullptr;
    QFrame *Line1 = nullptr;
    QPushButton *Command1 = nullptr;
    QPushButton *Command2 = nullptr;

private:
    QString selectedNumber() const;
    void updateButtons();

    WindowHost &m_windows;
};
