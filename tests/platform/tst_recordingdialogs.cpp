#include "platform/recordingdialogs.h"

#include <QTest>

class TestRecordingDialogs : public QObject
{
    Q_OBJECT

private slots:
    void unscriptedBoxAnswersFirstButton_data();
    void unscriptedBoxAnswersFirstButton();
    void scriptedButtonsAnsweredInOrder();
    void scriptedTextsSharedByInputAndFileDialog();
    void recordsEveryBox();
};

void TestRecordingDialogs::unscriptedBoxAnswersFirstButton_data()
{
    QTest::addColumn<Dialogs::Buttons>("buttons");
    QTest::addColumn<Dialogs::Button>("answer");

    QTest::newRow("ok") << Dialogs::Buttons::Ok << Dialogs::Button::Ok;
    QTest::newRow("ok cancel") << Dialogs::Buttons::OkCancel << Dialogs::Button::Ok;
    QTest::newRow("yes no") << Dialogs::Buttons::YesNo << Dialogs::Button::Yes;
    QTest::newRow("yes no cancel") << Dialogs::Buttons::YesNoCancel << Dialogs::Button::Yes;
}

void TestRecordingDialogs::unscriptedBoxAnswersFirstButton()
{
    QFETCH(Dialogs::Buttons, buttons);
    QFETCH(Dialogs::Button, answer);

    RecordingDialogs dialogs;
    QCOMPARE(dialogs.message(QString(), QStringLiteral("Выключить?"), Dialogs::Icon::Question, buttons),
             answer);
    QCOMPARE(dialogs.shown.size(), 1);
    QCOMPARE(dialogs.shown.first().buttons, buttons);
}

void TestRecordingDialogs::scriptedButtonsAnsweredInOrder()
{
    RecordingDialogs dialogs;
    dialogs.queueButton(Dialogs::Button::No);
    dialogs.queueButton(Dialogs::Button::Cancel);

    const auto ask = [&] {
        return dialogs.message(QString(), QStringLiteral("?"), Dialogs::Icon::Question,
                               Dialogs::Buttons::YesNoCancel);
    };
    QCOMPARE(ask(), Dialogs::Button::No);
    QCOMPARE(ask(), Dialogs::Button::Cancel);
    // The script is used up: back to the first button.
    QCOMPARE(ask(), Dialogs::Button::Yes);

    // Notifications take nothing from the script.
    dialogs.queueButton(Dialogs::Button::No);
    dialogs.notify(QString(), QStringLiteral("связь потеряна"), Dialogs::Icon::Warning,
                   QStringLiteral("link"));
    QCOMPARE(ask(), Dialogs::Button::No);
}

void TestRecordingDialogs::scriptedTextsSharedByInputAndFileDialog()
{
    RecordingDialogs dialogs;
    dialogs.queueText(QStringLiteral("123456"));
    dialogs.queueText(QStringLiteral("/home/op/Sounds/sndMsg.wav"));

    QCOMPARE(dialogs.input(QString(), QStringLiteral("Введите номер"), QString()), QStringLiteral("123456"));
    QCOMPARE(dialogs.openFile(QStringLiteral("Звук"), QStringLiteral("/home/op"), QStringLiteral("*.wav")),
             QStringLiteral("/home/op/Sounds/sndMsg.wav"));
    // Unscripted: Cancel, that is empty text.
    QCOMPARE(dialogs.input(QString(), QStringLiteral("Введите номер"), QStringLiteral("1")), QString());
    QCOMPARE(dialogs.openFile(QString(), QString(), QString()), QString());
}

void TestRecordingDialogs::recordsEveryBox()
{
    RecordingDialogs dialogs;
    dialogs.message(QStringLiteral("Ошибка"), QStringLiteral("Нет связи"), Dialogs::Icon::Critical,
                    Dialogs::Buttons::OkCancel);
    dialogs.notify(QStringLiteral("Сервер"), QStringLiteral("Разрыв"), Dialogs::Icon::Warning,
                   QStringLiteral("link"));
    dialogs.notify(QStringLiteral("Сервер"), QStringLiteral("Разрыв"), Dialogs::Icon::Warning,
                   QStringLiteral("link"));
    dialogs.input(QStringLiteral("Вход"), QStringLiteral("Пароль"), QString());
    dialogs.openFile(QStringLiteral("Файл"), QStringLiteral("/tmp"), QString());

    QCOMPARE(dialogs.shown.size(), 5);
    const RecordingDialogs::Shown &box = dialogs.shown.at(0);
    QCOMPARE(box.kind, RecordingDialogs::Kind::Message);
    QCOMPARE(box.title, QStringLiteral("Ошибка"));
    QCOMPARE(box.text, QStringLiteral("Нет связи"));
    QCOMPARE(box.icon, Dialogs::Icon::Critical);
    QCOMPARE(box.buttons, Dialogs::Buttons::OkCancel);

    // Every notification is recorded, also one that the real boxes would merge.
    QCOMPARE(dialogs.shown.at(1).kind, RecordingDialogs::Kind::Notify);
    QCOMPARE(dialogs.shown.at(2).notifyKind, QStringLiteral("link"));
    QCOMPARE(dialogs.shown.at(3).kind, RecordingDialogs::Kind::Input);
    QCOMPARE(dialogs.shown.at(3).text, QStringLiteral("Пароль"));
    QCOMPARE(dialogs.shown.at(4).kind, RecordingDialogs::Kind::OpenFile);
    QCOMPARE(dialogs.shown.at(4).text, QStringLiteral("/tmp"));
}

QTEST_GUILESS_MAIN(TestRecordingDialogs)
#include "tst_recordingdialogs.moc"
