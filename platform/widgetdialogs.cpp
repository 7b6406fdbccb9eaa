#include "platform/widgetdialogs.h"

#include <QApplication>
#include <QFileDialog>
#include <QInputDialog>
#include <QMessageBox>

namespace {

QString shownTitle(const QString &title)
{
    return title.isEmpty() ? Dialogs::programTitle() : title;
}

QMessageBox::Icon boxIcon(Dialogs::Icon icon)
{
    switch (icon) {
    case Dialogs::Icon::NoIcon:
        return QMessageBox::NoIcon;
    case Dialogs::Icon::Information:
        return QMessageBox::Information;
    case Dialogs::Icon::Question:
        return QMessageBox::Question;
    case Dialogs::Icon::Warning:
        return QMessageBox::Warning;
    case Dialogs::Icon::Critical:
        return QMessageBox::Critical;
    }
    return QMessageBox::NoIcon;
}

QMessageBox::StandardButtons boxButtons(Dialogs::Buttons buttons)
{
    switch (buttons) {
    case Dialogs::Buttons::Ok:
        return QMessageBox::Ok;
    case Dialogs::Buttons::OkCancel:
        return QMessageBox::Ok | QMessageBox::Cancel;
    case Dialogs::Buttons::YesNo:
        return QMessageBox::Yes | QMessageBox::No;
    case Dialogs::Buttons::YesNoCancel:
        return QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
    }
    return QMessageBox::Ok;
}

// The answer of a box closed without a button: its refusing button.
Dialogs::Button closedAnswer(Dialogs::Buttons buttons)
{
    switch (buttons) {
    case Dialogs::Buttons::Ok:
        return Dialogs::Button::Ok;
    case Dialogs::Buttons::YesNo:
        return Dialogs::Button::No;
    case Dialogs::Buttons::OkCancel:
    case Dialogs::Buttons::YesNoCancel:
        return Dialogs::Button::Cancel;
    }
    return Dialogs::Button::Cancel;
}

// A box must not end the program when it is the last window closed, as when
// the main window hides in the tray.
void keepProgramOnClose(QWidget *window)
{
    window->setAttribute(Qt::WA_QuitOnClose, false);
}

} // namespace

WidgetDialogs::~WidgetDialogs()
{
    for (const QPointer<QMessageBox> &box : std::as_const(m_notifications))
        delete box.data();
}

Dialogs::Button WidgetDialogs::message(const QString &title, const QString &text, Icon icon, Buttons buttons)
{
    QMessageBox box(boxIcon(icon), shownTitle(title), text, boxButtons(buttons),
                    QApplication::activeWindow());
    keepProgramOnClose(&box);
    switch (box.exec()) {
    case QMessageBox::Ok:
        return Button::Ok;
    case QMessageBox::Cancel:
        return Button::Cancel;
    case QMessageBox::Yes:
        return Button::Yes;
    case QMessageBox::No:
        return Button::No;
    default:
        return closedAnswer(buttons);
    }
}

void WidgetDialogs::notify(const QString &title, const QString &text, Icon icon, const QString &kind)
{
    m_notifications.removeIf([](const auto &entry) { return entry.value().isNull(); });

    const QString key = notificationKey(kind, title, text);
    QPointer<QMessageBox> &box = m_notifications[key];
    if (box) {
        box->setWindowTitle(shownTitle(title));
        box->setText(text);
        box->setIcon(boxIcon(icon));
        box->raise();
        return;
    }

    // No parent: a box from a socket event must not block the operator's windows,
    // and open() returns at once.
    box = new QMessageBox(boxIcon(icon), shownTitle(title), text, QMessageBox::Ok);
    box->setAttribute(Qt::WA_DeleteOnClose);
    keepProgramOnClose(box);
    box->open();
}

QString WidgetDialogs::input(const QString &title, const QString &prompt, const QString &defaultText)
{
    QInputDialog dialog(QApplication::activeWindow());
    keepProgramOnClose(&dialog);
    dialog.setWindowTitle(shownTitle(title));
    dialog.setLabelText(prompt);
    dialog.setTextValue(defaultText);
    if (dialog.exec() != QDialog::Accepted)
        return {};
    return dialog.textValue();
}

QString WidgetDialogs::openFile(const QString &title, const QString &directory, const QString &filter)
{
    return QFileDialog::getOpenFileName(QApplication::activeWindow(), shownTitle(title), directory, filter);
}

QMessageBox *WidgetDialogs::notification(const QString &kind, const QString &title, const QString &text) const
{
    return m_notifications.value(notificationKey(kind, title, text)).data();
}

QString WidgetDialogs::notificationKey(const QString &kind, const QString &title, const QString &text)
{
    if (!kind.isEmpty())
        return QLatin1Char('k') + kind;
    return QLatin1Char('t') + shownTitle(title) + QChar(0) + text;
}
