#pragma once

#include <QString>

#include <memory>

class QLockFile;

// What the program checks before it touches its program folder: the folder exists, and
// no other Korvane runs on it.
namespace ProgramStart {

// The lock file every running Korvane holds in its program folder.
inline const QString LockFileName = QStringLiteral("Korvane.lock");

struct Claim
{
    bool ok = false;
    QString refusal; // the text shown to the operator when not ok
    std::unique_ptr<QLockFile> lock; // held for the whole run
};

// Refuses a folder that does not exist (it is never created) and a folder another
// running Korvane holds. A lock left by a program that died is taken over.
Claim claimFolder(const QString &folder);

} // namespace ProgramStart
