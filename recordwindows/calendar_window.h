#pragma once

#include <QWidget>

class QCalendarWidget;
class RecordsHub;

// "Календарь": the one date picker. A click on a date hands it to the window that asked
// last (through the hub's DatePicker) and hides the calendar; it stays loaded, so it
// keeps the date picked last.
class Form30 : public QWidget
{
    Q_OBJECT
public:
    explicit Form30(RecordsHub &hub, QWidget *parent = nullptr);

    void Calendar1_Click();

    QCalendarWidget *Calendar1 = nullptr;

private:
    RecordsHub &m_hub;
};
