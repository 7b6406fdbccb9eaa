#include "settings/tutorial.h"

#include "core/vbvalues.h"

int Tutorial::next()
{
    if (m_step < FinalStep)
        ++m_step;
    return m_step;
}

int Tutorial::back()
{
    if (m_step > 0)
        --m_step;
    return m_step;
}

QList<Tutorial::WindowAction> Tutorial::arrivalActions(int step)
{
    using Kind = WindowAction::Kind;
    auto show = [](const char *name) { return WindowAction{Kind::Show, QString::fromLatin1(name)}; };
    auto hide = [](const char *name) { return WindowAction{Kind::Hide, QString::fromLatin1(name)}; };
    switch (step) {
    case 1:
        return {show("Form1")};
    case 3:
        return {hide("Form1"), show("Form9")};
    case 6:
        return {hide("Form9"), hide("Form12"), hide("Form14"), show("Form11")};
    case 7:
        return {hide("Form11"), show("fMain")};
    default:
        return {};
    }
}

TextFile::Result Tutorial::writeMarker()
{
    return TextFile::writeAll(MarkerPath, VbValues::printForm(1) + QStringLiteral("\r\n"));
}
