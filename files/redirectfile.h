#pragma once

#include "core/textfile.h"

#include <QString>

// The redirect file: line 1 the number that receives a copy of every message (empty:
// redirection off), line 2 the mode as a printed number, 1 the bot answers and passes the
// message on, 2 it only passes it on. Readers compare the mode numerically.
class RedirectFile
{
public:
    static inline const QString FilePath = QStringLiteral("\\Подпрограммы\\Редикет.txt");

    struct Contents
    {
        QString target;
        QString mode; // line 2 as stored

        // Mode 1: the bot answers as usual and passes the message on.
        bool answersToo() const;
        // Mode 2: the bot only passes the message on.
        bool forwardOnly() const;
        // A target and a known mode.
        bool redirects() const { return !target.isEmpty() && (answersToo() || forwardOnly()); }
    };

    static Contents parse(const QString &text);
    static Contents read();

    // The file's bytes for a target and a mode: the target, CR LF, " 1 " or " 2 ", CR LF.
    static QString format(const QString &target, bool answersToo);
    static TextFile::Result write(const QString &target, bool answersToo);
};
