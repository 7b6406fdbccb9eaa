#include "core/clock.h"
#include "core/namedtimer.h"
#include "mainwindow/main_window.h"
#include "mainwindow/pictures.h"
#include "settings/settings_window.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QSignalSpy>
#include <QStatusBar>
#include <QTest>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>

#include <algorithm>
#include <memory>

namespace {

enum Kind { Menu, Item, Separator };
enum Flag { None = 0, Checkable = 1, Checked = 2, Disabled = 4 };

struct MenuRow
{
    Kind kind;
    const char *name;
    const char *caption;
    const char *parent; // "" on the menu bar
    int flags;
};

// The menu tree as the operator sees it, in display order.
const MenuRow menuRows[] = {
    {Menu, "kon_m", "Коннект", "", None},
    {Item, "pod_m", "Подключиться", "kon_m", None},
    {Item, "otkl_m", "Отключиться", "kon_m", Disabled},
    {Separator, "wq1", "", "kon_m", None},
    {Item, "end_of_rogramm", "Выйти из программы", "kon_m", None},
    {Menu, "nstrs_m", "Настройки", "", None},
    {Item, "nast_m", "Настройка", "nstrs_m", None},
    {Menu, "sort_okn_m", "Сортирование окон", "nstrs_m", None},
    {Item, "soft_kask", "Сортировать каскадом", "sort_okn_m", None},
    {Separator, "wq10", "", "sort_okn_m", None},
    {Item, "otk_okn_m", "Открытые окна", "sort_okn_m", None},
    {Separator, "wq2", "", "nstrs_m", None},
    {Menu, "smen_stat", "Сменить статус", "nstrs_m", None},
    {Item, "online_m_st", "Онлайн", "smen_stat", Checkable | Checked},
    {Item, "zanjat_m_st", "Занят", "smen_stat", Checkable},
    {Item, "nevid_m_st", "Не видимый", "smen_stat", Checkable},
    {Separator, "wq9", "", "nstrs_m", None},
    {Item, "nastr_vid_spis", "Настройки видимого списка", "nstrs_m", None},
    {Item, "zap_st_m", "Запоминать статус при выходе", "nstrs_m", Checkable | Checked},
    {Menu, "rej_bot_m", "Режим бота", "nstrs_m", None},
    {Item, "rej_kom_m", "Команды", "rej_bot_m", Checkable | Checked},
    {Item, "rej_auto_m", "Автоответчик", "rej_bot_m", Checkable},
    {Item, "rej_zerk_m", "Зеркало", "rej_bot_m", Checkable},
    {Menu, "serv_s", "Сервис", "", None},
    {Item, "posl_m", "Послать сообщение", "serv_s", None},
    {Separator, "wq31", "", "serv_s", None},
    {Item, "cher_m", "Чёрный список", "serv_s", None},
    {Item, "kont_sp_m", "Контакт список", "serv_s", None},
    {Separator, "wq32", "", "serv_s", None},
    {Item, "stat_Mm", "Статистика", "serv_s", None},
    {Menu, "log_all_m", "Логи", "serv_s", None},
    {Item, "log_m", "Логи", "log_all_m", None},
    {Item, "log_ne_izvest_m", "Логи не известных команд", "log_all_m", None},
    {Separator, "wq33", "", "serv_s", None},
    {Item, "spis_pols_m", "Список пользователей", "serv_s", None},
    {Separator, "wq34", "", "serv_s", None},
    {Menu, "podbot_m", "Подботы", "serv_s", None},
    {Item, "pogodbot_m", "Погодный бот", "podbot_m", None},
    {Item, "botkursval_m", "Бот курса валют", "podbot_m", None},
    {Item, "BASH_m", "BASH бот", "podbot_m", None},
    {Menu, "pod_prog", "Подпрограммы", "", None},
    {Item, "pod_red", "Редикет", "pod_prog", None},
    {Item, "pod_auto_ras", "Авторассылка", "pod_prog", None},
    {Item, "anti_spam_m", "Анти-спам", "pod_prog", None},
    {Item, "opcionalno_vkl_fuc", "---Опционально включаемые---", "pod_prog", Disabled},
    {Item, "blocnot_m", "Блокнот", "pod_prog", None},
    {Item, "svaz_m", "Связь с админом", "pod_prog", None},
    {Item, "chat_menu", "Чат", "pod_prog", None},
    {Menu, "kom_m", "Команды", "", None},
    {Item, "komand_m", "Управление командами", "kom_m", None},
    {Item, "dob_kom", "Добавочные команды", "kom_m", None},
    {Item, "golos_m", "Голосвания", "kom_m", None},
    {Item, "otv_neiz_m", "Ответ на неизвестную команду", "kom_m", None},
    {Separator, "wq11", "", "kom_m", None},
    {Item, "podpis_m", "Подпись", "kom_m", None},
    {Item, "info_o_bot_m", "Информация о боте", "kom_m", None},
    {Separator, "wq5", "", "kom_m", None},
    {Item, "grups_m", "Управление группами", "kom_m", None},
    {Menu, "o_prog_m", "О программе", "", None},
    {Item, "o_prog1_m", "О программе", "o_prog_m", None},
    {Item, "help_m", "Помощь", "o_prog_m", None},
    {Item, "news_bot", "Новости", "o_prog_m", None},
    {Separator, "wq6", "", "o_prog_m", None},
    {Item, "pos_site_m", "Посетить сайт", "o_prog_m", None},
    {Item, "pos_forum_m", "Посетить форум", "o_prog_m", None},
    {Item, "tech_m", "Тех. поддержка", "o_prog_m", None},
    {Separator, "wq7", "", "o_prog_m", None},
    {Item, "obnov_m", "Проверить обновление", "o_prog_m", None},
    {Item, "prot_obuc_m", "Пройти обучение", "o_prog_m", None},
    {Item, "v_trey", "В трей", "", None},
};

QStringList itemsUnder(const char *parent)
{
    QStringList names;
    for (const MenuRow &row : menuRows) {
        if (qstrcmp(row.parent, parent) == 0)
            names.append(QString::fromLatin1(row.name));
    }
    return names;
}

QStringList objectNames(const QList<QAction *> &actions)
{
    QStringList names;
    for (const QAction *action : actions)
        names.append(action->objectName());
    return names;
}

} // namespace

class TestMainWindow : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void cleanupTestCase();
    void init();
    void cleanup();

    void frame();
    void menuItems_data();
    void menuItems();
    void menusHoldExactlyTheirItems();
    void toolbar();
    void statusPanel();
    void timers_data();
    void timers();

    void openers_data();
    void openers();
    void sameWindowFromMenuAndToolbar();
    void closedWindowOpensAnew_data();
    void closedWindowOpensAnew();
    void windowClosingItselfTakesItsFrame();
    void registeredFactoryIsOpened();
    void unknownWindow();
    void itemsWithoutWindowOpenNothing_data();
    void itemsWithoutWindowOpenNothing();
    void optionalHeadingCannotBeChosen();

    void windowList();
    void cascade();
    void cascadeStaysInsideArea();
    void settingsWindowFitsEveryPage();

    void closingQuitsTheProgram();

private:
    QMdiSubWindow *frameOf(QWidget *window) const;
    QStringList windowListTitles() const;
    QList<QAction *> windowListEntries() const;
    void openThroughMenu(const QString &item);

    FixedClock m_clock{QDateTime(QDate(2008, 3, 5), QTime(9, 5, 7))};
    std::unique_ptr<MDIForm1> m_window;
};

void TestMainWindow::initTestCase()
{
    Clock::setInstance(&m_clock);
}

void TestMainWindow::cleanupTestCase()
{
    Clock::setInstance(nullptr);
}

void TestMainWindow::init()
{
    m_window = std::make_unique<MDIForm1>();
    m_window->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
}

void TestMainWindow::cleanup()
{
    m_window.reset();
}

QMdiSubWindow *TestMainWindow::frameOf(QWidget *window) const
{
    return window ? qobject_cast<QMdiSubWindow *>(window->parentWidget()) : nullptr;
}

QList<QAction *> TestMainWindow::windowListEntries() const
{
    const QList<QAction *> actions = m_window->menu("sort_okn_m")->actions();
    const qsizetype heading = actions.indexOf(m_window->action("otk_okn_m"));
    return heading < 0 ? QList<QAction *>() : actions.mid(heading + 1);
}

QStringList TestMainWindow::windowListTitles() const
{
    // The list is what the operator sees when he opens the menu.
    QMenu *menu = m_window->menu("sort_okn_m");
    menu->popup(QPoint(0, 0));
    menu->hide();
    QStringList titles;
    for (const QAction *entry : windowListEntries())
        titles.append(entry->text() + (entry->isChecked() ? " *" : ""));
    return titles;
}

void TestMainWindow::openThroughMenu(const QString &item)
{
    QAction *action = m_window->action(item);
    QVERIFY2(action, qPrintable(item));
    action->trigger();
}

void TestMainWindow::frame()
{
    QCOMPARE(m_window->objectName(), QString("MDIForm1"));
    QCOMPARE(m_window->windowTitle(), QString("Korvane"));
    QVERIFY(!m_window->windowIcon().isNull());
    auto *area = qobject_cast<QMdiArea *>(m_window->centralWidget());
    QVERIFY(area);
    QCOMPARE(m_window->mdiArea(), area);
    QVERIFY(area->subWindowList().isEmpty());

    QCOMPARE(objectNames(m_window->menuBar()->actions()),
             QStringList({"kon_m", "nstrs_m", "serv_s", "pod_prog", "kom_m", "o_prog_m", "v_trey"}));
    // "В трей" is a bare item on the menu bar.
    QCOMPARE(m_window->action("v_trey")->menu(), nullptr);
}

void TestMainWindow::menuItems_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("parent");
    QTest::addColumn<int>("position");
    QTest::addColumn<int>("flags");

    for (const MenuRow &row : menuRows) {
        const int position = int(itemsUnder(row.parent).indexOf(QString::fromLatin1(row.name)));
        QTest::newRow(row.name) << int(row.kind) << QString::fromLatin1(row.name)
                                << QString::fromUtf8(row.caption) << QString::fromLatin1(row.parent)
                                << position << row.flags;
    }
}

void TestMainWindow::menuItems()
{
    QFETCH(int, kind);
    QFETCH(QString, name);
    QFETCH(QString, caption);
    QFETCH(QString, parent);
    QFETCH(int, position);
    QFETCH(int, flags);

    const QList<QAction *> named = m_window->findChildren<QAction *>(name);
    QCOMPARE(named.size(), 1);
    QAction *action = named.first();
    QCOMPARE(m_window->action(name), action);

    QWidget *holder =
        parent.isEmpty() ? static_cast<QWidget *>(m_window->menuBar()) : m_window->findChild<QMenu *>(parent);
    QVERIFY(holder);
    QCOMPARE(int(holder->actions().indexOf(action)), position);

    QCOMPARE(action->isSeparator(), kind == Separator);
    QCOMPARE(action->text(), caption);
    if (kind == Menu) {
        QMenu *menu = m_window->findChild<QMenu *>(name);
        QVERIFY(menu);
        QCOMPARE(action->menu(), menu);
        QCOMPARE(m_window->menu(name), menu);
        QCOMPARE(menu->title(), caption);
    } else {
        QCOMPARE(action->menu(), nullptr);
    }
    QCOMPARE(action->isCheckable(), bool(flags & Checkable));
    QCOMPARE(action->isChecked(), bool(flags & Checked));
    QCOMPARE(action->isEnabled(), !(flags & Disabled));
    QVERIFY(action->shortcut().isEmpty());
}

void TestMainWindow::menusHoldExactlyTheirItems()
{
    QStringList menus;
    for (const MenuRow &row : menuRows) {
        if (row.kind == Menu)
            menus.append(QString::fromLatin1(row.name));
    }
    // Qt's own menus (the menu bar's overflow) carry no name.
    QStringList named;
    for (const QMenu *menu : m_window->findChildren<QMenu *>()) {
        if (!menu->objectName().isEmpty())
            named.append(menu->objectName());
    }
    QCOMPARE(named, menus);
    for (const QString &name : std::as_const(menus)) {
        QMenu *menu = m_window->menu(name);
        QVERIFY2(menu, qPrintable(name));
        QCOMPARE(objectNames(menu->actions()), itemsUnder(qPrintable(name)));
    }
}

void TestMainWindow::toolbar()
{
    auto *toolbar = m_window->findChild<QToolBar *>("Toolbar1");
    QVERIFY(toolbar);
    QCOMPARE(m_window->toolBarArea(toolbar), Qt::TopToolBarArea);
    QCOMPARE(objectNames(toolbar->actions()), QStringList({"et1", "et2", "et3", "et4", "et5"}));

    const struct
    {
        const char *key;
        const char *toolTip;
        const char *picture;
    } buttons[] = {
        {"et1", "Послать сообщение", "too1"},    {"et2", "Настройки", "too2"},
        {"et3", "Управление командами", "too3"}, {"et4", "Управление группами", "too5"},
        {"et5", "О программе", "too4"},
    };
    QList<QImage> seen;
    for (const auto &button : buttons) {
        QAction *action = m_window->action(button.key);
        QVERIFY(action);
        QCOMPARE(action->toolTip(), QString::fromUtf8(button.toolTip));
        QVERIFY(action->shortcut().isEmpty());
        auto *widget = toolbar->findChild<QToolButton *>(button.key);
        QVERIFY(widget);
        QCOMPARE(widget->defaultAction(), action);

        const QImage image = action->icon().pixmap(32, 32).toImage();
        QVERIFY(!image.isNull());
        QCOMPARE(image, Pictures::toolbarPicture(button.picture).pixmap(32, 32).toImage());
        QVERIFY(!seen.contains(image));
        seen.append(image);
    }
    QVERIFY(Pictures::toolbarPicture("too6").isNull());
}

void TestMainWindow::statusPanel()
{
    auto *bar = m_window->findChild<QStatusBar *>("StatusBar1");
    QVERIFY(bar);
    QCOMPARE(m_window->statusBar(), bar);
    auto *panel = bar->findChild<QLabel *>("Panel1");
    QVERIFY(panel);
    QVERIFY(panel->isVisible());
    QCOMPARE(panel->text(), QString());
    QCOMPARE(m_window->statusText(), QString());

    const QStringList texts = {"Статус бота: онлайн", "Статус бота: занят", "Статус бота: не видимый",
                               "Статус бота: отсутствует подключение"};
    for (const QString &text : texts) {
        m_window->setStatusText(text);
        QCOMPARE(panel->text(), text);
        QCOMPARE(m_window->statusText(), text);
    }
}

void TestMainWindow::timers_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("interval");

    QTest::newRow("Timer1") << "Timer1" << 0;
    QTest::newRow("Timer2") << "Timer2" << 3000;
    QTest::newRow("Timer4") << "Timer4" << 1000;
    QTest::newRow("Timer5") << "Timer5" << 1000;
    QTest::newRow("Timer6") << "Timer6" << 1000;
    QTest::newRow("Timer7") << "Timer7" << 0;
    QTest::newRow("Timer9") << "Timer9" << 200;
    QTest::newRow("Timer10") << "Timer10" << 5000;
    QTest::newRow("auto_soob") << "auto_soob" << 0;
    QTest::newRow("chat_tim") << "chat_tim" << 10000;
    QTest::newRow("ban") << "ban" << 60000;
    QTest::newRow("rasperd") << "rasperd" << 20000;
    QTest::newRow("timer_chat") << "timer_chat" << 60000;
    QTest::newRow("perepodk") << "perepodk" << 60000;
    QTest::newRow("perepodk1") << "perepodk1" << 30000;
    QTest::newRow("news_t") << "news_t" << 0;
    QTest::newRow("obno_t") << "obno_t" << 0;
}

void TestMainWindow::timers()
{
    QFETCH(QString, name);
    QFETCH(int, interval);

    TimerRegistry &registry = m_window->timers();
    QCOMPARE(int(registry.names().size()), 17);
    QVERIFY(registry.names().contains(name));
    NamedTimer *timer = registry.timer(name);
    QVERIFY(timer);
    QCOMPARE(timer->name(), name);
    QCOMPARE(timer->interval(), interval);
    QVERIFY(!timer->isEnabled());
    QVERIFY(!timer->isRunning());

    // Subsystems reach it by name.
    int ticks = 0;
    QVERIFY(registry.attach(name, [&ticks] { ++ticks; }));
    timer->tick();
    QCOMPARE(ticks, 1);
}

void TestMainWindow::openers_data()
{
    QTest::addColumn<QString>("control");
    QTest::addColumn<QString>("window");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<bool>("topLevel");

    const struct
    {
        const char *control;
        const char *window;
        const char *caption;
        bool topLevel;
    } rows[] = {
        {"nast_m", "Form1", "Настройки", false},
        {"nastr_vid_spis", "Form25", "Настройки видимого списка", false},
        {"posl_m", "Form2", "Послать сообщение", false},
        {"cher_m", "Form5", "Чёрный список", false},
        {"kont_sp_m", "Form37", "Контактная книга", false},
        {"stat_Mm", "Form16", "Статистика за : 05.03.2008", false},
        {"log_m", "Form7", "Логи", false},
        {"log_ne_izvest_m", "Form29", "Логи не известных команд", false},
        {"spis_pols_m", "Form28", "Список пользователей", false},
        {"pogodbot_m", "Form44", "Погодный бот", false},
        {"botkursval_m", "Form45", "Подбот курса валют", false},
        {"BASH_m", "Form46", "Подбот BASH RSS", false},
        {"pod_red", "Form18", "Редикет", false},
        {"pod_auto_ras", "Form19", "Авторассылка", false},
        {"anti_spam_m", "Form32", "Анти-спам", false},
        {"blocnot_m", "Form23", "Блокнот", false},
        {"svaz_m", "Form24", "Связь с админом", false},
        {"chat_menu", "Form33", "Чат", false},
        {"komand_m", "Form9", "Управление командами", false},
        {"dob_kom", "Form49", "Добавочные команды", false},
        {"golos_m", "Form39", "Голосования", false},
        {"otv_neiz_m", "Form10", "Ответ на неизвестную команду", false},
        {"podpis_m", "Form34", "Подпись", false},
        {"info_o_bot_m", "Form35", "Информация о боте", false},
        {"grups_m", "Form11", "Управление группами", false},
        {"o_prog1_m", "Form8", "О программе", false},
        {"help_m", "Form27", "Помощь", true},
        {"tech_m", "Form4", "Тех. поддержка", false},
        {"prot_obuc_m", "Form26", "Обучение", false},
        {"et1", "Form2", "Послать сообщение", false},
        {"et2", "Form1", "Настройки", false},
        {"et3", "Form9", "Управление командами", false},
        {"et4", "Form11", "Управление группами", false},
        {"et5", "Form8", "О программе", false},
    };
    for (const auto &row : rows) {
        QTest::newRow(row.control) << QString::fromLatin1(row.control) << QString::fromLatin1(row.window)
                                   << QString::fromUtf8(row.caption) << row.topLevel;
    }
}

// One instance per window, opened without blocking, brought forward when chosen again.
void TestMainWindow::openers()
{
    QFETCH(QString, control);
    QFETCH(QString, window);
    QFETCH(QString, caption);
    QFETCH(bool, topLevel);

    QMdiArea *area = m_window->mdiArea();
    auto choose = [&] {
        if (auto *button = m_window->findChild<QToolButton *>(control))
            QTest::mouseClick(button, Qt::LeftButton);
        else
            openThroughMenu(control);
    };

    QCOMPARE(m_window->findWindow(window), nullptr);
    choose();
    QWidget *opened = m_window->findWindow(window);
    QVERIFY(opened);
    QCOMPARE(opened->objectName(), window);
    QCOMPARE(opened->windowTitle(), caption);
    QVERIFY(opened->isVisible());
    QVERIFY(!QApplication::activeModalWidget());

    if (topLevel) {
        QVERIFY(opened->isWindow());
        QVERIFY(!opened->testAttribute(Qt::WA_QuitOnClose));
        QCOMPARE(frameOf(opened), nullptr);
        QVERIFY(area->subWindowList().isEmpty());
        // Hidden or minimized, it comes back as the same window.
        opened->showMinimized();
        choose();
        QCOMPARE(m_window->findWindow(window), opened);
        QVERIFY(!opened->isMinimized());
        QVERIFY(opened->isVisible());
        QCOMPARE(QApplication::topLevelWidgets().count(opened), 1);
        return;
    }

    QMdiSubWindow *frame = frameOf(opened);
    QVERIFY(frame);
    QCOMPARE(area->subWindowList(), QList<QMdiSubWindow *>({frame}));
    QCOMPARE(area->currentSubWindow(), frame);
    QCOMPARE(frame->windowIcon().pixmap(16, 16).toImage(), m_window->windowIcon().pixmap(16, 16).toImage());

    // Another window on top, then the first one chosen again.
    m_window->showWindow(window == "Form35" ? "Form34" : "Form35");
    QVERIFY(area->currentSubWindow() != frame);
    frame->showMinimized();
    choose();
    QCOMPARE(m_window->findWindow(window), opened);
    QCOMPARE(area->subWindowList().size(), 2);
    QCOMPARE(area->currentSubWindow(), frame);
    QCOMPARE(area->subWindowList(QMdiArea::StackingOrder).last(), frame);
    QVERIFY(!frame->isMinimized());
    QCOMPARE(m_window->findChildren<QWidget *>(window).size(), 1);
}

void TestMainWindow::sameWindowFromMenuAndToolbar()
{
    openThroughMenu("nast_m");
    QWidget *settings = m_window->findWindow("Form1");
    QVERIFY(settings);
    openThroughMenu("komand_m");
    QCOMPARE(m_window->mdiArea()->currentSubWindow(), frameOf(m_window->findWindow("Form9")));

    QTest::mouseClick(m_window->findChild<QToolButton *>("et2"), Qt::LeftButton);
    QCOMPARE(m_window->findWindow("Form1"), settings);
    QCOMPARE(m_window->mdiArea()->currentSubWindow(), frameOf(settings));
    QCOMPARE(m_window->mdiArea()->subWindowList().size(), 2);

    // showWindow is the same road.
    QCOMPARE(m_window->showWindow("Form1"), settings);
    QCOMPARE(m_window->mdiArea()->subWindowList().size(), 2);
}

void TestMainWindow::closedWindowOpensAnew_data()
{
    QTest::addColumn<QString>("item");
    QTest::addColumn<QString>("window");

    QTest::newRow("child window") << "posl_m"
                                  << "Form2";
    QTest::newRow("help window") << "help_m"
                                 << "Form27";
}

void TestMainWindow::closedWindowOpensAnew()
{
    QFETCH(QString, item);
    QFETCH(QString, window);

    openThroughMenu(item);
    QPointer<QWidget> first = m_window->findWindow(window);
    QVERIFY(first);
    QWidget *outer = frameOf(first) ? static_cast<QWidget *>(frameOf(first)) : first.data();
    QVERIFY(outer->close());

    // Gone at once for the frame, destroyed soon after.
    QCOMPARE(m_window->findWindow(window), nullptr);
    QVERIFY(m_window->mdiArea()->subWindowList().isEmpty());
    openThroughMenu(item);
    QWidget *second = m_window->findWindow(window);
    QVERIFY(second);
    QVERIFY(second != first);
    QTRY_VERIFY(first.isNull());
    QCOMPARE(m_window->findWindow(window), second);
    QVERIFY(second->isVisible());
}

void TestMainWindow::windowClosingItselfTakesItsFrame()
{
    QWidget *window = m_window->showWindow("Form9");
    QPointer<QMdiSubWindow> frame = frameOf(window);
    QVERIFY(frame);
    QVERIFY(window->close());

    QTRY_VERIFY(frame.isNull());
    QVERIFY(m_window->mdiArea()->subWindowList().isEmpty());
    QCOMPARE(m_window->findWindow("Form9"), nullptr);
    QVERIFY(m_window->showWindow("Form9"));
    QCOMPARE(m_window->mdiArea()->subWindowList().size(), 1);
}

namespace {

// A window that can refuse to close, as one with unsaved changes does.
class StubbornWindow : public QWidget
{
public:
    using QWidget::QWidget;
    bool refuse = true;

protected:
    void closeEvent(QCloseEvent *event) override { event->setAccepted(!refuse); }
};

} // namespace

void TestMainWindow::registeredFactoryIsOpened()
{
    StubbornWindow *made = nullptr;
    QVERIFY(m_window->roster().registerFactory("Form33", [&made](QWidget *parent) {
        made = new StubbornWindow(parent);
        return made;
    }));
    openThroughMenu("chat_menu");
    QVERIFY(made);
    QCOMPARE(m_window->findWindow("Form33"), made);
    QCOMPARE(made->windowTitle(), QString("Чат"));
    QMdiSubWindow *frame = frameOf(made);
    QVERIFY(frame);

    // A refused close keeps window and frame.
    QVERIFY(!frame->close());
    QVERIFY(!made->close());
    // Let the frame's deferred look at the refused close run.
    QCoreApplication::processEvents();
    QCOMPARE(m_window->findWindow("Form33"), made);
    QVERIFY(frame->isVisible());
    QCOMPARE(m_window->mdiArea()->subWindowList(), QList<QMdiSubWindow *>({frame}));

    made->refuse = false;
    QPointer<QMdiSubWindow> guard(frame);
    QVERIFY(frame->close());
    QCOMPARE(m_window->findWindow("Form33"), nullptr);
    QTRY_VERIFY(guard.isNull());
}

void TestMainWindow::unknownWindow()
{
    QTest::ignoreMessage(QtWarningMsg, "MDIForm1: no window named Form99");
    QCOMPARE(m_window->showWindow("Form99"), nullptr);
    QCOMPARE(m_window->findWindow("Form99"), nullptr);
    QCOMPARE(m_window->action("Form99"), nullptr);
    QCOMPARE(m_window->menu("pod_m"), nullptr);
}

void TestMainWindow::itemsWithoutWindowOpenNothing_data()
{
    QTest::addColumn<QString>("item");
    for (const char *item : {"pod_m", "end_of_rogramm", "online_m_st", "zanjat_m_st", "nevid_m_st",
                             "zap_st_m", "rej_kom_m", "rej_auto_m", "rej_zerk_m", "otk_okn_m", "soft_kask",
                             "news_bot", "pos_site_m", "pos_forum_m", "obnov_m", "v_trey"})
        QTest::newRow(item) << QString::fromLatin1(item);
}

// Their behaviour is connected by its owners; until then choosing them opens nothing.
void TestMainWindow::itemsWithoutWindowOpenNothing()
{
    QFETCH(QString, item);
    const QWidgetList before = QApplication::topLevelWidgets();
    openThroughMenu(item);
    QVERIFY(m_window->mdiArea()->subWindowList().isEmpty());
    QCOMPARE(QApplication::topLevelWidgets(), before);
    QVERIFY(m_window->isVisible());
}

void TestMainWindow::optionalHeadingCannotBeChosen()
{
    QAction *heading = m_window->action("opcionalno_vkl_fuc");
    QVERIFY(heading);
    QSignalSpy triggered(heading, &QAction::triggered);

    heading->trigger();
    QMenu *menu = m_window->menu("pod_prog");
    menu->popup(QPoint(0, 0));
    QVERIFY(QTest::qWaitForWindowExposed(menu));
    menu->setActiveAction(heading);
    QTest::keyClick(menu, Qt::Key_Return);
    menu->hide();

    // Opening and closing windows leaves it as it was.
    openThroughMenu("blocnot_m");
    frameOf(m_window->findWindow("Form23"))->close();

    QCOMPARE(triggered.count(), 0);
    QVERIFY(!heading->isEnabled());
    QVERIFY(m_window->mdiArea()->subWindowList().isEmpty());
}

void TestMainWindow::windowList()
{
    QCOMPARE(windowListTitles(), QStringList());

    openThroughMenu("nast_m");
    openThroughMenu("komand_m");
    openThroughMenu("help_m"); // a window of its own, not listed
    openThroughMenu("posl_m");
    QCOMPARE(windowListTitles(), QStringList({"Настройки", "Управление командами", "Послать сообщение *"}));

    // Choosing an entry activates its window.
    windowListEntries().at(0)->trigger();
    QCOMPARE(m_window->mdiArea()->currentSubWindow(), frameOf(m_window->findWindow("Form1")));
    QCOMPARE(windowListTitles(), QStringList({"Настройки *", "Управление командами", "Послать сообщение"}));
    // Choosing the active one again keeps its mark.
    windowListEntries().at(0)->trigger();
    QCOMPARE(windowListTitles(), QStringList({"Настройки *", "Управление командами", "Послать сообщение"}));

    // Activation by other means moves the mark without opening the menu.
    m_window->showWindow("Form9");
    QStringList marks;
    for (const QAction *entry : windowListEntries())
        marks.append(entry->text() + (entry->isChecked() ? " *" : ""));
    QCOMPARE(marks, QStringList({"Настройки", "Управление командами *", "Послать сообщение"}));

    // The list shrinks as windows close, whether active or not.
    frameOf(m_window->findWindow("Form2"))->close();
    QCOMPARE(windowListTitles(), QStringList({"Настройки", "Управление командами *"}));
    frameOf(m_window->findWindow("Form9"))->close();
    const QStringList one = windowListTitles();
    QCOMPARE(one, QStringList({"Настройки *"}));
    frameOf(m_window->findWindow("Form1"))->close();
    QCOMPARE(windowListTitles(), QStringList());

    // And grows again, with the statistics window's dated title.
    openThroughMenu("stat_Mm");
    QCOMPARE(windowListTitles(), QStringList({"Статистика за : 05.03.2008 *"}));

    // A window that hides itself stays open but is not listed.
    openThroughMenu("komand_m");
    QVERIFY(m_window->findWindow("Form9"));
    m_window->findWindow("Form9")->hide();
    QCOMPARE(windowListTitles(), QStringList({"Статистика за : 05.03.2008"}));
}

void TestMainWindow::cascade()
{
    const QStringList windows = {"Form1", "Form9", "Form2", "Form5"};
    for (const QString &name : windows) {
        QMdiSubWindow *frame = frameOf(m_window->showWindow(name));
        QVERIFY(frame);
        frame->move(0, 0);
    }
    m_window->action("soft_kask")->trigger();

    QList<QPoint> positions;
    for (QMdiSubWindow *frame : m_window->mdiArea()->subWindowList())
        positions.append(frame->pos());
    std::sort(positions.begin(), positions.end(),
              [](const QPoint &a, const QPoint &b) { return a.y() < b.y(); });
    for (qsizetype i = 1; i < positions.size(); ++i) {
        QVERIFY2(positions.at(i).x() > positions.at(i - 1).x(), "each window right of the one before");
        QVERIFY2(positions.at(i).y() > positions.at(i - 1).y(), "each window below the one before");
    }
    QCOMPARE(m_window->mdiArea()->subWindowList().size(), windows.size());
}

void TestMainWindow::cascadeStaysInsideArea()
{
    m_window->resize(640, 480);
    m_window->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
    const QStringList windows = {"Form1", "Form9", "Form2", "Form5", "Form19", "Form28", "Form37",
                                 "Form25", "Form7", "Form29", "Form16", "Form18"};
    for (const QString &name : windows)
        QVERIFY2(m_window->showWindow(name), qPrintable(name));
    m_window->action("soft_kask")->trigger();
    const QRect area = m_window->mdiArea()->viewport()->rect();
    for (QMdiSubWindow *frame : m_window->mdiArea()->subWindowList()) {
        QVERIFY2(area.contains(frame->geometry()),
                 qPrintable(QStringLiteral("%1 at %2,%3 %4x%5 outside %6x%7")
                                .arg(frame->objectName())
                                .arg(frame->x())
                                .arg(frame->y())
                                .arg(frame->width())
                                .arg(frame->height())
                                .arg(area.width())
                                .arg(area.height())));
    }
}

void TestMainWindow::settingsWindowFitsEveryPage()
{
    m_window->resize(1024, 768);
    m_window->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
    m_window->roster().registerFactory(QStringLiteral("Form1"), [](QWidget *parent) { return new Form1(parent); });
    QWidget *settings = m_window->showWindow("Form1");
    QVERIFY(settings);
    const QStringList pages = {"nast_v1", "nast_a_v1", "nast_b_v1", "nast_c_v1", "nast_d_v1",
                               "UserControl21", "UserControl41", "UserControl51"};
    auto *form1 = qobject_cast<Form1 *>(settings);
    QVERIFY(form1);
    for (const QString &name : pages) {
        QVERIFY(form1->showOnlyPage(name));
        QWidget *page = settings->findChild<QWidget *>(name);
        QTRY_VERIFY(page->isVisible());
        // Every control of the page lies wholly inside the page, the page inside its frame.
        const QSize needed = page->minimumSizeHint();
        QVERIFY2(page->width() >= needed.width() && page->height() >= needed.height(),
                 qPrintable(QStringLiteral("%1: %2x%3 shown, %4x%5 needed")
                                .arg(name)
                                .arg(page->width())
                                .arg(page->height())
                                .arg(needed.width())
                                .arg(needed.height())));
    }
}

void TestMainWindow::closingQuitsTheProgram()
{
    // The help window lives outside the frame but must not keep the program alive.
    m_window->showWindow("Form27");
    m_window->showWindow("Form9");
    QPointer<QWidget> help = m_window->findWindow("Form27");

    QTimer closer;
    closer.setSingleShot(true);
    connect(&closer, &QTimer::timeout, m_window.get(), &QWidget::close);
    closer.start(0);
    QTimer bound;
    bound.setSingleShot(true);
    connect(&bound, &QTimer::timeout, this, [] { QCoreApplication::exit(1); });
    bound.start(10000);

    QCOMPARE(QApplication::exec(), 0);
    QVERIFY(!m_window->isVisible());
    m_window.reset();
    QVERIFY(help.isNull());
}

QTEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"
