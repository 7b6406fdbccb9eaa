#pragma once

#include <QWidget>

class MessageLogModel;
class QLabel;
class QLineEdit;
class QTreeView;
class QPushButton;
class DatePicker;
class WindowHost;

// "Логи": the message log, newest first, all of it or one day. The log may be large, so
// the window shows it through a model that reads it a chunk per event-loop turn.
class Form7 : public QWidget
{
    Q_OBJECT
public:
    Form7(DatePicker &picker, WindowHost &windows, QWidget *parent = nullptr);

    // The date picker's answer.
    void setPickedDate(const QString &dateText);
    MessageLogModel &log() { return *m_log; }

    void Command1_Click(); // "Показать"
    void Command2_Click(); // "Выбрать дату"

    QLabel *Label1 = nullptr;
    QLineEdit *Text2 = nullptr;
    QPushButton *Command2 = nullptr;
    QPushButton *Command1 = nullptr;
    QTreeView *Text1 = nullptr; // a view that lays out only the rows on screen

private:
    DatePicker &m_picker;
    WindowHost &m_windows;
    MessageLogModel *m_log = nullptr;
};
