#pragma once

#include "core/textfile.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

// The vote: the vote file of one line, the question and the options joined by ":^:";
// the results file, one upper-cased option per vote cast; and the two voter lists (who
// asked for the vote, who has voted). The files alone hold a running vote.
namespace VoteFile {

inline const QString DefinitionPath = QStringLiteral("\\Подпрограммы\\Голосование.txt");
inline const QString PendingPath = QStringLiteral("\\Подпрограммы\\Голосующие.txt");
inline const QString VotersPath = QStringLiteral("\\Подпрограммы\\Голосовавшие.txt");
inline const QString ResultsPath = QStringLiteral("\\Подпрограммы\\Голосование_результаты.txt");

struct Definition
{
    QString question;
    QStringList options;
};

// The question before the first ":^:", the options between the further ones, the
// line end dropped from the last. nullopt for a missing or empty file: no vote.
std::optional<Definition> parse(const QString &text);
std::optional<Definition> read();

// True when a text would split into two fields.
bool unstorable(const QString &text);

// The question, ":^:" and the options joined by ":^:", then CR LF. Empty options at the
// head of the list are left out; later ones stay as empty options.
QString format(const QString &question, const QStringList &options);
TextFile::Result write(const QString &question, const QStringList &options);

struct Count
{
    QString option; // as stored in the vote file
    int votes = 0;
    bool operator==(const Count &other) const = default;
};

// Every option with the lines of the results that equal its upper-case form (a line
// counts for the first such option only), most votes first; options with equal counts
// end in the order of the exchange sort the results window has always used.
QList<Count> count(const QStringList &options, const QStringList &resultLines);
// The counts of the running vote; none without a vote file.
QList<Count> results();

// Ends the vote: the vote file, both voter lists and the results go.
void remove();

} // namespace VoteFile
