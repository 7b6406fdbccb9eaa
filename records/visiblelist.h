#pragma once

#include <QString>
#include <QStringList>

// The operator's visible list: the numbers the sign-on sends as the bot's visible list,
// one per line as typed, in the order of adding. A missing file is an empty list; the
// file goes when its last line does.
namespace VisibleList {

// Every line, empty ones included.
QStringList load();

enum class AddResult { Added, Duplicate, Empty, WriteFailed };
// Appends the entry unless it is empty or a line equals it exactly.
AddResult add(const QString &entry);
// Removes every line equal to the entry; deletes the file when no line is left.
bool remove(const QString &entry);

} // namespace VisibleList
