#pragma once

#include <QString>

// "\Подпрограммы\Кик.txt": the warnings each chat nick has earned, one "<nick> <count>"
// line per nick. The count is the text after the line's last blank and the nick all the
// text before it, so a nick with blanks has an entry of its own. A new file starts with
// an empty line. Counts only grow: nothing lowers or deletes them.
class WarningFile
{
public:
    static inline const QString FilePath = QStringLiteral("\\Подпрограммы\\Кик.txt");

    // The nick's count, 0 when it has no entry.
    static int count(const QString &nick);
    // Counts one more warning for the nick and returns the new count (1 for a nick
    // without an entry). *wasEmpty (optional) tells whether the file held no text. A nick
    // with a line break is refused: nothing is written and the count is 0.
    static int addWarning(const QString &nick, bool *wasEmpty = nullptr);
};
