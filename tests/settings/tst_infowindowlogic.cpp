// The file and step logic behind the sub-bot switch, tutorial, support and news windows,
// without widgets.
#include "core/generalsettings.h"
#include "settings/infotexts.h"
#include "files/subbotswitch.h"
#include "settings/supportcontacts.h"
#include "settings/tutorial.h"
#include "support/filemode.h"
#include "support/programhome.h"

#include <QTest>

#include <memory>

namespace {
const QByteArray Missing = "<missing>";
const QString Switch = QStringLiteral("\\Подпрограммы\\Погода.txt");
} // namespace

class tst_InfoWindowLogic : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup() { m_home.reset(); }

    void switchReadsAsTheEngine_data();
    void switchReadsAsTheEngine();
    void switchWritesAndDeletes();
    void tutorialSteps();
    void tutorialArrivals_data();
    void tutorialArrivals();
    void tutorialMarker();
    void contactValues_data();
    void contactValues();
    void supportDrafts();
    void lineBreaks_data();
    void lineBreaks();

private:
    QString file(const QString &relative) const { return m_home->path() + QLatin1Char('/') + relative; }
    std::unique_ptr<ProgramHome> m_home;
};

void tst_InfoWindowLogic::init()
{
    m_home = std::make_unique<ProgramHome>();
    QVERIFY(m_home->isValid());
}

void tst_InfoWindowLogic::switchReadsAsTheEngine_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<bool>("on");
    QTest::newRow("one") << QByteArray("1\r\n") << true;
    QTest::newRow("printed one") << QByteArray(" 1 \r\n") << true;
    QTest::newRow("one point zero") << QByteArray("1.0") << true;
    QTest::newRow("zero") << QByteArray("0\r\n") << false;
    QTest::newRow("minus one") << QByteArray("-1\r\n") << false;
    QTest::newRow("one and more") << QByteArray("1\r\n1\r\n") << false;
    QTest::newRow("empty") << QByteArray() << false;
    QTest::newRow("missing") << Missing << false;
}

void tst_InfoWindowLogic::switchReadsAsTheEngine()
{
    QFETCH(QByteArray, content);
    QFETCH(bool, on);
    if (content != Missing)
        QVERIFY(FileProbe::writeBytes(file(QStringLiteral("Подпрограммы/Погода.txt")), content));
    QCOMPARE(SubBotSwitch(Switch).isOn(), on);
}

void tst_InfoWindowLogic::switchWritesAndDeletes()
{
    const SubBotSwitch weather(Switch);
    const QString path = file(QStringLiteral("Подпрограммы/Погода.txt"));
    // Off while already off is no failure.
    QVERIFY(weather.setOn(false));
    QCOMPARE(FileProbe::bytes(path), Missing);
    QVERIFY(weather.setOn(true));
    QCOMPARE(FileProbe::bytes(path), QByteArray("1\r\n"));
    QVERIFY(weather.setOn(true));
    QCOMPARE(FileProbe::bytes(path), QByteArray("1\r\n"));
    QVERIFY(weather.setOn(false));
    QCOMPARE(FileProbe::bytes(path), Missing);
}

void tst_InfoWindowLogic::tutorialSteps()
{
    Tutorial tutorial;
    QCOMPARE(tutorial.step(), 0);
    QVERIFY(!tutorial.canGoBack());
    QCOMPARE(tutorial.back(), 0);
    for (int step = 1; step <= Tutorial::FinalStep; ++step)
        QCOMPARE(tutorial.next(), step);
    QVERIFY(tutorial.finished());
    QCOMPARE(tutorial.next(), Tutorial::FinalStep);
    QCOMPARE(tutorial.back(), Tutorial::LastTextStep);
    QVERIFY(!tutorial.finished());
    tutorial.restart();
    QCOMPARE(tutorial.step(), 0);
}

void tst_InfoWindowLogic::tutorialArrivals_data()
{
    using Kind = Tutorial::WindowAction::Kind;
    QTest::addColumn<int>("step");
    QTest::addColumn<QList<Tutorial::WindowAction>>("actions");
    const auto show = [](const char *name) {
        return Tutorial::WindowAction{Kind::Show, QString::fromLatin1(name)};
    };
    const auto hide = [](const char *name) {
        return Tutorial::WindowAction{Kind::Hide, QString::fromLatin1(name)};
    };
    QTest::newRow("0") << 0 << QList<Tutorial::WindowAction>();
    QTest::newRow("1") << 1 << QList{show("Form1")};
    QTest::newRow("2") << 2 << QList<Tutorial::WindowAction>();
    QTest::newRow("3") << 3 << QList{hide("Form1"), show("Form9")};
    QTest::newRow("4") << 4 << QList<Tutorial::WindowAction>();
    QTest::newRow("5") << 5 << QList<Tutorial::WindowAction>();
    QTest::newRow("6") << 6 << QList{hide("Form9"), hide("Form12"), hide("Form14"), show("Form11")};
    QTest::newRow("7") << 7 << QList{hide("Form11"), show("fMain")};
    QTest::newRow("8") << 8 << QList<Tutorial::WindowAction>();
}

void tst_InfoWindowLogic::tutorialArrivals()
{
    QFETCH(int, step);
    QFETCH(QList<Tutorial::WindowAction>, actions);
    QCOMPARE(Tutorial::arrivalActions(step), actions);
}

void tst_InfoWindowLogic::tutorialMarker()
{
    QVERIFY(FileProbe::writeBytes(file(QStringLiteral("Обучение.txt")), "0\r\n"));
    QVERIFY(Tutorial::writeMarker());
    QCOMPARE(FileProbe::bytes(file(QStringLiteral("Обучение.txt"))), QByteArray(" 1 \r\n"));
}

void tst_InfoWindowLogic::contactValues_data()
{
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("stored");
    QTest::addColumn<QString>("value"); // empty: not available
    QTest::newRow("number") << SupportContacts::SupportUin << "123456"
                            << "123456";
    QTest::newRow("number with blanks") << SupportContacts::AuthorUin << "  987 "
                                        << "987";
    QTest::newRow("not a number") << SupportContacts::SupportUin << "12a"
                                  << "";
    QTest::newRow("too long a number") << SupportContacts::AuthorUin << "1234567890123456"
                                       << "";
    QTest::newRow("blank") << SupportContacts::Site << "   "
                           << "";
    QTest::newRow("site") << SupportContacts::Site << "https://example.org/"
                          << "https://example.org/";
    QTest::newRow("mail") << SupportContacts::SupportMail << "a@b.c"
                          << "a@b.c";
}

void tst_InfoWindowLogic::contactValues()
{
    QFETCH(QString, key);
    QFETCH(QString, stored);
    QFETCH(QString, value);
    QVERIFY(Addresses::setValues({{key, stored}}));
    const std::optional<QString> found = SupportContacts::value(key);
    QCOMPARE(found.value_or(QString()), value);
    QCOMPARE(SupportContacts::shown(key), value.isEmpty() ? SupportContacts::NotConfigured : value);
    QVERIFY(!SupportContacts::value(QStringLiteral("Missing")));
}

void tst_InfoWindowLogic::supportDrafts()
{
    const QList<SupportTopic> &topics = SupportTopics::all();
    QCOMPARE(topics.size(), 4);
    const MessageDraft draft = SupportTopics::draft(topics.at(0), QStringLiteral("55"));
    QCOMPARE(draft.recipient, QStringLiteral("55"));
    QCOMPARE(draft.subject, QStringLiteral("Найдена ошибка"));
    QCOMPARE(draft.message.value_or(QString()).count(QStringLiteral("\r\n")), 2);
    const MessageDraft contact = SupportTopics::contactDraft(QStringLiteral("77"));
    QCOMPARE(contact, (MessageDraft{QStringLiteral("77"), QStringLiteral("Обращение в тех. поддержку"),
                                    std::nullopt}));
}

void tst_InfoWindowLogic::lineBreaks_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("shown");
    QTest::newRow("CR LF") << "a\r\nb\r\n"
                           << "a\nb\n";
    QTest::newRow("LF") << "a\nb"
                        << "a\nb";
    QTest::newRow("none") << "ab"
                          << "ab";
    QTest::newRow("CR CR LF") << "a\r\r\nb"
                              << "a\r\nb";
}

void tst_InfoWindowLogic::lineBreaks()
{
    QFETCH(QString, text);
    QFETCH(QString, shown);
    QCOMPARE(InfoTexts::lineBreaks(text), shown);
}

QTEST_GUILESS_MAIN(tst_InfoWindowLogic)
#include "tst_infowindowlogic.moc"
