#pragma once

#include "core/textfile.h"

#include <QList>
#include <QPair>
#include <QString>

#include <optional>

// "Key=Value" files (the general settings file, our own address file): one setting a
// line, the key is the text before the first "=", the value everything after it.
namespace KeyValueFile {

using Pairs = QList<QPair<QString, QString>>;

// The key of a line; nullopt for a line without "=".
std::optional<QString> keyOf(const QString &line);

// The line lookup: the value of the line whose key equals key exactly (case-sensitive,
// nothing trimmed); when the key stands on several lines the last one counts. nullopt
// when no line has the key.
std::optional<QString> lookup(const QString &text, const QString &key);

// The settings merge as pure text: every line of one of the pairs' keys gets that
// pair's value in place (all of them when a key stands twice); every other line, one
// without "=" and an empty one too (also before the first non-empty line), stays as it was; keys the text lacks are appended in the pairs'
// order; the result ends with one CR LF. A key given twice in pairs counts once, with
// its first value.
QString merged(const QString &oldText, const Pairs &pairs);

// Reads the file (missing = empty), merges and rewrites it atomically, creating the
// folder when missing.
TextFile::Result merge(const QString &programPath, const Pairs &pairs, TextFile::Options options = {});

} // namespace KeyValueFile
