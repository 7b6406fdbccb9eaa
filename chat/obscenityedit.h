#pragma once

#include <QString>

// The obscenity page's two lists as its box shows them: one item a line, empty lines
// left out. Saving writes the items one a line, so a list saved again unchanged stays
// the same file, and no empty line can cut the words list short for the chat.
class ObscenityEditor
{
public:
    enum class List { Words, Exceptions };

    static QString filePath(List list);
    // The items of the list, joined by "\n" (the box's line end).
    static QString text(List list);
    // Rewrites the list's file with the box's non-empty lines, each ended by CR LF; the
    // exceptions file starts with its empty line, as it always has.
    static bool save(List list, const QString &boxText);
};
