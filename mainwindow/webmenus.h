#pragma once

#include <QObject>

class DL;
class MDIForm1;
class MultiBot;
class NewsUpdate;
class QNetworkAccessManager;
class StartupSequence;
class TrayIcon;

// The main window's web and tray features: the download control DL1, the news and
// update items, the site and forum items, and the tray icon behind "В трей".
class WebMenus : public QObject
{
    Q_OBJECT
public:
    // A child of window; network is not owned (nullptr: one of its own).
    explicit WebMenus(MDIForm1 &window, QNetworkAccessManager *network = nullptr);

    DL &downloads() { return *m_downloads; }
    NewsUpdate &updates() { return *m_updates; }
    TrayIcon &tray() { return *m_tray; }

    // For the start-up: the quiet update check (AutoUpdate 1).
    void checkForUpdateAtStartup();
    // "В трей" and the hide after a login: at once.
    void hideToTray();
    // The start in the tray: once the start-up has shown the main window, so that show
    // does not bring it back.
    void startInTray();

private:
    DL *m_downloads = nullptr;
    NewsUpdate *m_updates = nullptr;
    TrayIcon *m_tray = nullptr;
};

// Makes the features and connects "Новости", "Посетить сайт", "Посетить форум",
// "Проверить обновление", "В трей" and the timers news_t and obno_t.
WebMenus *installWebMenus(MDIForm1 &window, QNetworkAccessManager *network = nullptr);

// The same, and the start-up's update check and start in the tray, and the hiding of the
// main window after a log-in, go through the tray and update features.
WebMenus *installWebMenus(MDIForm1 &window, StartupSequence &startup, MultiBot &multiBot);
