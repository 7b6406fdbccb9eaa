// The sub-bot switch windows, opened from the main window's menu and driven through their
// check boxes: the switch file follows the box byte for byte, and the box shows the file.
#include "infowindowsfixture.h"

#include "settings/subbot_switch_windows.h"

#include <QCheckBox>
#include <QLabel>

namespace {
const QByteArray Missing = "<missing>";
}

class tst_SubBotSwitchWindows : public InfoWindowsFixture
{
    Q_OBJECT

private slots:
    void init() { setUp(); }
    void cleanup() { tearDown(); }

    void captionsAndLabels_data();
    void captionsAndLabels();
    void clicksWriteAndDelete_data();
    void clicksWriteAndDelete();
    void opensAsTheFileSays_data();
    void opensAsTheFileSays();
    void reopenedWindowShowsTheFile();
    void failedWriteIsTold();

private:
    static void addWindows();
    SubBotSwitchWindow *openRow();
};

void tst_SubBotSwitchWindows::addWindows()
{
    QTest::addColumn<QString>("item");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("file");
    QTest::newRow("weather") << "pogodbot_m"
                             << "Form44"
                             << "Подпрограммы/Погода.txt";
    QTest::newRow("currency") << "botkursval_m"
                              << "Form45"
                              << "Подпрограммы/Курс валют.txt";
    QTest::newRow("quotations") << "BASH_m"
                                << "Form46"
                                << "Подпрограммы/BASH.txt";
}

SubBotSwitchWindow *tst_SubBotSwitchWindows::openRow()
{
    QFETCH(QString, item);
    QFETCH(QString, name);
    auto *form = open<SubBotSwitchWindow>(item, name);
    return form && QTest::qWaitForWindowExposed(form) ? form : nullptr;
}

void tst_SubBotSwitchWindows::captionsAndLabels_data()
{
    QTest::addColumn<QString>("item");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("check");
    QTest::addColumn<QStringList>("labels"); // name, text, name, text, ...
    QTest::newRow("weather") << "pogodbot_m"
                             << "Form44"
                             << "Погодный бот"
                             << "Включить погодного подбота"
                             << QStringList{
                                    "Label2", "Пример запроса погоды:", "Label3", "!погода название_города",
                                    "Label4", "!погода Санкт-Петербург"};
    QTest::newRow("currency") << "botkursval_m"
                              << "Form45"
                              << "Подбот курса валют"
                              << "Включить подбота курса валют"
                              << QStringList{"Label2", "Пример запроса курса валют:", "Label3", "!кв"};
    QTest::newRow("quotations")
        << "BASH_m"
        << "Form46"
        << "Подбот BASH RSS"
        << "Включить подбота BASH RSS"
        << QStringList{"Label1",
                       "Цифра указывает на то, сколько будет показано цитат. Если цифры отсутсвуют, то будет "
                       "показано 5 цитат.",
                       "Label3",
                       "!bash",
                       "Label4",
                       "!bash 20",
                       "Label5",
                       "!баш",
                       "Label6",
                       "!баш 20"};
}

void tst_SubBotSwitchWindows::captionsAndLabels()
{
    QFETCH(QString, caption);
    QFETCH(QString, check);
    QFETCH(QStringList, labels);
    SubBotSwitchWindow *form = openRow();
    QVERIFY(form);
    QCOMPARE(form->windowTitle(), caption);
    auto *box = form->findChild<QCheckBox *>(QStringLiteral("Check1"));
    QVERIFY(box);
    QCOMPARE(box->text(), check);
    QVERIFY(!box->isChecked());
    for (qsizetype i = 0; i + 1 < labels.size(); i += 2) {
        auto *label = form->findChild<QLabel *>(labels.at(i));
        QVERIFY2(label, qPrintable(labels.at(i)));
        QCOMPARE(label->text(), labels.at(i + 1));
    }
    QVERIFY(form->findChild<QWidget *>(QStringLiteral("Line1")));
    if (form->objectName() == QLatin1String("Form44"))
        QVERIFY(
            form->findChild<QLabel *>(QStringLiteral("Label1"))->text().contains(QLatin1String("Gismeteo")));
}

void tst_SubBotSwitchWindows::clicksWriteAndDelete_data()
{
    addWindows();
}

void tst_SubBotSwitchWindows::clicksWriteAndDelete()
{
    QFETCH(QString, file);
    SubBotSwitchWindow *form = openRow();
    QVERIFY(form);
    QCOMPARE(bytes(file), Missing);

    click(form->Check1);
    QVERIFY(form->Check1->isChecked());
    QCOMPARE(bytes(file), QByteArray("1\r\n"));
    click(form->Check1);
    QVERIFY(!form->Check1->isChecked());
    QCOMPARE(bytes(file), Missing);
    click(form->Check1);
    QCOMPARE(bytes(file), QByteArray("1\r\n"));
    QVERIFY(m_dialogs.shown.isEmpty());
}

void tst_SubBotSwitchWindows::opensAsTheFileSays_data()
{
    QTest::addColumn<QString>("item");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("file");
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<bool>("checked");
    QTest::addColumn<QByteArray>("after");
    const struct
    {
        const char *row;
        QByteArray content;
        bool checked;
        QByteArray after;
    } contents[] = {
        {"one", "1\r\n", true, "1\r\n"},
        {"one unended", "1", true, "1\r\n"},
        {"printed one", " 1 \r\n", true, "1\r\n"},
        {"zero", "0\r\n", false, "0\r\n"},
        {"two", "2\r\n", false, "2\r\n"},
        {"empty", "", false, ""},
        {"no number", "\xe4\xe0\r\n", false, "\xe4\xe0\r\n"},
        {"missing", Missing, false, Missing},
    };
    const struct
    {
        const char *row;
        const char *item;
        const char *name;
        const char *file;
    } windows[] = {
        {"weather", "pogodbot_m", "Form44", "Подпрограммы/Погода.txt"},
        {"currency", "botkursval_m", "Form45", "Подпрограммы/Курс валют.txt"},
        {"quotations", "BASH_m", "Form46", "Подпрограммы/BASH.txt"},
    };
    for (const auto &window : windows) {
        for (const auto &content : contents) {
            QTest::addRow("%s, %s", window.row, content.row)
                << window.item << window.name << QString::fromUtf8(window.file) << content.content
                << content.checked << content.after;
        }
    }
}

void tst_SubBotSwitchWindows::opensAsTheFileSays()
{
    QFETCH(QString, file);
    QFETCH(QByteArray, content);
    QFETCH(bool, checked);
    QFETCH(QByteArray, after);
    if (content != Missing)
        QVERIFY(write(file, content));
    SubBotSwitchWindow *form = openRow();
    QVERIFY(form);
    QCOMPARE(form->Check1->isChecked(), checked);
    QCOMPARE(bytes(file), after);
    QVERIFY(m_dialogs.shown.isEmpty());
}

void tst_SubBotSwitchWindows::reopenedWindowShowsTheFile()
{
    auto *form = open<Form44>(QStringLiteral("pogodbot_m"), QStringLiteral("Form44"));
    QVERIFY(form);
    click(form->Check1);
    closeWindow(QStringLiteral("Form44"));

    form = open<Form44>(QStringLiteral("pogodbot_m"), QStringLiteral("Form44"));
    QVERIFY(form);
    QVERIFY(form->Check1->isChecked());
    closeWindow(QStringLiteral("Form44"));

    // Deleted behind the window's back: off when it opens next.
    QVERIFY(QFile::remove(path(QStringLiteral("Подпрограммы/Погода.txt"))));
    form = open<Form44>(QStringLiteral("pogodbot_m"), QStringLiteral("Form44"));
    QVERIFY(form);
    QVERIFY(!form->Check1->isChecked());
}

void tst_SubBotSwitchWindows::failedWriteIsTold()
{
    auto *form = open<Form45>(QStringLiteral("botkursval_m"), QStringLiteral("Form45"));
    QVERIFY(form);
    {
        FileProbe::NoNewFiles noFiles;
        QVERIFY(noFiles.active());
        click(form->Check1);
    }
    QCOMPARE(m_dialogs.shown.size(), 1);
    QCOMPARE(m_dialogs.shown.first().title, QStringLiteral("Ошибка"));
    QVERIFY(!m_dialogs.shown.first().text.isEmpty());
    // The box shows what the bot will do: off.
    QVERIFY(!form->Check1->isChecked());
    QCOMPARE(bytes(QStringLiteral("Подпрограммы/Курс валют.txt")), Missing);
}

QTEST_MAIN(tst_SubBotSwitchWindows)
#include "tst_subbotswitchwindows.moc"
