#pragma once

#include "settings/pagevalues.h"

#include <QString>

// What the page shows, as AutoOpenSettings keeps it.
struct AutoOpenValues
{
    static constexpr int BoxCount = 9;
    bool boxes[BoxCount] = {};
    bool operator==(const AutoOpenValues &) const = default;
};

// The auto-open page without its window: the windows the start-up opens by themselves.
// "\Настройки\Автооткрытие.txt": nine lines, one per box in the page's order, each the
// box as a printed number (" 0 " or " 1 "); a line holding 1 opens its window.
class AutoOpenSettings : public PageLogic<AutoOpenValues>
{
public:
    static inline const QString FilePath = QStringLiteral("\\Настройки\\Автооткрытие.txt");
    static constexpr int BoxCount = AutoOpenValues::BoxCount;

    // A missing or short file leaves the boxes it does not reach off.
    void load();
    PageSave save();
};
