// The whole program on the local OSCAR server: what the operator sets in the feature
// windows changes what the bot answers a user with the next message.
#include "core/cp1251.h"
#include "platform/recordingdialogs.h"
#include "settings/admin_contact_window.h"
#include "settings/antispam_window.h"
#include "settings/notepad_window.h"
#include "settings/redirect_window.h"
#include "settings/signature_window.h"
#include "settings/vote_window.h"
#include "support/onlineprogram.h"
#include "support/programhome.h"

#include <QAbstractButton>
#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QPlainTextEdit>
#include <QRadioButton>

#include <memory>

using namespace OnlineProgram;

namespace {
const QString Target = QStringLiteral("555555");
const QString CrLf = QStringLiteral("\r\n");
} // namespace

class tst_FeatureWindowsOnline : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void redirectOnAndOff();
    void notepadSwitchedOn();
    void adminContactSwitchedOn();
    void antiSpamQuestion();
    void signatureUnderAnswers();
    void voteCastAndCounted();

private:
    template<typename T> T *open(const char *action, const char *name)
    {
        m_bot->mainWindow().action(QString::fromLatin1(action))->trigger();
        return qobject_cast<T *>(m_bot->mainWindow().findWindow(QString::fromLatin1(name)));
    }
    // The user writes to his bot and waits for its next message; "<no answer>" when
    // none comes in time.
    QString ask(const QString &text)
    {
        return OnlineProgram::ask(*m_peer, *m_received, Secondary, text);
    }
    // What the bots sent to a number, oldest first.
    QStringList textsTo(const QString &uin) const
    {
        QStringList texts;
        for (const RoutedMessage &message : m_server->routedMessages()) {
            if (message.to == uin && (message.from == Bot || message.from == Secondary))
                texts.append(Cp1251::decode(message.text));
        }
        return texts;
    }
    static void click(QAbstractButton *button)
    {
        QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(6, button->height() / 2));
    }

    std::unique_ptr<ProgramHome> m_home;
    RecordingDialogs m_dialogs;
    std::unique_ptr<OscarServer> m_server;
    std::unique_ptr<BotApplication> m_bot;
    std::unique_ptr<OscarPeer> m_peer;
    std::unique_ptr<QSignalSpy> m_received;
};

void tst_FeatureWindowsOnline::init()
{
    m_home = std::make_unique<ProgramHome>();
    QVERIFY(m_home->isValid());
    m_dialogs = RecordingDialogs();
    Dialogs::setInstance(&m_dialogs);
    m_server = std::make_unique<OscarServer>();
    QVERIFY(serveBotAndUser(*m_server));
    m_bot = std::make_unique<BotApplication>();
    logIn(*m_bot, *m_server);
    if (QTest::currentTestFailed())
        return;
    m_peer = std::make_unique<OscarPeer>();
    m_received = std::make_unique<QSignalSpy>(m_peer.get(), &OscarPeer::messageReceived);
    handOverUser(*m_peer, *m_received, *m_server);
}

void tst_FeatureWindowsOnline::cleanup()
{
    m_received.reset();
    m_peer.reset();
    m_bot.reset();
    m_server.reset();
    Dialogs::setInstance(nullptr);
    m_home.reset();
}

// Forward only: the target gets the copy and the user nothing; forward and answer: both;
// an empty number: no copy.
void tst_FeatureWindowsOnline::redirectOnAndOff()
{
    auto *form = open<Form18>("pod_red", "Form18");
    QVERIFY(form);
    typeInto(form->Text1, Target);
    click(form->Option2);
    QTest::mouseClick(form->Command1, Qt::LeftButton);

    m_peer->sendText(Secondary, QStringLiteral("первое"));
    QTRY_COMPARE_WITH_TIMEOUT(textsTo(Target).size(), 1, Timeout);
    QCOMPARE(textsTo(Target).first(), QStringLiteral("Вам написал : ") + User + CrLf +
                                          QStringLiteral("Сообщение : первое"));

    click(form->Option1);
    QTest::mouseClick(form->Command1, Qt::LeftButton);
    const QString answer = ask(QStringLiteral("второе"));
    QVERIFY2(answer != "<no answer>", qPrintable(answer));
    QCOMPARE(textsTo(Target).size(), 2);
    QVERIFY(textsTo(Target).last().endsWith(QStringLiteral("Сообщение : второе")));
    // The forwarded-only message was never answered: this is the user's only answer.
    QCOMPARE(m_received->size(), 1);

    form->Text1->clear();
    QTest::mouseClick(form->Command1, Qt::LeftButton);
    QCOMPARE(ask(QStringLiteral("третье")), answer);
    QCOMPARE(textsTo(Target).size(), 2);
}

void tst_FeatureWindowsOnline::notepadSwitchedOn()
{
    const QString write = QStringLiteral("!блокнот_запись") + CrLf + QStringLiteral("купить хлеб");
    const QString unknown = ask(QStringLiteral("!блокнот"));
    QVERIFY(unknown != "<no answer>");

    auto *form = open<Form23>("blocnot_m", "Form23");
    QVERIFY(form);
    click(form->Check1);
    QCOMPARE(ask(write), QStringLiteral("Ваша запись создана"));
    QCOMPARE(ask(QStringLiteral("!блокнот")), QStringLiteral("купить хлеб") + CrLf);

    // The window, opened again, lists the user and shows his note.
    m_bot->mainWindow().findWindow("Form23")->close();
    QTRY_VERIFY(!m_bot->mainWindow().findWindow("Form23"));
    form = open<Form23>("blocnot_m", "Form23");
    QCOMPARE(form->Combo1->count(), 1);
    QCOMPARE(form->Combo1->itemText(0), User);
    form->Combo1->setCurrentIndex(0);
    QTest::mouseClick(form->Command1, Qt::LeftButton);
    QCOMPARE(form->Text1->toPlainText(), QString("купить хлеб\n"));

    // Off again: the command is an ordinary message once more.
    click(form->Check1);
    QCOMPARE(ask(QStringLiteral("!блокнот")), unknown);
}

void tst_FeatureWindowsOnline::adminContactSwitchedOn()
{
    auto *form = open<Form24>("svaz_m", "Form24");
    QVERIFY(form);
    click(form->Check1);
    typeInto(form->Text1, Target);
    QTest::mouseClick(form->Command1, Qt::LeftButton);
    m_peer->sendText(Secondary, QStringLiteral("!админ помогите"));
    QTRY_COMPARE_WITH_TIMEOUT(textsTo(Target).size(), 1, Timeout);
    QVERIFY2(textsTo(Target).first().contains(User), qPrintable(textsTo(Target).first()));
    QVERIFY(textsTo(Target).first().endsWith(QStringLiteral("помогите")));
}

void tst_FeatureWindowsOnline::antiSpamQuestion()
{
    auto *form = open<Form32>("anti_spam_m", "Form32");
    QVERIFY(form);
    click(form->Check1);
    form->Text1->setPlainText(QStringLiteral("Сколько будет 2+2?"));
    form->Text2->setPlainText(QStringLiteral("4"));
    form->Text3->setPlainText(QStringLiteral("Верно."));
    QTest::mouseClick(form->Command1, Qt::LeftButton);

    QCOMPARE(ask(QStringLiteral("привет")),
             QStringLiteral("Сколько будет 2+2?") + CrLf + CrLf +
                 QStringLiteral("Команда не обработана, для того чтобы команда была обработана нужно пройти "
                                "проверку анти-спама и повторить команду."));
    QCOMPARE(ask(QStringLiteral("5")), QStringLiteral("Вы ответили не правильно, попробуйте ответить ещё раз.") +
                                           CrLf + QStringLiteral("Сколько будет 2+2?"));
    QCOMPARE(ask(QStringLiteral("4")), QStringLiteral("Верно.") + CrLf);
    const QString answer = ask(QStringLiteral("привет"));
    QVERIFY2(!answer.startsWith(QStringLiteral("Сколько")) && answer != "<no answer>", qPrintable(answer));
}

void tst_FeatureWindowsOnline::signatureUnderAnswers()
{
    const QString plain = ask(QStringLiteral("привет"));
    QVERIFY(plain != "<no answer>");

    auto *form = open<Form34>("podpis_m", "Form34");
    QVERIFY(form);
    click(form->Check1);
    form->Text1->setPlainText(QStringLiteral("-- ваш бот"));
    QTest::mouseClick(form->Command1, Qt::LeftButton);
    QCOMPARE(ask(QStringLiteral("привет")), plain + CrLf + CrLf + QStringLiteral("-- ваш бот"));

    form->Text2->setText(QStringLiteral("~"));
    QTest::mouseClick(form->Command1, Qt::LeftButton);
    QCOMPARE(ask(QStringLiteral("привет")), plain + CrLf + QStringLiteral("~-- ваш бот"));

    click(form->Check1);
    QTest::mouseClick(form->Command1, Qt::LeftButton);
    QCOMPARE(ask(QStringLiteral("привет")), plain);
}

void tst_FeatureWindowsOnline::voteCastAndCounted()
{
    auto *form = open<Form39>("golos_m", "Form39");
    QVERIFY(form);
    typeInto(form->Text1, QStringLiteral("Какой цвет?"));
    for (const QString &option : {QStringLiteral("Red"), QStringLiteral("blue")}) {
        m_dialogs.queueText(option);
        QTest::mouseClick(form->Command1, Qt::LeftButton);
    }
    QTest::mouseClick(form->Command3, Qt::LeftButton);

    const QString offer = ask(QStringLiteral("голосование"));
    QVERIFY2(offer.startsWith(QStringLiteral("Какой цвет?")), qPrintable(offer));
    QVERIFY(offer.contains(QStringLiteral("Red") + CrLf + QStringLiteral("blue")));
    QCOMPARE(ask(QStringLiteral("BLUE")), QStringLiteral("Спасибо за голос"));

    QTest::mouseClick(form->Command4, Qt::LeftButton);
    auto *results = qobject_cast<Form40 *>(m_bot->mainWindow().findWindow(QStringLiteral("Form40")));
    QVERIFY(results);
    QVERIFY(results->isVisible());
    QCOMPARE(results->text(), QStringLiteral("Результаты голосваний:") + CrLf + CrLf + QStringLiteral("blue: 1") +
                                  CrLf + QStringLiteral("Red: 0"));

    // Ended: the vote is gone for the users too.
    m_dialogs.queueButton(Dialogs::Button::Yes);
    QTest::mouseClick(form->Command5, Qt::LeftButton);
    const QString after = ask(QStringLiteral("голосование"));
    QVERIFY2(!after.startsWith(QStringLiteral("Какой цвет?")) && after != "<no answer>", qPrintable(after));
}

QTEST_MAIN(tst_FeatureWindowsOnline)
#include "tst_featurewindowsonline.moc"
