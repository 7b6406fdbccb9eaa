#include "settings/pagevalues.h"

#include "core/cp1251.h"

PageSave PageSave::checkLines(std::initializer_list<QStringView> values)
{
    for (const QStringView value : values) {
        if (value.contains(QLatin1Char('\r')) || value.contains(QLatin1Char('\n')))
            return refused(Outcome::LineBreak);
    }
    for (const QStringView value : values) {
        if (!Cp1251::canEncode(value))
            return refused(Outcome::NotStorable);
    }
    return saved();
}
