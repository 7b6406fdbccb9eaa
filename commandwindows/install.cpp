#include "commandwindows/install.h"

#include "commands/commandeditor.h"
#include "commandwindows/answer_pages_window.h"
#include "commandwindows/command_manager_window.h"
#include "commandwindows/command_search_window.h"
#include "commandwindows/command_wizard_window.h"
#include "commandwindows/group_windows.h"
#include "commandwindows/side_windows.h"
#include "commands/sidetexts.h"
#include "platform/windowhost.h"

#include <QPointer>

CommandWizard *installCommandWindows(WindowHost &roster, QObject *owner)
{
    auto *wizard = new CommandWizard(owner);
    const QPointer<CommandWizard> shared(wizard);
    roster.registerFactory(QStringLiteral("Form9"), [shared, &roster](QWidget *parent) -> QWidget * {
        return shared ? new Form9(*shared, roster, parent) : nullptr;
    });
    roster.addWindow(QStringLiteral("Form12"), QStringLiteral("Добавление команды. Шаг 1."),
                     WindowHost::Placement::Child, [shared, &roster](QWidget *parent) -> QWidget * {
                         return shared ? new Form12(*shared, roster, parent) : nullptr;
                     });
    roster.addWindow(QStringLiteral("Form14"), QStringLiteral("Добавление команды. Шаг 2."),
                     WindowHost::Placement::Child, [shared](QWidget *parent) -> QWidget * {
                         return shared ? new Form14(*shared, parent) : nullptr;
                     });
    roster.addWindow(QStringLiteral("Form15"), QStringLiteral("Расширенный поиск команд"),
                     WindowHost::Placement::Child,
                     [](QWidget *parent) -> QWidget * { return new Form15(parent); });
    roster.registerFactory(QStringLiteral("Form10"), [](QWidget *parent) -> QWidget * { return new Form10(parent); });
    roster.registerFactory(QStringLiteral("Form29"), [](QWidget *parent) -> QWidget * { return new Form29(parent); });
    roster.registerFactory(QStringLiteral("Form35"), [](QWidget *parent) -> QWidget * { return new Form35(parent); });
    const QPointer<AdditionalCommandsList> additional(new AdditionalCommandsList(owner));
    roster.registerFactory(QStringLiteral("Form49"), [additional, &roster](QWidget *parent) -> QWidget * {
        return additional ? new Form49(*additional, roster, parent) : nullptr;
    });
    roster.addWindow(QStringLiteral("Form50"), QStringLiteral("Добавить команду в список"),
                     WindowHost::Placement::Child, [additional](QWidget *parent) -> QWidget * {
                         return additional ? new Form50(*additional, parent) : nullptr;
                     });
    roster.addWindow(QStringLiteral("Form36"), QStringLiteral("Встроить помощь"), WindowHost::Placement::Child,
                     [](QWidget *parent) -> QWidget * { return new Form36(parent); });
    roster.registerFactory(QStringLiteral("Form11"), [shared, &roster](QWidget *parent) -> QWidget * {
        return shared ? new Form11(*shared, roster, parent) : nullptr;
    });
    roster.addWindow(QStringLiteral("Form31"), Form31::Title, WindowHost::Placement::Child,
                     [](QWidget *parent) -> QWidget * { return new Form31(parent); });
    return wizard;
}
