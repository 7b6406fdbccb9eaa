#include "core/programfolder.h"
#include "platform/recordingdialogs.h"
#include "files/agreement.h"
#include "settings/agreement_window.h"
#include "support/filemode.h"
#include "support/programhome.h"

#include <QDir>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

#include <memory>

class TestAgreementWindow : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();

    void controlsByName();
    void acceptWritesMarkerAndEnds();
    void acceptReplacesOldMarker();
    void leavingWithoutAcceptingEnds_data();
    void leavingWithoutAcceptingEnds();
    void endsOnceWhenClosedAfterAccepting();
    void markerFailureReportedAndEnds();

private:
    QString markerPath() const { return m_home->path() + "/Разрешение.txt"; }
    std::unique_ptr<Form48> makeWindow()
    {
        auto window = std::make_unique<Form48>();
        window->show();
        if (!QTest::qWaitForWindowExposed(window.get()))
            return nullptr;
        return window;
    }
    static QPushButton *button(QWidget *window, const char *name)
    {
        return window->findChild<QPushButton *>(QString::fromLatin1(name));
    }

    std::unique_ptr<ProgramHome> m_home;
    RecordingDialogs m_dialogs;
    int m_ends = 0;
};

void TestAgreementWindow::init()
{
    m_home = std::make_unique<ProgramHome>();
    QVERIFY(m_home->isValid());
    m_dialogs = RecordingDialogs();
    Dialogs::setInstance(&m_dialogs);
    m_ends = 0;
    Form48::setEndProgram([this] { ++m_ends; });
}

void TestAgreementWindow::cleanup()
{
    Form48::setEndProgram(nullptr);
    Dialogs::setInstance(nullptr);
    ProgramFolder::setHome(QString());
    m_home.reset();
}

void TestAgreementWindow::controlsByName()
{
    Form48 window;
    QCOMPARE(window.objectName(), "Form48");
    QCOMPARE(window.windowTitle(), "Лицензионное соглашение");
    QVERIFY(window.isModal());
    QCOMPARE(window.property("AgreementAccepted").toBool(), false);
    auto *text = window.findChild<QPlainTextEdit *>(QStringLiteral("Text1"));
    QVERIFY(text);
    QVERIFY(text->isReadOnly());
    QCOMPARE(text->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
    QVERIFY(text->toPlainText().contains("ЛИЦЕНЗИОННОЕ СОГЛАШЕНИЕ"));
    QCOMPARE(button(&window, "Command1")->text(), "Принимаю условия");
    QCOMPARE(button(&window, "Command2")->text(), "НЕ Принимаю условия");
    QCOMPARE(m_ends, 0);
}

void TestAgreementWindow::acceptWritesMarkerAndEnds()
{
    const auto window = makeWindow();
    QVERIFY(window);
    QTest::mouseClick(button(window.get(), "Command1"), Qt::LeftButton);
    QCOMPARE(FileProbe::bytes(markerPath()), QByteArray("1\r\n"));
    QCOMPARE(FileProbe::unixMode(markerPath()) & 0222, 0);
    QVERIFY(Agreement::isAccepted());
    QCOMPARE(m_dialogs.shown.size(), 1);
    QCOMPARE(m_dialogs.shown.first().title, QString());
    QCOMPARE(m_dialogs.shown.first().text, QString());
    QCOMPARE(m_dialogs.shown.first().icon, Dialogs::Icon::Information);
    QCOMPARE(m_ends, 1);
    QCOMPARE(window->AgreementAccepted(), false);
}

void TestAgreementWindow::acceptReplacesOldMarker()
{
    QVERIFY(FileProbe::writeBytes(markerPath(), "0\r\n"));
    QVERIFY(QFile::setPermissions(markerPath(), QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther));
    const auto window = makeWindow();
    QVERIFY(window);
    QTest::mouseClick(button(window.get(), "Command1"), Qt::LeftButton);
    QCOMPARE(FileProbe::bytes(markerPath()), QByteArray("1\r\n"));
    QCOMPARE(m_ends, 1);
}

void TestAgreementWindow::leavingWithoutAcceptingEnds_data()
{
    QTest::addColumn<QString>("how");
    QTest::newRow("НЕ Принимаю условия") << "decline";
    QTest::newRow("close box") << "close";
    QTest::newRow("Escape") << "escape";
}

void TestAgreementWindow::leavingWithoutAcceptingEnds()
{
    QFETCH(QString, how);
    const auto window = makeWindow();
    QVERIFY(window);
    if (how == "decline")
        QTest::mouseClick(button(window.get(), "Command2"), Qt::LeftButton);
    else if (how == "close")
        window->close();
    else
        QTest::keyClick(window.get(), Qt::Key_Escape);
    QCOMPARE(m_ends, 1);
    QVERIFY(!QFileInfo::exists(markerPath()));
    QVERIFY(m_dialogs.shown.isEmpty());
}

void TestAgreementWindow::endsOnceWhenClosedAfterAccepting()
{
    const auto window = makeWindow();
    QVERIFY(window);
    QTest::mouseClick(button(window.get(), "Command1"), Qt::LeftButton);
    window->close();
    QTest::mouseClick(button(window.get(), "Command2"), Qt::LeftButton);
    QCOMPARE(m_ends, 1);
}

void TestAgreementWindow::markerFailureReportedAndEnds()
{
    // A folder where the marker belongs: it cannot be written.
    QVERIFY(QDir(m_home->path()).mkpath("Разрешение.txt"));
    const auto window = makeWindow();
    QVERIFY(window);
    QTest::mouseClick(button(window.get(), "Command1"), Qt::LeftButton);
    QCOMPARE(m_ends, 1);
    QVERIFY(!Agreement::isAccepted());
    QCOMPARE(m_dialogs.shown.size(), 1);
    QCOMPARE(m_dialogs.shown.first().title, "Ошибка");
    QVERIFY2(m_dialogs.shown.first().text.startsWith("Не удалось сохранить согласие с условиями ("),
             qPrintable(m_dialogs.shown.first().text));
    QCOMPARE(m_dialogs.shown.first().icon, Dialogs::Icon::Critical);
    // Closing the window afterwards does not end it a second time.
    window->close();
    QCOMPARE(m_ends, 1);
}

QTEST_MAIN(TestAgreementWindow)
#include "tst_agreementwindow.moc"
