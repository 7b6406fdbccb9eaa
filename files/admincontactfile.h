#pragma once

#include "core/textfile.h"

#include <QString>

// The administrator contact file: line 1 the switch as a printed number (" 1 " on,
// " 0 " off), line 2 the administrator's number as typed.
class AdminContactFile
{
public:
    static inline const QString FilePath = QStringLiteral("\\Подпрограммы\\Связь с админом.txt");

    struct Contents
    {
        bool on = false;
        QString admin;
    };

    static Contents parse(const QString &text);
    static Contents read();

    static QString format(const Contents &contents);
    static TextFile::Result write(const Contents &contents);
};
