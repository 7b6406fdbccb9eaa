#pragma once

#include <QList>
#include <QWidget>

class AutoMessagesEditor;
class ChatService;
class NamedTimer;
class QCheckBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

// "Допополнительные настройки чата": the eleven chat options and a live example of the
// chat line's prefix.
class Form42 : public QWidget
{
    Q_OBJECT
public:
    explicit Form42(QWidget *parent = nullptr);

    void Command1_Click(); // "Применить"
    void Timer1_Timer();   // rebuilds the example

    // The boxes in the order of the option file's lines 1 to 11.
    QList<QCheckBox *> optionBoxes() const;

    QCheckBox *Check1 = nullptr;
    QCheckBox *Check2 = nullptr;
    QCheckBox *Check3 = nullptr;
    QCheckBox *Check4 = nullptr;
    QCheckBox *Check5 = nullptr;
    QCheckBox *Check6 = nullptr;
    QCheckBox *Check7 = nullptr;
    QCheckBox *Check8 = nullptr;
    QCheckBox *Check9 = nullptr;
    QCheckBox *Check10 = nullptr;
    QCheckBox *Check11 = nullptr;
    QLabel *Label3 = nullptr; // the example
    QPushButton *Command1 = nullptr;
    NamedTimer *Timer1 = nullptr;
};

// "Лог чата": the chat log as it stood when the window opened, and its deletion.
class Form43 : public QWidget
{
    Q_OBJECT
public:
    Form43(ChatService &service, QWidget *parent = nullptr);

    void Command1_Click(); // "Удалить логи"

    QPlainTextEdit *Text1 = nullptr;
    QPushButton *Command1 = nullptr;

private:
    ChatService &m_service;
};

// "Добавление автосообщения": adds one auto-message entry.
class Form51 : public QWidget
{
    Q_OBJECT
public:
    Form51(AutoMessagesEditor &editor, QWidget *parent = nullptr);

    void Command1_Click(); // "Добавить"

    QLineEdit *Text1 = nullptr; // the text
    QLineEdit *Text2 = nullptr; // the count
    QLineEdit *Text3 = nullptr; // hint
    QLineEdit *Text4 = nullptr; // the direction
    QPushButton *Command1 = nullptr;

private:
    AutoMessagesEditor &m_editor;
};
