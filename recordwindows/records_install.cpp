#include "recordwindows/records_install.h"

#include "recordwindows/blacklist_windows.h"
#include "recordwindows/calendar_window.h"
#include "recordwindows/install.h"
#include "recordwindows/log_windows.h"
#include "recordwindows/send_message_window.h"
#include "recordwindows/statistics_windows.h"
#include "recordwindows/user_list_window.h"

#include <QPointer>

RecordsHub::RecordsHub(WindowHost &host, IcqSession &session, AnswerEngine &engine, QObject *parent)
    : QObject(parent)
    , m_host(host)
    , m_session(session)
    , m_engine(engine)
{
    connect(&m_picker, &DatePicker::picked, this, &RecordsHub::deliverDate);
}

void RecordsHub::deliverDate(DatePicker::Requester requester, const QString &dateText)
{
    // The window that asked gets the date, shown again (made afresh) if it was closed.
    switch (requester) {
    case DatePicker::Requester::Statistics:
        if (auto *window = m_host.show<Form16>(QStringLiteral("Form16")))
            window->setPickedDate(dateText);
        break;
    case DatePicker::Requester::Log:
        if (auto *window = m_host.show<Form7>(QStringLiteral("Form7")))
            window->setPickedDate(dateText);
        break;
    case DatePicker::Requester::NumberStatistics:
        if (auto *window = m_host.show<Form17>(QStringLiteral("Form17")))
            window->setPickedDate(dateText);
        break;
    case DatePicker::Requester::BlacklistEntry:
        if (auto *window = m_host.show<Form6>(QStringLiteral("Form6")))
            window->setPickedDate(dateText);
        break;
    case DatePicker::Requester::None:
        break;
    }
}

void installRecordWindows(WindowHost &host, const RecordsContext &context)
{
    const QPointer<RecordsHub> hub(new RecordsHub(host, context.session, context.engine, context.owner));
    using Placement = WindowHost::Placement;
    const auto make = [hub](auto construct) {
        return [hub, construct](QWidget *parent) -> QWidget * { return hub ? construct(*hub, parent) : nullptr; };
    };
    host.addWindow(QStringLiteral("Form6"), QStringLiteral("Добавление в чёрный список"), Placement::Child,
                   make([](RecordsHub &h, QWidget *parent) -> QWidget * { return new Form6(h, parent); }));
    host.registerFactory(QStringLiteral("Form5"),
                         make([](RecordsHub &h, QWidget *parent) -> QWidget * { return new Form5(h, parent); }));
    host.addWindow(QStringLiteral("Form30"), QStringLiteral("Календарь"), Placement::Child,
                   make([](RecordsHub &h, QWidget *parent) -> QWidget * { return new Form30(h, parent); }));
    host.registerFactory(QStringLiteral("Form2"),
                         make([](RecordsHub &h, QWidget *parent) -> QWidget * { return new Form2(h, parent); }));
    // The statistics window names its day in its caption; the listed caption is today's.
    host.registerFactory(QStringLiteral("Form16"),
                         make([](RecordsHub &h, QWidget *parent) -> QWidget * { return new Form16(h, parent); }));
    host.addWindow(QStringLiteral("Form17"), QStringLiteral("Статистика UIN за Date"), Placement::Child,
                   make([](RecordsHub &h, QWidget *parent) -> QWidget * { return new Form17(h, parent); }));
    host.registerFactory(QStringLiteral("Form28"),
                         make([](RecordsHub &h, QWidget *parent) -> QWidget * { return new Form28(h, parent); }));
    host.registerFactory(QStringLiteral("Form7"),
                         make([](RecordsHub &h, QWidget *parent) -> QWidget * { return new Form7(h, parent); }));
}
