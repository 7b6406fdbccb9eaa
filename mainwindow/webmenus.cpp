#include "mainwindow/webmenus.h"

#include "core/namedtimer.h"
#include "mainwindow/downloadcontrol.h"
#include "mainwindow/main_window.h"
#include "mainwindow/multibot.h"
#include "mainwindow/newsupdate.h"
#include "mainwindow/startup.h"
#include "mainwindow/trayicon.h"

#include <QAction>
#include <QNetworkAccessManager>
#include <QTimer>

WebMenus::WebMenus(MDIForm1 &window, QNetworkAccessManager *network)
    : QObject(&window)
{
    if (!network)
        network = new QNetworkAccessManager(this);
    m_downloads = new DL(network, this);
    m_downloads->setObjectName(QStringLiteral("DL1"));
    m_updates = new NewsUpdate(*m_downloads, network, this);
    m_tray = new TrayIcon(window, this);
}

void WebMenus::checkForUpdateAtStartup()
{
    m_updates->checkAtStartup();
}

void WebMenus::hideToTray()
{
    m_tray->hideToTray();
}

void WebMenus::startInTray()
{
    QTimer::singleShot(0, m_tray, &TrayIcon::hideToTray);
}

WebMenus *installWebMenus(MDIForm1 &window, QNetworkAccessManager *network)
{
    auto *menus = new WebMenus(window, network);
    NewsUpdate *updates = &menus->updates();
    const std::pair<const char *, void (NewsUpdate::*)()> items[] = {
        {"news_bot", &NewsUpdate::news_bot_Click},
        {"pos_site_m", &NewsUpdate::pos_site_m_Click},
        {"pos_forum_m", &NewsUpdate::pos_forum_m_Click},
        {"obnov_m", &NewsUpdate::obnov_m_Click},
    };
    for (const auto &[name, slot] : items) {
        if (QAction *item = window.action(QString::fromLatin1(name)))
            QObject::connect(item, &QAction::triggered, updates, slot);
    }
    if (QAction *item = window.action(QStringLiteral("v_trey")))
        QObject::connect(item, &QAction::triggered, menus, &WebMenus::hideToTray);

    TimerRegistry &timers = window.timers();
    timers.attach(QStringLiteral("news_t"), [&timers, updates] {
        timers.timer(QStringLiteral("news_t"))->setEnabled(false);
        updates->news_t_Timer();
    });
    timers.attach(QStringLiteral("obno_t"), [&timers, updates] {
        timers.timer(QStringLiteral("obno_t"))->setEnabled(false);
        updates->obno_t_Timer();
    });
    return menus;
}

WebMenus *installWebMenus(MDIForm1 &window, StartupSequence &startup, MultiBot &multiBot)
{
    WebMenus *menus = installWebMenus(window);
    startup.hooks().checkForUpdate = [menus] { menus->checkForUpdateAtStartup(); };
    startup.hooks().hideToTray = [menus] { menus->startInTray(); };
    multiBot.setHideMainWindow([menus] { menus->hideToTray(); });
    return menus;
}
