#pragma once

#include <QWidget>

class QCalendarWidget;
class DatePicker;

// "Календарь": the one date picker. A click on a date hands it to the window that asked
// last (through the hub's DatePicker) and hides the calendar; it stays loaded, so it
// keeps the date picked last.
class Form30 : public QWidget
{
    Q_OBJECT
public:
    explicit Form30(DatePicker &picker, QWidget *parent = nullptr);

    void Calendar1_Click();

    QCalendarWidget *Calendar1 = nullptr;

private:
    DatePicker &m_picker;
};
