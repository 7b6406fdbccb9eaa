#pragma once

#include "settings/install.h"
#include "support/mainwindowfixture.h"

#include <QMdiSubWindow>

// The settings subsystem's windows inside a real main window over a fresh program
// folder, boxes recorded. Test classes derive from it and call setUp()/tearDown() from
// init()/cleanup().
class InfoWindowsFixture : public MainWindowFixture
{
protected:
    void installWindows(MDIForm1 &main) override { installSettingsWindows(main); }

    // Shown on screen: its frame in the main window's area, or the window itself.
    static bool onScreen(const QWidget *window)
    {
        if (!window)
            return false;
        if (auto *frame = qobject_cast<QMdiSubWindow *>(window->parentWidget()))
            return frame->isVisible();
        return window->isVisible();
    }
    // Closes the window as the operator does with its frame's close button.
    void closeWindow(const QString &name)
    {
        QWidget *widget = m_main->findWindow(name);
        if (!widget)
            return;
        if (auto *frame = qobject_cast<QMdiSubWindow *>(widget->parentWidget()))
            frame->close();
        else
            widget->close();
        QTRY_VERIFY(!m_main->findWindow(name));
    }
};
