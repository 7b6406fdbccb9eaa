#include "settings/sendmessagefill.h"

#include "platform/windowhost.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTextEdit>
#include <QWidget>

namespace {

void setBoxText(QWidget *window, const char *property, const char *control, const QString &text)
{
    if (window->metaObject()->indexOfProperty(property) >= 0) {
        window->setProperty(property, text);
        return;
    }
    QWidget *box = window->findChild<QWidget *>(QString::fromLatin1(control));
    if (auto *combo = qobject_cast<QComboBox *>(box)) {
        if (combo->isEditable())
            combo->setEditText(text);
        else
            combo->setCurrentText(text);
    } else if (auto *line = qobject_cast<QLineEdit *>(box)) {
        line->setText(text);
    } else if (auto *plain = qobject_cast<QPlainTextEdit *>(box)) {
        plain->setPlainText(text);
    } else if (auto *rich = qobject_cast<QTextEdit *>(box)) {
        rich->setPlainText(text);
    } else {
        // A window of neither kind still carries the draft for whoever reads it.
        window->setProperty(property, text);
    }
}

} // namespace

void fillSendMessageWindow(QWidget *window, const MessageDraft &draft)
{
    if (!window)
        return;
    setBoxText(window, "recipient", "Combo1", draft.recipient);
    setBoxText(window, "subject", "Text3", draft.subject);
    if (draft.message)
        setBoxText(window, "message", "Text4", *draft.message);
}

ComposeMessage composeInSendMessageWindow(WindowHost &windows)
{
    return [&windows](const MessageDraft &draft) {
        fillSendMessageWindow(windows.showWindow(QStringLiteral("Form2")), draft);
    };
}
