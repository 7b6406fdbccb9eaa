#pragma once

#include "platform/dialogs.h"

#include <QHash>
#include <QPointer>

class QMessageBox;

// The real boxes: QMessageBox, QInputDialog and QFileDialog.
//
// A notification box is shown with open() and deleted when closed. One box per
// kind: a notify() of a kind whose box is still open shows the new title, text
// and icon in that box instead of raising another, so a flood of socket events
// leaves one box with the latest news. Without a kind, the title and text are
// the kind, so the same box is never stacked twice.
class WidgetDialogs : public Dialogs
{
public:
    WidgetDialogs() = default;
    ~WidgetDialogs() override;
    WidgetDialogs(const WidgetDialogs &) = delete;
    WidgetDialogs &operator=(const WidgetDialogs &) = delete;

    Button message(const QString &title, const QString &text, Icon icon, Buttons buttons) override;
    void notify(const QString &title, const QString &text, Icon icon, const QString &kind) override;
    QString input(const QString &title, const QString &prompt, const QString &defaultText) override;
    QString openFile(const QString &title, const QString &directory, const QString &filter) override;

    // The open notification box of the kind (empty kind: of that title and text).
    QMessageBox *notification(const QString &kind, const QString &title = QString(),
                              const QString &text = QString()) const;

private:
    static QString notificationKey(const QString &kind, const QString &title, const QString &text);

    QHash<QString, QPointer<QMessageBox>> m_notifications;
};
