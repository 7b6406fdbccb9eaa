#include "platform/recordingdialogs.h"

Dialogs::Button RecordingDialogs::message(const QString &title, const QString &text, Icon icon,
                                          Buttons buttons)
{
    shown.append({Kind::Message, title, text, icon, buttons, QString()});
    if (!m_buttons.isEmpty())
        return m_buttons.dequeue();
    return (buttons == Buttons::YesNo || buttons == Buttons::YesNoCancel) ? Button::Yes : Button::Ok;
}

void RecordingDialogs::notify(const QString &title, const QString &text, Icon icon, const QString &kind)
{
    shown.append({Kind::Notify, title, text, icon, Buttons::Ok, kind});
}

QString RecordingDialogs::input(const QString &title, const QString &prompt, const QString &)
{
    shown.append({Kind::Input, title, prompt, Icon::NoIcon, Buttons::OkCancel, QString()});
    return m_texts.isEmpty() ? QString() : m_texts.dequeue();
}

QString RecordingDialogs::openFile(const QString &title, const QString &directory, const QString &)
{
    shown.append({Kind::OpenFile, title, directory, Icon::NoIcon, Buttons::OkCancel, QString()});
    return m_texts.isEmpty() ? QString() : m_texts.dequeue();
}
