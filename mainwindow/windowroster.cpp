#include "mainwindow/windowroster.h"

#include "core/clock.h"
#include "core/datetexts.h"

#include <QWidget>

namespace {

std::function<QString()> fixedCaption(const QString &caption)
{
    return [caption] { return caption; };
}

} // namespace

WindowRoster::WindowRoster()
{
    const auto child = Placement::Child;
    const auto topLevel = Placement::TopLevel;
    const struct
    {
        const char *name;
        const char *caption;
        Placement placement;
    } windows[] = {
        // Settings and feature windows.
        {"Form1", "Настройки", child},
        {"Form18", "Редикет", child},
        {"Form32", "Анти-спам", child},
        {"Form23", "Блокнот", child},
        {"Form24", "Связь с админом", child},
        {"Form39", "Голосования", child},
        {"Form34", "Подпись", child},
        {"Form44", "Погодный бот", child},
        {"Form45", "Подбот курса валют", child},
        {"Form46", "Подбот BASH RSS", child},
        {"Form8", "О программе", child},
        {"Form4", "Тех. поддержка", child},
        {"Form26", "Обучение", child},
        {"Form27", "Помощь", topLevel},
        {"Form48", "Лицензионное соглашение", topLevel},
        // People and records windows.
        {"Form2", "Послать сообщение", child},
        {"Form5", "Чёрный список", child},
        {"Form37", "Контактная книга", child},
        {"Form7", "Логи", child},
        {"Form29", "Логи не известных команд", child},
        {"Form28", "Список пользователей", child},
        {"Form25", "Настройки видимого списка", child},
        {"Form19", "Авторассылка", child},
        // Command base editor.
        {"Form9", "Управление командами", child},
        {"Form11", "Управление группами", child},
        {"Form49", "Добавочные команды", child},
        {"Form10", "Ответ на неизвестную команду", child},
        {"Form35", "Информация о боте", child},
        // Chat.
        {"Form33", "Чат", child},
        // The tray host: never shown for long, its caption is its name.
        {"Form21", "Form21", topLevel},
    };
    for (const auto &window : windows)
        add(QString::fromUtf8(window.name), fixedCaption(QString::fromUtf8(window.caption)),
            window.placement);

    // The statistics window opens on today.
    add(
        QStringLiteral("Form16"),
        [] { return QStringLiteral("Статистика за : ") + DateTexts::dateText(Clock::instance().today()); },
        child);
}

bool WindowRoster::contains(const QString &name) const
{
    return find(name) != nullptr;
}

QStringList WindowRoster::names() const
{
    QStringList result;
    result.reserve(m_entries.size());
    for (const Entry &entry : m_entries)
        result.append(entry.name);
    return result;
}

QString WindowRoster::caption(const QString &name) const
{
    const Entry *entry = find(name);
    return entry ? entry->caption() : QString();
}

WindowRoster::Placement WindowRoster::placement(const QString &name) const
{
    const Entry *entry = find(name);
    return entry ? entry->placement : Placement::Child;
}

bool WindowRoster::hasFactory(const QString &name) const
{
    const Entry *entry = find(name);
    return entry && entry->factory;
}

bool WindowRoster::registerFactory(const QString &name, Factory factory)
{
    Entry *entry = find(name);
    if (!entry)
        return false;
    entry->factory = std::move(factory);
    return true;
}

void WindowRoster::addWindow(const QString &name, const QString &caption, Placement placement,
                             Factory factory)
{
    add(name, fixedCaption(caption), placement);
    find(name)->factory = std::move(factory);
}

QWidget *WindowRoster::create(const QString &name, QWidget *parent) const
{
    const Entry *entry = find(name);
    if (!entry)
        return nullptr;
    QWidget *widget = nullptr;
    if (entry->factory) {
        widget = entry->factory(parent);
        if (!widget)
            return nullptr;
    } else {
        widget = new QWidget(parent);
        // An empty widget has no size of its own; keep its frame usable.
        widget->setMinimumSize(360, 240);
    }
    // Windows are found by their name, whatever the factory called them.
    widget->setObjectName(name);
    if (widget->windowTitle().isEmpty())
        widget->setWindowTitle(entry->caption());
    return widget;
}

void WindowRoster::add(const QString &name, std::function<QString()> caption, Placement placement)
{
    if (Entry *entry = find(name)) {
        entry->caption = std::move(caption);
        entry->placement = placement;
        return;
    }
    m_entries.append(Entry{name, std::move(caption), placement, Factory()});
}

const WindowRoster::Entry *WindowRoster::find(const QString &name) const
{
    for (const Entry &entry : m_entries) {
        if (entry.name == name)
            return &entry;
    }
    return nullptr;
}

WindowRoster::Entry *WindowRoster::find(const QString &name)
{
    for (Entry &entry : m_entries) {
        if (entry.name == name)
            return &entry;
    }
    return nullptr;
}
