#include "recordwindows/calendar_window.h"

#include "core/clock.h"
#include "platform/windowkit.h"
#include "records/datepicker.h"

#include <QCalendarWidget>
#include <QVBoxLayout>

Form30::Form30(DatePicker &picker, QWidget *parent)
    : QWidget(parent)
    , m_picker(picker)
{
    setWindowTitle(QStringLiteral("Календарь"));
    Calendar1 = WindowKit::named(new QCalendarWidget(this), "Calendar1");
    Calendar1->setSelectedDate(Clock::instance().today());
    Calendar1->setFirstDayOfWeek(Qt::Monday);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(Calendar1);
    connect(Calendar1, &QCalendarWidget::clicked, this, &Form30::Calendar1_Click);
    connect(Calendar1, &QCalendarWidget::activated, this, &Form30::Calendar1_Click);
}

void Form30::Calendar1_Click()
{
    const QDate date = Calendar1->selectedDate();
    WindowKit::hideInFrame(this);
    m_picker.pick(date);
}
