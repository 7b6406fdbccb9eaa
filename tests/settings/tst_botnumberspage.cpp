#include "core/programfolder.h"
#include "platform/recordingdialogs.h"
#include "settings/bot_numbers_page.h"
#include "support/filemode.h"
#include "support/programhome.h"

#include <QDir>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTest>

#include <memory>

using Shown = RecordingDialogs::Shown;

Q_DECLARE_METATYPE(BotNumbers::AddOutcome)

class TestBotNumbersPage : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();

    void controlsByName();
    void listFilledFromFile();
    void addAsksNumberThenPassword_data();
    void addAsksNumberThenPassword();
    void deleteFollowsSelection();
    void applyWritesFileAndSaysSo();
    void applyEmptyListRefused();
    void applyFailureReportedOldFileKept();

private:
    QString filePath() const { return m_home->path() + "/Настройки/Распределение.txt"; }
    void writeFile(const QByteArray &bytes)
    {
        QVERIFY(QDir(m_home->path()).mkpath("Настройки"));
        QVERIFY(FileProbe::writeBytes(filePath(), bytes));
    }
    // A shown page, so clicks land where a user's would.
    std::unique_ptr<UserControl5> makePage()
    {
        auto page = std::make_unique<UserControl5>();
        page->load();
        page->resize(480, 360);
        page->show();
        if (!QTest::qWaitForWindowExposed(page.get()))
            return nullptr;
        return page;
    }
    static QPushButton *button(QWidget *page, const char *name)
    {
        return page->findChild<QPushButton *>(QString::fromLatin1(name));
    }
    static QStringList listTexts(QWidget *page)
    {
        QStringList texts;
        auto *list = page->findChild<QListWidget *>(QStringLiteral("List1"));
        for (int i = 0; list && i < list->count(); ++i)
            texts.append(list->item(i)->text());
        return texts;
    }

    std::unique_ptr<ProgramHome> m_home;
    RecordingDialogs m_dialogs;
};

void TestBotNumbersPage::init()
{
    m_home = std::make_unique<ProgramHome>();
    QVERIFY(m_home->isValid());
    m_dialogs = RecordingDialogs();
    Dialogs::setInstance(&m_dialogs);
}

void TestBotNumbersPage::cleanup()
{
    Dialogs::setInstance(nullptr);
    ProgramFolder::setHome(QString());
    m_home.reset();
}

void TestBotNumbersPage::controlsByName()
{
    UserControl5 page;
    const struct
    {
        const char *name;
        const char *text;
    } labels[] = {
        {"Label1", "Распределение"},
        {"Label2", "Введите ICQ номера на которые сервер будет переводить пользователей. Эта функция "
                   "сделана для разгрузки сервера и его зависания."},
    };
    for (const auto &label : labels) {
        auto *control = page.findChild<QLabel *>(QString::fromLatin1(label.name));
        QVERIFY2(control, label.name);
        QCOMPARE(control->text(), QString::fromUtf8(label.text));
    }
    QCOMPARE(button(&page, "Command2")->text(), "Добавить");
    QCOMPARE(button(&page, "Command3")->text(), "Удалить");
    QCOMPARE(button(&page, "Command1")->text(), "Применить");
    for (const char *name : {"List1", "Shape1", "Line1", "Line2"})
        QVERIFY2(page.findChild<QWidget *>(QString::fromLatin1(name)), name);
}

void TestBotNumbersPage::listFilledFromFile()
{
    writeFile("2 111 aaa 3\r\n3 222 my pass 0\r\n");
    UserControl5 page;
    QVERIFY(listTexts(&page).isEmpty());
    page.load();
    QCOMPARE(listTexts(&page), QStringList({"111 aaa", "222 my"}));
    QVERIFY(m_dialogs.shown.isEmpty());
}

void TestBotNumbersPage::addAsksNumberThenPassword_data()
{
    QTest::addColumn<QString>("number");
    QTest::addColumn<QString>("password");
    QTest::addColumn<QStringList>("rows");
    QTest::addColumn<BotNumbers::AddOutcome>("outcome");
    using O = BotNumbers::AddOutcome;
    QTest::newRow("added") << "123456"
                           << "secret" << QStringList{"111 aaa", "123456 secret"} << O::Added;
    QTest::newRow("both cancelled") << ""
                                    << "" << QStringList{"111 aaa"} << O::NothingEntered;
    QTest::newRow("letter in number") << "12a"
                                      << "secret" << QStringList{"111 aaa"} << O::BadNumber;
    QTest::newRow("number cancelled") << ""
                                      << "secret" << QStringList{"111 aaa"} << O::BadNumber;
    // The session logs in only numbers that fit 32 bits: the page takes no other.
    QTest::newRow("beyond 32 bits") << "4294967295"
                                    << "secret" << QStringList{"111 aaa"} << O::BadNumber;
    QTest::newRow("largest login number")
        << "2147483647"
        << "secret" << QStringList{"111 aaa", "2147483647 secret"} << O::Added;
    // A number listed twice would log in on two slots.
    QTest::newRow("already listed") << "111"
                                    << "other" << QStringList{"111 aaa"} << O::AlreadyListed;
    QTest::newRow("password cancelled") << "123456"
                                        << "" << QStringList{"111 aaa"} << O::EmptyPassword;
    QTest::newRow("blank in password") << "123456"
                                       << "my pass" << QStringList{"111 aaa"} << O::PasswordWithBlank;
    QTest::newRow("password outside the code page")
        << "123456"
        << "日本" << QStringList{"111 aaa"} << O::PasswordNotStorable;
}

void TestBotNumbersPage::addAsksNumberThenPassword()
{
    QFETCH(QString, number);
    QFETCH(QString, password);
    QFETCH(QStringList, rows);
    QFETCH(BotNumbers::AddOutcome, outcome);
    writeFile("2 111 aaa 0\r\n");
    const auto page = makePage();
    QVERIFY(page);
    m_dialogs.queueText(number);
    m_dialogs.queueText(password);
    QTest::mouseClick(button(page.get(), "Command2"), Qt::LeftButton);

    QCOMPARE(listTexts(page.get()), rows);
    QCOMPARE(page->lastAdd(), outcome);
    // The two input boxes and nothing else: a refused pair is passed over silently.
    QCOMPARE(m_dialogs.shown.size(), 2);
    QCOMPARE(m_dialogs.shown.at(0).kind, RecordingDialogs::Kind::Input);
    QCOMPARE(m_dialogs.shown.at(0).title, "UIN");
    QCOMPARE(m_dialogs.shown.at(0).text, "Введите ICQ номер бота");
    QCOMPARE(m_dialogs.shown.at(1).kind, RecordingDialogs::Kind::Input);
    QCOMPARE(m_dialogs.shown.at(1).title, "Пароль");
    QCOMPARE(m_dialogs.shown.at(1).text, "Введите пароль к боту");
    // Nothing reaches the file before "Применить".
    QCOMPARE(FileProbe::bytes(filePath()), QByteArray("2 111 aaa 0\r\n"));
}

void TestBotNumbersPage::deleteFollowsSelection()
{
    writeFile("2 111 aaa 0\r\n3 222 bbb 0\r\n4 333 ccc 0\r\n");
    const auto page = makePage();
    QVERIFY(page);
    QPushButton *remove = button(page.get(), "Command3");
    QVERIFY(!remove->isEnabled());
    // A click on the disabled button changes nothing.
    QTest::mouseClick(remove, Qt::LeftButton);
    QCOMPARE(listTexts(page.get()).size(), 3);

    auto *list = page->findChild<QListWidget *>(QStringLiteral("List1"));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->item(1)).center());
    QVERIFY(remove->isEnabled());
    QTest::mouseClick(remove, Qt::LeftButton);
    QCOMPARE(listTexts(page.get()), QStringList({"111 aaa", "333 ccc"}));
    QVERIFY(!remove->isEnabled());
    QVERIFY(m_dialogs.shown.isEmpty());
}

void TestBotNumbersPage::applyWritesFileAndSaysSo()
{
    writeFile("2 111 aaa 9\r\n");
    const auto page = makePage();
    QVERIFY(page);
    m_dialogs.queueText("222");
    m_dialogs.queueText("bbb");
    QTest::mouseClick(button(page.get(), "Command2"), Qt::LeftButton);
    m_dialogs.shown.clear();

    QTest::mouseClick(button(page.get(), "Command1"), Qt::LeftButton);
    QCOMPARE(FileProbe::bytes(filePath()), QByteArray("2 111 aaa 0\r\n3 222 bbb 0\r\n"));
    QCOMPARE(FileProbe::unixMode(filePath()), 0600);
    QCOMPARE(m_dialogs.shown.size(), 1);
    const Shown &box = m_dialogs.shown.first();
    QCOMPARE(box.title, "Распределение");
    QCOMPARE(box.text, "Настройки сохранены. Чтобы не возникло ошибок, не обходимо из бота выйти и запустить "
                       "программу заново.");
    QCOMPARE(box.icon, Dialogs::Icon::Information);
    QCOMPARE(box.buttons, Dialogs::Buttons::Ok);
}

void TestBotNumbersPage::applyEmptyListRefused()
{
    const QByteArray old = "2 111 aaa 5\r\n";
    writeFile(old);
    const auto page = makePage();
    QVERIFY(page);
    auto *list = page->findChild<QListWidget *>(QStringLiteral("List1"));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->item(0)).center());
    QTest::mouseClick(button(page.get(), "Command3"), Qt::LeftButton);
    QCOMPARE(list->count(), 0);

    QTest::mouseClick(button(page.get(), "Command1"), Qt::LeftButton);
    QCOMPARE(m_dialogs.shown.size(), 1);
    const Shown &box = m_dialogs.shown.first();
    QCOMPARE(box.title, "Ошибка");
    QCOMPARE(box.text, "В списке должен быть хотя бы 1 номер.");
    QCOMPARE(box.icon, Dialogs::Icon::Information);
    QCOMPARE(box.buttons, Dialogs::Buttons::Ok);
    QCOMPARE(FileProbe::bytes(filePath()), old);
}

void TestBotNumbersPage::applyFailureReportedOldFileKept()
{
    const QByteArray old = "2 111 aaa 5\r\n";
    writeFile(old);
    const auto page = makePage();
    QVERIFY(page);
    {
        FileProbe::NoNewFiles noFiles;
        QVERIFY(noFiles.active());
        QTest::mouseClick(button(page.get(), "Command1"), Qt::LeftButton);
    }
    QCOMPARE(FileProbe::bytes(filePath()), old);
    QCOMPARE(m_dialogs.shown.size(), 1);
    const Shown &box = m_dialogs.shown.first();
    QCOMPARE(box.title, "Ошибка");
    QVERIFY2(box.text.startsWith("Не удалось сохранить список номеров ("), qPrintable(box.text));
    QVERIFY(box.text.endsWith("Прежний список остался без изменений."));
    QCOMPARE(box.icon, Dialogs::Icon::Warning);
}

QTEST_MAIN(TestBotNumbersPage)
#include "tst_botnumberspage.moc"
