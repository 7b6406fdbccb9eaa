#pragma once

#include <QString>

// What the people windows' list files share.
namespace PeopleFiles {

// Appends the line and CR LF; a last line left without its line end gets one first, so
// the new line never runs into it. False when the file could not be written.
bool appendLine(const QString &programPath, const QString &line);

} // namespace PeopleFiles
