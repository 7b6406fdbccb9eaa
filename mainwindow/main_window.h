#pragma once

#include "mainwindow/windowroster.h"
#include "platform/windowhost.h"

#include <QHash>
#include <QList>
#include <QMainWindow>
#include <QPointer>
#include <QString>

class QAction;
class QLabel;
class QMdiArea;
class QMdiSubWindow;
class QMenu;
class QStatusBar;
class QToolBar;
class TimerRegistry;

// The program's main window: an MDI frame with the menus, the toolbar, the status
// bar and the named timers. It creates, finds and raises every other window;
// what the menu items do beyond opening windows is connected by their owners
// through action().
class MDIForm1 : public QMainWindow, public WindowHost
{
    Q_OBJECT
public:
    explicit MDIForm1(QWidget *parent = nullptr);
    ~MDIForm1() override;

    // The timers the other subsystems arm, found by name; all off at start.
    TimerRegistry &timers() const { return *m_timers; }

    // The windows this frame opens; register real factories here.
    WindowRoster &roster() { return m_roster; }
    const WindowRoster &roster() const { return m_roster; }

    // Shows the named window without blocking: created on first use, brought to the
    // front when open already. Returns the window's own widget (for child windows
    // not the MDI sub-window around it); nullptr for a name the roster does not know.
    QWidget *showWindow(const QString &name) override;
    // The open window of that name, or nullptr.
    QWidget *findWindow(const QString &name) const override;
    // The roster's entries, for the subsystems' install functions.
    bool registerFactory(const QString &name, Factory factory) override;
    void addWindow(const QString &name, const QString &caption, Placement placement,
                   Factory factory = Factory()) override;
    // The widget's own show() and the frame's typed show<T>(name) side by side.
    using QMainWindow::show;
    using WindowHost::show;

    // A menu item, separator, submenu or toolbar button by its name; nullptr if none.
    QAction *action(const QString &name) const;
    // A menu or submenu by its name; nullptr if none.
    QMenu *menu(const QString &name) const;

    // Panel 1 of the status bar.
    void setStatusText(const QString &text);
    QString statusText() const;

    QMdiArea *mdiArea() const { return m_mdiArea; }

protected:
    // A double click on the status bar, which shows the bot's status, opens the status
    // choice window.
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void buildMenus();
    void buildToolbar();
    void buildStatusBar();
    void addTimers();
    void updateWindowList();
    void cascadeInsideArea();
    // The frame around an open window: its MDI sub-window or the window itself.
    QWidget *frameOf(const QString &name) const;

    QMdiArea *m_mdiArea = nullptr;
    QToolBar *m_toolbar = nullptr;
    QStatusBar *m_statusBar = nullptr;
    QLabel *m_statusPanel = nullptr;
    TimerRegistry *m_timers = nullptr;
    WindowRoster m_roster;

    QHash<QString, QAction *> m_actions;
    QHash<QString, QMenu *> m_menus;
    QMenu *m_windowListMenu = nullptr;
    QList<QAction *> m_windowListEntries;
    QHash<QString, QPointer<QWidget>> m_openWindows;
};
