// The visible list window through its controls, and the list it writes as the bot's
// sign-on on the local OSCAR server sends it.
#include "peoplewindowsfixture.h"
#include "recordwindows/visiblelist_window.h"
#include "session/signon.h"
#include "support/onlinebot.h"

#include <QLabel>
#include <QPushButton>

class tst_VisibleListWindow : public PeopleWindowsFixture
{
    Q_OBJECT
private slots:
    void init() { setUp(); }
    void cleanup() { tearDown(); }

    void opensFromTheMenuWithEveryLine();
    void addRefusesADuplicateAndAnEmptyAnswer();
    void removeTakesEveryEqualLine_data();
    void removeTakesEveryEqualLine();
    void theSignOnSendsTheList();

private:
    static inline const QString File = SignOn::VisibleListPath;
};

void tst_VisibleListWindow::opensFromTheMenuWithEveryLine()
{
    QVERIFY(write(File, "123456\r\n\r\n 777\r\n"));
    auto *form = open<Form25>("nastr_vid_spis", "Form25");
    QVERIFY(form);
    QCOMPARE(form->windowTitle(), QStringLiteral("Настройки видимого списка"));
    QCOMPARE(form->Label1->text(), QStringLiteral("Список видимых пользователей"));
    QCOMPARE(items(form->List1), QStringList({"123456", "", " 777"}));
}

void tst_VisibleListWindow::addRefusesADuplicateAndAnEmptyAnswer()
{
    auto *form = show<Form25>("Form25");
    QVERIFY(form);
    m_dialogs.queueText(QStringLiteral("123456"));
    QTest::mouseClick(form->Command1, Qt::LeftButton);
    expectInput(Form25::InputTitle, Form25::InputPrompt);
    m_dialogs.queueText(QStringLiteral("123456"));
    QTest::mouseClick(form->Command1, Qt::LeftButton);
    QCOMPARE(m_dialogs.shown.size(), 2);
    m_dialogs.shown.removeFirst();
    expectBox(Form25::DuplicateTitle, Form25::Duplicate);
    // Cancel: nothing stored.
    QTest::mouseClick(form->Command1, Qt::LeftButton);
    QCOMPARE(m_dialogs.shown.size(), 1);
    m_dialogs.shown.clear();
    m_dialogs.queueText(QStringLiteral(" 123456"));
    QTest::mouseClick(form->Command1, Qt::LeftButton);
    QCOMPARE(items(form->List1), QStringList({"123456", " 123456"}));
    QCOMPARE(bytes(File), QByteArray("123456\r\n 123456\r\n"));
}

void tst_VisibleListWindow::removeTakesEveryEqualLine_data()
{
    QTest::addColumn<QByteArray>("before");
    QTest::addColumn<QString>("selected"); // empty: nothing selected
    QTest::addColumn<QByteArray>("after");
    QTest::addColumn<QStringList>("shown");
    QTest::newRow("every equal line")
        << QByteArray("1\r\n2\r\n1\r\n") << "1" << QByteArray("2\r\n") << QStringList({"2"});
    QTest::newRow("nothing selected takes the empty lines")
        << QByteArray("1\r\n\r\n2\r\n") << "" << QByteArray("1\r\n2\r\n") << QStringList({"1", "2"});
    QTest::newRow("the only entry") << QByteArray("1\r\n") << "1" << QByteArray("<missing>") << QStringList();
}

void tst_VisibleListWindow::removeTakesEveryEqualLine()
{
    QFETCH(QByteArray, before);
    QFETCH(QString, selected);
    QFETCH(QByteArray, after);
    QFETCH(QStringList, shown);
    QVERIFY(write(File, before));
    auto *form = show<Form25>("Form25");
    QVERIFY(form);
    if (!selected.isEmpty())
        QVERIFY(pick(form->List1, selected));
    QTest::mouseClick(form->Command2, Qt::LeftButton);
    QCOMPARE(bytes(File), after);
    QCOMPARE(items(form->List1), shown);
    QVERIFY(m_dialogs.shown.isEmpty());
}

// What the operator keeps here is what the bot sends as its visible list when it signs on.
void tst_VisibleListWindow::theSignOnSendsTheList()
{
    auto *form = show<Form25>("Form25");
    QVERIFY(form);
    for (const QString &entry : {QStringLiteral("123456"), QStringLiteral("4242"), QStringLiteral("777")}) {
        m_dialogs.queueText(entry);
        QTest::mouseClick(form->Command1, Qt::LeftButton);
    }
    QVERIFY(pick(form->List1, QStringLiteral("4242")));
    QTest::mouseClick(form->Command2, Qt::LeftButton);

    OnlineBot bot;
    QVERIFY2(bot.isListening(), qPrintable(bot.errorString()));
    QVERIFY(bot.logIn());
    const QByteArray visible = SignOn::addVisible({QStringLiteral("123456"), QStringLiteral("777")});
    bool sent = false;
    for (const QByteArray &frame : bot.server().framesFrom(bot.uin()))
        sent = sent || frame.endsWith(visible);
    QVERIFY(sent);
}

QTEST_MAIN(tst_VisibleListWindow)
#include "tst_visiblelistwindow.moc"
