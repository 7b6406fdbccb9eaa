// The auto-mailing window offline: its subscriber list and what it refuses to send.
#include "peoplewindowsfixture.h"
#include "recordwindows/automailing_window.h"
#include "support/filemode.h"
#include "support/typing.h"

#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>

class tst_AutoMailingWindow : public PeopleWindowsFixture
{
    Q_OBJECT
private slots:
    void init() { setUp(); }
    void cleanup() { tearDown(); }

    void opensFromTheMenuWithTheFile();
    void addAsksAndAppends();
    void addShowsOnlyWhatTheFileTook_data();
    void addShowsOnlyWhatTheFileTook();
    void deleteTakesEveryEqualEntry();
    void longLineShownCutDeletedWhole();
    void deletingTheLastSubscriberDeletesTheFile();
    void refusals_data();
    void refusals();
    void offlineMailingStopsAtTheFirstMessage();

private:
    static inline const QString List = QStringLiteral("\\Подпрограммы\\Авторассылка.txt");
};

void tst_AutoMailingWindow::opensFromTheMenuWithTheFile()
{
    QVERIFY(write(List, "555\r\n\r\n777\r\n"));
    auto *form = open<Form19>("pod_auto_ras", "Form19");
    QVERIFY(form);
    QCOMPARE(form->windowTitle(), QStringLiteral("Авторассылка"));
    QCOMPARE(items(form->List1), QStringList({"555", "", "777"}));
    QCOMPARE(form->Option1->text(), QStringLiteral("Расслать по димапозону"));
    QCOMPARE(form->Option2->text(), QStringLiteral("Выслать из списка"));
    QVERIFY(!form->Option1->isChecked());
    QVERIFY(!form->Option2->isChecked());
}

void tst_AutoMailingWindow::addAsksAndAppends()
{
    auto *form = show<Form19>("Form19");
    QVERIFY(form);
    m_dialogs.queueText(QStringLiteral("555"));
    QTest::mouseClick(form->Command2, Qt::LeftButton);
    expectInput(Form19::AddTitle, Form19::AddPrompt);
    // Cancel gives an empty answer: nothing added.
    QTest::mouseClick(form->Command2, Qt::LeftButton);
    m_dialogs.shown.clear();
    m_dialogs.queueText(QStringLiteral("555"));
    QTest::mouseClick(form->Command2, Qt::LeftButton);
    QCOMPARE(items(form->List1), QStringList({"555", "555"}));
    QCOMPARE(bytes(List), QByteArray("555\r\n555\r\n"));
}

void tst_AutoMailingWindow::addShowsOnlyWhatTheFileTook_data()
{
    QTest::addColumn<QString>("number");
    QTest::addColumn<bool>("refuseWrites");
    QTest::addColumn<QString>("box");
    QTest::newRow("disk refuses") << "555" << true << Form19::NotAdded;
    QTest::newRow("line break") << "555\r\n666" << false << Form19::NotStorable;
    QTest::newRow("outside Windows-1251") << "555é" << false << Form19::NotStorable;
}

void tst_AutoMailingWindow::addShowsOnlyWhatTheFileTook()
{
    QFETCH(QString, number);
    QFETCH(bool, refuseWrites);
    QFETCH(QString, box);
    QVERIFY(write(List, "111\r\n"));
    auto *form = show<Form19>("Form19");
    QVERIFY(form);
    m_dialogs.queueText(number);
    {
        std::optional<FileProbe::NoNewFiles> refused;
        if (refuseWrites) {
            refused.emplace();
            QVERIFY(refused->active());
        }
        QTest::mouseClick(form->Command2, Qt::LeftButton);
    }
    QCOMPARE(m_dialogs.shown.size(), 2);
    QCOMPARE(m_dialogs.shown.at(1).kind, RecordingDialogs::Kind::Message);
    QCOMPARE(m_dialogs.shown.at(1).text, box);
    QCOMPARE(items(form->List1), QStringList{"111"});
    QCOMPARE(bytes(List), QByteArray("111\r\n"));
}

void tst_AutoMailingWindow::deleteTakesEveryEqualEntry()
{
    QVERIFY(write(List, "555\r\n111\r\n555\r\n222"));
    auto *form = show<Form19>("Form19");
    QVERIFY(form);
    // Nothing selected: nothing goes.
    QTest::mouseClick(form->Command3, Qt::LeftButton);
    QCOMPARE(bytes(List), QByteArray("555\r\n111\r\n555\r\n222"));
    QVERIFY(pick(form->List1, QStringLiteral("555")));
    QTest::mouseClick(form->Command3, Qt::LeftButton);
    QCOMPARE(items(form->List1), QStringList({"111", "222"}));
    QCOMPARE(bytes(List), QByteArray("111\r\n222\r\n"));
}

void tst_AutoMailingWindow::longLineShownCutDeletedWhole()
{
    const QByteArray huge(300000, '7');
    QVERIFY(write(List, "111\r\n" + huge + "\r\n222\r\n"));
    auto *form = show<Form19>("Form19");
    QVERIFY(form);
    const QStringList shown = items(form->List1);
    QCOMPARE(shown.size(), 3);
    QCOMPARE(shown.at(1), QString::fromLatin1(huge.left(1000)) + QChar(0x2026));
    QVERIFY(pick(form->List1, shown.at(1)));
    QTest::mouseClick(form->Command3, Qt::LeftButton);
    QCOMPARE(items(form->List1), QStringList({"111", "222"}));
    QCOMPARE(bytes(List), QByteArray("111\r\n222\r\n"));
}

void tst_AutoMailingWindow::deletingTheLastSubscriberDeletesTheFile()
{
    QVERIFY(write(List, "555\r\n"));
    auto *form = show<Form19>("Form19");
    QVERIFY(form);
    QVERIFY(pick(form->List1, QStringLiteral("555")));
    QTest::mouseClick(form->Command3, Qt::LeftButton);
    QCOMPARE(form->List1->model()->rowCount(), 0);
    QCOMPARE(bytes(List), QByteArray("<missing>"));
}

void tst_AutoMailingWindow::refusals_data()
{
    QTest::addColumn<QByteArray>("subscribers");
    QTest::addColumn<QString>("option"); // "", "list" or "range"
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("from");
    QTest::addColumn<QString>("to");
    QTest::addColumn<QString>("box"); // empty: no box
    QTest::newRow("no option") << QByteArray("555\r\n") << ""
                               << "Привет"
                               << ""
                               << ""
                               << "";
    QTest::newRow("list without subscribers") << QByteArray() << "list"
                                              << "Привет"
                                              << ""
                                              << "" << Form19::NothingToSend;
    QTest::newRow("list without text") << QByteArray("555\r\n") << "list"
                                       << ""
                                       << ""
                                       << "" << Form19::NothingToSend;
    QTest::newRow("range without text") << QByteArray() << "range"
                                        << ""
                                        << "1"
                                        << "5" << Form19::NothingToSend;
    QTest::newRow("range bound not a number") << QByteArray() << "range"
                                              << "Привет"
                                              << "1"
                                              << "5x" << Form19::BadRange;
    QTest::newRow("range bound empty") << QByteArray() << "range"
                                       << "Привет"
                                       << ""
                                       << "5" << Form19::BadRange;
    QTest::newRow("range backwards") << QByteArray() << "range"
                                     << "Привет"
                                     << "105"
                                     << "95"
                                     << "";
}

void tst_AutoMailingWindow::refusals()
{
    QFETCH(QByteArray, subscribers);
    QFETCH(QString, option);
    QFETCH(QString, text);
    QFETCH(QString, from);
    QFETCH(QString, to);
    QFETCH(QString, box);
    if (!subscribers.isEmpty())
        QVERIFY(write(List, subscribers));
    auto *form = show<Form19>("Form19");
    QVERIFY(form);
    if (option == QLatin1String("list"))
        click(form->Option2);
    else if (option == QLatin1String("range"))
        click(form->Option1);
    typeInto(form->Text1, text);
    typeInto(form->Text2, from);
    typeInto(form->Text3, to);
    QTest::mouseClick(form->Command1, Qt::LeftButton);
    if (box.isEmpty())
        QVERIFY(m_dialogs.shown.isEmpty());
    else
        expectBox(QString(), box, Icon::NoIcon);
    QVERIFY(!form->mailing().isRunning());
    QVERIFY(form->Command1->isEnabled());
}

// The bot is not logged in: the first message cannot go, and the mailing says so and ends.
void tst_AutoMailingWindow::offlineMailingStopsAtTheFirstMessage()
{
    auto *form = show<Form19>("Form19");
    QVERIFY(form);
    click(form->Option1);
    typeInto(form->Text1, QStringLiteral("Привет"));
    typeInto(form->Text2, QStringLiteral("100"));
    typeInto(form->Text3, QStringLiteral("102"));
    QTest::mouseClick(form->Command1, Qt::LeftButton);
    QVERIFY(form->mailing().isRunning());
    QVERIFY(!form->Command1->isEnabled());
    QTRY_VERIFY_WITH_TIMEOUT(!form->mailing().isRunning(), 30000);
    QVERIFY(form->Command1->isEnabled());
    QCOMPARE(m_dialogs.shown.size(), 1);
    QCOMPARE(m_dialogs.shown.first().kind, RecordingDialogs::Kind::Notify);
    QCOMPARE(m_dialogs.shown.first().text, Form19::SendFailed.arg(QStringLiteral("100")));
    QCOMPARE(form->mailing().sentCount(), qint64(0));
    QCOMPARE(form->Label6->text(), QString());
}

QTEST_MAIN(tst_AutoMailingWindow)
#include "tst_automailingwindow.moc"
