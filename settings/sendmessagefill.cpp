#include "settings/sendmessagefill.h"

#include "platform/windowhost.h"

#include <QWidget>

ComposeMessage composeInSendMessageWindow(WindowHost &windows)
{
    return [&windows](const MessageDraft &draft) {
        // A window that takes no draft (none registered under the name) is only shown.
        if (auto *target = windows.show<MessageDraftTarget>(QStringLiteral("Form2")))
            target->takeDraft(draft);
    };
}
