// The signature window driven through its controls: the file exists only while
// signatures are on.
#include "featurewindowsfixture.h"
#include "settings/signature_window.h"
#include "support/typing.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>

namespace {
const char *FilePath = "Команды/Подпись.txt";
}

class tst_SignatureWindow : public FeatureWindowsFixture
{
    Q_OBJECT

private slots:
    void init() { setUp(); }
    void cleanup() { tearDown(); }

    void designState();
    void applies_data();
    void applies();
    void loads_data();
    void loads();
    void switchedOffDeletesTheFile();
    void noSignatureRefused();
};

void tst_SignatureWindow::designState()
{
    auto *form = open<Form34>("podpis_m", "Form34");
    QVERIFY(form);
    QCOMPARE(form->windowTitle(), QString("Подпись"));
    QCOMPARE(form->Check1->text(), QString("Включить подпись"));
    QCOMPARE(form->Label1->text(), QString("Введите подпись (1 строка = 1 подпись)"));
    QCOMPARE(form->Label2->text(), QString("Разделитель между основынм сообщением и подписью:"));
    QCOMPARE(form->Label3->text(), QString("vbcrlf - дополнительный переход на одну строчку"));
    QCOMPARE(form->Command1->text(), QString("Сохранить и применить"));
    QVERIFY(!form->Check1->isChecked());
    QCOMPARE(form->Text2->text(), QString("vbcrlf"));
    QCOMPARE(form->Text1->toPlainText(), QString());
}

void tst_SignatureWindow::applies_data()
{
    QTest::addColumn<QString>("separator");
    QTest::addColumn<QString>("signatures");
    QTest::addColumn<QByteArray>("expected");

    QTest::newRow("two signatures, empty line") << "vbcrlf" << "Бот Коля\nwww.site" << cp1251(" 1 \r\nvbcrlf\r\nБот Коля\r\nwww.site\r\n");
    QTest::newRow("own separator") << "-- " << "one" << QByteArray(" 1 \r\n-- \r\none\r\n");
    QTest::newRow("empty separator") << "" << "one" << QByteArray(" 1 \r\n\r\none\r\n");
    QTest::newRow("signatures ending with a line end") << "vbcrlf" << "one\n" << QByteArray(" 1 \r\nvbcrlf\r\none\r\n\r\n");
}

void tst_SignatureWindow::applies()
{
    QFETCH(QString, separator);
    QFETCH(QString, signatures);
    QFETCH(QByteArray, expected);

    auto *form = open<Form34>("podpis_m", "Form34");
    QVERIFY(form);
    click(form->Check1);
    form->Text2->clear();
    typeInto(form->Text2, separator);
    typeInto(form->Text1, signatures);
    QTest::mouseClick(form->Command1, Qt::LeftButton);
    QCOMPARE(bytes(FilePath), expected);
    QVERIFY(m_dialogs.shown.isEmpty());

    QVERIFY(closeWindow("Form34"));
    form = open<Form34>("podpis_m", "Form34");
    QVERIFY(form->Check1->isChecked());
    QCOMPARE(form->Text2->text(), separator);
    QCOMPARE(form->Text1->toPlainText(), signatures);
    // Applied again without a change: the same file.
    QTest::mouseClick(form->Command1, Qt::LeftButton);
    QCOMPARE(bytes(FilePath), expected);
}

void tst_SignatureWindow::loads_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<bool>("on");
    QTest::addColumn<QString>("separator");
    QTest::addColumn<QString>("signatures");

    QTest::newRow("empty file") << QByteArray("") << false << "vbcrlf" << "";
    QTest::newRow("empty lines before the first signature")
        << QByteArray(" 1 \r\n--\r\n\r\n\r\none\r\n\r\ntwo\r\n") << true << "--" << "one\n\ntwo";
    QTest::newRow("typed by hand") << QByteArray("1\r\nvbcrlf\r\nsig") << true << "vbcrlf" << "sig";
}

void tst_SignatureWindow::loads()
{
    QFETCH(QByteArray, file);
    QFETCH(bool, on);
    QFETCH(QString, separator);
    QFETCH(QString, signatures);
    QVERIFY(write(FilePath, file));
    auto *form = open<Form34>("podpis_m", "Form34");
    QVERIFY(form);
    QCOMPARE(form->Check1->isChecked(), on);
    QCOMPARE(form->Text2->text(), separator);
    QCOMPARE(form->Text1->toPlainText(), signatures);
    QCOMPARE(bytes(FilePath), file);
}

// Off: the file goes, and what was typed is kept nowhere.
void tst_SignatureWindow::switchedOffDeletesTheFile()
{
    QVERIFY(write(FilePath, " 1 \r\n--\r\none\r\n"));
    auto *form = open<Form34>("podpis_m", "Form34");
    QVERIFY(form);
    QVERIFY(form->Check1->isChecked());
    click(form->Check1);
    QTest::mouseClick(form->Command1, Qt::LeftButton);
    QCOMPARE(bytes(FilePath), QByteArray("<missing>"));
    QVERIFY(m_dialogs.shown.isEmpty());
    // A second time, with no file, is no error.
    QTest::mouseClick(form->Command1, Qt::LeftButton);
    QVERIFY(m_dialogs.shown.isEmpty());

    QVERIFY(closeWindow("Form34"));
    form = open<Form34>("podpis_m", "Form34");
    QVERIFY(!form->Check1->isChecked());
    QCOMPARE(form->Text2->text(), QString("vbcrlf"));
    QCOMPARE(form->Text1->toPlainText(), QString());
}

void tst_SignatureWindow::noSignatureRefused()
{
    const QByteArray before = " 1 \r\n--\r\none\r\n";
    QVERIFY(write(FilePath, before));
    auto *form = open<Form34>("podpis_m", "Form34");
    QVERIFY(form);
    form->Text1->clear();
    QTest::mouseClick(form->Command1, Qt::LeftButton);
    expectBox("Ошибка", "Вы не ввели текст");
    QCOMPARE(bytes(FilePath), before);
}

QTEST_MAIN(tst_SignatureWindow)
#include "tst_signaturewindow.moc"
