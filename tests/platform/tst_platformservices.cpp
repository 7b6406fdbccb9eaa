#include "platform/autostart.h"
#include "platform/dialogs.h"
#include "platform/platformservices.h"
#include "platform/power.h"
#include "platform/sound.h"
#include "platform/webopener.h"
#include "platform/widgetdialogs.h"
#include "platform/xdgautostart.h"

#include <QApplication>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

class TestPlatformServices : public QObject
{
    Q_OBJECT

private slots:
    void realServicesServeWhileInstalled();
};

void TestPlatformServices::realServicesServeWhileInstalled()
{
    QTemporaryDir config;
    QVERIFY(config.isValid());
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(config.path()));

    Dialogs *const defaultDialogs = &Dialogs::instance();
    Sound *const defaultSound = &Sound::instance();
    WebOpener *const defaultOpener = &WebOpener::instance();
    Power *const defaultPower = &Power::instance();
    Autostart *const defaultAutostart = &Autostart::instance();
    QVERIFY(!dynamic_cast<WidgetDialogs *>(defaultDialogs));
    QVERIFY(!defaultAutostart->isEnabled());

    {
        const auto services = installPlatformServices(
            {QStringLiteral("korvane"), QStringLiteral("--home"), QStringLiteral("/srv/bot")});
        QVERIFY(dynamic_cast<WidgetDialogs *>(&Dialogs::instance()));
        QVERIFY(&Sound::instance() != defaultSound);
        QVERIFY(&WebOpener::instance() != defaultOpener);
        QVERIFY(&Power::instance() != defaultPower);
        QVERIFY(dynamic_cast<XdgAutostart *>(&Autostart::instance()));

        // The autostart entry carries the program's folder.
        QVERIFY(Autostart::instance().setEnabled(true));
        QFile entry(XdgAutostart::entryPath());
        QVERIFY(entry.open(QIODevice::ReadOnly));
        QVERIFY(entry.readAll().contains(" --home /srv/bot\n"));
        QVERIFY(Autostart::instance().setEnabled(false));
    }

    QCOMPARE(&Dialogs::instance(), defaultDialogs);
    QCOMPARE(&Sound::instance(), defaultSound);
    QCOMPARE(&WebOpener::instance(), defaultOpener);
    QCOMPARE(&Power::instance(), defaultPower);
    QCOMPARE(&Autostart::instance(), defaultAutostart);
}

QTEST_MAIN(TestPlatformServices)
#include "tst_platformservices.moc"
