#pragma once

#include "core/textfile.h"

#include <QString>
#include <QStringList>

// The signature file: it exists only while signatures are on. Line 1 the switch " 1 ",
// line 2 the separator put on a new line between an answer and its signature ("vbcrlf"
// stands for an empty line instead), every further line one signature, empty ones too.
class SignatureFile
{
public:
    static inline const QString FilePath = QStringLiteral("\\Команды\\Подпись.txt");
    static inline const QString EmptyLineSeparator = QStringLiteral("vbcrlf");

    struct Contents
    {
        bool on = false;
        QString separator = EmptyLineSeparator;
        QStringList signatures;

        // The signatures as the window's box shows them: joined by CR LF, the empty
        // lines in front of the first signature left out.
        QString signatureText() const;
    };

    // A missing or empty file: off, the separator "vbcrlf", no signatures.
    static Contents parse(const QString &text);
    static Contents read();

    // " 1 ", the separator and the signature text, each followed by CR LF.
    static QString format(const QString &separator, const QString &signatureText);
    static TextFile::Result write(const QString &separator, const QString &signatureText);
    // Signatures off: the file goes. True when no file is left.
    static bool remove();

    // The reply with the signature under it, after the separator.
    static QString withSignature(const QString &reply, const QString &separator, const QString &signature);
};
