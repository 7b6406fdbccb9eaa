#pragma once

#include "settings/pagevalues.h"
#include "settings/settingspage.h"

#include <QString>

// The boxes the settings pages show for their saves: none for a save that went
// through, as the pages never confirmed one.
namespace PageMessages {

inline const QString ErrorTitle = QStringLiteral("Ошибка");
inline const QString BadNumberText = QStringLiteral("Введён не правильный формат ICQ номера");
inline const QString NotStorableText =
    QStringLiteral("Введённый текст содержит символы, которые программа не может сохранить. Настройки не "
                   "изменены.");
inline const QString LineBreakText =
    QStringLiteral("Значение поля не может содержать переход на новую строку. Настройки не изменены.");
inline const QString WriteFailedText =
    QStringLiteral("Не удалось сохранить настройки (%1). Прежние настройки остались без изменений.");
inline const QString AutostartRefusedText =
    QStringLiteral("Настройки сохранены, но изменить запуск программы вместе с системой не удалось.");

SettingsPage::SaveResult result(const PageSave &save);

} // namespace PageMessages
