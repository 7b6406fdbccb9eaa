#include "recordwindows/install.h"

#include "platform/windowhost.h"
#include "recordwindows/records_install.h"
#include "recordwindows/automailing_window.h"
#include "recordwindows/contactbook_window.h"
#include "recordwindows/statuschoice_window.h"
#include "recordwindows/visiblelist_window.h"
#include "session/icqsession.h"

#include <QPointer>
#include <QWidget>

void installRecordsWindows(WindowHost &host, const RecordsContext &context)
{
    // The records: blacklist, calendar, send message, statistics, user list, logs.
    installRecordWindows(host, context);

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
