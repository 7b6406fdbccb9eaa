// The sub-bot switch windows against a bot online on the local OSCAR server: a user's
// request gets the sub-bot's "off" answer exactly while the window's box is unchecked.
#include "core/namedtimer.h"
#include "engine/currencybot.h"
#include "engine/install.h"
#include "engine/quotationbot.h"
#include "engine/weatherbot.h"
#include "platform/recordingdialogs.h"
#include "session/icqsession.h"
#include "settings/subbot_switch_windows.h"
#include "support/onlinebot.h"
#include "support/programhome.h"

#include <QCheckBox>
#include <QTest>

#include <memory>

namespace {
const QString User = QStringLiteral("424242");
}

class tst_SubBotSwitchesOnline : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void answerFollowsTheBox_data();
    void answerFollowsTheBox();

private:
    RecordingDialogs m_dialogs;
    std::unique_ptr<ProgramHome> m_home;
    std::unique_ptr<OnlineBot> m_bot;
    std::unique_ptr<TimerRegistry> m_timers;
    std::unique_ptr<EngineParts> m_engine;
};

void tst_SubBotSwitchesOnline::init()
{
    m_home = std::make_unique<ProgramHome>();
    QVERIFY(m_home->isValid());
    m_dialogs = RecordingDialogs();
    Dialogs::setInstance(&m_dialogs);
    m_bot = std::make_unique<OnlineBot>();
    QVERIFY2(m_bot->isListening(), qPrintable(m_bot->errorString()));
    m_timers = std::make_unique<TimerRegistry>();
    MessageHooks hooks;
    m_engine = installEngine(*m_timers, m_bot->session(), hooks);
    m_bot->session().setMessageHooks(hooks);
    QVERIFY(m_bot->logIn());
}

void tst_SubBotSwitchesOnline::cleanup()
{
    m_bot->session().setMessageHooks({});
    m_engine.reset();
    m_timers.reset();
    m_bot.reset();
    Dialogs::setInstance(nullptr);
    m_home.reset();
}

void tst_SubBotSwitchesOnline::answerFollowsTheBox_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("request");
    QTest::addColumn<QString>("offText");
    // No feed address is configured: a switched-on sub-bot gets as far as saying so.
    QTest::addColumn<QString>("onText");
    QTest::newRow("weather") << "Form44"
                             << "!погода Москва" << WeatherBot::OffText << WeatherBot::TownNotFoundText;
    QTest::newRow("currency") << "Form45"
                              << "!кв" << CurrencyBot::OffText << CurrencyBot::UnavailableText;
    QTest::newRow("quotations") << "Form46"
                                << "!bash 3" << QuotationBot::OffText << QuotationBot::UnavailableText;
    QTest::newRow("quotations, Russian") << "Form46"
                                         << "!баш" << QuotationBot::OffText << QuotationBot::UnavailableText;
}

void tst_SubBotSwitchesOnline::answerFollowsTheBox()
{
    QFETCH(QString, name);
    QFETCH(QString, request);
    QFETCH(QString, offText);
    QFETCH(QString, onText);

    std::unique_ptr<SubBotSwitchWindow> form;
    if (name == QLatin1String("Form44"))
        form = std::make_unique<Form44>();
    else if (name == QLatin1String("Form45"))
        form = std::make_unique<Form45>();
    else
        form = std::make_unique<Form46>();
    form->show();
    QVERIFY(QTest::qWaitForWindowExposed(form.get()));

    QCOMPARE(m_bot->ask(User, request), offText);
    QTest::mouseClick(form->Check1, Qt::LeftButton, {}, QPoint(6, form->Check1->height() / 2));
    QVERIFY(form->Check1->isChecked());
    QCOMPARE(m_bot->ask(User, request), onText);
    QTest::mouseClick(form->Check1, Qt::LeftButton, {}, QPoint(6, form->Check1->height() / 2));
    QVERIFY(!form->Check1->isChecked());
    QCOMPARE(m_bot->ask(User, request), offText);
}

QTEST_MAIN(tst_SubBotSwitchesOnline)
#include "tst_subbotswitchesonline.moc"
