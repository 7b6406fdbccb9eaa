#include "core/cp1251.h"
#include "core/programfolder.h"
#include "core/textfile.h"
#include "engine/webaddresses.h"
#include "mainwindow/downloadcontrol.h"
#include "mainwindow/main_window.h"
#include "mainwindow/newsupdate.h"
#include "mainwindow/trayicon.h"
#include "mainwindow/webmenus.h"
#include "platform/recordingdialogs.h"
#include "platform/recordingwebopener.h"
#include "settings/supportcontacts.h"
#include "support/httpserver.h"
#include "support/programhome.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QSignalSpy>
#include <QTest>

#include <memory>

namespace {

struct BoxShown
{
    QString title;
    QString text;
    Dialogs::Buttons buttons = Dialogs::Buttons::Ok;
    bool operator==(const BoxShown &other) const
    {
        return title == other.title && text == other.text && buttons == other.buttons;
    }
};

char *toString(const BoxShown &box)
{
    return qstrdup(QStringLiteral("(%1: \"%2\" %3)")
                       .arg(box.title, box.text)
                       .arg(box.buttons == Dialogs::Buttons::YesNo ? "YesNo" : "Ok")
                       .toUtf8()
                       .constData());
}

QByteArray versionFile(const QList<std::pair<QByteArray, QByteArray>> &announcements)
{
    QByteArray xml = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<UIN><REPORT>";
    for (const auto &[status, notes] : announcements) {
        xml += "<FUNCTIONS>";
        if (!status.isNull())
            xml += "<STATUS>" + status + "</STATUS>";
        xml += "<NEW>" + notes + "</NEW></FUNCTIONS>";
    }
    return xml + "</REPORT></UIN>\n";
}

const QString Latest = NewsUpdate::LatestText;

QString newerText(const QString &version, const QString &notes)
{
    return "Вышла новая версия программы.\r\nАктуальная версия: " + version +
           "\r\n\r\nНовое в программе:\r\n" + notes + "\r\n\r\nСкачать?";
}

} // namespace

Q_DECLARE_METATYPE(QList<BoxShown>)

class tst_WebMenus : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();

    void compareVersions_data();
    void compareVersions();
    void updateCheck_data();
    void updateCheck();
    void failedCheckSaysNothing_data();
    void failedCheckSaysNothing();
    void siteAndForum();
    void siteNotConfigured();

    void newsReplacesFile();
    void failedDownloadKeepsFile_data();
    void failedDownloadKeepsFile();
    void twoDownloads();
    void closedDuringDownload();

    void trayFallback();
    void trayIcon();
    void startInTray();

private:
    void setSite() { QVERIFY(Addresses::setValues({{WebAddresses::Site, m_server->hostValue()}})); }
    QString site() const { return QStringLiteral("http://") + m_server->hostValue(); }
    // Records each box and answers Yes to a question unless told No.
    void recordBoxes(NewsUpdate &updates, bool answerYes)
    {
        updates.setBox([this, answerYes](const QString &title, const QString &text, Dialogs::Buttons buttons,
                                         std::function<void(Dialogs::Button)> answered) {
            m_boxes.append({title, text, buttons});
            answered(buttons == Dialogs::Buttons::Ok
                         ? Dialogs::Button::Ok
                         : (answerYes ? Dialogs::Button::Yes : Dialogs::Button::No));
        });
    }

    std::unique_ptr<ProgramHome> m_home;
    std::unique_ptr<LocalHttpServer> m_server;
    std::unique_ptr<MDIForm1> m_window;
    WebMenus *m_menus = nullptr;
    RecordingDialogs m_dialogs;
    RecordingWebOpener m_opener;
    QList<BoxShown> m_boxes;
};

void tst_WebMenus::init()
{
    m_home = std::make_unique<ProgramHome>();
    QVERIFY(m_home->isValid());
    m_server = std::make_unique<LocalHttpServer>();
    QVERIFY(m_server->isListening());
    m_dialogs = RecordingDialogs();
    Dialogs::setInstance(&m_dialogs);
    m_opener.opened.clear();
    WebOpener::setInstance(&m_opener);
    m_boxes.clear();
    m_window = std::make_unique<MDIForm1>();
    m_menus = installWebMenus(*m_window);
    m_menus->updates().setTimeout(2000);
    m_menus->downloads().setTimeout(2000);
}

void tst_WebMenus::cleanup()
{
    m_window.reset();
    m_server.reset();
    Dialogs::setInstance(nullptr);
    WebOpener::setInstance(nullptr);
}

void tst_WebMenus::compareVersions_data()
{
    QTest::addColumn<QString>("announced");
    QTest::addColumn<int>("expected");
    QTest::newRow("same") << "1.9.3" << 0;
    QTest::newRow("same, trailing zero") << "1.9.3.0" << 0;
    QTest::newRow("1.9.4") << "1.9.4" << 1;
    QTest::newRow("1.9.3.1") << "1.9.3.1" << 1;
    QTest::newRow("2.0") << "2.0" << 1;
    QTest::newRow("1.9.10") << "1.9.10" << 1;
    QTest::newRow("1.10") << "1.10" << 1;
    QTest::newRow("1.9.2") << "1.9.2" << -1;
    QTest::newRow("1.9") << "1.9" << -1;
    QTest::newRow("blanks") << " 1.9.4 " << 1;
}

void tst_WebMenus::compareVersions()
{
    QFETCH(QString, announced);
    QFETCH(int, expected);
    QCOMPARE(NewsUpdate::compareVersions(announced, NewsUpdate::ProgramVersion), expected);
}

void tst_WebMenus::updateCheck_data()
{
    QTest::addColumn<bool>("atStartup");
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<bool>("answerYes");
    QTest::addColumn<QList<BoxShown>>("boxes");
    QTest::addColumn<QStringList>("opened"); // paths under the site

    const QString title = NewsUpdate::BoxTitle;
    const auto ok = Dialogs::Buttons::Ok;
    const auto yesNo = Dialogs::Buttons::YesNo;
    QTest::newRow("older") << false << versionFile({{"1.9.2", "x"}}) << true
                           << QList<BoxShown>{{title, Latest, ok}} << QStringList();
    QTest::newRow("equal") << false << versionFile({{"1.9.3", "x"}}) << true
                           << QList<BoxShown>{{title, Latest, ok}} << QStringList();
    QTest::newRow("newer, yes") << false << versionFile({{"1.9.10", "Быстрее"}}) << true
                                << QList<BoxShown>{{title, newerText("1.9.10", "Быстрее"), yesNo}}
                                << QStringList{"/NEWKorvane.zip"};
    QTest::newRow("newer, no") << false << versionFile({{"2.0", "Всё"}}) << false
                               << QList<BoxShown>{{title, newerText("2.0", "Всё"), yesNo}} << QStringList();
    QTest::newRow("older then newer")
        << false << versionFile({{"1.9.1", "a"}, {"1.9.4", "b"}}) << true
        << QList<BoxShown>{{title, Latest, ok}, {title, newerText("1.9.4", "b"), yesNo}}
        << QStringList{"/NEWKorvane.zip"};
    QTest::newRow("no status") << false << versionFile({{QByteArray(), "a"}}) << true << QList<BoxShown>{}
                               << QStringList();
    QTest::newRow("no announcement") << false << versionFile({}) << true << QList<BoxShown>{}
                                     << QStringList();
    QTest::newRow("start-up, equal") << true << versionFile({{"1.9.3", "x"}}) << true << QList<BoxShown>{}
                                     << QStringList();
    QTest::newRow("start-up, newer")
        << true << versionFile({{"1.9.4", "x"}}) << true
        << QList<BoxShown>{{title, "Вышла новая версия программы.\r\nАктуальная версия: 1.9.4\r\nСкачать?",
                            yesNo}}
        << QStringList{"/NEWKorvane.zip"};
}

void tst_WebMenus::updateCheck()
{
    QFETCH(bool, atStartup);
    QFETCH(QByteArray, file);
    QFETCH(bool, answerYes);
    QFETCH(QList<BoxShown>, boxes);
    QFETCH(QStringList, opened);
    setSite();
    m_server->setResponse(NewsUpdate::VersionPath, {200, file});
    NewsUpdate &updates = m_menus->updates();
    recordBoxes(updates, answerYes);

    QSignalSpy finished(&updates, &NewsUpdate::checkFinished);
    if (atStartup)
        m_menus->checkForUpdateAtStartup();
    else
        m_window->action(QStringLiteral("obnov_m"))->trigger();
    QVERIFY(finished.wait(30000));
    QCOMPARE(m_boxes, boxes);
    QStringList expectedOpened;
    for (const QString &path : opened)
        expectedOpened.append(site() + path);
    QCOMPARE(m_opener.opened, expectedOpened);
    QCOMPARE(m_server->paths, QStringList{NewsUpdate::VersionPath});
}

void tst_WebMenus::failedCheckSaysNothing_data()
{
    QTest::addColumn<int>("status");
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<bool>("down");
    QTest::newRow("not found") << 404 << versionFile({{"2.0", "x"}}) << false;
    QTest::newRow("not well-formed") << 200 << QByteArray("<UIN><REPORT><FUNCTIONS><STATUS>2.0</STATUS>")
                                     << false;
    QTest::newRow("server down") << 200 << versionFile({{"2.0", "x"}}) << true;
}

void tst_WebMenus::failedCheckSaysNothing()
{
    QFETCH(int, status);
    QFETCH(QByteArray, file);
    QFETCH(bool, down);
    setSite();
    m_server->setResponse(NewsUpdate::VersionPath, {status, file});
    if (down)
        m_server->close();
    NewsUpdate &updates = m_menus->updates();
    recordBoxes(updates, true);
    QSignalSpy finished(&updates, &NewsUpdate::checkFinished);
    m_window->action(QStringLiteral("obnov_m"))->trigger();
    QVERIFY(finished.wait(30000));
    QCOMPARE(m_boxes, QList<BoxShown>{});
    QVERIFY(m_dialogs.shown.isEmpty());
    QVERIFY(m_opener.opened.isEmpty());
}

void tst_WebMenus::siteAndForum()
{
    setSite();
    m_window->action(QStringLiteral("pos_site_m"))->trigger();
    m_window->action(QStringLiteral("pos_forum_m"))->trigger();
    QCOMPARE(m_opener.opened, (QStringList{site(), site() + "/forum/"}));
    QVERIFY(!QFileInfo::exists(m_home->path() + "/url.url"));
}

void tst_WebMenus::siteNotConfigured()
{
    for (const char *item : {"pos_site_m", "pos_forum_m", "obnov_m", "news_bot"})
        m_window->action(QString::fromLatin1(item))->trigger();
    QCOMPARE(m_dialogs.shown.size(), 4);
    for (const RecordingDialogs::Shown &box : std::as_const(m_dialogs.shown))
        QCOMPARE(box.text, SupportContacts::NoSiteText);
    QVERIFY(m_opener.opened.isEmpty());
    QCOMPARE(m_menus->downloads().pendingCount(), 0);
    // At start-up a missing site is passed over silently.
    m_menus->checkForUpdateAtStartup();
    QCOMPARE(m_dialogs.shown.size(), 4);
    QCOMPARE(m_menus->updates().pendingChecks(), 0);
}

void tst_WebMenus::newsReplacesFile()
{
    setSite();
    const QByteArray news = Cp1251::encode(u"Новости: вышла версия 1.9.4\r\n");
    m_server->setResponse(NewsUpdate::NewsPath, {200, news, 0, "text/plain"});
    QVERIFY(TextFile::writeAll(NewsUpdate::NewsFile, QStringLiteral("старые новости\r\n")));

    QSignalSpy completed(&m_menus->downloads(), &DL::Completed);
    m_window->action(QStringLiteral("news_bot"))->trigger();
    QVERIFY(completed.wait(30000));
    QCOMPARE(completed.first().at(1).toLongLong(), news.size());
    QCOMPARE(TextFile::readBytes(NewsUpdate::NewsFile), news);
    QCOMPARE(QDir(m_home->path()).entryList(QDir::Files), QStringList{"news.txt"});
}

void tst_WebMenus::failedDownloadKeepsFile_data()
{
    QTest::addColumn<int>("status");
    QTest::addColumn<int>("delayMs");
    QTest::addColumn<bool>("down");
    QTest::newRow("not found") << 404 << 0 << false;
    QTest::newRow("server down") << 200 << 0 << true;
    QTest::newRow("too slow") << 200 << int(LocalHttpServer::Held) << false;
}

void tst_WebMenus::failedDownloadKeepsFile()
{
    QFETCH(int, status);
    QFETCH(int, delayMs);
    QFETCH(bool, down);
    setSite();
    m_server->setResponse(NewsUpdate::NewsPath, {status, "new news", delayMs, "text/plain"});
    if (down)
        m_server->close();
    QVERIFY(TextFile::writeAll(NewsUpdate::NewsFile, QStringLiteral("old")));

    QSignalSpy failed(&m_menus->downloads(), &DL::Failed);
    QSignalSpy completed(&m_menus->downloads(), &DL::Completed);
    m_menus->updates().news_bot_Click();
    QVERIFY(failed.wait(30000));
    QCOMPARE(completed.size(), 0);
    QCOMPARE(TextFile::readAll(NewsUpdate::NewsFile), QStringLiteral("old"));
    QCOMPARE(QDir(m_home->path()).entryList(QDir::Files), QStringList{"news.txt"});
    QCOMPARE(m_menus->downloads().pendingCount(), 0);
}

void tst_WebMenus::twoDownloads()
{
    m_server->setResponse("/a.txt", {200, "first", 200, "text/plain"});
    m_server->setResponse("/b.txt", {200, "second", 0, "text/plain"});
    DL &dl = m_menus->downloads();
    QSignalSpy completed(&dl, &DL::Completed);
    const QString a = m_home->path() + "/sub/a.txt";
    const QString b = m_home->path() + "/b.txt";
    QCOMPARE(dl.Download(site() + "/a.txt", a, "one"), QStringLiteral("one"));
    QCOMPARE(dl.Download(site() + "/b.txt", b, "one"), QString()); // still pending
    const QString second = dl.Download(site() + "/b.txt", b);
    QVERIFY(!second.isEmpty());
    QCOMPARE(dl.Download("file:///etc/passwd", b), QString());
    dl.CancelDownload("unknown");
    QCOMPARE(dl.pendingCount(), 2);
    QTRY_COMPARE_WITH_TIMEOUT(completed.size(), 2, 30000);
    QCOMPARE(TextFile::readBytes(TextFile::Absolute{a}), QByteArray("first"));
    QCOMPARE(TextFile::readBytes(TextFile::Absolute{b}), QByteArray("second"));
    QCOMPARE(completed.at(0).at(0).toString(), second);
    QCOMPARE(completed.at(1).at(0).toString(), QStringLiteral("one"));
}

void tst_WebMenus::closedDuringDownload()
{
    setSite();
    m_server->setResponse(NewsUpdate::NewsPath, {200, "new news", LocalHttpServer::Held, "text/plain"});
    QVERIFY(TextFile::writeAll(NewsUpdate::NewsFile, QStringLiteral("old")));
    m_menus->updates().news_bot_Click();
    QTRY_COMPARE_WITH_TIMEOUT(m_server->paths.size(), 1, 30000);
    m_window.reset();
    QCOMPARE(TextFile::readAll(NewsUpdate::NewsFile), QStringLiteral("old"));
    QCOMPARE(QDir(m_home->path()).entryList(QDir::Files), QStringList{"news.txt"});
}

void tst_WebMenus::trayFallback()
{
    // No notification area here: the window is minimized, never hidden.
    QVERIFY(!QSystemTrayIcon::isSystemTrayAvailable());
    m_window->show();
    m_window->action(QStringLiteral("v_trey"))->trigger();
    QVERIFY(m_window->isVisible());
    QTRY_VERIFY(m_window->isMinimized());
    QVERIFY(!m_menus->tray().iconShown());
}

void tst_WebMenus::trayIcon()
{
    TrayIcon &tray = m_menus->tray();
    tray.setTrayAvailable([] { return true; });
    m_window->show();

    m_window->action(QStringLiteral("v_trey"))->trigger();
    m_menus->hideToTray();
    QVERIFY(!m_window->isVisible());
    QVERIFY(tray.iconShown());
    QCOMPARE(m_menus->findChildren<QSystemTrayIcon *>().size(), 1);
    QCOMPARE(tray.icon()->toolTip(), TrayIcon::ToolTip);

    // The right button does nothing visible; the left button's click brings the window back.
    Q_EMIT tray.icon()->activated(QSystemTrayIcon::Context);
    QVERIFY(!m_window->isVisible());
    Q_EMIT tray.icon()->activated(QSystemTrayIcon::Trigger);
    QVERIFY(m_window->isVisible());
    QVERIFY(!tray.iconShown());

    // However the window comes back, the icon goes.
    tray.hideToTray();
    QVERIFY(tray.iconShown());
    m_window->show();
    QVERIFY(!tray.iconShown());
}

void tst_WebMenus::startInTray()
{
    TrayIcon &tray = m_menus->tray();
    tray.setTrayAvailable([] { return true; });
    // The start-up asks for the tray before it shows the main window.
    m_menus->startInTray();
    m_window->show();
    QTRY_VERIFY(tray.iconShown());
    QVERIFY(!m_window->isVisible());
}

QTEST_MAIN(tst_WebMenus)
#include "tst_webmenus.moc"
