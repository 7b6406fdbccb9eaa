// The redirect window driven through its controls: the file it loads and writes.
#include "featurewindowsfixture.h"
#include "settings/redirect_window.h"
#include "support/typing.h"

#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

namespace {
const char *FilePath = "Подпрограммы/Редикет.txt";
}

class tst_RedirectWindow : public FeatureWindowsFixture
{
    Q_OBJECT

private slots:
    void init() { setUp(); }
    void cleanup() { tearDown(); }

    void captions();
    void loads_data();
    void loads();
    void applies_data();
    void applies();
    void writeFailureIsReported();
};

void tst_RedirectWindow::captions()
{
    auto *form = open<Form18>("pod_red", "Form18");
    QVERIFY(form);
    QCOMPARE(form->windowTitle(), QString("Редикет"));
    QCOMPARE(form->Label1->text(), QString("Укажите на какой номер будут \"уходить\" сообщения:"));
    QCOMPARE(form->Label2->text(), QString("Если Вы хотите отключить редикет, просто оставьте поле пустым."));
    QCOMPARE(form->Option1->text(), QString("Обработка + редикет"));
    QCOMPARE(form->Option2->text(), QString("Просто редикет"));
    QCOMPARE(form->Command1->text(), QString("Применить"));
}

void tst_RedirectWindow::loads_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QString>("number");
    QTest::addColumn<bool>("answersToo");

    QTest::newRow("missing") << QByteArray() << "" << false;
    QTest::newRow("mode 1") << QByteArray("123456\r\n 1 \r\n") << "123456" << true;
    QTest::newRow("mode 1 without blanks") << QByteArray("123456\r\n1\r\n") << "123456" << true;
    QTest::newRow("mode 2") << QByteArray("123456\r\n 2 \r\n") << "123456" << false;
    QTest::newRow("one line") << QByteArray("123456\r\n") << "123456" << false;
    QTest::newRow("other mode") << QByteArray("77\r\n 5 \r\n") << "77" << false;
}

void tst_RedirectWindow::loads()
{
    QFETCH(QByteArray, file);
    QFETCH(QString, number);
    QFETCH(bool, answersToo);
    if (!file.isNull())
        QVERIFY(write(FilePath, file));

    auto *form = open<Form18>("pod_red", "Form18");
    QVERIFY(form);
    QCOMPARE(form->Text1->text(), number);
    QCOMPARE(form->Option1->isChecked(), answersToo);
    QCOMPARE(form->Option2->isChecked(), !answersToo);
    // Opening writes nothing.
    QCOMPARE(bytes(FilePath), file.isNull() ? QByteArray("<missing>") : file);
}

void tst_RedirectWindow::applies_data()
{
    QTest::addColumn<QString>("number");
    QTest::addColumn<bool>("answersToo");
    QTest::addColumn<QByteArray>("expected");

    QTest::newRow("answer and forward") << "123456" << true << QByteArray("123456\r\n 1 \r\n");
    QTest::newRow("forward only") << "123456" << false << QByteArray("123456\r\n 2 \r\n");
    QTest::newRow("empty number") << "" << true << QByteArray("\r\n 1 \r\n");
    QTest::newRow("not a number") << "кто-то" << false << QByteArray("\xEA\xF2\xEE-\xF2\xEE\r\n 2 \r\n");
}

void tst_RedirectWindow::applies()
{
    QFETCH(QString, number);
    QFETCH(bool, answersToo);
    QFETCH(QByteArray, expected);
    QVERIFY(write(FilePath, "999\r\n 1 \r\n"));

    auto *form = open<Form18>("pod_red", "Form18");
    QVERIFY(form);
    form->Text1->clear();
    typeInto(form->Text1, number);
    click(answersToo ? form->Option1 : form->Option2);
    QTest::mouseClick(form->Command1, Qt::LeftButton);
    QCOMPARE(bytes(FilePath), expected);
    QVERIFY(m_dialogs.shown.isEmpty());
    QVERIFY(form->isVisible());

    // Opened again, the window shows what it wrote.
    QVERIFY(closeWindow("Form18"));
    form = open<Form18>("pod_red", "Form18");
    QCOMPARE(form->Text1->text(), number);
    QCOMPARE(form->Option1->isChecked(), answersToo);
}

void tst_RedirectWindow::writeFailureIsReported()
{
    auto *form = open<Form18>("pod_red", "Form18");
    QVERIFY(form);
    typeInto(form->Text1, QStringLiteral("123456"));
    // A folder where the file should be: the write cannot succeed.
    QVERIFY(QDir().mkpath(path(FilePath)));
    QTest::mouseClick(form->Command1, Qt::LeftButton);
    QCOMPARE(m_dialogs.shown.size(), 1);
    QCOMPARE(m_dialogs.shown.first().title, QString("Ошибка"));
    QVERIFY(m_dialogs.shown.first().text.startsWith("Не удалось сохранить настройки: "));
}

QTEST_MAIN(tst_RedirectWindow)
#include "tst_redirectwindow.moc"
