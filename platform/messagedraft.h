#pragma once

#include <QObject>
#include <QString>

#include <functional>
#include <optional>

// What a window puts into the send-message window: the recipient's number, the subject
// and, when given, the message. The message is not sent; the operator sends it there.
struct MessageDraft
{
    QString recipient;
    QString subject;
    std::optional<QString> message; // nullopt: the message box keeps its text

    bool operator==(const MessageDraft &other) const = default;
};

// Shows the send-message window (made when not open, raised when open) and then fills
// its boxes, so whatever its own loading put there is replaced.
using ComposeMessage = std::function<void(const MessageDraft &draft)>;

// A window that takes a draft into its boxes: the send-message window implements it, so
// windows of other libraries fill it through WindowHost::show<MessageDraftTarget>()
// without linking it.
class MessageDraftTarget
{
public:
    virtual ~MessageDraftTarget() = default;
    virtual void takeDraft(const MessageDraft &draft) = 0;
};

#define KorvaneMessageDraftTarget_iid "org.korvane.MessageDraftTarget"
Q_DECLARE_INTERFACE(MessageDraftTarget, KorvaneMessageDraftTarget_iid)
