#pragma once

#include <QString>
#include <QWidget>

class DayChart;
class QLabel;
class QLineEdit;
class QListWidget;
class QPlainTextEdit;
class QPushButton;
class DatePicker;
class WindowHost;

// "Статистика за : <date>": one day's requests and distinct numbers, a chart of the
// requests of the two weeks up to that day, and a number's messages of a chosen date.
class Form16 : public QWidget
{
    Q_OBJECT
public:
    Form16(DatePicker &picker, WindowHost &windows, QWidget *parent = nullptr);

    static constexpr int ChartDays = 14;

    // The date picker's answer.
    void setPickedDate(const QString &dateText);
    // The day on show.
    QString shownDay() const { return m_shownDay; }

    void Command1_Click(); // "Открыть"
    void Command2_Click(); // "Просмотреть сообщения"
    void Command3_Click(); // "Выбрать дату"

    QLabel *Label7 = nullptr;
    QLineEdit *Text1 = nullptr;
    QPushButton *Command1 = nullptr;
    QLabel *Label1 = nullptr;
    QLabel *Label2 = nullptr;
    QLabel *Label5 = nullptr;
    QLabel *Label3 = nullptr;
    QLabel *Label6 = nullptr;
    QLabel *Label4 = nullptr;
    QLabel *Label8 = nullptr;
    QListWidget *List1 = nullptr;
    QLabel *Label11 = nullptr;
    QLineEdit *Text2 = nullptr;
    QPushButton *Command3 = nullptr;
    QPushButton *Command2 = nullptr;
    DayChart *Chart1 = nullptr;

private:
    void showDay(const QString &dateText);

    DatePicker &m_picker;
    WindowHost &m_windows;
    QString m_shownDay;
};

// "Статистика <number> за <date>": one number's messages, narrowed to a date and an
// exact time. It keeps the number it was opened for.
class Form17 : public QWidget
{
    Q_OBJECT
public:
    Form17(DatePicker &picker, WindowHost &windows, QWidget *parent = nullptr);

    // The statistics and user list windows: that number's messages of that date.
    void openMessages(const QString &uin, const QString &dateText);
    QString number() const { return m_uin; }
    // The date picker's answer.
    void setPickedDate(const QString &dateText);

    void Command1_Click(); // "Поиск"
    void Command2_Click(); // "Выбрать дату"

    QLabel *Label1 = nullptr;
    QLineEdit *Text2 = nullptr;
    QPushButton *Command2 = nullptr;
    QLabel *Label2 = nullptr;
    QLineEdit *Text3 = nullptr;
    QPushButton *Command1 = nullptr;
    QPlainTextEdit *Text1 = nullptr;
    DayChart *Chart1 = nullptr;

private:
    void updateChart(const QString &dateText);

    DatePicker &m_picker;
    WindowHost &m_windows;
    QString m_uin;
};
