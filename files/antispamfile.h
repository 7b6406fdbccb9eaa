#pragma once

#include "core/textfile.h"

#include <QString>

// The anti-spam file: seven items, each followed by CR LF: the switch as a printed number
// (" 1 " on, " 0 " off), "---", the question, "---", the answer, "---", the success
// text. The three texts stand as the operator typed them, so none of them may hold "---".
class AntiSpamFile
{
public:
    static inline const QString FilePath = QStringLiteral("\\Подпрограммы\\Анти_спам.txt");
    static inline const QString Separator = QStringLiteral("---");

    struct Contents
    {
        bool on = false;
        QString question;
        QString answer;
        QString success; // without the CR LF that ends the file
        // The rest of the file after the third "---" line as it stands, final CR LF
        // included: what a sender who answered right receives.
        QString storedSuccess;
    };

    // What the window shows while there is no file.
    static Contents defaults();

    // The items cut out of the file's text: the switch from its first two characters,
    // the question and the answer each up to the CR LF in front of the next "---", the
    // success text the rest, less the final CR LF. A file cut short gives the items it
    // has, the last running to the end. Missing or empty text: switched off, no texts.
    static Contents parse(const QString &text);
    static Contents read();

    // True when the file cannot hold the text as it is.
    static bool unstorable(const QString &text) { return text.contains(Separator); }

    static QString format(const Contents &contents);
    static TextFile::Result write(const Contents &contents);
};
