// The status choice window: the status file, and the bot's status where the bot has it.
#include "peoplewindowsfixture.h"
#include "records/statuschoice.h"
#include "recordwindows/statuschoice_window.h"

#include <QComboBox>
#include <QPushButton>

class tst_StatusChoiceWindow : public PeopleWindowsFixture
{
    Q_OBJECT
private slots:
    void init() { setUp(); }
    void cleanup() { tearDown(); }

    void choice_data();
    void choice();
    void nothingChosenWritesNothing();
    void opensFromTheStatusBar();
};

void tst_StatusChoiceWindow::choice_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QList<int>>("botStatuses");
    QTest::newRow("occupied") << "Занят" << QByteArray("4\r\n") << QList<int>{2};
    QTest::newRow("online") << "Онлайн" << QByteArray("1\r\n") << QList<int>{1};
    QTest::newRow("invisible") << "Не видимый" << QByteArray("5\r\n") << QList<int>{3};
    QTest::newRow("away: the bot has no such status") << "Отошёл" << QByteArray("2\r\n") << QList<int>{};
    QTest::newRow("free for chat") << "Готов поболтать" << QByteArray("6\r\n") << QList<int>{};
}

void tst_StatusChoiceWindow::choice()
{
    QFETCH(QString, name);
    QFETCH(QByteArray, file);
    QFETCH(QList<int>, botStatuses);
    auto *form = show<Form3>("Form3");
    QVERIFY(form);
    QCOMPARE(form->windowTitle(), QStringLiteral("Сменить статус"));
    QCOMPARE(form->Combo1->count(), 6);
    QCOMPARE(form->Combo1->currentText(), QString());
    form->Combo1->setFocus();
    const int index = form->Combo1->findText(name);
    QVERIFY(index >= 0);
    form->Combo1->setCurrentIndex(index);
    QTest::mouseClick(form->Command1, Qt::LeftButton);
    QCOMPARE(bytes(StatusChoice::FilePath), file);
    QCOMPARE(m_statuses, botStatuses);
}

void tst_StatusChoiceWindow::nothingChosenWritesNothing()
{
    QVERIFY(write(StatusChoice::FilePath, "4\r\n"));
    auto *form = show<Form3>("Form3");
    QVERIFY(form);
    QTest::mouseClick(form->Command1, Qt::LeftButton);
    QCOMPARE(bytes(StatusChoice::FilePath), QByteArray("4\r\n"));
    QVERIFY(m_statuses.isEmpty());
}

void tst_StatusChoiceWindow::opensFromTheStatusBar()
{
    QVERIFY(!window("Form3"));
    auto *panel = m_main->findChild<QWidget *>(QStringLiteral("Panel1"));
    QVERIFY(panel);
    QTest::mouseDClick(panel, Qt::LeftButton);
    QVERIFY(window<Form3>("Form3"));
}

QTEST_MAIN(tst_StatusChoiceWindow)
#include "tst_statuschoicewindow.moc"
