#include "mainwindow/windowfit.h"

#include <QApplication>
#include <QMdiSubWindow>
#include <QStyle>
#include <QStyleOptionTitleBar>
#include <QWidget>

#include <algorithm>

int WindowFit::captionRoom(const QWidget *frame)
{
    // As a sub-window measures the room it elides its caption to.
    QStyleOptionTitleBar option;
    option.initFrom(frame);
    const int border =
        qobject_cast<const QMdiSubWindow *>(frame) ? frame->style()->pixelMetric(QStyle::PM_MdiSubWindowFrameWidth, nullptr, frame) : 0;
    const int height = frame->style()->pixelMetric(QStyle::PM_TitleBarHeight, &option, frame);
    option.rect = QRect(border, border, frame->width() - 2 * border, height - border);
    option.titleBarFlags = frame->windowFlags() | Qt::WindowSystemMenuHint | Qt::WindowTitleHint |
                           Qt::WindowMinMaxButtonsHint | Qt::WindowCloseButtonHint;
    option.titleBarState = frame->windowState();
    option.state |= QStyle::State_Active;
    option.subControls = QStyle::SC_All;
    option.text = frame->windowTitle();
    option.icon = frame->windowIcon();
    option.fontMetrics = QFontMetrics(QApplication::font("QMdiSubWindowTitleBar"));
    return frame->style()->subControlRect(QStyle::CC_TitleBar, &option, QStyle::SC_TitleBarLabel, frame).width();
}

int WindowFit::captionNeed(const QWidget *frame)
{
    // The active frame's caption may be bold, and styles draw it inset from the room they
    // report: one title bar height more keeps it whole.
    QFont font = QApplication::font("QMdiSubWindowTitleBar");
    font.setBold(true);
    return QFontMetrics(font).horizontalAdvance(frame->windowTitle()) +
           frame->style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, frame);
}

void WindowFit::widenForCaption(QWidget *frame, int widest)
{
    const int missing = captionNeed(frame) - captionRoom(frame);
    if (missing > 0 && frame->width() < widest)
        frame->resize(std::min(widest, frame->width() + missing), frame->height());
}
