#include "engine/httpget.h"
#include "support/httpserver.h"

#include <QNetworkAccessManager>
#include <QPointer>
#include <QSignalSpy>
#include <QTest>

#include <memory>

using Error = HttpGet::Error;

namespace {

constexpr int Wait = 10000;

HttpGet::Result resultOf(const QSignalSpy &spy)
{
    return spy.isEmpty() ? HttpGet::Result{} : qvariant_cast<HttpGet::Result>(spy.first().at(0));
}

} // namespace

class tst_HttpGet : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();

    void result_data();
    void result();
    void capWithoutAnnouncedLength_data();
    void capWithoutAnnouncedLength();
    void notAWebAddress_data();
    void notAWebAddress();
    void sinkTakesTheBody();
    void sinkRefuses();
    void progress();
    void cancelReportsOnce();
    void destroyedMidFlight();
    void networkGoesFirst();
    void runHelperOwnedByItsOwner();

private:
    QString address(const QString &path) const
    {
        return QStringLiteral("http://%1%2").arg(m_server->hostValue(), path);
    }
    // Ends when another load on the same server has come back: everything the event
    // loop had to do for the earlier loads has had its turn.
    void settle()
    {
        m_server->setResponse("/settle", {200, "s", 0, "text/plain"});
        HttpGet probe(*m_network, QUrl(address("/settle")), {});
        QSignalSpy done(&probe, &HttpGet::finished);
        probe.start();
        QVERIFY(done.wait(Wait));
    }
    // Ends after ms: a load that is held by the server times out. Every timer of ms or
    // less started before it has fired by then.
    void outlast(int ms)
    {
        m_server->setResponse("/outlast", {200, "never", LocalHttpServer::Held, "text/plain"});
        HttpGet probe(*m_network, QUrl(address("/outlast")), {.timeoutMs = ms});
        QSignalSpy done(&probe, &HttpGet::finished);
        probe.start();
        QVERIFY(done.wait(Wait));
        QCOMPARE(resultOf(done).error, Error::Timeout);
    }

    std::unique_ptr<LocalHttpServer> m_server;
    std::unique_ptr<QNetworkAccessManager> m_network;
};

void tst_HttpGet::init()
{
    m_server = std::make_unique<LocalHttpServer>();
    QVERIFY(m_server->isListening());
    m_network = std::make_unique<QNetworkAccessManager>();
}

void tst_HttpGet::cleanup()
{
    m_network.reset();
    m_server.reset();
}

void tst_HttpGet::result_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<int>("timeoutMs");
    QTest::addColumn<qint64>("maxBytes");
    QTest::addColumn<int>("maxRedirects");
    QTest::addColumn<Error>("error");
    QTest::addColumn<int>("status"); // -1: not checked
    QTest::addColumn<QByteArray>("body");

    const QByteArray body = "the answer";
    QTest::newRow("ok") << "/ok" << Wait << qint64(100) << 5 << Error::None << 200 << body;
    QTest::newRow("exactly the cap") << "/ok" << Wait << qint64(body.size()) << 5 << Error::None << 200 << body;
    QTest::newRow("announced beyond the cap") << "/ok" << Wait << qint64(body.size() - 1) << 5 << Error::TooLarge
                                              << 200 << QByteArray();
    QTest::newRow("empty body") << "/empty" << Wait << qint64(100) << 5 << Error::None << 204 << QByteArray();
    QTest::newRow("not found") << "/missing" << Wait << qint64(100) << 5 << Error::Status << 404 << QByteArray();
    QTest::newRow("server error") << "/broken" << Wait << qint64(100) << 5 << Error::Status << 500
                                  << QByteArray();
    QTest::newRow("time-out") << "/held" << 300 << qint64(100) << 5 << Error::Timeout << 0 << QByteArray();
    QTest::newRow("slow redirects share one time-out")
        << "/slow-hop" << 600 << qint64(100) << 5 << Error::Timeout << -1 << QByteArray();
    QTest::newRow("redirect") << "/hop1" << Wait << qint64(100) << 5 << Error::None << 200 << body;
    QTest::newRow("redirects within the bound") << "/hop2" << Wait << qint64(100) << 2 << Error::None << 200
                                                << body;
    QTest::newRow("redirects beyond the bound")
        << "/hop2" << Wait << qint64(100) << 1 << Error::Redirects << 301 << QByteArray();
    QTest::newRow("redirect loop") << "/loop" << Wait << qint64(100) << 5 << Error::Redirects << 301
                                   << QByteArray();
    QTest::newRow("redirect to a local file")
        << "/to-file" << Wait << qint64(100) << 5 << Error::Redirects << 302 << QByteArray();
}

void tst_HttpGet::result()
{
    QFETCH(QString, path);
    QFETCH(int, timeoutMs);
    QFETCH(qint64, maxBytes);
    QFETCH(int, maxRedirects);
    QFETCH(Error, error);
    QFETCH(int, status);
    QFETCH(QByteArray, body);

    m_server->setResponse("/ok", {200, "the answer", 0, "text/plain"});
    m_server->setResponse("/empty", {204, QByteArray(), 0, "text/plain"});
    m_server->setResponse("/broken", {500, "oops", 0, "text/plain"});
    m_server->setResponse("/held", {200, "late", LocalHttpServer::Held, "text/plain"});
    m_server->setRedirect("/slow-hop", 302, "/slow-hop2", 400);
    m_server->setRedirect("/slow-hop2", 302, "/ok", 400);
    m_server->setRedirect("/hop1", 301, "/ok");
    m_server->setRedirect("/hop2", 302, "/hop1");
    m_server->setRedirect("/loop", 301, "/loop");
    m_server->setRedirect("/to-file", 302, "file:///etc/passwd");

    HttpGet get(*m_network, QUrl(address(path)), {.timeoutMs = timeoutMs, .maxBytes = maxBytes, .maxRedirects = maxRedirects});
    QSignalSpy finished(&get, &HttpGet::finished);
    QVERIFY(!get.isRunning());
    get.start();
    QVERIFY(get.isRunning());
    QVERIFY(finished.wait(Wait));
    QVERIFY(!get.isRunning());
    const HttpGet::Result result = resultOf(finished);
    QCOMPARE(result.error, error);
    QCOMPARE(result.ok(), error == Error::None);
    QCOMPARE(result.errorText.isEmpty(), error == Error::None);
    if (status >= 0)
        QCOMPARE(result.status, status);
    QCOMPARE(result.body, body);
    m_server->release();
    settle();
    QCOMPARE(finished.size(), 1);
}

void tst_HttpGet::capWithoutAnnouncedLength_data()
{
    QTest::addColumn<qint64>("maxBytes");
    QTest::addColumn<Error>("error");
    QTest::newRow("within") << qint64(12) << Error::None;
    QTest::newRow("beyond") << qint64(11) << Error::TooLarge;
}

void tst_HttpGet::capWithoutAnnouncedLength()
{
    QFETCH(qint64, maxBytes);
    QFETCH(Error, error);
    // No length in the head: the body ends when the server closes, in pieces.
    LocalHttpServer raw;
    raw.setRaw({"HTTP/1.1 200 OK\r\nConnection: close\r\n\r\n", "part one", "+two"}, 20, true);
    HttpGet get(*m_network, QUrl(QStringLiteral("http://%1/feed").arg(raw.hostValue())),
                {.timeoutMs = Wait, .maxBytes = maxBytes});
    QSignalSpy finished(&get, &HttpGet::finished);
    get.start();
    QVERIFY(finished.wait(Wait));
    const HttpGet::Result result = resultOf(finished);
    QCOMPARE(result.error, error);
    QCOMPARE(result.body, error == Error::None ? QByteArray("part one+two") : QByteArray());
}

void tst_HttpGet::notAWebAddress_data()
{
    QTest::addColumn<QString>("url");
    QTest::newRow("local file") << "file:///etc/passwd";
    QTest::newRow("ftp") << "ftp://127.0.0.1/x";
    QTest::newRow("data") << "data:text/plain,secret";
    QTest::newRow("empty") << "";
    QTest::newRow("no host") << "http:///path";
}

void tst_HttpGet::notAWebAddress()
{
    QFETCH(QString, url);
    HttpGet get(*m_network, QUrl(url), {});
    QSignalSpy finished(&get, &HttpGet::finished);
    get.start();
    QCOMPARE(finished.size(), 0); // never before start() has returned
    QVERIFY(finished.wait(Wait));
    QCOMPARE(resultOf(finished).error, Error::BadAddress);
    QVERIFY(resultOf(finished).body.isEmpty());
}

void tst_HttpGet::sinkTakesTheBody()
{
    const QByteArray body(64 * 1024, 'x');
    m_server->setResponse("/big", {200, body, 0, "application/octet-stream"});
    m_server->setResponse("/missing", {404, "error page", 0, "text/plain"});
    for (const QString &path : {QStringLiteral("/big"), QStringLiteral("/missing")}) {
        QByteArray sunk;
        HttpGet get(*m_network, QUrl(address(path)), {.timeoutMs = Wait, .maxBytes = body.size()});
        get.setSink([&sunk](const QByteArray &piece) {
            sunk += piece;
            return true;
        });
        QSignalSpy finished(&get, &HttpGet::finished);
        get.start();
        QVERIFY(finished.wait(Wait));
        const bool ok = path == QLatin1String("/big");
        QCOMPARE(resultOf(finished).ok(), ok);
        QVERIFY(resultOf(finished).body.isEmpty()); // the sink has it
        QCOMPARE(sunk, ok ? body : QByteArray()); // an error page never reaches it
    }
}

void tst_HttpGet::sinkRefuses()
{
    m_server->setResponse("/ok", {200, "the answer", 0, "text/plain"});
    HttpGet get(*m_network, QUrl(address("/ok")), {});
    int pieces = 0;
    get.setSink([&pieces](const QByteArray &) {
        ++pieces;
        return false;
    });
    QSignalSpy finished(&get, &HttpGet::finished);
    get.start();
    QVERIFY(finished.wait(Wait));
    QCOMPARE(resultOf(finished).error, Error::Sink);
    settle();
    QCOMPARE(pieces, 1);
    QCOMPARE(finished.size(), 1);
}

void tst_HttpGet::progress()
{
    const QByteArray body(10000, 'p');
    m_server->setResponse("/big", {200, body, 0, "application/octet-stream"});
    HttpGet get(*m_network, QUrl(address("/big")), {.timeoutMs = Wait, .maxBytes = body.size()});
    QSignalSpy progressed(&get, &HttpGet::progressed);
    QSignalSpy finished(&get, &HttpGet::finished);
    get.start();
    QVERIFY(finished.wait(Wait));
    QVERIFY(resultOf(finished).ok());
    QVERIFY(!progressed.isEmpty());
    QCOMPARE(progressed.last().at(0).toLongLong(), body.size());
    QCOMPARE(progressed.last().at(1).toLongLong(), body.size());
}

void tst_HttpGet::cancelReportsOnce()
{
    m_server->setResponse("/held", {200, "late", LocalHttpServer::Held, "text/plain"});
    HttpGet get(*m_network, QUrl(address("/held")), {.timeoutMs = 300});
    QSignalSpy finished(&get, &HttpGet::finished);
    get.cancel(); // not started: nothing to end
    QCOMPARE(finished.size(), 0);
    get.start();
    QTRY_COMPARE_WITH_TIMEOUT(m_server->paths.size(), 1, Wait);
    get.cancel();
    QCOMPARE(finished.size(), 1); // at once
    QCOMPARE(resultOf(finished).error, Error::Cancelled);
    get.cancel();
    // Neither the answer nor the time-out reports a second time.
    m_server->release();
    outlast(400);
    QCOMPARE(finished.size(), 1);
}

void tst_HttpGet::destroyedMidFlight()
{
    m_server->setResponse("/held", {200, "late", LocalHttpServer::Held, "text/plain"});
    int reports = 0;
    auto *get = new HttpGet(*m_network, QUrl(address("/held")), {.timeoutMs = 200});
    connect(get, &HttpGet::finished, this, [&reports] { ++reports; });
    get->start();
    QTRY_COMPARE_WITH_TIMEOUT(m_server->paths.size(), 1, Wait);
    delete get;
    m_server->release();
    outlast(300);
    QCOMPARE(reports, 0);

    // Destroyed from its own result's handler.
    m_server->setResponse("/ok", {200, "the answer", 0, "text/plain"});
    QPointer<HttpGet> self = new HttpGet(*m_network, QUrl(address("/ok")), {});
    connect(self, &HttpGet::finished, this, [&reports, &self](const HttpGet::Result &) {
        ++reports;
        delete self.data();
    });
    self->start();
    QTRY_VERIFY_WITH_TIMEOUT(self.isNull(), Wait);
    settle();
    QCOMPARE(reports, 1);
}

void tst_HttpGet::networkGoesFirst()
{
    m_server->setResponse("/held", {200, "late", LocalHttpServer::Held, "text/plain"});
    HttpGet get(*m_network, QUrl(address("/held")), {.timeoutMs = Wait});
    QSignalSpy finished(&get, &HttpGet::finished);
    get.start();
    QTRY_COMPARE_WITH_TIMEOUT(m_server->paths.size(), 1, Wait);
    m_network.reset();
    QVERIFY(finished.wait(Wait));
    QCOMPARE(resultOf(finished).error, Error::Network);
    m_network = std::make_unique<QNetworkAccessManager>();
    m_server->release();
    settle();
    QCOMPARE(finished.size(), 1);

    // Already gone when the load starts.
    auto network = std::make_unique<QNetworkAccessManager>();
    HttpGet orphan(*network, QUrl(address("/held")), {});
    network.reset();
    QSignalSpy orphanFinished(&orphan, &HttpGet::finished);
    orphan.start();
    QVERIFY(orphanFinished.wait(Wait));
    QCOMPARE(resultOf(orphanFinished).error, Error::Network);
}

void tst_HttpGet::runHelperOwnedByItsOwner()
{
    m_server->setResponse("/ok", {200, "the answer", 0, "text/plain"});
    m_server->setResponse("/held", {200, "late", LocalHttpServer::Held, "text/plain"});

    QList<HttpGet::Result> results;
    auto owner = std::make_unique<QObject>();
    QPointer<HttpGet> done = HttpGet::run(*m_network, QUrl(address("/ok")), {}, owner.get(),
                                          [&results](const HttpGet::Result &r) { results.append(r); });
    QTRY_COMPARE_WITH_TIMEOUT(results.size(), 1, Wait);
    QCOMPARE(results.first().body, QByteArray("the answer"));
    QTRY_VERIFY_WITH_TIMEOUT(done.isNull(), Wait); // deletes itself after its result

    QPointer<HttpGet> pending = HttpGet::run(*m_network, QUrl(address("/held")), {.timeoutMs = 200},
                                             owner.get(), [&results](const HttpGet::Result &r) { results.append(r); });
    QTRY_COMPARE_WITH_TIMEOUT(m_server->paths.size(), 2, Wait);
    owner.reset();
    QVERIFY(pending.isNull());
    m_server->release();
    outlast(300);
    QCOMPARE(results.size(), 1);
}

QTEST_GUILESS_MAIN(tst_HttpGet)
#include "tst_httpget.moc"
