#include "recordwindows/install.h"

#include "platform/windowhost.h"
#include "records/blacklistbook.h"
#include "records/datepicker.h"
#include "recordwindows/automailing_window.h"
#include "recordwindows/blacklist_windows.h"
#include "recordwindows/calendar_window.h"
#include "recordwindows/contactbook_window.h"
#include "recordwindows/log_windows.h"
#include "recordwindows/send_message_window.h"
#include "recordwindows/statistics_windows.h"
#include "recordwindows/statuschoice_window.h"
#include "recordwindows/user_list_window.h"
#include "recordwindows/visiblelist_window.h"
#include "session/icqsession.h"

#include <QPointer>
#include <QWidget>

namespace {

// The window that asked for a date gets it, shown again (made afresh) if it was closed.
void deliverDate(WindowHost &host, DatePicker::Requester requester, const QString &dateText)
{
    switch (requester) {
    case DatePicker::Requester::Statistics:
        if (auto *window = host.show<Form16>(QStringLiteral("Form16")))
            window->setPickedDate(dateText);
        break;
    case DatePicker::Requester::Log:
        if (auto *window = host.show<Form7>(QStringLiteral("Form7")))
            window->setPickedDate(dateText);
        break;
    case DatePicker::Requester::NumberStatistics:
        if (auto *window = host.show<Form17>(QStringLiteral("Form17")))
            window->setPickedDate(dateText);
        break;
    case DatePicker::Requester::BlacklistEntry:
        if (auto *window = host.show<Form6>(QStringLiteral("Form6")))
            window->setPickedDate(dateText);
        break;
    case DatePicker::Requester::None:
        break;
    }
}

// The records: blacklist, calendar, send message, statistics, user list, logs. The
// blacklists' owner tells open windows of a change; the one date picker hands the
// calendar's date to the window that asked.
void installRecords(WindowHost &host, const RecordsContext &context)
{
    using Placement = WindowHost::Placement;
    const QPointer<BlacklistBook> blacklist(new BlacklistBook(context.owner));
    const QPointer<DatePicker> picker(new DatePicker(context.owner));
    QObject::connect(picker, &DatePicker::picked, picker,
                     [&host](DatePicker::Requester requester, const QString &dateText) {
                         deliverDate(host, requester, dateText);
                     });
    host.addWindow(QStringLiteral("Form6"), QStringLiteral("Добавление в чёрный список"), Placement::Child,
                   [blacklist, picker, &host](QWidget *parent) -> QWidget * {
                       return blacklist && picker ? new Form6(*blacklist, *picker, host, parent) : nullptr;
                   });
    host.registerFactory(QStringLiteral("Form5"), [blacklist, &host](QWidget *parent) -> QWidget * {
        return blacklist ? new Form5(*blacklist, host, parent) : nullptr;
    });
    host.addWindow(QStringLiteral("Form30"), QStringLiteral("Календарь"), Placement::Child,
                   [picker](QWidget *parent) -> QWidget * { return picker ? new Form30(*picker, parent) : nullptr; });
    IcqSession *session = &context.session;
    host.registerFactory(QStringLiteral("Form2"),
                         [session](QWidget *parent) -> QWidget * { return new Form2(*session, parent); });
    // The statistics window names its day in its caption; the listed caption is today's.
    host.registerFactory(QStringLiteral("Form16"), [picker, &host](QWidget *parent) -> QWidget * {
        return picker ? new Form16(*picker, host, parent) : nullptr;
    });
    host.addWindow(QStringLiteral("Form17"), QStringLiteral("Статистика UIN за Date"), Placement::Child,
                   [picker, &host](QWidget *parent) -> QWidget * {
                       return picker ? new Form17(*picker, host, parent) : nullptr;
                   });
    AnswerEngine *engine = &context.engine;
    host.registerFactory(QStringLiteral("Form28"), [engine, &host](QWidget *parent) -> QWidget * {
        return new Form28(*engine, host, parent);
    });
    host.registerFactory(QStringLiteral("Form7"), [picker, &host](QWidget *parent) -> QWidget * {
        return picker ? new Form7(*picker, host, parent) : nullptr;
    });
}

} // namespace

void installRecordsWindows(WindowHost &host, const RecordsContext &context)
{
    installRecords(host, context);

    // The people: auto-mailing, contact book, visible list, status choice.
    IcqSession *session = &context.session;
    host.registerFactory(QStringLiteral("Form19"), [session](QWidget *parent) -> QWidget * {
        // The mailing goes out from the main bot.
        return new Form19(
            [session](const QString &text, const QString &number) {
                return session->sendMessageOn(1, text, number);
            },
            parent);
    });
    const QPointer<ContactBook> book(new ContactBook(context.owner));
    host.registerFactory(QStringLiteral("Form37"), [book, &host](QWidget *parent) -> QWidget * {
        return book ? new Form37(*book, host, parent) : nullptr;
    });
    host.addWindow(
        QStringLiteral("Form38"), QStringLiteral("Добалвение контакта"), WindowHost::Placement::Child,
        [book](QWidget *parent) -> QWidget * { return book ? new Form38(*book, parent) : nullptr; });
    host.registerFactory(QStringLiteral("Form25"),
                         [](QWidget *parent) -> QWidget * { return new Form25(parent); });
    host.addWindow(QStringLiteral("Form3"), QStringLiteral("Сменить статус"), WindowHost::Placement::Child,
                   [setStatus = context.setStatus](QWidget *parent) -> QWidget * {
                       return new Form3(setStatus, parent);
                   });
}
