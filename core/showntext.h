#pragma once

#include <QString>

// A text as a list, table or box shows it. A hand-edited file may hold a line of
// megabytes; laying it out would freeze the window, and no window shows more than a
// screen's width of it, so views get it cut while the whole text stays with its owner.
namespace ShownText {

// Wider than any screen in any font the windows use.
inline constexpr qsizetype MaxChars = 1000;

// The text cut after MaxChars characters, with "…"; a shorter text as it is.
QString cut(const QString &text);

} // namespace ShownText
