#pragma once

#include <QWidget>

class AdditionalCommandsList;
class LineFileModel;
class QCheckBox;
class QComboBox;
class QLabel;
class QListWidget;
class QPlainTextEdit;
class QPushButton;
class QListView;
class WindowHost;

// "Ответ на неизвестную команду": the reply a message gets when it matches no command.
class Form10 : public QWidget
{
    Q_OBJECT
public:
    explicit Form10(QWidget *parent = nullptr);

    void Command1_Click(); // "Сохранить"

    QPlainTextEdit *Text1 = nullptr;
    QPushButton *Command1 = nullptr;
};

// "Логи не известных команд": the messages that matched no command, a row per line of
// the log. The log only grows and may be large, so it is read a chunk per event-loop
// turn (the bot goes on answering meanwhile) and a row's text only when it is shown.
class Form29 : public QWidget
{
    Q_OBJECT
public:
    explicit Form29(QWidget *parent = nullptr);

    LineFileModel &log() { return *m_log; }

    QListView *Text1 = nullptr;

private:
    LineFileModel *m_log = nullptr;
};

// "Информация о боте": the answer to "ИНФОРМАЦИЯ О БОТЕ" and whether users may ask for it.
class Form35 : public QWidget
{
    Q_OBJECT
public:
    explicit Form35(QWidget *parent = nullptr);

    void Command1_Click(); // "Сохранить"

    QLabel *Label1 = nullptr;
    QPlainTextEdit *Text1 = nullptr;
    QCheckBox *Check1 = nullptr;
    QPushButton *Command1 = nullptr;
};

// "Добавочные команды": the commands ICQ users may extend with "!add".
class Form49 : public QWidget
{
    Q_OBJECT
public:
    Form49(AdditionalCommandsList &list, WindowHost &windows, QWidget *parent = nullptr);

    void Command1_Click(); // "Добавить": the add window
    void Command2_Click(); // "Справка"
    void Command3_Click(); // "Удалить"

    QLabel *Label1 = nullptr;
    QLabel *Label2 = nullptr;
    QListWidget *List1 = nullptr;
    QPushButton *Command1 = nullptr;
    QPushButton *Command2 = nullptr;
    QPushButton *Command3 = nullptr;

private:
    WindowHost &m_windows;
};

// A group box and the list of that group's commands, as the add window and the help
// embedding window offer them. The list always shows the commands of the group named
// in the box, so the button acts only on a command of the group it names.
class GroupCommandPicker : public QWidget
{
    Q_OBJECT
public:
    explicit GroupCommandPicker(QWidget *parent = nullptr);

    QString group() const;
    // The selected command; empty when none is selected.
    QString selectedCommand() const;

    QComboBox *Combo1 = nullptr;
    QListWidget *List1 = nullptr;

Q_SIGNALS:
    void selectionChanged(bool commandSelected);

private:
    void listGroup(const QString &group);
};

// "Добавить команду в список": appends a group and command to the additional commands.
class Form50 : public GroupCommandPicker
{
    Q_OBJECT
public:
    Form50(AdditionalCommandsList &list, QWidget *parent = nullptr);

    void Command1_Click(); // "Добавить"

    QPushButton *Command1 = nullptr;

private:
    AdditionalCommandsList &m_list;
};

// "Встроить помощь": writes the help of a built-in function into a command's answer.
class Form36 : public GroupCommandPicker
{
    Q_OBJECT
public:
    explicit Form36(QWidget *parent = nullptr);

    void Command1_Click(); // "Встроить помощь"

    QLabel *Label1 = nullptr;
    QLabel *Label2 = nullptr;
    QPushButton *Command1 = nullptr;
};
