#pragma once

#include "settings/pagevalues.h"

#include <QString>

// The auto-open page without its window: the windows the start-up opens by themselves.
// "\Настройки\Автооткрытие.txt": nine lines, one per box in the page's order, each the
// box as a printed number (" 0 " or " 1 "); a line holding 1 opens its window.
class AutoOpenSettings
{
public:
    static inline const QString FilePath = QStringLiteral("\\Настройки\\Автооткрытие.txt");
    static constexpr int BoxCount = 9;

    struct Values
    {
        bool boxes[BoxCount] = {};
        bool operator==(const Values &) const = default;
    };

    // A missing or short file leaves the boxes it does not reach off.
    void load();
    PageSave save();
    void defaults() { m_values.show(Values()); }
    bool hasChanged() const { return m_values.hasChanged(); }

    const Values &values() const { return m_values.shown(); }
    Values &values() { return m_values.shown(); }

private:
    PageValues<Values> m_values;
};
