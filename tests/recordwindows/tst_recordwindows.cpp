// The statistics, user list, log and send-message windows, driven through their
// controls inside the main window, over records the answer engine writes in the test.
#include "core/datetexts.h"
#include "core/generalsettings.h"
#include "engine/answerengine.h"
#include "records/messagerecords.h"
#include "platform/windowkit.h"
#include "records/messagelogmodel.h"
#include "records/operatormessage.h"
#include "recordwindows/calendar_window.h"
#include "recordwindows/day_chart.h"
#include "recordwindows/log_windows.h"
#include "recordwindows/send_message_window.h"
#include "recordwindows/statistics_windows.h"
#include "recordwindows/user_list_window.h"
#include "recordwindowsfixture.h"
#include "settings/support_window.h"
#include "settings/supportcontacts.h"
#include "support/incomingmessage.h"
#include "support/typing.h"

#include <QAction>
#include <QCalendarWidget>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QTreeView>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalSpy>

class tst_RecordWindows : public RecordWindowsFixture
{
    Q_OBJECT
private slots:
    void init() { setUp(); }
    void cleanup() { tearDown(); }

    void statisticsOfTodayAndAnotherDay();
    void statisticsOpenNeedsAFullDate();
    void numberStatisticsFilterKeepsItsNumber();
    void userListGrowsWhileOpen();
    void userListButtons();
    void logShowsAllOrOneDay();
    void largeLogOpensWhileTheWindowAnswers();
    void sendMessageOffersTheContacts();
    void supportTopicFillsTheSendMessageWindow();
    void sendWhileOfflineSaysItFailed();

private:
    // A message as the engine records it: the log line and the statistics.
    void write(const QString &uin, const QString &text)
    {
        MessageState state = message(uin, text);
        LogMessage(state);
        m_bot->engine().ProcessMessage(state);
    }
};

void tst_RecordWindows::statisticsOfTodayAndAnotherDay()
{
    m_clock.set(QDateTime(QDate(2026, 12, 9), QTime(12, 0)));
    write("111", "вчера");
    m_clock.set(Start);
    write("222", "привет");
    write("333", "здравствуй");
    write("222", "ещё раз");

    main().action(QStringLiteral("stat_Mm"))->trigger();
    auto *stats = window<Form16>("Form16");
    QVERIFY(stats);
    QCOMPARE(stats->windowTitle(), QStringLiteral("Статистика за : 10.12.2026"));
    QCOMPARE(stats->Label5->text(), QStringLiteral("3"));
    QCOMPARE(stats->Label6->text(), QStringLiteral("2"));
    QCOMPARE(items(stats->List1), QStringList({"222", "333"}));
    QCOMPARE(stats->Text1->text(), QStringLiteral("09.12.2026"));
    QCOMPARE(stats->Text2->text(), QStringLiteral("10.12.2026"));
    QVERIFY(!stats->Command2->isEnabled());
    // The chart: two weeks up to the shown day, yesterday's one request and today's three.
    const QList<StatisticsRecords::DayCount> days = stats->Chart1->days();
    QCOMPARE(days.size(), Form16::ChartDays);
    QCOMPARE(days.last().date, QDate(2026, 12, 10));
    QCOMPARE(days.last().requests, 3);
    QCOMPARE(days.at(days.size() - 2).requests, 1);

    // Yesterday, typed in the box the window filled.
    click(stats->Command1);
    QCOMPARE(stats->windowTitle(), QStringLiteral("Статистика за : 09.12.2026"));
    QCOMPARE(stats->Label5->text(), QStringLiteral("1"));
    QCOMPARE(items(stats->List1), QStringList({"111"}));
    QCOMPARE(stats->Text1->text(), QStringLiteral("10.12.2026"));
    QCOMPARE(stats->Text2->text(), QStringLiteral("09.12.2026"));
    QCOMPARE(stats->Chart1->days().last().requests, 1);
    // The calendar fills the date of messages.
    click(stats->Command3);
    auto *calendar = window<Form30>("Form30");
    QVERIFY(calendar && calendar->isVisible());
    calendar->Calendar1->setSelectedDate(QDate(2026, 12, 1));
    calendar->Calendar1_Click();
    QCOMPARE(stats->Text2->text(), QStringLiteral("01.12.2026"));

    // A day without statistics.
    stats->Text1->clear();
    typeInto(stats->Text1, QStringLiteral("01.01.2020"));
    click(stats->Command1);
    QCOMPARE(stats->Label5->text(), QStringLiteral("0"));
    QCOMPARE(stats->Label6->text(), QStringLiteral("0"));
    QVERIFY(items(stats->List1).isEmpty());
}

void tst_RecordWindows::statisticsOpenNeedsAFullDate()
{
    write("222", "привет");
    auto *stats = show<Form16>("Form16");
    stats->Text1->clear();
    typeInto(stats->Text1, QStringLiteral("9.12.26"));
    click(stats->Command1);
    QVERIFY(items(stats->List1).isEmpty());
    QCOMPARE(stats->windowTitle(), QStringLiteral("Статистика за : 10.12.2026"));
    QCOMPARE(stats->Label5->text(), QStringLiteral("1"));
}

void tst_RecordWindows::numberStatisticsFilterKeepsItsNumber()
{
    write("222", "утро\r\nвторая строка");
    m_clock.set(QDateTime(QDate(2026, 12, 10), QTime(21, 30, 5)));
    write("222", "вечер");
    write("333", "чужое");

    auto *stats = show<Form16>("Form16");
    QVERIFY(pick(stats->List1, QStringLiteral("222")));
    QVERIFY(stats->Command2->isEnabled());
    click(stats->Command2);
    auto *messages = window<Form17>("Form17");
    QVERIFY(messages);
    QCOMPARE(messages->windowTitle(), QStringLiteral("Статистика 222 за 10.12.2026"));
    QCOMPARE(messages->Text1->toPlainText(), QStringLiteral("10.12.2026 - 10:00:00 - 222 : утро\nвторая строка\n"
                                                            "10.12.2026 - 21:30:05 - 222 : вечер"));
    QCOMPARE(messages->Chart1->days().last().requests, 2);

    // The statistics window moves on to another number and day; the filter keeps 222.
    QVERIFY(pick(stats->List1, QStringLiteral("333")));
    typeInto(messages->Text2, QStringLiteral("10.12.2026"));
    click(messages->Command1);
    QCOMPARE(messages->Text1->toPlainText(),
             QStringLiteral("10.12.2026 - 10:00:00 - 222 : утро\n10.12.2026 - 21:30:05 - 222 : вечер"));
    typeInto(messages->Text3, QStringLiteral("21:30:05"));
    click(messages->Command1);
    QCOMPARE(messages->Text1->toPlainText(), QStringLiteral("10.12.2026 - 21:30:05 - 222 : вечер"));
    // An empty date box finds nothing.
    messages->Text2->clear();
    click(messages->Command1);
    QCOMPARE(messages->Text1->toPlainText(), QString());
    // The calendar fills the date box.
    click(messages->Command2);
    auto *calendar = window<Form30>("Form30");
    QVERIFY(calendar && calendar->isVisible());
    calendar->Calendar1->setSelectedDate(QDate(2026, 12, 10));
    calendar->Calendar1_Click();
    QCOMPARE(messages->Text2->text(), QStringLiteral("10.12.2026"));
}

void tst_RecordWindows::userListGrowsWhileOpen()
{
    main().action(QStringLiteral("spis_pols_m"))->trigger();
    auto *users = window<Form28>("Form28");
    QVERIFY(users);
    QVERIFY(items(users->List1).isEmpty());
    QVERIFY(!users->Command1->isEnabled());
    QVERIFY(!users->Command2->isEnabled());

    write("111", "первый");
    QCOMPARE(items(users->List1), QStringList({"111"}));
    QVERIFY(pick(users->List1, QStringLiteral("111")));
    write("222", "второй");
    write("111", "снова");
    QCOMPARE(items(users->List1), QStringList({"111", "222"}));
    // The selection outlives the refill, and so do the buttons.
    QVERIFY(users->List1->item(0)->isSelected());
    QVERIFY(users->Command1->isEnabled());

    // Closed, it no longer follows; opened again, it reads the file afresh.
    close("Form28");
    write("333", "третий");
    users = show<Form28>("Form28");
    QCOMPARE(items(users->List1), QStringList({"111", "222", "333"}));
}

void tst_RecordWindows::userListButtons()
{
    write("111", "сегодня");
    auto *users = show<Form28>("Form28");
    QVERIFY(pick(users->List1, QStringLiteral("111")));
    click(users->Command1);
    auto *messages = window<Form17>("Form17");
    QVERIFY(messages);
    QCOMPARE(messages->windowTitle(), QStringLiteral("Статистика 111 за 10.12.2026"));
    QCOMPARE(messages->Text1->toPlainText(), QStringLiteral("10.12.2026 - 10:00:00 - 111 : сегодня"));

    click(users->Command2);
    auto *send = window<Form2>("Form2");
    QVERIFY(send);
    QCOMPARE(send->Combo1->currentText(), QStringLiteral("111"));
}

void tst_RecordWindows::logShowsAllOrOneDay()
{
    m_clock.set(QDateTime(QDate(2026, 12, 9), QTime(23, 59, 59)));
    write("111", "вчера");
    m_clock.set(Start);
    write("222", "сегодня\r\nдве строки");
    main().action(QStringLiteral("log_m"))->trigger();
    auto *log = window<Form7>("Form7");
    QVERIFY(log);
    QCOMPARE(log->Text2->text(), QString());
    QSignalSpy loaded(&log->log(), &MessageLogModel::loaded);
    QTRY_VERIFY(!log->log().isLoading());
    QCOMPARE(log->log().text(), QStringLiteral("10.12.2026 - 10:00:00 - 222 : сегодня\r\nдве строки\r\n"
                                               "09.12.2026 - 23:59:59 - 111 : вчера"));
    QCOMPARE(log->Text1->model()->rowCount(), 3);

    // A line logged after the window opened shows with the next filter.
    write("333", "новое");
    typeInto(log->Text2, QStringLiteral("10.12.2026"));
    click(log->Command1);
    QTRY_VERIFY(!log->log().isLoading());
    QCOMPARE(log->log().text(), QStringLiteral("10.12.2026 - 10:00:00 - 333 : новое\r\n"
                                               "10.12.2026 - 10:00:00 - 222 : сегодня"));
    log->Text2->clear();
    click(log->Command1);
    QTRY_VERIFY(!log->log().isLoading());
    QCOMPARE(log->Text1->model()->rowCount(), 0);
}

void tst_RecordWindows::largeLogOpensWhileTheWindowAnswers()
{
    QByteArray log;
    int lines = 0;
    while (log.size() < 3 * MessageLogModel::ChunkBytes) {
        log += (lines % 2 ? "09.12.2026" : "10.12.2026") + QByteArray(" - 9:05:07 - 111 : строка ") +
               QByteArray::number(lines) + "\r\n";
        ++lines;
    }
    QVERIFY(TextFile::writeBytes(Records::MessageLogPath, log));
    write("222", "свежее");

    auto *window = show<Form7>("Form7");
    QVERIFY(window);
    // Open at once, the newest line on top, the rest still coming.
    QVERIFY(window->log().isLoading());
    QCOMPARE(window->Text1->model()->index(0, 0).data().toString(),
             QStringLiteral("10.12.2026 - 10:00:00 - 222 : свежее"));
    // The day box and its button answer while the log loads.
    typeInto(window->Text2, QStringLiteral("09.12.2026"));
    click(window->Command1);
    QTRY_VERIFY_WITH_TIMEOUT(!window->log().isLoading(), 20000);
    QCOMPARE(window->Text1->model()->rowCount(), lines / 2);
    QCOMPARE(window->Text1->model()->index(0, 0).data().toString(),
             QStringLiteral("09.12.2026 - 9:05:07 - 111 : строка 1"));
}

void tst_RecordWindows::sendMessageOffersTheContacts()
{
    QVERIFY(TextFile::writeAll("\\Списки пользователей\\Контакты.txt",
                               "Вася Пупкин:^:12345:^:+7:^:a@b:^:20:^:завод:^:дом\r\n"));
    main().action(QStringLiteral("posl_m"))->trigger();
    auto *send = window<Form2>("Form2");
    QVERIFY(send);
    QCOMPARE(send->Combo1->count(), 1);
    QCOMPARE(send->Combo1->itemText(0), QStringLiteral("12345 - Вася Пупкин"));
    QCOMPARE(send->Combo1->currentText(), QString());
    QCOMPARE(send->Command1->text(), QStringLiteral("Отправить сообщение (я)"));
    // Without a message nothing goes and the copies box stays as typed.
    send->Combo1->setCurrentIndex(0);
    typeInto(send->Text2, QStringLiteral("111"));
    click(send->Command1);
    QCOMPARE(send->Text2->text(), QStringLiteral("111"));
    QVERIFY(!send->sender().copiesRunning());
}

void tst_RecordWindows::supportTopicFillsTheSendMessageWindow()
{
    QVERIFY(Addresses::setValues({{SupportContacts::SupportUin, QStringLiteral("123456789")}}));
    main().action(QStringLiteral("tech_m"))->trigger();
    auto *support = window<Form4>("Form4");
    QVERIFY(support);
    auto *topic = support->findChild<ClickLabel *>(QStringLiteral("Label6"));
    QVERIFY(topic);
    QTest::mouseClick(topic, Qt::LeftButton, {}, QPoint(3, topic->height() / 2));
    auto *send = window<Form2>("Form2");
    QVERIFY(send);
    QCOMPARE(send->Combo1->currentText(), QStringLiteral("123456789"));
    QCOMPARE(send->Text3->text(), QStringLiteral("Найдена грамматическая ошибка"));
    QCOMPARE(send->Text4->toPlainText(), QStringLiteral("Название окон(а) где найдена ошибка: "));
    // A draft without a message, taken through the window's typed side, keeps the text.
    auto *target = qobject_cast<MessageDraftTarget *>(static_cast<QWidget *>(send));
    QVERIFY(target);
    target->takeDraft({QStringLiteral("555"), QStringLiteral("Тема"), std::nullopt});
    QCOMPARE(send->Combo1->currentText(), QStringLiteral("555"));
    QCOMPARE(send->Text3->text(), QStringLiteral("Тема"));
    QCOMPARE(send->Text4->toPlainText(), QStringLiteral("Название окон(а) где найдена ошибка: "));
}

void tst_RecordWindows::sendWhileOfflineSaysItFailed()
{
    // The bot is not logged in: neither the message nor its copy can go.
    main().action(QStringLiteral("posl_m"))->trigger();
    auto *send = window<Form2>("Form2");
    QVERIFY(send);
    send->Combo1->setEditText(QStringLiteral("12345"));
    typeInto(send->Text2, QStringLiteral("777"));
    typeInto(send->Text4, QStringLiteral("привет"));
    QSignalSpy done(&send->sender(), &OperatorMessage::copiesDone);
    click(send->Command1);
    QVERIFY(done.wait(20000));
    // One non-blocking box: a second of the same kind is not raised while one is open.
    QVERIFY(!m_dialogs.shown.isEmpty());
    const RecordingDialogs::Shown box = m_dialogs.shown.first();
    QCOMPARE(box.kind, RecordingDialogs::Kind::Notify);
    QCOMPARE(box.text, Form2::SendFailed.arg(QStringLiteral("12345")));
    QCOMPARE(box.icon, Icon::Warning);
}

QTEST_MAIN(tst_RecordWindows)
#include "tst_recordwindows.moc"
