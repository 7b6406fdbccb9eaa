#pragma once

#include "platform/dialogs.h"

#include <QQueue>

// Test double: records every box and answers from a script.
class RecordingDialogs : public Dialogs
{
public:
    enum class Kind { Message, Notify, Input, OpenFile };
    struct Shown
    {
        Kind kind = Kind::Message;
        QString title;
        QString text; // the text, the prompt, or the file dialog's directory
        Icon icon = Icon::NoIcon;
        Buttons buttons = Buttons::Ok;
        QString notifyKind;
    };

    Button message(const QString &title, const QString &text, Icon icon, Buttons buttons) override;
    void notify(const QString &title, const QString &text, Icon icon, const QString &kind) override;
    QString input(const QString &title, const QString &prompt, const QString &defaultText) override;
    QString openFile(const QString &title, const QString &directory, const QString &filter) override;

    // Scripted answers, used in order; without one a message box answers its
    // first button (Ok or Yes), an input box and a file dialog answer empty text.
    void queueButton(Button button) { m_buttons.enqueue(button); }
    void queueText(const QString &text) { m_texts.enqueue(text); }

    QList<Shown> shown;

private:
    QQueue<Button> m_buttons;
    QQueue<QString> m_texts;
};
