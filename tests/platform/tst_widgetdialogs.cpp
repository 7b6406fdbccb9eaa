#include "platform/widgetdialogs.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QInputDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

#include <functional>

namespace {

QList<QMessageBox *> visibleBoxes()
{
    QList<QMessageBox *> boxes;
    for (QWidget *widget : QApplication::topLevelWidgets()) {
        if (auto *box = qobject_cast<QMessageBox *>(widget); box && box->isVisible())
            boxes.append(box);
    }
    return boxes;
}

// Runs `act` on the modal dialog as soon as the modal call has opened it.
void whenModal(std::function<void(QWidget *)> act)
{
    QTimer::singleShot(0, qApp, [act = std::move(act)] {
        QPointer<QWidget> modal = QApplication::activeModalWidget();
        QVERIFY(modal);
        act(modal);
        // A failed check inside `act` must not leave the test waiting on the box.
        if (modal && modal->isVisible())
            modal->close();
    });
}

} // namespace

class TestWidgetDialogs : public QObject
{
    Q_OBJECT

private slots:
    void cleanup();

    void notifyReturnsAtOnceWithBoxOpen();
    void notifySameKindUpdatesOpenBox();
    void notifyOtherKindsOpenTheirOwnBoxes();
    void notifyWithoutKindMergesOnlyIdenticalBoxes();
    void closedNotificationMakesRoomForNext();
    void openNotificationsEndWithDialogs();

    void messageAnswersClickedButton_data();
    void messageAnswersClickedButton();
    void messageClosedByEscape_data();
    void messageClosedByEscape();

    void inputAnswersTextOrEmptyOnCancel_data();
    void inputAnswersTextOrEmptyOnCancel();
};

void TestWidgetDialogs::cleanup()
{
    for (QMessageBox *box : visibleBoxes())
        box->close();
    QTRY_VERIFY(visibleBoxes().isEmpty());
}

void TestWidgetDialogs::notifyReturnsAtOnceWithBoxOpen()
{
    // A zero timer fires only when an event loop runs: inside notify() it would
    // mean a nested loop (an exec()), and it closes the box so the test ends.
    QObject guard;
    bool notifying = true;
    bool loopRanInside = false;
    QTimer::singleShot(0, &guard, [&] {
        loopRanInside = notifying;
        for (QMessageBox *box : visibleBoxes())
            box->close();
    });
    WidgetDialogs dialogs;
    dialogs.notify(QString(), QStringLiteral("Связь с сервером потеряна"), Dialogs::Icon::Warning,
                   QStringLiteral("link"));
    notifying = false;
    QVERIFY(!loopRanInside);

    const QList<QMessageBox *> boxes = visibleBoxes();
    QCOMPARE(boxes.size(), 1);
    QMessageBox *box = boxes.first();
    QCOMPARE(box, dialogs.notification(QStringLiteral("link")));
    QCOMPARE(box->windowTitle(), Dialogs::programTitle());
    QCOMPARE(box->text(), QStringLiteral("Связь с сервером потеряна"));
    QCOMPARE(box->icon(), QMessageBox::Warning);
    QCOMPARE(box->standardButtons(), QMessageBox::StandardButtons(QMessageBox::Ok));
    QVERIFY(box->testAttribute(Qt::WA_DeleteOnClose));
    QVERIFY(!box->testAttribute(Qt::WA_QuitOnClose));
    QVERIFY(box->windowModality() != Qt::ApplicationModal);
}

void TestWidgetDialogs::notifySameKindUpdatesOpenBox()
{
    WidgetDialogs dialogs;
    dialogs.notify(QStringLiteral("Сервер"), QStringLiteral("Разрыв 1"), Dialogs::Icon::Information,
                   QStringLiteral("link"));
    QPointer<QMessageBox> first = dialogs.notification(QStringLiteral("link"));
    QVERIFY(first);

    dialogs.notify(QStringLiteral("Сервер 2"), QStringLiteral("Разрыв 2"), Dialogs::Icon::Critical,
                   QStringLiteral("link"));
    QCOMPARE(visibleBoxes().size(), 1);
    QCOMPARE(dialogs.notification(QStringLiteral("link")), first.data());
    QCOMPARE(first->windowTitle(), QStringLiteral("Сервер 2"));
    QCOMPARE(first->text(), QStringLiteral("Разрыв 2"));
    QCOMPARE(first->icon(), QMessageBox::Critical);
}

void TestWidgetDialogs::notifyOtherKindsOpenTheirOwnBoxes()
{
    WidgetDialogs dialogs;
    dialogs.notify(QString(), QStringLiteral("a"), Dialogs::Icon::Information, QStringLiteral("link"));
    dialogs.notify(QString(), QStringLiteral("b"), Dialogs::Icon::Information, QStringLiteral("feed"));
    dialogs.notify(QString(), QStringLiteral("c"), Dialogs::Icon::Information, QStringLiteral("link"));

    QCOMPARE(visibleBoxes().size(), 2);
    QCOMPARE(dialogs.notification(QStringLiteral("link"))->text(), QStringLiteral("c"));
    QCOMPARE(dialogs.notification(QStringLiteral("feed"))->text(), QStringLiteral("b"));
}

void TestWidgetDialogs::notifyWithoutKindMergesOnlyIdenticalBoxes()
{
    WidgetDialogs dialogs;
    for (int i = 0; i < 3; ++i)
        dialogs.notify(QString(), QStringLiteral("Нет связи"), Dialogs::Icon::Warning, QString());
    QCOMPARE(visibleBoxes().size(), 1);
    QVERIFY(dialogs.notification(QString(), QString(), QStringLiteral("Нет связи")));

    dialogs.notify(QString(), QStringLiteral("Другой текст"), Dialogs::Icon::Warning, QString());
    dialogs.notify(QStringLiteral("Другой заголовок"), QStringLiteral("Нет связи"), Dialogs::Icon::Warning,
                   QString());
    QCOMPARE(visibleBoxes().size(), 3);
}

void TestWidgetDialogs::closedNotificationMakesRoomForNext()
{
    WidgetDialogs dialogs;
    dialogs.notify(QString(), QStringLiteral("1"), Dialogs::Icon::Information, QStringLiteral("link"));
    QPointer<QMessageBox> first = dialogs.notification(QStringLiteral("link"));
    QVERIFY(first);

    QTest::mouseClick(first->button(QMessageBox::Ok), Qt::LeftButton);
    QVERIFY(!first->isVisible());
    QTRY_VERIFY(first.isNull()); // deleted, not only hidden
    QCOMPARE(dialogs.notification(QStringLiteral("link")), nullptr);

    dialogs.notify(QString(), QStringLiteral("2"), Dialogs::Icon::Information, QStringLiteral("link"));
    const QList<QMessageBox *> boxes = visibleBoxes();
    QCOMPARE(boxes.size(), 1);
    QCOMPARE(boxes.first()->text(), QStringLiteral("2"));
}

void TestWidgetDialogs::openNotificationsEndWithDialogs()
{
    QPointer<QMessageBox> box;
    {
        WidgetDialogs dialogs;
        dialogs.notify(QString(), QStringLiteral("1"), Dialogs::Icon::Information, QStringLiteral("link"));
        box = dialogs.notification(QStringLiteral("link"));
        QVERIFY(box);
    }
    QVERIFY(box.isNull());
}

void TestWidgetDialogs::messageAnswersClickedButton_data()
{
    QTest::addColumn<Dialogs::Buttons>("buttons");
    QTest::addColumn<QMessageBox::StandardButtons>("shownButtons");
    QTest::addColumn<QMessageBox::StandardButton>("click");
    QTest::addColumn<Dialogs::Button>("answer");

    const QMessageBox::StandardButtons yesNo = QMessageBox::Yes | QMessageBox::No;
    const QMessageBox::StandardButtons okCancel = QMessageBox::Ok | QMessageBox::Cancel;
    QTest::newRow("ok") << Dialogs::Buttons::Ok << QMessageBox::StandardButtons(QMessageBox::Ok)
                        << QMessageBox::Ok << Dialogs::Button::Ok;
    QTest::newRow("ok cancel: ok") << Dialogs::Buttons::OkCancel << okCancel << QMessageBox::Ok
                                   << Dialogs::Button::Ok;
    QTest::newRow("ok cancel: cancel")
        << Dialogs::Buttons::OkCancel << okCancel << QMessageBox::Cancel << Dialogs::Button::Cancel;
    QTest::newRow("yes no: yes") << Dialogs::Buttons::YesNo << yesNo << QMessageBox::Yes
                                 << Dialogs::Button::Yes;
    QTest::newRow("yes no: no") << Dialogs::Buttons::YesNo << yesNo << QMessageBox::No << Dialogs::Button::No;
    QTest::newRow("yes no cancel: cancel") << Dialogs::Buttons::YesNoCancel << (yesNo | QMessageBox::Cancel)
                                           << QMessageBox::Cancel << Dialogs::Button::Cancel;
}

void TestWidgetDialogs::messageAnswersClickedButton()
{
    QFETCH(Dialogs::Buttons, buttons);
    QFETCH(QMessageBox::StandardButtons, shownButtons);
    QFETCH(QMessageBox::StandardButton, click);
    QFETCH(Dialogs::Button, answer);

    bool checked = false;
    whenModal([&](QWidget *modal) {
        auto *box = qobject_cast<QMessageBox *>(modal);
        QVERIFY(box);
        QCOMPARE(box->windowTitle(), Dialogs::programTitle());
        QCOMPARE(box->text(), QStringLiteral("Выключить компьютер?"));
        QCOMPARE(box->icon(), QMessageBox::Question);
        QCOMPARE(box->standardButtons(), shownButtons);
        checked = true;
        QTest::mouseClick(box->button(click), Qt::LeftButton);
    });
    WidgetDialogs dialogs;
    QCOMPARE(
        dialogs.message(QString(), QStringLiteral("Выключить компьютер?"), Dialogs::Icon::Question, buttons),
        answer);
    QVERIFY(checked);
}

void TestWidgetDialogs::messageClosedByEscape_data()
{
    QTest::addColumn<Dialogs::Buttons>("buttons");
    QTest::addColumn<Dialogs::Button>("answer");

    QTest::newRow("ok") << Dialogs::Buttons::Ok << Dialogs::Button::Ok;
    QTest::newRow("ok cancel") << Dialogs::Buttons::OkCancel << Dialogs::Button::Cancel;
    QTest::newRow("yes no") << Dialogs::Buttons::YesNo << Dialogs::Button::No;
    QTest::newRow("yes no cancel") << Dialogs::Buttons::YesNoCancel << Dialogs::Button::Cancel;
}

void TestWidgetDialogs::messageClosedByEscape()
{
    QFETCH(Dialogs::Buttons, buttons);
    QFETCH(Dialogs::Button, answer);

    whenModal([](QWidget *modal) {
        QCOMPARE(modal->windowTitle(), QStringLiteral("Вопрос"));
        QTest::keyClick(modal, Qt::Key_Escape);
    });
    WidgetDialogs dialogs;
    QCOMPARE(dialogs.message(QStringLiteral("Вопрос"), QStringLiteral("?"), Dialogs::Icon::Question, buttons),
             answer);
}

void TestWidgetDialogs::inputAnswersTextOrEmptyOnCancel_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<bool>("accept");
    QTest::addColumn<QString>("answer");

    QTest::newRow("typed, ok") << QStringLiteral("123456") << true << QStringLiteral("123456");
    QTest::newRow("default kept, ok") << QString() << true << QStringLiteral("5190");
    QTest::newRow("typed, cancel") << QStringLiteral("123456") << false << QString();
}

void TestWidgetDialogs::inputAnswersTextOrEmptyOnCancel()
{
    QFETCH(QString, typed);
    QFETCH(bool, accept);
    QFETCH(QString, answer);

    whenModal([&](QWidget *modal) {
        auto *dialog = qobject_cast<QInputDialog *>(modal);
        QVERIFY(dialog);
        QCOMPARE(dialog->windowTitle(), Dialogs::programTitle());
        QCOMPARE(dialog->labelText(), QStringLiteral("Введите порт"));
        QCOMPARE(dialog->textValue(), QStringLiteral("5190"));
        if (!typed.isEmpty()) {
            auto *edit = dialog->findChild<QLineEdit *>();
            QVERIFY(edit);
            edit->clear();
            QTest::keyClicks(edit, typed);
        }
        auto *buttonBox = dialog->findChild<QDialogButtonBox *>();
        QVERIFY(buttonBox);
        QTest::mouseClick(buttonBox->button(accept ? QDialogButtonBox::Ok : QDialogButtonBox::Cancel),
                          Qt::LeftButton);
    });
    WidgetDialogs dialogs;
    QCOMPARE(dialogs.input(QString(), QStringLiteral("Введите порт"), QStringLiteral("5190")), answer);
}

QTEST_MAIN(TestWidgetDialogs)
#include "tst_widgetdialogs.moc"
