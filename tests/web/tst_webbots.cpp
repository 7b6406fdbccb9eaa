#include "core/cp1251.h"
#include "engine/currencybot.h"
#include "engine/quotationbot.h"
#include "engine/weatherbot.h"
#include "webfixture.h"

#include <QSignalSpy>
#include <QTest>

namespace {

const QString Asker = QStringLiteral("111111");
const QString Other = QStringLiteral("222222");
const QString CityDatabase = QStringLiteral("00101Москва\r\n00202Санкт-Петербург\r\n");

QString weatherBlock(const QString &date, const QString &weekday, const QString &time, const QString &clouds,
                     const QString &rain, const QString &temperature, const QString &pressure,
                     const QString &wind)
{
    return QStringList{QStringLiteral("Дата: ") + date,         QStringLiteral("День недели: ") + weekday,
                       QStringLiteral("Время: ") + time,        QStringLiteral("Облачность: ") + clouds,
                       QStringLiteral("Осадки: ") + rain,       QStringLiteral("Температура: ") + temperature,
                       QStringLiteral("Давление: ") + pressure, QStringLiteral("Ветер: ") + wind}
        .join(CrLf);
}

QString expectedWeather(const QString &year)
{
    return QStringLiteral("Погода предоставлена Gismeteo.\r\nПогода на: Москва\r\n\r\n") +
           weatherBlock("12.01." + year, "Понедельник", "10:00", "Облачно", "без осадков", " +5", "745 мм,",
                        "ветер С 3 м/с") +
           CrLf + CrLf +
           weatherBlock("12.01." + year, "Понедельник", "16:00", "Ясно", "без осадков", " +9", "746 мм,",
                        "ветер СЗ 4 м/с") +
           CrLf + CrLf +
           weatherBlock("12.01." + year, "Понедельник", "22:00", "Малооблачно", "дождь", " +3", "744 мм,",
                        "ветер З 2 м/с") +
           CrLf + CrLf +
           weatherBlock("13.01." + year, "Вторник", "4:00", "Пасмурно", "снег", " -1", "743 мм,",
                        "ветер Ю 1 м/с");
}

QString quotation(int n)
{
    return QStringLiteral("Цитата %1\r\nСтрока %1\r\nответ \"%1\" <a>\r\n").arg(n) +
           QString(200, QLatin1Char('-')) + CrLf;
}

const QByteArray RatesReply =
    "HTTP/1.1 200 OK\r\nContent-Type: text/javascript\r\n\r\n" + fixture("rates.js");
const QString RatesText = QStringLiteral("Курс доллара: 30.1234\r\nКурс евро: 43.5678\r\n");

} // namespace

class tst_WebBots : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();

    void recognition_data();
    void recognition();

    void weatherAnswered();
    void weatherYear_data();
    void weatherYear();
    void weatherRefused_data();
    void weatherRefused();
    void slowFeedDoesNotHoldOthers();
    void shippedTownList();
    void endedWhileLoading();

    void quotationCount_data();
    void quotationCount();
    void quotationsAnswered_data();
    void quotationsAnswered();
    void quotationRefused_data();
    void quotationRefused();

    void ratesText_data();
    void ratesText();
    void currencyAnswered_data();
    void currencyAnswered();
    void currencyAnswersEveryoneWaiting();
    void currencyRefused_data();
    void currencyRefused();

private:
    // The direct replies (not the answer timer's parts) so far.
    QList<Sent> sentTo(const QString &uin) const
    {
        QList<Sent> result;
        for (const Sent &m : std::as_const(m_web->sent)) {
            if (m.toUin == uin)
                result.append(m);
        }
        return result;
    }
    void switchOn(const QString &path) { QVERIFY(TextFile::writeAll(path, QStringLiteral("1\r\n"))); }

    std::unique_ptr<WebFixture> m_web;
    std::unique_ptr<LocalHttpServer> m_server;
};

void tst_WebBots::init()
{
    m_web = std::make_unique<WebFixture>();
    QVERIFY(m_web->valid());
    m_server = std::make_unique<LocalHttpServer>();
    QVERIFY(m_server->isListening());
}

void tst_WebBots::cleanup()
{
    m_web.reset();
    m_server.reset();
}

void tst_WebBots::recognition_data()
{
    QTest::addColumn<QString>("message");
    QTest::addColumn<bool>("weather");
    QTest::addColumn<bool>("quotation");
    QTest::addColumn<bool>("currency");

    QTest::newRow("weather") << "!погода Москва" << true << false << false;
    QTest::newRow("weather upper") << "!ПОГОДА москва" << true << false << false;
    QTest::newRow("weather blank only") << "!погода " << true << false << false;
    QTest::newRow("weather without blank") << "!погода" << false << false << false;
    QTest::newRow("bash") << "!bash" << false << true << false;
    QTest::newRow("bash count") << "!BASH 3" << false << true << false;
    QTest::newRow("bash letters") << "!bashfoo" << false << true << false;
    QTest::newRow("баш") << "!баш" << false << true << false;
    QTest::newRow("баш letters") << "!башня" << false << false << false;
    QTest::newRow("кв") << "!кв" << false << false << true;
    QTest::newRow("КВ letters") << "!КВартира" << false << false << true;
    QTest::newRow("кв no mark") << "кв" << false << false << false;
}

void tst_WebBots::recognition()
{
    QFETCH(QString, message);
    QFETCH(bool, weather);
    QFETCH(bool, quotation);
    QFETCH(bool, currency);
    QCOMPARE(WeatherBot::isRequest(message), weather);
    QCOMPARE(QuotationBot::countText(message).has_value(), quotation);
    QCOMPARE(CurrencyBot::isRequest(message), currency);
}

void tst_WebBots::weatherAnswered()
{
    switchOn(WeatherBot::SwitchPath);
    QVERIFY(TextFile::writeAll(WeatherBot::CityDatabasePath, CityDatabase));
    WebFixture::setAddress(WebAddresses::WeatherFeed, m_server->hostValue());
    m_server->setResponse(QStringLiteral("/rss/00101.xml"), {200, fixture("weather.xml")});

    m_web->process(Asker, QStringLiteral("!погода Москва"), 3);
    QVERIFY(m_web->sent.isEmpty());
    QTRY_COMPARE_WITH_TIMEOUT(m_web->sent.size(), 1, 15000);
    QCOMPARE(m_web->sent.first(), (Sent{3, expectedWeather("2027"), Asker}));
    QCOMPARE(m_server->paths, QStringList{"/rss/00101.xml"});
    QCOMPARE(m_web->services->weather().pendingLoads(), 0);
    QVERIFY(!m_web->timer1.isRunning());
}

void tst_WebBots::weatherYear_data()
{
    QTest::addColumn<QDate>("today");
    QTest::addColumn<QString>("year");
    QTest::newRow("same month") << QDate(2026, 1, 5) << "2026";
    QTest::newRow("month ahead") << QDate(2025, 12, 31) << "2026";
}

void tst_WebBots::weatherYear()
{
    QFETCH(QDate, today);
    QFETCH(QString, year);
    // The same forecast, whether the feed comes in UTF-8 or in Windows-1251.
    for (const char *file : {"weather.xml", "weather_1251.xml"}) {
        const std::optional<QList<RssItem>> items = WebLoad::parseRss(fixture(QString::fromLatin1(file)));
        QVERIFY(items);
        QCOMPARE(WeatherBot::buildReply(*items, today).value_or(QString()), expectedWeather(year));
    }
}

void tst_WebBots::weatherRefused_data()
{
    QTest::addColumn<bool>("on");
    QTest::addColumn<QString>("address"); // "server", "down", "" for none
    QTest::addColumn<QString>("message");
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("feed");
    QTest::addColumn<int>("delayMs");
    QTest::addColumn<QString>("expected");

    const QString town = QStringLiteral("!погода Москва");
    const QString failed = WeatherBot::FailedText;
    QTest::newRow("switched off") << false << "server" << town << 200 << "weather.xml" << 0
                                  << WeatherBot::OffText;
    QTest::newRow("no town") << true << "server"
                             << "!погода " << 200 << "weather.xml" << 0 << WeatherBot::NoTownText;
    QTest::newRow("unknown town") << true << "server"
                                  << "!погода Тверь" << 200 << "weather.xml" << 0
                                  << WeatherBot::TownNotFoundText;
    QTest::newRow("other letter case")
        << true << "server"
        << "!погода москва" << 200 << "weather.xml" << 0 << WeatherBot::TownNotFoundText;
    QTest::newRow("no address") << true << "" << town << 200 << "weather.xml" << 0
                                << WeatherBot::UnavailableText;
    QTest::newRow("server down") << true << "down" << town << 200 << "weather.xml" << 0 << failed;
    QTest::newRow("server error") << true << "server" << town << 500 << "weather.xml" << 0 << failed;
    QTest::newRow("three items") << true << "server" << town << 200 << "weather_short.xml" << 0 << failed;
    QTest::newRow("not a feed") << true << "server" << town << 200 << "rates.js" << 0 << failed;
    QTest::newRow("too slow") << true << "server" << town << 200 << "weather.xml" << LocalHttpServer::Held
                              << failed;
}

void tst_WebBots::weatherRefused()
{
    QFETCH(bool, on);
    QFETCH(QString, address);
    QFETCH(QString, message);
    QFETCH(int, status);
    QFETCH(QString, feed);
    QFETCH(int, delayMs);
    QFETCH(QString, expected);

    if (on)
        switchOn(WeatherBot::SwitchPath);
    QVERIFY(TextFile::writeAll(WeatherBot::CityDatabasePath, CityDatabase));
    if (!address.isEmpty())
        WebFixture::setAddress(WebAddresses::WeatherFeed, m_server->hostValue());
    if (address == QLatin1String("down"))
        m_server->close();
    m_server->setResponse(QStringLiteral("/rss/00101.xml"), {status, fixture(feed), delayMs});

    m_web->process(Asker, message, 2);
    QTRY_COMPARE_WITH_TIMEOUT(m_web->sent.size(), 1, 15000);
    QCOMPARE(m_web->sent.first(), (Sent{2, expected, Asker}));
    QCOMPARE(m_web->services->weather().pendingLoads(), 0);
    QVERIFY(!m_web->timer1.isRunning());
}

void tst_WebBots::slowFeedDoesNotHoldOthers()
{
    switchOn(WeatherBot::SwitchPath);
    QVERIFY(TextFile::writeAll(WeatherBot::CityDatabasePath, CityDatabase));
    WebFixture::setAddress(WebAddresses::WeatherFeed, m_server->hostValue());
    m_server->setResponse(QStringLiteral("/rss/00101.xml"), {200, fixture("weather.xml"), LocalHttpServer::Held});

    m_web->process(Asker, QStringLiteral("!погода Москва"), 1);
    m_web->process(Other, QStringLiteral("привет"), 2);
    // The other user's answer goes out while the feed is still on its way.
    QTRY_COMPARE_WITH_TIMEOUT(sentTo(Other).size(), 1, 15000);
    QCOMPARE(sentTo(Asker).size(), 0);
    QCOMPARE(m_web->services->weather().pendingLoads(), 1);
    m_server->release();
    QTRY_COMPARE_WITH_TIMEOUT(sentTo(Asker).size(), 1, 15000);
    QCOMPARE(sentTo(Asker).first(), (Sent{1, expectedWeather("2027"), Asker}));
}

void tst_WebBots::endedWhileLoading()
{
    switchOn(WeatherBot::SwitchPath);
    switchOn(CurrencyBot::SwitchPath);
    QVERIFY(TextFile::writeAll(WeatherBot::CityDatabasePath, CityDatabase));
    WebFixture::setAddress(WebAddresses::WeatherFeed, m_server->hostValue());
    WebFixture::setAddress(WebAddresses::CurrencyHost, QStringLiteral("127.0.0.1"));
    WebFixture::setAddress(WebAddresses::CurrencyPort, QString::number(m_server->port()));
    m_server->setResponse(QStringLiteral("/rss/00101.xml"), {200, fixture("weather.xml"), LocalHttpServer::Held});

    m_web->process(Asker, QStringLiteral("!погода Москва"));
    m_web->process(Other, QStringLiteral("!кв"));
    QTRY_COMPARE_WITH_TIMEOUT(m_server->requests.size(), 2, 15000);
    m_web.reset();
    m_server->release();
    QCoreApplication::processEvents();
}

void tst_WebBots::shippedTownList()
{
    const QString text =
        TextFile::readAll(TextFile::Absolute{QStringLiteral(KORVANE_TEST_DATA "/../../../data/погода.txt")});
    QVERIFY(text.endsWith(CrLf));
    const QStringList lines = TextFile::splitLines(text);
    QVERIFY(lines.size() >= 3);
    for (const QString &line : lines) {
        QVERIFY2(line.size() > WeatherBot::CodeLength, qPrintable(line));
        const QString town = line.mid(WeatherBot::CodeLength);
        QCOMPARE(WeatherBot::townCode(text, town), line.left(WeatherBot::CodeLength));
    }
}

void tst_WebBots::quotationCount_data()
{
    QTest::addColumn<QString>("message");
    QTest::addColumn<int>("limit");
    QTest::newRow("alone") << "!bash" << 5;
    QTest::newRow("three") << "!bash 3" << 3;
    QTest::newRow("баш three") << "!БАШ 3" << 3;
    QTest::newRow("blank only") << "!баш " << 5;
    QTest::newRow("zero") << "!баш 0" << 5;
    QTest::newRow("negative") << "!баш -2" << 5;
    QTest::newRow("word") << "!баш много" << 5;
    QTest::newRow("letters after") << "!bashmore 7" << 5;
    QTest::newRow("huge") << "!bash 1000000" << QuotationBot::MaxCount;
}

void tst_WebBots::quotationCount()
{
    QFETCH(QString, message);
    QFETCH(int, limit);
    const std::optional<QString> count = QuotationBot::countText(message);
    QVERIFY(count);
    QCOMPARE(QuotationBot::limitOf(*count), limit);
}

void tst_WebBots::quotationsAnswered_data()
{
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("expected");
    // Draws 80, 10, 90, 95, 20, 75: items 1, 3 and 6 pass the random rule.
    QTest::newRow("default") << "!bash" << quotation(1) + quotation(3) + quotation(6);
    QTest::newRow("count 2") << "!баш 2" << quotation(1) + quotation(3);
}

void tst_WebBots::quotationsAnswered()
{
    QFETCH(QString, message);
    QFETCH(QString, expected);
    switchOn(QuotationBot::SwitchPath);
    WebFixture::setAddress(WebAddresses::QuotationFeed, m_server->hostValue());
    m_server->setResponse(QStringLiteral("/rss/"), {200, fixture("quotes.xml")});
    for (double unit : {0.8, 0.1, 0.9, 0.95, 0.2, 0.75})
        m_web->random.queueUnit(unit);

    m_web->process(Asker, message, 4);
    QVERIFY(m_web->sent.isEmpty());
    // The quotations go to the answer timer, which sends them on its tick.
    QTRY_COMPARE_WITH_TIMEOUT(m_web->engine->answerSender().pendingCount(), 1, 15000);
    QVERIFY(m_web->timer1.isRunning());
    m_web->timer1.tick();
    QCOMPARE(m_web->sent, (QList<Sent>{{4, expected, Asker}}));
}

void tst_WebBots::quotationRefused_data()
{
    QTest::addColumn<bool>("on");
    QTest::addColumn<QString>("address");
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("expected");
    QTest::newRow("switched off") << false << "server" << 200 << QuotationBot::OffText;
    QTest::newRow("no address") << true << "" << 200 << QuotationBot::UnavailableText;
    QTest::newRow("server down") << true << "down" << 200 << QuotationBot::FailedText;
    QTest::newRow("not found") << true << "server" << 404 << QuotationBot::FailedText;
    QTest::newRow("none chosen") << true << "server" << 200 << QuotationBot::NoneChosenText;
}

void tst_WebBots::quotationRefused()
{
    QFETCH(bool, on);
    QFETCH(QString, address);
    QFETCH(int, status);
    QFETCH(QString, expected);
    if (on)
        switchOn(QuotationBot::SwitchPath);
    if (!address.isEmpty())
        WebFixture::setAddress(WebAddresses::QuotationFeed, m_server->hostValue());
    if (address == QLatin1String("down"))
        m_server->close();
    m_server->setResponse(QStringLiteral("/rss/"), {status, fixture("quotes.xml")});
    // Every draw is low: no item is taken.

    m_web->process(Asker, QStringLiteral("!bash"), 2);
    QTRY_COMPARE_WITH_TIMEOUT(m_web->sent.size(), 1, 15000);
    QCOMPARE(m_web->sent.first(), (Sent{2, expected, Asker}));
    QCOMPARE(m_web->engine->answerSender().pendingCount(), 0);
}

void tst_WebBots::ratesText_data()
{
    QTest::addColumn<QString>("reply");
    QTest::addColumn<QString>("expected"); // empty: nothing found
    const QString script = QString::fromUtf8(fixture("rates.js"));
    QTest::newRow("200 body") << QString::fromLatin1(RatesReply) << RatesText;
    QTest::newRow("other status keeps the header")
        << "HTTP/1.1 203 Fine\r\nX: y\r\n\r\n" + script << RatesText;
    QTest::newRow("no marker") << "HTTP/1.1 200 OK\r\n\r\nvar cur2=new Array(1)" << QString();
    QTest::newRow("marker in the header only")
        << "HTTP/1.1 200 OK\r\nX: " + script + "\r\n\r\nnothing" << QString();
    QTest::newRow("no euro") << "var cur1=new Array(1, \"30.1\", \"43.5\")" << QString();
    QTest::newRow("no dollar end") << "var cur1=new Array(1, \"30.1" << QString();
}

void tst_WebBots::ratesText()
{
    QFETCH(QString, reply);
    QFETCH(QString, expected);
    QCOMPARE(CurrencyBot::ratesText(reply).value_or(QString()), expected);
}

void tst_WebBots::currencyAnswered_data()
{
    QTest::addColumn<QList<QByteArray>>("chunks");
    QTest::addColumn<bool>("closeAfter");
    const qsizetype split = RatesReply.indexOf("Array") + 2;
    QTest::newRow("one chunk, closed") << QList<QByteArray>{RatesReply} << true;
    QTest::newRow("marker split, kept open")
        << QList<QByteArray>{RatesReply.left(split), RatesReply.mid(split)} << false;
}

void tst_WebBots::currencyAnswered()
{
    QFETCH(QList<QByteArray>, chunks);
    QFETCH(bool, closeAfter);
    switchOn(CurrencyBot::SwitchPath);
    WebFixture::setAddress(WebAddresses::CurrencyHost, QStringLiteral("127.0.0.1"));
    WebFixture::setAddress(WebAddresses::CurrencyPort, QString::number(m_server->port()));
    // The chunks come well within the quiet second that ends an open reply.
    m_server->setRaw(chunks, 50, closeAfter);

    m_web->process(Asker, QStringLiteral("!кв"), 5);
    QVERIFY(m_web->sent.isEmpty());
    QTRY_COMPARE_WITH_TIMEOUT(m_web->sent.size(), 1, 15000);
    QCOMPARE(m_web->sent.first(), (Sent{5, RatesText, Asker}));
    QCOMPARE(m_server->requests,
             QList<QByteArray>{"GET /js/rbc_b_w.js HTTP/1.1\r\nHost: 127.0.0.1\r\nAccept-Language: ru\r\n"
                               "User-Agent: Mozilla/4.0 (compatible; MSIE 6.0; Windows NT 5.1; SV1)\r\n"
                               "Connection: Keep -Alive\r\n\r\n"});
    QCOMPARE(m_web->services->currency().waiting(), 0);
}

void tst_WebBots::currencyAnswersEveryoneWaiting()
{
    switchOn(CurrencyBot::SwitchPath);
    WebFixture::setAddress(WebAddresses::CurrencyHost, QStringLiteral("127.0.0.1"));
    WebFixture::setAddress(WebAddresses::CurrencyPort, QString::number(m_server->port()));
    m_server->setRaw({RatesReply.left(40), RatesReply.mid(40)}, 300, true);

    m_web->process(Asker, QStringLiteral("!кв"), 1);
    m_web->process(Other, QStringLiteral("!КВ курс"), 2);
    QCOMPARE(m_web->services->currency().waiting(), 2);
    QTRY_COMPARE_WITH_TIMEOUT(m_web->sent.size(), 2, 15000);
    QCOMPARE(m_web->sent, (QList<Sent>{{1, RatesText, Asker}, {2, RatesText, Other}}));
    QCOMPARE(m_server->requests.size(), 1);

    // A later request starts a fetch of its own.
    m_web->process(Other, QStringLiteral("!кв"), 2);
    QTRY_COMPARE_WITH_TIMEOUT(m_web->sent.size(), 3, 15000);
    QCOMPARE(m_web->sent.last(), (Sent{2, RatesText, Other}));
    QCOMPARE(m_server->requests.size(), 2);
}

void tst_WebBots::currencyRefused_data()
{
    QTest::addColumn<bool>("on");
    QTest::addColumn<QString>("address");
    QTest::addColumn<QByteArray>("reply");
    QTest::addColumn<QString>("expected");
    QTest::newRow("switched off") << false << "server" << RatesReply << CurrencyBot::OffText;
    QTest::newRow("no host") << true << "" << RatesReply << CurrencyBot::UnavailableText;
    QTest::newRow("server down") << true << "down" << RatesReply << CurrencyBot::FailedText;
    QTest::newRow("no rates") << true << "server" << QByteArray("HTTP/1.1 200 OK\r\n\r\nnothing")
                              << CurrencyBot::FailedText;
    QTest::newRow("silent server") << true << "server" << QByteArray() << CurrencyBot::FailedText;
}

void tst_WebBots::currencyRefused()
{
    QFETCH(bool, on);
    QFETCH(QString, address);
    QFETCH(QByteArray, reply);
    QFETCH(QString, expected);
    if (on)
        switchOn(CurrencyBot::SwitchPath);
    if (!address.isEmpty()) {
        WebFixture::setAddress(WebAddresses::CurrencyHost, QStringLiteral("127.0.0.1"));
        WebFixture::setAddress(WebAddresses::CurrencyPort, QString::number(m_server->port()));
    }
    if (address == QLatin1String("down"))
        m_server->close();
    // A silent server keeps the connection open and says nothing: the time-out answers.
    m_server->setRaw(reply.isEmpty() ? QList<QByteArray>{} : QList<QByteArray>{reply}, 0, !reply.isEmpty());
    m_web->services->currency().setQuietInterval(200);

    m_web->process(Asker, QStringLiteral("!кв"), 2);
    QTRY_COMPARE_WITH_TIMEOUT(m_web->sent.size(), 1, 15000);
    QCOMPARE(m_web->sent.first(), (Sent{2, expected, Asker}));
    QCOMPARE(m_web->services->currency().waiting(), 0);
}

QTEST_GUILESS_MAIN(tst_WebBots)
#include "tst_webbots.moc"
