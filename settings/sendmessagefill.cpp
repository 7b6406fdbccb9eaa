#include "settings/sendmessagefill.h"

#include "platform/windowhost.h"

#include <QWidget>

void fillSendMessageWindow(QWidget *window, const MessageDraft &draft)
{
    if (!window)
        return;
    // The send-message window takes the draft through its properties; a window without
    // them still carries it for whoever reads it.
    window->setProperty("recipient", draft.recipient);
    window->setProperty("subject", draft.subject);
    if (draft.message)
        window->setProperty("message", *draft.message);
}

ComposeMessage composeInSendMessageWindow(WindowHost &windows)
{
    return [&windows](const MessageDraft &draft) {
        fillSendMessageWindow(windows.showWindow(QStringLiteral("Form2")), draft);
    };
}
