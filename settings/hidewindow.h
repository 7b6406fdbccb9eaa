#pragma once

#include <QMdiSubWindow>
#include <QWidget>

// Hides a window, or its frame in the main window's area; it stays loaded, and showing
// it again through the frame brings it back as it was.
inline void hideInFrame(QWidget *window)
{
    if (!window)
        return;
    if (auto *frame = qobject_cast<QMdiSubWindow *>(window->parentWidget()))
        frame->hide();
    else
        window->hide();
}
