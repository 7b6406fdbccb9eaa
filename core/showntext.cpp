#include "core/showntext.h"

QString ShownText::cut(const QString &text)
{
    if (text.size() <= MaxChars)
        return text;
    // Never between the two halves of a surrogate pair.
    qsizetype cut = MaxChars;
    if (text.at(cut - 1).isHighSurrogate())
        --cut;
    return text.left(cut) + QChar(0x2026);
}
