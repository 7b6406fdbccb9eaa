#pragma once

#include <QObject>
#include <QPointer>
#include <QString>
#include <QSystemTrayIcon>
#include <QWidget>

#include <functional>

// The main window in the notification area: "В трей" and the start in the tray hide
// the window behind an icon; a click on the icon brings the window back and removes
// the icon. Where no notification area exists the window is minimized instead, so it
// is never hidden without an icon to bring it back.
class TrayIcon : public QObject
{
    Q_OBJECT
public:
    static inline const QString ToolTip =
        QStringLiteral("Korvane 1.9 Release\r\nЩёлкни по значку, чтобы открыть программу.");

    // window is not owned and must outlive this.
    explicit TrayIcon(QWidget &window, QObject *parent = nullptr);
    ~TrayIcon() override;

    // Hides the window behind the icon (one icon, however often it is called).
    void hideToTray();
    // Shows the window again and removes the icon.
    void restore();

    bool iconShown() const { return m_icon && m_icon->isVisible(); }
    QSystemTrayIcon *icon() const { return m_icon; }

    // Whether a notification area exists; QSystemTrayIcon's own answer unless replaced.
    void setTrayAvailable(std::function<bool()> available) { m_available = std::move(available); }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void activated(QSystemTrayIcon::ActivationReason reason);

    QWidget &m_window;
    QPointer<QSystemTrayIcon> m_icon;
    std::function<bool()> m_available;
};
