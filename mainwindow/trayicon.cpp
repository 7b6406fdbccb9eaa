#include "mainwindow/trayicon.h"

#include "mainwindow/pictures.h"

#include <QEvent>

TrayIcon::TrayIcon(QWidget &window, QObject *parent)
    : QObject(parent)
    , m_window(window)
    , m_available([] { return QSystemTrayIcon::isSystemTrayAvailable(); })
{
    m_window.installEventFilter(this);
}

TrayIcon::~TrayIcon()
{
    m_window.removeEventFilter(this);
    delete m_icon.data();
}

void TrayIcon::hideToTray()
{
    if (!m_available || !m_available()) {
        m_window.showMinimized();
        return;
    }
    if (!m_icon) {
        m_icon = new QSystemTrayIcon(this);
        m_icon->setObjectName(QStringLiteral("cTray"));
        const QIcon icon = m_window.windowIcon();
        m_icon->setIcon(icon.isNull() ? Pictures::programIcon() : icon);
        m_icon->setToolTip(ToolTip);
        connect(m_icon, &QSystemTrayIcon::activated, this, &TrayIcon::activated);
    }
    m_icon->show();
    m_window.hide();
}

void TrayIcon::restore()
{
    if (m_window.isMinimized())
        m_window.showNormal();
    else
        m_window.show();
    m_window.raise();
    m_window.activateWindow();
    if (m_icon)
        m_icon->hide();
}

void TrayIcon::activated(QSystemTrayIcon::ActivationReason reason)
{
    // The left button's click; the right button does nothing visible.
    if (reason == QSystemTrayIcon::Trigger)
        restore();
}

bool TrayIcon::eventFilter(QObject *watched, QEvent *event)
{
    // However the window comes back, the icon goes.
    if (watched == &m_window && event->type() == QEvent::Show && m_icon)
        m_icon->hide();
    return QObject::eventFilter(watched, event);
}
