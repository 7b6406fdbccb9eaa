#pragma once

#include "core/textfile.h"
#include "files/admincontactfile.h"
#include "files/antispamfile.h"
#include "files/signaturefile.h"
#include "files/votefile.h"

#include <QString>
#include <QStringList>

// The logic of the feature windows without their widgets: each reads its feature file
// through the file's owner (files/) when the window loads and writes it when the
// operator applies. A window shows what load() gave and hands its boxes back to save().

// The redirect window: the target number and whether the bot still answers itself.
class RedirectSetup
{
public:
    QString target;
    bool answersToo = false; // "Обработка + редикет"; off is "Просто редикет"

    // A missing or short file: no number, forward only.
    void load();
    TextFile::Result save() const;
};

// The notepad window: the switch, the numbers that own a note and their notes.
class NotepadSetup
{
public:
    static bool isOn();
    static TextFile::Result setOn(bool on);
    static QStringList owners();
    // The note of a listed number; nullopt when it has none (or the number cannot own one).
    static std::optional<QString> note(const QString &uin);
};

// The administrator contact window.
class AdminContactSetup
{
public:
    AdminContactFile::Contents contents;

    void load();
    TextFile::Result save() const;
};

// The anti-spam window: the switch and the three texts as typed.
class AntiSpamSetup
{
public:
    enum class Outcome { Saved, Unstorable, WriteFailed };
    struct Result
    {
        Outcome outcome = Outcome::Saved;
        QString error;
    };

    AntiSpamFile::Contents contents = AntiSpamFile::defaults();

    // A missing or empty file keeps the window's design texts, switched off.
    void load();
    // A text that holds "---" could not be read back: nothing is written then.
    Result save() const;
};

// The signature window: the file exists only while signatures are on.
class SignatureSetup
{
public:
    enum class Outcome { Saved, Removed, NoSignature, WriteFailed };
    struct Result
    {
        Outcome outcome = Outcome::Saved;
        QString error;
    };

    bool on = false;
    QString separator = SignatureFile::EmptyLineSeparator;
    QString signatureText; // one signature a line, CR LF between them

    void load();
    // Off deletes the file; on with no signature is refused and changes nothing.
    Result save() const;
};

// The vote window: one vote at a time, its question and options; a vote runs from
// apply until it is ended.
class VoteSetup
{
public:
    enum class Outcome { Saved, Unstorable, WriteFailed };
    struct Result
    {
        Outcome outcome = Outcome::Saved;
        QString error;
    };

    QString question;
    QStringList options;
    bool running = false;

    // A vote file puts the window into its running state with the vote's texts.
    void load();
    // Writes the vote file and runs the vote; a text holding ":^:" would split into
    // two fields, so nothing is written then.
    Result apply();
    // The text of the results window: the heading, a blank line, and each option with
    // its votes, most first.
    static QString resultsText();
    // Deletes every file of the vote and empties the texts.
    void end();
};
