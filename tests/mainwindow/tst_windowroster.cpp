#include "core/clock.h"
#include "mainwindow/windowroster.h"

#include <QLabel>
#include <QPointer>
#include <QTest>

#include <memory>

class TestWindowRoster : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void cleanup() { Clock::setInstance(nullptr); }

    void listedWindows_data();
    void listedWindows();
    void statisticsCaptionCarriesToday();
    void placeholderCarriesNameAndCaption();
    void registeredFactoryMakesTheWindow_data();
    void registeredFactoryMakesTheWindow();
    void factoryThatMakesNothing();
    void unknownNames();
    void addWindowListsOrReplaces();
};

void TestWindowRoster::listedWindows_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<bool>("topLevel");

    const struct
    {
        const char *name;
        const char *caption;
        bool topLevel;
    } rows[] = {
        {"Form1", "Настройки", false},
        {"Form2", "Послать сообщение", false},
        {"Form4", "Тех. поддержка", false},
        {"Form5", "Чёрный список", false},
        {"Form7", "Логи", false},
        {"Form8", "О программе", false},
        {"Form9", "Управление командами", false},
        {"Form10", "Ответ на неизвестную команду", false},
        {"Form11", "Управление группами", false},
        {"Form18", "Редикет", false},
        {"Form19", "Авторассылка", false},
        {"Form23", "Блокнот", false},
        {"Form24", "Связь с админом", false},
        {"Form25", "Настройки видимого списка", false},
        {"Form26", "Обучение", false},
        {"Form28", "Список пользователей", false},
        {"Form29", "Логи не известных команд", false},
        {"Form32", "Анти-спам", false},
        {"Form33", "Чат", false},
        {"Form34", "Подпись", false},
        {"Form35", "Информация о боте", false},
        {"Form37", "Контактная книга", false},
        {"Form39", "Голосования", false},
        {"Form44", "Погодный бот", false},
        {"Form45", "Подбот курса валют", false},
        {"Form46", "Подбот BASH RSS", false},
        {"Form49", "Добавочные команды", false},
        {"Form27", "Помощь", true},
        {"Form21", "Form21", true},
        {"Form48", "Лицензионное соглашение", true},
    };
    for (const auto &row : rows)
        QTest::newRow(row.name) << QString::fromUtf8(row.name) << QString::fromUtf8(row.caption)
                                << row.topLevel;
}

void TestWindowRoster::listedWindows()
{
    QFETCH(QString, name);
    QFETCH(QString, caption);
    QFETCH(bool, topLevel);

    const WindowRoster roster;
    QVERIFY(roster.contains(name));
    QVERIFY(roster.names().contains(name));
    QCOMPARE(roster.caption(name), caption);
    QCOMPARE(roster.placement(name),
             topLevel ? WindowRoster::Placement::TopLevel : WindowRoster::Placement::Child);
    QVERIFY(!roster.hasFactory(name));
}

void TestWindowRoster::statisticsCaptionCarriesToday()
{
    FixedClock clock(QDateTime(QDate(2008, 3, 5), QTime(23, 59, 59)));
    Clock::setInstance(&clock);
    const WindowRoster roster;

    QCOMPARE(roster.caption("Form16"), QString("Статистика за : 05.03.2008"));
    std::unique_ptr<QWidget> window(roster.create("Form16", nullptr));
    QCOMPARE(window->windowTitle(), QString("Статистика за : 05.03.2008"));

    // The date is taken when the window opens, not when the roster was made.
    clock.advanceSecs(1);
    QCOMPARE(roster.caption("Form16"), QString("Статистика за : 06.03.2008"));
}

void TestWindowRoster::placeholderCarriesNameAndCaption()
{
    const WindowRoster roster;
    QWidget parent;
    QWidget *window = roster.create("Form9", &parent);
    QVERIFY(window);
    QCOMPARE(window->parentWidget(), &parent);
    QCOMPARE(window->objectName(), QString("Form9"));
    QCOMPARE(window->windowTitle(), QString("Управление командами"));
    QCOMPARE(window->metaObject(), &QWidget::staticMetaObject);
    QVERIFY(!window->isVisible());

    // Each call makes a new window; the roster keeps none.
    std::unique_ptr<QWidget> second(roster.create("Form9", nullptr));
    QVERIFY(second.get() != window);
}

void TestWindowRoster::registeredFactoryMakesTheWindow_data()
{
    QTest::addColumn<QString>("ownCaption");
    QTest::addColumn<QString>("ownName");
    QTest::addColumn<QString>("expectedCaption");

    QTest::newRow("factory leaves the caption") << QString() << QString() << QString("Чат");
    QTest::newRow("factory sets a caption") << QString("Чат (тест)") << QString() << QString("Чат (тест)");
    QTest::newRow("factory names it otherwise") << QString() << QString("chatWindow") << QString("Чат");
}

void TestWindowRoster::registeredFactoryMakesTheWindow()
{
    QFETCH(QString, ownCaption);
    QFETCH(QString, ownName);
    QFETCH(QString, expectedCaption);

    WindowRoster roster;
    QWidget *seenParent = nullptr;
    int calls = 0;
    QVERIFY(roster.registerFactory("Form33", [&](QWidget *parent) -> QWidget * {
        ++calls;
        seenParent = parent;
        auto *label = new QLabel(parent);
        label->setWindowTitle(ownCaption);
        label->setObjectName(ownName);
        return label;
    }));
    QVERIFY(roster.hasFactory("Form33"));
    QVERIFY(!roster.hasFactory("Form9"));

    QWidget parent;
    QWidget *window = roster.create("Form33", &parent);
    QCOMPARE(calls, 1);
    QCOMPARE(seenParent, &parent);
    QVERIFY(qobject_cast<QLabel *>(window));
    QCOMPARE(window->objectName(), QString("Form33"));
    QCOMPARE(window->windowTitle(), expectedCaption);
}

void TestWindowRoster::factoryThatMakesNothing()
{
    WindowRoster roster;
    QVERIFY(roster.registerFactory("Form2", [](QWidget *) -> QWidget * { return nullptr; }));
    QCOMPARE(roster.create("Form2", nullptr), nullptr);
}

void TestWindowRoster::unknownNames()
{
    WindowRoster roster;
    QVERIFY(!roster.contains("Form99"));
    QVERIFY(!roster.registerFactory("Form99", [](QWidget *parent) { return new QWidget(parent); }));
    QVERIFY(!roster.contains("Form99"));
    QCOMPARE(roster.create("Form99", nullptr), nullptr);
    QCOMPARE(roster.caption("Form99"), QString());
    // Names are exact.
    QVERIFY(!roster.contains("form9"));
}

void TestWindowRoster::addWindowListsOrReplaces()
{
    WindowRoster roster;
    const qsizetype before = roster.names().size();

    roster.addWindow("Form15", "Расширенный поиск команд", WindowRoster::Placement::Child);
    QCOMPARE(roster.names().size(), before + 1);
    QCOMPARE(roster.names().last(), QString("Form15"));
    QCOMPARE(roster.caption("Form15"), QString("Расширенный поиск команд"));
    std::unique_ptr<QWidget> placeholder(roster.create("Form15", nullptr));
    QCOMPARE(placeholder->objectName(), QString("Form15"));

    // Listing a known name again replaces its entry, factory included.
    QVERIFY(roster.registerFactory("Form8", [](QWidget *parent) { return new QLabel(parent); }));
    roster.addWindow("Form8", "О Korvane", WindowRoster::Placement::TopLevel);
    QCOMPARE(roster.names().size(), before + 1);
    QCOMPARE(roster.caption("Form8"), QString("О Korvane"));
    QCOMPARE(roster.placement("Form8"), WindowRoster::Placement::TopLevel);
    QVERIFY(!roster.hasFactory("Form8"));

    roster.addWindow("Form40", "Результаты голосваний", WindowRoster::Placement::Child,
                     [](QWidget *parent) { return new QLabel(parent); });
    std::unique_ptr<QWidget> made(roster.create("Form40", nullptr));
    QVERIFY(qobject_cast<QLabel *>(made.get()));
}

QTEST_MAIN(TestWindowRoster)
#include "tst_windowroster.moc"
