#include "recordwindows/install.h"

#include "platform/windowhost.h"
#include "recordwindows/records_install.h"

void installRecordsWindows(WindowHost &host, const RecordsContext &context)
{
    // The records: blacklist, calendar, send message, statistics, user list, logs.
    installRecordWindows(host, context);

    // The people: auto-mailing, contact book, visible list, status choice.

    Q_UNUSED(host);
    Q_UNUSED(context);
}
