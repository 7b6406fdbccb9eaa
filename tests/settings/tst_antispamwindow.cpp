// The anti-spam window driven through its controls: the seven items of its file.
#include "featurewindowsfixture.h"
#include "settings/antispam_window.h"
#include "support/typing.h"

#include <QCheckBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>

namespace {
const char *FilePath = "Подпрограммы/Анти_спам.txt";
const QString DesignFile = QStringLiteral(" 0 \r\n---\r\nДвижок какой компании использует этот бот?\r\n\r\n---\r\n"
                                          "Plumwerk\r\n\r\n---\r\nВы прошли защиту на спам.\r\n"
                                          "Теперь Вы можете воспользоваться услугами бота.\r\n\r\n");

void retype(QPlainTextEdit *box, const QString &text)
{
    box->clear();
    typeInto(box, text);
}
} // namespace

class tst_AntiSpamWindow : public FeatureWindowsFixture
{
    Q_OBJECT

private slots:
    void init() { setUp(); }
    void cleanup() { tearDown(); }

    void designState();
    void applies_data();
    void applies();
    void roundTripKeepsTheFile_data();
    void roundTripKeepsTheFile();
    void separatorRefused_data();
    void separatorRefused();
};

// Without a file: the design texts, switched off; applying writes them as they stand.
void tst_AntiSpamWindow::designState()
{
    auto *form = open<Form32>("anti_spam_m", "Form32");
    QVERIFY(form);
    QCOMPARE(form->windowTitle(), QString("Анти-спам"));
    QCOMPARE(form->Check1->text(), QString("Включить анти-спамбот"));
    QCOMPARE(form->Label1->text(), QString("Вопрос:"));
    QCOMPARE(form->Label2->text(), QString("Ответ:"));
    QCOMPARE(form->Label3->text(), QString("Сообщение об правильном ответе:"));
    QCOMPARE(form->Command1->text(), QString("Применить"));
    QVERIFY(!form->Check1->isChecked());
    QCOMPARE(form->Text1->toPlainText(), QString("Движок какой компании использует этот бот?\n"));
    QCOMPARE(form->Text2->toPlainText(), QString("Plumwerk\n"));
    QCOMPARE(form->Text3->toPlainText(),
             QString("Вы прошли защиту на спам.\nТеперь Вы можете воспользоваться услугами бота.\n"));
    QCOMPARE(bytes(FilePath), QByteArray("<missing>"));

    QTest::mouseClick(form->Command1, Qt::LeftButton);
    QCOMPARE(bytes(FilePath), cp1251(DesignFile));
    QVERIFY(m_dialogs.shown.isEmpty());
}

void tst_AntiSpamWindow::applies_data()
{
    QTest::addColumn<bool>("on");
    QTest::addColumn<QString>("question");
    QTest::addColumn<QString>("answer");
    QTest::addColumn<QString>("success");
    QTest::addColumn<QString>("expected");

    QTest::newRow("on, typed without line ends")
        << true << "2+2?" << "4" << "Верно" << " 1 \r\n---\r\n2+2?\r\n---\r\n4\r\n---\r\nВерно\r\n";
    QTest::newRow("off") << false << "2+2?" << "4" << "Верно" << " 0 \r\n---\r\n2+2?\r\n---\r\n4\r\n---\r\nВерно\r\n";
    QTest::newRow("question with a line end")
        << true << "2+2?\n" << "4" << "Верно\nВходите" << " 1 \r\n---\r\n2+2?\r\n\r\n---\r\n4\r\n---\r\nВерно\r\nВходите\r\n";
    QTest::newRow("empty texts") << true << "" << "" << "" << " 1 \r\n---\r\n\r\n---\r\n\r\n---\r\n\r\n";
}

void tst_AntiSpamWindow::applies()
{
    QFETCH(bool, on);
    QFETCH(QString, question);
    QFETCH(QString, answer);
    QFETCH(QString, success);
    QFETCH(QString, expected);

    auto *form = open<Form32>("anti_spam_m", "Form32");
    QVERIFY(form);
    if (on)
        click(form->Check1);
    retype(form->Text1, question);
    retype(form->Text2, answer);
    retype(form->Text3, success);
    QTest::mouseClick(form->Command1, Qt::LeftButton);
    QCOMPARE(bytes(FilePath), cp1251(expected));
    QVERIFY(m_dialogs.shown.isEmpty());

    // Opened again: the texts as typed, line ends and all.
    QVERIFY(closeWindow("Form32"));
    form = open<Form32>("anti_spam_m", "Form32");
    QCOMPARE(form->Check1->isChecked(), on);
    QCOMPARE(form->Text1->toPlainText(), question);
    QCOMPARE(form->Text2->toPlainText(), answer);
    QCOMPARE(form->Text3->toPlainText(), success);
}

void tst_AntiSpamWindow::roundTripKeepsTheFile_data()
{
    QTest::addColumn<QString>("file");

    QTest::newRow("design texts") << DesignFile;
    QTest::newRow("on") << " 1 \r\n---\r\nQ\r\nq\r\n---\r\nA\r\n---\r\nS\r\n";
    QTest::newRow("empty success") << " 1 \r\n---\r\nQ\r\n---\r\nA\r\n---\r\n\r\n";
}

// Opening and applying without a change writes the file back as it was.
void tst_AntiSpamWindow::roundTripKeepsTheFile()
{
    QFETCH(QString, file);
    QVERIFY(write(FilePath, cp1251(file)));
    auto *form = open<Form32>("anti_spam_m", "Form32");
    QVERIFY(form);
    QTest::mouseClick(form->Command1, Qt::LeftButton);
    QCOMPARE(bytes(FilePath), cp1251(file));
}

void tst_AntiSpamWindow::separatorRefused_data()
{
    QTest::addColumn<int>("box");
    QTest::newRow("question") << 1;
    QTest::newRow("answer") << 2;
    QTest::newRow("success") << 3;
}

// "---" would cut the text short when the engine reads it: refused, nothing written.
void tst_AntiSpamWindow::separatorRefused()
{
    QFETCH(int, box);
    const QByteArray before = " 1 \r\n---\r\nQ\r\n---\r\nA\r\n---\r\nS\r\n";
    QVERIFY(write(FilePath, before));
    auto *form = open<Form32>("anti_spam_m", "Form32");
    QVERIFY(form);
    QPlainTextEdit *boxes[] = {form->Text1, form->Text2, form->Text3};
    typeInto(boxes[box - 1], QStringLiteral(" --- "));
    click(form->Check1);
    QTest::mouseClick(form->Command1, Qt::LeftButton);
    expectBox("Ошибка", Form32::SeparatorRefusal);
    QCOMPARE(bytes(FilePath), before);
}

QTEST_MAIN(tst_AntiSpamWindow)
#include "tst_antispamwindow.moc"
