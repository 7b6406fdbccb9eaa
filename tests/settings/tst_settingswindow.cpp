#include "core/programfolder.h"
#include "platform/recordingdialogs.h"
#include "platform/recordingwindows.h"
#include "settings/bot_numbers_page.h"
#include "settings/install.h"
#include "settings/settingspage.h"
#include "settings/settings_window.h"
#include "support/filemode.h"
#include "support/programhome.h"

#include <QDir>
#include <QLabel>
#include <QHash>
#include <QListWidget>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

#include <memory>

namespace {

const QStringList pageNames{"nast_v1",   "nast_a_v1",     "nast_b_v1",     "nast_c_v1",
                            "nast_d_v1", "UserControl21", "UserControl41", "UserControl51"};

// A page that records what the window asks of it.
class FakePage : public SettingsPage
{
public:
    using SettingsPage::SettingsPage;

    void load() override
    {
        ++loads;
        // The window has made every page before it loads the first.
        loadedWithSiblings = parentWidget() ? parentWidget()->findChildren<SettingsPage *>().size() : 0;
        m_shown = stored;
        emit changed();
    }
    SaveResult save() override
    {
        ++saves;
        if (result)
            stored = m_shown;
        return result;
    }
    void defaults() override
    {
        m_shown = QString();
        emit changed();
    }
    bool hasChanged() const override { return m_shown != stored; }

    void edit(const QString &text)
    {
        m_shown = text;
        emit changed();
    }
    QString shown() const { return m_shown; }

    int loads = 0;
    int saves = 0;
    qsizetype loadedWithSiblings = 0;
    QString stored = QStringLiteral("stored");
    SaveResult result = SaveResult::saved();

private:
    QString m_shown;
};

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
    void windowLoadsEveryPageOnce();
    void windowFollowsPageChanges();
    void applyReportsTheSaveResult_data();
    void applyReportsTheSaveResult();
    void botNumbersPageThroughTheContract();
    void installRegistersWindowsAndShowsDistributionPage();

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
    m_dialogs = RecordingDialogs();
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

void TestSettingsWindow::windowLoadsEveryPageOnce()
{
    QList<FakePage *> made;
    Form1 window([&made](const QString &name, QWidget *parent) -> SettingsPage * {
        if (name == QLatin1String("UserControl51"))
            return nullptr; // the real bot numbers page
        auto *page = new FakePage(parent);
        made.append(page);
        return page;
    });
    QCOMPARE(made.size(), 7);
    for (FakePage *page : std::as_const(made)) {
        QCOMPARE(page->loads, 1);
        QCOMPARE(page->loadedWithSiblings, 8);
        QCOMPARE(page->saves, 0);
        QCOMPARE(page->shown(), "stored");
    }
    // A page from the factory takes its row's name, place and tab.
    QCOMPARE(window.pages().first(), made.first());
    QCOMPARE(window.nast_v1, made.first());
    QCOMPARE(made.first()->objectName(), "nast_v1");
    QCOMPARE(window.visiblePage(), made.first());
    QVERIFY(window.UserControl51);
    QVERIFY(!window.hasChanged());
}

void TestSettingsWindow::windowFollowsPageChanges()
{
    FakePage *fake = nullptr;
    Form1 window([&fake](const QString &name, QWidget *parent) -> SettingsPage * {
        if (name != QLatin1String("nast_b_v1"))
            return nullptr;
        fake = new FakePage(parent);
        return fake;
    });
    QVERIFY(fake);
    QSignalSpy changed(&window, &Form1::pageChanged);
    fake->edit(QStringLiteral("typed"));
    QCOMPARE(changed.size(), 1);
    QCOMPARE(changed.first().first().value<SettingsPage *>(), fake);
    QVERIFY(window.hasChanged());

    QVERIFY(fake->apply());
    QVERIFY(!window.hasChanged());
    // Nothing to say about a page that saved quietly.
    QVERIFY(m_dialogs.shown.isEmpty());

    fake->defaults();
    QCOMPARE(changed.size(), 2);
    QVERIFY(window.hasChanged());
    QCOMPARE(fake->saves, 1);
}

void TestSettingsWindow::applyReportsTheSaveResult_data()
{
    using Result = SettingsPage::SaveResult;
    QTest::addColumn<int>("outcome");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("icon");
    QTest::addColumn<bool>("stillChanged");
    QTest::newRow("saved, said") << int(Result::Outcome::Saved) << "Сохранено"
                                 << "Готово" << int(Dialogs::Icon::Information) << false;
    QTest::newRow("refused") << int(Result::Outcome::Refused) << "Ошибка"
                             << "Нельзя" << int(Dialogs::Icon::Information) << true;
    QTest::newRow("failed") << int(Result::Outcome::Failed) << "Ошибка"
                            << "Диск полон" << int(Dialogs::Icon::Warning) << true;
}

void TestSettingsWindow::applyReportsTheSaveResult()
{
    QFETCH(int, outcome);
    QFETCH(QString, title);
    QFETCH(QString, text);
    QFETCH(int, icon);
    QFETCH(bool, stillChanged);
    FakePage *fake = nullptr;
    Form1 window([&fake](const QString &name, QWidget *parent) -> SettingsPage * {
        if (name != QLatin1String("nast_v1"))
            return nullptr;
        fake = new FakePage(parent);
        return fake;
    });
    QVERIFY(fake);
    fake->result = {SettingsPage::SaveResult::Outcome(outcome), title, text};
    fake->edit(QStringLiteral("typed"));

    const SettingsPage::SaveResult result = fake->apply();
    QCOMPARE(int(result.outcome), outcome);
    QCOMPARE(bool(result), !stillChanged);
    QCOMPARE(window.hasChanged(), stillChanged);
    QCOMPARE(m_dialogs.shown.size(), 1);
    QCOMPARE(m_dialogs.shown.first().title, title);
    QCOMPARE(m_dialogs.shown.first().text, text);
    QCOMPARE(int(m_dialogs.shown.first().icon), icon);
    QCOMPARE(m_dialogs.shown.first().buttons, Dialogs::Buttons::Ok);
}

void TestSettingsWindow::botNumbersPageThroughTheContract()
{
    QVERIFY(QDir(m_home->path()).mkpath("Настройки"));
    const QString file = m_home->path() + "/Настройки/Распределение.txt";
    QVERIFY(FileProbe::writeBytes(file, "2 111 aaa 0\r\n"));
    Form1 window;
    SettingsPage *page = window.page(QStringLiteral("UserControl51"));
    QCOMPARE(page, window.UserControl51);
    auto *list = page->findChild<QListWidget *>("List1");
    QCOMPARE(list->count(), 1);
    QVERIFY(!window.hasChanged());

    QSignalSpy changed(&window, &Form1::pageChanged);
    page->defaults();
    QCOMPARE(changed.size(), 1);
    QCOMPARE(list->count(), 0);
    QVERIFY(window.hasChanged());

    // An empty list is refused and the file stays.
    const SettingsPage::SaveResult refused = page->save();
    QCOMPARE(refused.outcome, SettingsPage::SaveResult::Outcome::Refused);
    QCOMPARE(refused.text, UserControl5::EmptyListText);
    QCOMPARE(FileProbe::bytes(file), QByteArray("2 111 aaa 0\r\n"));

    page->load();
    QCOMPARE(list->count(), 1);
    QVERIFY(!window.hasChanged());
    QVERIFY(window.UserControl51->botNumbers().add(QStringLiteral("222"), QStringLiteral("bbb")) ==
            BotNumbers::AddOutcome::Added);
    QVERIFY(window.hasChanged());
    const SettingsPage::SaveResult saved = page->save();
    QVERIFY(saved);
    QCOMPARE(saved.title, UserControl5::SavedTitle);
    QCOMPARE(saved.text, UserControl5::SavedText);
    QVERIFY(!window.hasChanged());
    QCOMPARE(FileProbe::bytes(file), QByteArray("2 111 aaa 0\r\n3 222 bbb 0\r\n"));
    // save() itself says nothing; only the button's apply() does.
    QVERIFY(m_dialogs.shown.isEmpty());
}

void TestSettingsWindow::installRegistersWindowsAndShowsDistributionPage()
{
    RecordingWindows host;
    installSettingsWindows(host);
    QVERIFY(host.factories.value("Form1"));
    QVERIFY(host.factories.value("Form48"));

    showDistributionPage(host);
    auto *settings = qobject_cast<Form1 *>(host.findWindow("Form1"));
    QVERIFY(settings);
    QCOMPARE(visiblePages(*settings), QStringList{"UserControl51"});
    // Asked again with the window open: the same window, still on that page.
    QVERIFY(settings->showOnlyPage("nast_v1"));
    showDistributionPage(host);
    QCOMPARE(host.findWindow("Form1"), settings);
    QCOMPARE(visiblePages(*settings), QStringList{"UserControl51"});
}

QTEST_MAIN(TestSettingsWindow)
#include "tst_settingswindow.moc"
