// The tray icon on a real X display with a notification area (Xvfb and a tray host,
// started by run_tray_test.sh): "В трей" hides the window behind one icon, and the
// icon brings it back.
#include "mainwindow/trayicon.h"

#include <QMainWindow>
#include <QSystemTrayIcon>
#include <QTest>

class tst_TrayDesktop : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void hidesBehindOneIconAndComesBack();
};

void tst_TrayDesktop::initTestCase()
{
    if (qEnvironmentVariableIsEmpty("KORVANE_TRAY_HOST"))
        QSKIP("needs an X display with a tray host");
    // The tray host claims the notification area shortly after it starts.
    QTRY_VERIFY_WITH_TIMEOUT(QSystemTrayIcon::isSystemTrayAvailable(), 20000);
}

void tst_TrayDesktop::hidesBehindOneIconAndComesBack()
{
    QMainWindow window;
    window.setWindowTitle(QStringLiteral("Korvane"));
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));

    TrayIcon tray(window);
    tray.hideToTray();
    tray.hideToTray();
    QTRY_VERIFY(!window.isVisible());
    QVERIFY(tray.iconShown());
    QCOMPARE(window.findChildren<QSystemTrayIcon *>().size() + tray.findChildren<QSystemTrayIcon *>().size(),
             1);
    QCOMPARE(tray.icon()->toolTip(), TrayIcon::ToolTip);

    // A click on the icon brings the window back and takes the icon away.
    Q_EMIT tray.icon()->activated(QSystemTrayIcon::Trigger);
    QTRY_VERIFY(window.isVisible());
    QTRY_VERIFY(!tray.iconShown());
}

QTEST_MAIN(tst_TrayDesktop)
#include "tst_traydesktop.moc"
