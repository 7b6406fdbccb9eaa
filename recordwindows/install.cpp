#include "recordwindows/install.h"

#include "platform/windowhost.h"

void installRecordsWindows(WindowHost &host, const RecordsContext &context)
{
    // The records: blacklist, calendar, send message, statistics, user list, logs.

    // The people: auto-mailing, contact book, visible list, status choice.

    Q_UNUSED(host);
    Q_UNUSED(context);
}
