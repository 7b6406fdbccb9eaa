#include "platform/desktopwebopener.h"

#include <QDesktopServices>
#include <QRegularExpression>
#include <QTest>

namespace {

// Stands in for the browser: QDesktopServices hands it the URLs of its schemes.
class Browser : public QObject
{
    Q_OBJECT

public:
    QList<QUrl> opened;

public slots:
    void openUrl(const QUrl &url) { opened.append(url); }
};

const QStringList g_schemes = {QStringLiteral("http"), QStringLiteral("https"), QStringLiteral("file"),
                               QStringLiteral("ftp"), QStringLiteral("javascript")};

} // namespace

class TestWebOpener : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void webAddress_data();
    void webAddress();
    void opensWebPagesOnly_data();
    void opensWebPagesOnly();

private:
    Browser m_browser;
};

void TestWebOpener::init()
{
    m_browser.opened.clear();
    for (const QString &scheme : g_schemes)
        QDesktopServices::setUrlHandler(scheme, &m_browser, "openUrl");
}

void TestWebOpener::cleanup()
{
    for (const QString &scheme : g_schemes)
        QDesktopServices::unsetUrlHandler(scheme);
}

void TestWebOpener::webAddress_data()
{
    QTest::addColumn<QString>("address");
    QTest::addColumn<QString>("url"); // empty: refused

    QTest::newRow("http") << "http://korvane.example/forum/"
                          << "http://korvane.example/forum/";
    QTest::newRow("https with query") << "https://korvane.example/news?id=5"
                                      << "https://korvane.example/news?id=5";
    QTest::newRow("no scheme") << "www.korvane.example"
                               << "http://www.korvane.example";
    QTest::newRow("no scheme, port and path") << "korvane.example:8080/f"
                                              << "http://korvane.example:8080/f";
    QTest::newRow("blanks around") << "  korvane.example/a \r\n"
                                   << "http://korvane.example/a";
    QTest::newRow("upper-case scheme") << "HTTP://korvane.example"
                                       << "http://korvane.example";
    QTest::newRow("cyrillic host") << "http://бот.рф/"
                                   << "http://бот.рф/";

    QTest::newRow("empty") << ""
                           << "";
    QTest::newRow("blank") << "   "
                           << "";
    QTest::newRow("file url") << "file:///etc/passwd"
                              << "";
    QTest::newRow("local path") << "/usr/bin/xterm"
                                << "";
    QTest::newRow("ftp") << "ftp://korvane.example/f"
                         << "";
    QTest::newRow("javascript") << "javascript:alert(1)"
                                << "";
    QTest::newRow("smb") << "smb://server/share"
                         << "";
    QTest::newRow("no host") << "http://"
                             << "";
    QTest::newRow("windows path") << "C:\\Program Files\\x.exe"
                                  << "";
}

void TestWebOpener::webAddress()
{
    QFETCH(QString, address);
    QFETCH(QString, url);

    const QUrl result = WebOpener::webAddress(address);
    QCOMPARE(result.toString(), url);
    QCOMPARE(result.isValid(), !url.isEmpty());
}

void TestWebOpener::opensWebPagesOnly_data()
{
    QTest::addColumn<QString>("address");
    QTest::addColumn<QString>("opened"); // empty: nothing opened

    QTest::newRow("site") << "korvane.example/forum"
                          << "http://korvane.example/forum";
    QTest::newRow("https") << "https://korvane.example"
                           << "https://korvane.example";
    QTest::newRow("file") << "file:///etc/passwd"
                          << "";
    QTest::newRow("javascript") << "javascript:alert(1)"
                                << "";
}

void TestWebOpener::opensWebPagesOnly()
{
    QFETCH(QString, address);
    QFETCH(QString, opened);

    if (opened.isEmpty())
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("^not a web page")));
    DesktopWebOpener opener;
    QCOMPARE(opener.open(address), !opened.isEmpty());
    if (opened.isEmpty()) {
        QVERIFY(m_browser.opened.isEmpty());
    } else {
        QCOMPARE(m_browser.opened.size(), 1);
        QCOMPARE(m_browser.opened.first().toString(), opened);
    }
}

QTEST_MAIN(TestWebOpener)
#include "tst_webopener.moc"
