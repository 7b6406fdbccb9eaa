// The help and news windows: the help file shown whole in a window of its own, read once
// per opening; the news shown with every line end a line break, the download deleted.
#include "infowindowsfixture.h"

#include "core/textfile.h"
#include "settings/help_window.h"
#include "settings/infotexts.h"
#include "settings/news_window.h"
#include "support/demohome.h"

#include <QFile>
#include <QPlainTextEdit>
#include <QStringDecoder>

namespace {
const QByteArray Missing = "<missing>";
const QString ShippedHelp = QStringLiteral(KORVANE_SOURCE_DIR "/data/Помощь.txt");
} // namespace

class tst_HelpNewsWindows : public InfoWindowsFixture
{
    Q_OBJECT

private slots:
    void init() { setUp(); }
    void cleanup() { tearDown(); }

    void helpShownWhole();
    void helpMissing();
    void helpReadOncePerOpening();
    void shippedHelpFile();
    void demoFolderGetsTheHelp();
    void newsShown_data();
    void newsShown();
    void newsWindowListed();
};

void tst_HelpNewsWindows::helpShownWhole()
{
    // "Помощь" and two more lines, Windows-1251, CR LF.
    QVERIFY(write(QStringLiteral("Помощь.txt"),
                  "\xcf\xee\xec\xee\xf9\xfc\r\n\r\n\xc1\xee\xf2 - \xfd\xf2\xee bot.\r\n"));
    auto *form = open<Form27>(QStringLiteral("help_m"), QStringLiteral("Form27"));
    QVERIFY(form);
    QVERIFY(form->isWindow());
    QCOMPARE(form->windowTitle(), QStringLiteral("Помощь"));
    QCOMPARE(form->Text1->toPlainText(), QStringLiteral("Помощь\n\nБот - это bot.\n"));
    QVERIFY(form->Text1->isReadOnly());
    QCOMPARE(form->Text1->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
    QCOMPARE(bytes(QStringLiteral("Помощь.txt")),
             QByteArray("\xcf\xee\xec\xee\xf9\xfc\r\n\r\n\xc1\xee\xf2 - \xfd\xf2\xee bot.\r\n"));
}

void tst_HelpNewsWindows::helpMissing()
{
    auto *form = open<Form27>(QStringLiteral("help_m"), QStringLiteral("Form27"));
    QVERIFY(form);
    QCOMPARE(form->Text1->toPlainText(), InfoTexts::HelpMissingText);
    QVERIFY(m_dialogs.shown.isEmpty());
    QCOMPARE(bytes(QStringLiteral("Помощь.txt")), Missing);
}

void tst_HelpNewsWindows::helpReadOncePerOpening()
{
    QVERIFY(write(QStringLiteral("Помощь.txt"), "first\r\n"));
    auto *form = open<Form27>(QStringLiteral("help_m"), QStringLiteral("Form27"));
    QVERIFY(form);
    QVERIFY(write(QStringLiteral("Помощь.txt"), "second\r\n"));
    QCOMPARE(open<Form27>(QStringLiteral("help_m"), QStringLiteral("Form27")), form);
    QCOMPARE(form->Text1->toPlainText(), QStringLiteral("first\n"));

    closeWindow(QStringLiteral("Form27"));
    form = open<Form27>(QStringLiteral("help_m"), QStringLiteral("Form27"));
    QVERIFY(form);
    QCOMPARE(form->Text1->toPlainText(), QStringLiteral("second\n"));
}

void tst_HelpNewsWindows::shippedHelpFile()
{
    QFile file(ShippedHelp);
    QVERIFY2(file.open(QIODevice::ReadOnly), qPrintable(ShippedHelp));
    const QByteArray shipped = file.readAll();
    QVERIFY(shipped.size() > 1000);
    // Windows-1251 with CR LF: every LF follows a CR, and the text is not UTF-8.
    QVERIFY(shipped.endsWith("\r\n"));
    QCOMPARE(shipped.count('\n'), shipped.count("\r\n"));
    QCOMPARE(shipped.count('\r'), shipped.count("\r\n"));
    QStringDecoder utf8(QStringDecoder::Utf8);
    const QString asUtf8 = utf8.decode(shipped);
    Q_UNUSED(asUtf8);
    QVERIFY(utf8.hasError());

    QVERIFY(write(QStringLiteral("Помощь.txt"), shipped));
    auto *form = open<Form27>(QStringLiteral("help_m"), QStringLiteral("Form27"));
    QVERIFY(form);
    const QString shown = form->Text1->toPlainText();
    QVERIFY(shown.contains(QLatin1String("Korvane")));
    QVERIFY(shown.contains(QStringLiteral("Подключиться")));
    QVERIFY(shown.contains(QStringLiteral("!погода название_города")));
    QVERIFY(!shown.contains(QLatin1Char('\r')));
}

void tst_HelpNewsWindows::demoFolderGetsTheHelp()
{
    QByteArray output;
    QVERIFY2(prepareDemoHome(QStringLiteral(KORVANE_SOURCE_DIR), m_home->path(), output), output.constData());
    QCOMPARE(bytes(QStringLiteral("Помощь.txt")), FileProbe::bytes(ShippedHelp));
}

void tst_HelpNewsWindows::newsShown_data()
{
    QTest::addColumn<QByteArray>("news");
    QTest::addColumn<QString>("shown");
    QTest::newRow("two lines ended by LF")
        << QByteArray("\xed\xee\xe2\xee\xe5\nsecond\n") << "новое\nsecond\n";
    QTest::newRow("CR LF") << QByteArray("one\r\ntwo\r\n") << "one\ntwo\n";
    QTest::newRow("mixed") << QByteArray("one\r\ntwo\nthree") << "one\ntwo\nthree";
    QTest::newRow("one line") << QByteArray("all on one line") << "all on one line";
    QTest::newRow("missing") << Missing << "";
}

void tst_HelpNewsWindows::newsShown()
{
    QFETCH(QByteArray, news);
    QFETCH(QString, shown);
    if (news != Missing)
        QVERIFY(write(QStringLiteral("all_news.txt"), news));
    QVERIFY(write(QStringLiteral("news.txt"), "downloaded\r\n"));
    auto *form = show<Form22>(QStringLiteral("Form22"));
    QVERIFY(form);
    QCOMPARE(form->Text1->toPlainText(), shown);
    QCOMPARE(bytes(QStringLiteral("news.txt")), Missing);
    QCOMPARE(bytes(QStringLiteral("all_news.txt")), news);
}

void tst_HelpNewsWindows::newsWindowListed()
{
    QVERIFY(m_main->roster().contains(QStringLiteral("Form22")));
    QCOMPARE(m_main->roster().caption(QStringLiteral("Form22")), QStringLiteral("Новости"));
    QCOMPARE(m_main->roster().placement(QStringLiteral("Form22")), WindowHost::Placement::Child);
    auto *form = show<Form22>(QStringLiteral("Form22"));
    QVERIFY(form);
    QVERIFY(!form->isWindow());
    QCOMPARE(form->windowTitle(), QStringLiteral("Новости"));
    QCOMPARE(form->Text1->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
    QCOMPARE(form->Text1->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
}

QTEST_MAIN(tst_HelpNewsWindows)
#include "tst_helpnewswindows.moc"
