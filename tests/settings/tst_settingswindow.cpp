#include "core/programfolder.h"
#include "platform/recordingdialogs.h"
#include "settings/settings_window.h"
#include "support/filemode.h"
#include "support/programhome.h"

#include <QDir>
#include <QLabel>
#include <QListWidget>
#include <QTest>

#include <memory>

namespace {

const QStringList pageNames{"nast_v1",   "nast_a_v1",     "nast_b_v1",     "nast_c_v1",
                            "nast_d_v1", "UserControl21", "UserControl41", "UserControl51"};

} // namespace

class TestSettingsWindow : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();

    void tabs_data();
    void tabs();
    void opensOnMainPage();
    void tabClickShowsItsPageOnly_data();
    void tabClickShowsItsPageOnly();
    void keyboardFocusSwitchesPage();
    void clickOnVisiblePageTabChangesNothing();
    void distributionPageAlone();
    void distributionPageThenAutoLoginTab();
    void activationKeepsChosenPage();
    void unknownPageNameRefused();
    void distributionPageFilledWhenWindowMade();

private:
    std::unique_ptr<Form1> makeWindow()
    {
        auto window = std::make_unique<Form1>();
        window->resize(720, 480);
        window->show();
        if (!QTest::qWaitForWindowExposed(window.get()))
            return nullptr;
        return window;
    }
    // The names of the pages a user sees.
    static QStringList visiblePages(const Form1 &window)
    {
        QStringList names;
        for (const QString &name : pageNames) {
            QWidget *page = window.findChild<QWidget *>(name);
            if (page && page->isVisible())
                names.append(name);
        }
        return names;
    }

    std::unique_ptr<ProgramHome> m_home;
    RecordingDialogs m_dialogs;
};

void TestSettingsWindow::init()
{
    m_home = std::make_unique<ProgramHome>();
    QVERIFY(m_home->isValid());
    Dialogs::setInstance(&m_dialogs);
}

void TestSettingsWindow::cleanup()
{
    Dialogs::setInstance(nullptr);
    ProgramFolder::setHome(QString());
    m_home.reset();
}

void TestSettingsWindow::tabs_data()
{
    QTest::addColumn<QString>("tab");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("toolTip");
    QTest::addColumn<QString>("page");
    QTest::newRow("nast1") << "nast1"
                           << "Основные "
                           << "Здесь указываються основыне настройки программы."
                           << "nast_v1";
    QTest::newRow("nast_a1") << "nast_a1"
                             << "Автовход"
                             << "Настройки автовхода."
                             << "nast_a_v1";
    QTest::newRow("nast_b1") << "nast_b1"
                             << "Звуки"
                             << "Настройки звука"
                             << "nast_b_v1";
    QTest::newRow("nast_c1") << "nast_c1"
                             << "Всплывающее окно"
                             << "Настройки всплывающего окна"
                             << "nast_c_v1";
    QTest::newRow("nast_d1") << "nast_d1"
                             << "Имитация человека"
                             << "Настройки имитации человека."
                             << "nast_d_v1";
    QTest::newRow("UserControl11") << "UserControl11"
                                   << "Автооткрытие окон"
                                   << ""
                                   << "UserControl21";
    QTest::newRow("UserControl31") << "UserControl31"
                                   << "Администраторский раздел"
                                   << ""
                                   << "UserControl41";
    QTest::newRow("UserControl61") << "UserControl61"
                                   << "Распределение пл-лей"
                                   << ""
                                   << "UserControl51";
}

void TestSettingsWindow::tabs()
{
    QFETCH(QString, tab);
    QFETCH(QString, caption);
    QFETCH(QString, toolTip);
    QFETCH(QString, page);
    Form1 window;
    QCOMPARE(window.objectName(), "Form1");
    QCOMPARE(window.windowTitle(), "Настройки");
    auto *picture = window.findChild<QWidget *>(QStringLiteral("Picture1"));
    QVERIFY(picture);
    auto *control = picture->findChild<SettingsTab *>(tab);
    QVERIFY(control);
    QCOMPARE(control->findChild<QLabel *>(QStringLiteral("Label1"))->text(), caption);
    QCOMPARE(control->toolTip(), toolTip);
    QVERIFY(window.page(page));
    QCOMPARE(window.findChild<QWidget *>(page), window.page(page));
}

void TestSettingsWindow::opensOnMainPage()
{
    const auto window = makeWindow();
    QVERIFY(window);
    QCOMPARE(visiblePages(*window), QStringList{"nast_v1"});
    QCOMPARE(window->visiblePage(), window->nast_v1);
}

void TestSettingsWindow::tabClickShowsItsPageOnly_data()
{
    tabs_data();
}

void TestSettingsWindow::tabClickShowsItsPageOnly()
{
    QFETCH(QString, tab);
    QFETCH(QString, page);
    const auto window = makeWindow();
    QVERIFY(window);
    // Start elsewhere, so every row switches.
    window->showOnlyPage(page == "nast_d_v1" ? "nast_c_v1" : "nast_d_v1");
    QTest::mouseClick(window->findChild<SettingsTab *>(tab), Qt::LeftButton);
    QCOMPARE(visiblePages(*window), QStringList{page});
}

void TestSettingsWindow::keyboardFocusSwitchesPage()
{
    const auto window = makeWindow();
    QVERIFY(window);
    window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(window.get()));
    window->nast_b1->setFocus(Qt::TabFocusReason);
    QCOMPARE(visiblePages(*window), QStringList{"nast_b_v1"});
    // The next tab by the keyboard.
    QTest::keyClick(window->nast_b1, Qt::Key_Tab);
    QCOMPARE(window->focusWidget(), window->nast_c1);
    QCOMPARE(visiblePages(*window), QStringList{"nast_c_v1"});
}

void TestSettingsWindow::clickOnVisiblePageTabChangesNothing()
{
    const auto window = makeWindow();
    QVERIFY(window);
    QTest::mouseClick(window->nast1, Qt::LeftButton);
    QCOMPARE(visiblePages(*window), QStringList{"nast_v1"});
}

void TestSettingsWindow::distributionPageAlone()
{
    // As the login paths do: show the window, then only the distribution page.
    const auto window = makeWindow();
    QVERIFY(window);
    window->showDistributionPage();
    QCOMPARE(visiblePages(*window), QStringList{"UserControl51"});
    QCOMPARE(window->visiblePage(), window->findChild<QWidget *>("UserControl51"));
    // Before the window is shown it works the same.
    Form1 hidden;
    QVERIFY(hidden.showOnlyPage("UserControl51"));
    QCOMPARE(hidden.visiblePage(), hidden.findChild<QWidget *>("UserControl51"));
}

void TestSettingsWindow::distributionPageThenAutoLoginTab()
{
    const auto window = makeWindow();
    QVERIFY(window);
    window->showDistributionPage();
    QTest::mouseClick(window->findChild<SettingsTab *>("nast_a1"), Qt::LeftButton);
    QCOMPARE(visiblePages(*window), QStringList{"nast_a_v1"});
}

void TestSettingsWindow::activationKeepsChosenPage()
{
    // The login paths choose the page right after showing the window, before it is active.
    Form1 window;
    window.show();
    window.showDistributionPage();
    window.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    QCOMPARE(visiblePages(window), QStringList{"UserControl51"});
    // Focus the program hands to a tab is not the operator's choice either.
    window.nast1->setFocus();
    QCOMPARE(window.focusWidget(), window.nast1);
    QCOMPARE(visiblePages(window), QStringList{"UserControl51"});
}

void TestSettingsWindow::unknownPageNameRefused()
{
    const auto window = makeWindow();
    QVERIFY(window);
    QVERIFY(!window->showOnlyPage("Picture1"));
    QVERIFY(!window->showOnlyPage("nast1"));
    QCOMPARE(visiblePages(*window), QStringList{"nast_v1"});
}

void TestSettingsWindow::distributionPageFilledWhenWindowMade()
{
    QVERIFY(QDir(m_home->path()).mkpath("Настройки"));
    QVERIFY(FileProbe::writeBytes(m_home->path() + "/Настройки/Распределение.txt", "2 111 aaa 0\r\n"));
    Form1 window;
    auto *list = window.findChild<QWidget *>("UserControl51")->findChild<QListWidget *>("List1");
    QVERIFY(list);
    QCOMPARE(list->count(), 1);
    QCOMPARE(list->item(0)->text(), "111 aaa");
}

QTEST_MAIN(TestSettingsWindow)
#include "tst_settingswindow.moc"
