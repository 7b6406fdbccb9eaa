#pragma once

#include "platform/dialogs.h"

#include <QByteArray>
#include <QList>
#include <QObject>
#include <QString>

#include <functional>
#include <optional>

class DL;
class QNetworkAccessManager;

// The "О программе" items that reach the program's web site: the update check (from the
// menu and at start-up), the news download, and the site and forum pages.
class NewsUpdate : public QObject
{
    Q_OBJECT
public:
    static inline const QString ProgramVersion = QStringLiteral("1.9.3");
    static inline const QString ForumPath = QStringLiteral("/forum/");
    static inline const QString VersionPath = QStringLiteral("/rss/vers.xml");
    static inline const QString NewVersionPath = QStringLiteral("/NEWKorvane.zip");
    static inline const QString NewsPath = QStringLiteral("/news.txt");
    static inline const QString NoticePath = QStringLiteral("/obno.txt");
    static inline const QString NewsFile = QStringLiteral("\\news.txt");
    static inline const QString NoticeFile = QStringLiteral("\\obno.txt");

    static inline const QString BoxTitle = QStringLiteral("Новая версия");
    static inline const QString LatestText = QStringLiteral("У вас самая последняя версия");

    struct Announcement
    {
        QString status; // the announced version
        QString notes;  // what the new release brings
    };

    // A box that does not block: answered(button) runs when the operator has clicked.
    using Box = std::function<void(const QString &title, const QString &text, Dialogs::Buttons buttons,
                                   std::function<void(Dialogs::Button)> answered)>;

    // downloads is not owned and must outlive this; network likewise (nullptr: own one).
    NewsUpdate(DL &downloads, QNetworkAccessManager *network = nullptr, QObject *parent = nullptr);

    // Replaces the box; the default is a message box shown with open().
    void setBox(Box box) { m_box = std::move(box); }
    void setTimeout(int ms) { m_timeoutMs = ms; }

    void obnov_m_Click();
    // The start-up's quiet check (AutoUpdate 1): only a newer version shows a box.
    void checkAtStartup();
    void pos_site_m_Click();
    void pos_forum_m_Click();
    void news_bot_Click();
    void news_t_Timer();
    void obno_t_Timer();

    // Opens an address in the operator's browser without waiting.
    static void OpenWebPage(const QString &address);

    // Compares dot-separated versions part by part as numbers (a missing part counts
    // as 0): negative, zero or positive as a is older, the same or newer than b.
    static int compareVersions(const QString &a, const QString &b);
    // The announcements of UIN/REPORT/FUNCTIONS in document order; nullopt when the
    // bytes are not a well-formed document.
    static std::optional<QList<Announcement>> parseVersionFile(const QByteArray &xml);

    // Version checks waiting for the version file.
    int pendingChecks() const { return m_pendingChecks; }

Q_SIGNALS:
    // The version file's answer has been handled (its boxes raised or queued).
    void checkFinished();

private:
    struct QueuedBox
    {
        QString text;
        Dialogs::Buttons buttons = Dialogs::Buttons::Ok;
        bool offersDownload = false;
    };

    void check(bool atStartup);
    void handleVersionFile(const QByteArray &xml, bool atStartup);
    void queueBox(const QueuedBox &box);
    void showNextBox();
    // The site's address of path; nullopt (and, from the menu, a box) when not configured.
    std::optional<QString> siteAddress(const QString &path, bool tellOperator) const;
    void download(const QString &path, const QString &file);

    DL &m_downloads;
    QNetworkAccessManager *m_network = nullptr;
    Box m_box;
    int m_timeoutMs;
    int m_pendingChecks = 0;
    QList<QueuedBox> m_boxes;
    bool m_boxOpen = false;
};
