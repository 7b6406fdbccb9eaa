// The vote window and its results window driven through their controls: the vote
// file, the counts of the results file and the end of a vote.
#include "featurewindowsfixture.h"
#include "settings/vote_window.h"
#include "support/typing.h"

#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>

namespace {
const char *VotePath = "Подпрограммы/Голосование.txt";
const char *ResultsPath = "Подпрограммы/Голосование_результаты.txt";
const char *PendingPath = "Подпрограммы/Голосующие.txt";
const char *VotersPath = "Подпрограммы/Голосовавшие.txt";
const QString EndQuestion = QStringLiteral("Вы хотите закончить голосвание? Это приведёт к полному удалению всех "
                                           "настроек и результатов, Вы подтверждаете удаление?");
} // namespace

class tst_VoteWindow : public FeatureWindowsFixture
{
    Q_OBJECT

private slots:
    void init() { setUp(); }
    void cleanup() { tearDown(); }

    void editingState();
    void applies_data();
    void applies();
    void opensARunningVote();
    void deleteTakesTheSelectedOption();
    void separatorRefused_data();
    void separatorRefused();
    void results_data();
    void results();
    void resultsWithoutVoteFile();
    void endDeclined();
    void endDeletesTheVote();

private:
    Form39 *openVote() { return open<Form39>("golos_m", "Form39"); }
    static QList<bool> buttons(const Form39 *form)
    {
        return {form->Command1->isEnabled(), form->Command2->isEnabled(), form->Command3->isEnabled(),
                form->Command4->isEnabled(), form->Command5->isEnabled()};
    }
    void addOption(Form39 *form, const QString &text)
    {
        m_dialogs.queueText(text);
        QTest::mouseClick(form->Command1, Qt::LeftButton);
        QCOMPARE(m_dialogs.shown.size(), 1);
        QCOMPARE(m_dialogs.shown.first().kind, RecordingDialogs::Kind::Input);
        QCOMPARE(m_dialogs.shown.first().title, QString("Вариант ответа"));
        QCOMPARE(m_dialogs.shown.first().text, QString("Введите новый вариант ответа"));
        m_dialogs.shown.clear();
    }
    QString resultsText(Form39 *form)
    {
        QTest::mouseClick(form->Command4, Qt::LeftButton);
        auto *results = window<Form40>("Form40");
        if (!results || !results->isVisible())
            return QStringLiteral("<no results window>");
        return results->Text1->toPlainText();
    }
};

const QList<bool> Editing = {true, true, true, false, false};
const QList<bool> Running = {false, false, false, true, true};

void tst_VoteWindow::editingState()
{
    auto *form = openVote();
    QVERIFY(form);
    QCOMPARE(form->windowTitle(), QString("Голосования"));
    QCOMPARE(form->Label1->text(), QString("Вопрос (предложение и т.д.):"));
    QCOMPARE(form->Label2->text(), QString("Варианты ответов:"));
    QCOMPARE(form->Command1->text(), QString("Добавить"));
    QCOMPARE(form->Command2->text(), QString("Удалить"));
    QCOMPARE(form->Command3->text(), QString("Применить"));
    QCOMPARE(form->Command4->text(), QString("Результаты"));
    QCOMPARE(form->Command5->text(), QString("Закончить голосвание"));
    QCOMPARE(buttons(form), Editing);
    QCOMPARE(form->Text1->text(), QString());
    QCOMPARE(form->List1->count(), 0);
}

void tst_VoteWindow::applies_data()
{
    QTest::addColumn<QString>("question");
    QTest::addColumn<QStringList>("options");
    QTest::addColumn<QByteArray>("expected");
    QTest::addColumn<QStringList>("reopened");

    QTest::newRow("two options") << "Какой цвет?" << QStringList{"Red", "blue"}
                                 << cp1251("Какой цвет?:^:Red:^:blue\r\n") << QStringList{"Red", "blue"};
    QTest::newRow("no options") << "Q" << QStringList{} << QByteArray("Q:^:\r\n") << QStringList{""};
    QTest::newRow("empty first option dropped")
        << "Q" << QStringList{"", "a", "", "b"} << QByteArray("Q:^:a:^::^:b\r\n") << QStringList{"a", "", "b"};
    QTest::newRow("empty question") << "" << QStringList{"a"} << QByteArray(":^:a\r\n") << QStringList{"a"};
}

void tst_VoteWindow::applies()
{
    QFETCH(QString, question);
    QFETCH(QStringList, options);
    QFETCH(QByteArray, expected);
    QFETCH(QStringList, reopened);

    auto *form = openVote();
    QVERIFY(form);
    typeInto(form->Text1, question);
    for (const QString &option : options) {
        addOption(form, option);
        if (QTest::currentTestFailed())
            return;
    }
    QCOMPARE(items(form->List1), options);
    QCOMPARE(bytes(VotePath), QByteArray("<missing>"));
    QTest::mouseClick(form->Command3, Qt::LeftButton);
    QCOMPARE(bytes(VotePath), expected);
    QCOMPARE(buttons(form), Running);
    QVERIFY(m_dialogs.shown.isEmpty());

    QVERIFY(closeWindow("Form39"));
    form = openVote();
    QCOMPARE(form->Text1->text(), question);
    QCOMPARE(items(form->List1), reopened);
    QCOMPARE(buttons(form), Running);
}

void tst_VoteWindow::opensARunningVote()
{
    QVERIFY(write(VotePath, cp1251("Вопрос:^:да:^:нет\r\n")));
    auto *form = openVote();
    QVERIFY(form);
    QCOMPARE(form->Text1->text(), QString("Вопрос"));
    QCOMPARE(items(form->List1), QStringList({"да", "нет"}));
    QCOMPARE(buttons(form), Running);
}

void tst_VoteWindow::deleteTakesTheSelectedOption()
{
    auto *form = openVote();
    QVERIFY(form);
    addOption(form, "a");
    addOption(form, "b");
    addOption(form, "c");
    // Nothing selected: nothing happens.
    QTest::mouseClick(form->Command2, Qt::LeftButton);
    QCOMPARE(items(form->List1), QStringList({"a", "b", "c"}));
    QVERIFY(pick(form->List1, 1));
    QTest::mouseClick(form->Command2, Qt::LeftButton);
    QCOMPARE(items(form->List1), QStringList({"a", "c"}));
    QVERIFY(m_dialogs.shown.isEmpty());
    QCOMPARE(bytes(VotePath), QByteArray("<missing>"));
}

void tst_VoteWindow::separatorRefused_data()
{
    QTest::addColumn<QString>("question");
    QTest::addColumn<QString>("option");
    QTest::newRow("in the question") << "a:^:b" << "x";
    QTest::newRow("in an option") << "q" << "x:^:y";
}

// A ":^:" would split the field in two: refused, nothing written, still editing.
void tst_VoteWindow::separatorRefused()
{
    QFETCH(QString, question);
    QFETCH(QString, option);
    auto *form = openVote();
    QVERIFY(form);
    typeInto(form->Text1, question);
    addOption(form, option);
    QTest::mouseClick(form->Command3, Qt::LeftButton);
    expectBox("Ошибка", Form39::SeparatorRefusal);
    QCOMPARE(bytes(VotePath), QByteArray("<missing>"));
    QCOMPARE(buttons(form), Editing);
}

void tst_VoteWindow::results_data()
{
    QTest::addColumn<QByteArray>("vote");
    QTest::addColumn<QByteArray>("results");
    QTest::addColumn<QString>("expected");

    const QString heading = QStringLiteral("Результаты голосваний:\n");
    QTest::newRow("most votes first") << QByteArray("Q:^:Red:^:blue\r\n") << QByteArray("RED\r\nBLUE\r\nBLUE\r\nGREEN\r\n")
                                      << heading + "\nblue: 2\nRed: 1";
    QTest::newRow("letter case twins count for the first")
        << QByteArray("Q:^:Yes:^:yes\r\n") << QByteArray("YES\r\nYES\r\n") << heading + "\nYes: 2\nyes: 0";
    QTest::newRow("ties 1 1 0") << QByteArray("Q:^:A:^:B:^:C\r\n") << QByteArray("A\r\nB\r\n")
                                << heading + "\nB: 1\nA: 1\nC: 0";
    QTest::newRow("ties 0 0 1") << QByteArray("Q:^:A:^:B:^:C\r\n") << QByteArray("C\r\n")
                                << heading + "\nC: 1\nB: 0\nA: 0";
    QTest::newRow("no votes yet") << QByteArray("Q:^:A:^:B\r\n") << QByteArray() << heading + "\nA: 0\nB: 0";
    QTest::newRow("no options") << QByteArray("Q:^:\r\n") << QByteArray() << heading + "\n: 0";
}

void tst_VoteWindow::results()
{
    QFETCH(QByteArray, vote);
    QFETCH(QByteArray, results);
    QFETCH(QString, expected);
    QVERIFY(write(VotePath, vote));
    if (!results.isNull())
        QVERIFY(write(ResultsPath, results));
    auto *form = openVote();
    QVERIFY(form);
    QCOMPARE(resultsText(form), expected);
    QCOMPARE(window<Form40>("Form40")->windowTitle(), QString("Результаты голосваний"));
    // The files stay as they were.
    QCOMPARE(bytes(VotePath), vote);
    QCOMPARE(bytes(ResultsPath), results.isNull() ? QByteArray("<missing>") : results);
}

// After the vote has ended the buttons stay; the results are the heading alone.
void tst_VoteWindow::resultsWithoutVoteFile()
{
    QVERIFY(write(VotePath, "Q:^:A\r\n"));
    auto *form = openVote();
    QVERIFY(form);
    QVERIFY(QFile::remove(path(VotePath)));
    QCOMPARE(resultsText(form), QString("Результаты голосваний:\n"));
}

void tst_VoteWindow::endDeclined()
{
    QVERIFY(write(VotePath, "Q:^:A\r\n"));
    QVERIFY(write(ResultsPath, "A\r\n"));
    auto *form = openVote();
    QVERIFY(form);
    m_dialogs.queueButton(Dialogs::Button::No);
    QTest::mouseClick(form->Command5, Qt::LeftButton);
    expectBox("Удаление резульатов", EndQuestion, Icon::Information, Buttons::YesNo);
    QCOMPARE(bytes(VotePath), QByteArray("Q:^:A\r\n"));
    QCOMPARE(bytes(ResultsPath), QByteArray("A\r\n"));
    QCOMPARE(buttons(form), Running);
    QCOMPARE(items(form->List1), QStringList({"A"}));
}

void tst_VoteWindow::endDeletesTheVote()
{
    QVERIFY(write(VotePath, "Q:^:A\r\n"));
    QVERIFY(write(ResultsPath, "A\r\n"));
    QVERIFY(write(VotersPath, "424242\r\n"));
    auto *form = openVote();
    QVERIFY(form);
    m_dialogs.queueButton(Dialogs::Button::Yes);
    QTest::mouseClick(form->Command5, Qt::LeftButton);
    expectBox("Удаление резульатов", EndQuestion, Icon::Information, Buttons::YesNo);
    for (const char *file : {VotePath, ResultsPath, VotersPath, PendingPath})
        QCOMPARE(bytes(file), QByteArray("<missing>"));
    QCOMPARE(buttons(form), QList<bool>({false, false, false, true, true}));
    QCOMPARE(form->List1->count(), 0);
    QCOMPARE(form->Text1->text(), QString());

    // Opened again: no vote, editing.
    QVERIFY(closeWindow("Form39"));
    form = openVote();
    QCOMPARE(buttons(form), Editing);
}

QTEST_MAIN(tst_VoteWindow)
#include "tst_votewindow.moc"
