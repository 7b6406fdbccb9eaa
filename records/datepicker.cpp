#include "records/datepicker.h"

#include "core/datetexts.h"

DatePicker::DatePicker(QObject *parent)
    : QObject(parent)
{
}

void DatePicker::request(Requester requester)
{
    m_requester = requester;
    Q_EMIT requested(requester);
}

void DatePicker::pick(const QDate &date)
{
    const Requester waiting = m_requester;
    m_requester = Requester::None;
    if (waiting != Requester::None && date.isValid())
        Q_EMIT picked(waiting, DateTexts::dateText(date));
}
