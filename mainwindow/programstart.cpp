#include "mainwindow/programstart.h"

#include <QDir>
#include <QFileInfo>
#include <QLockFile>

namespace ProgramStart {

Claim claimFolder(const QString &folder)
{
    Claim claim;
    const QString shown = QDir::toNativeSeparators(folder);
    if (!QFileInfo(folder).isDir()) {
        claim.refusal = QStringLiteral("Папка программы не найдена: ") + shown;
        return claim;
    }
    auto lock = std::make_unique<QLockFile>(QDir(folder).filePath(LockFileName));
    // Never stale by age: only a lock whose owner is gone is taken over.
    lock->setStaleLockTime(0);
    if (lock->tryLock(0)) {
        claim.ok = true;
        claim.lock = std::move(lock);
        return claim;
    }
    if (lock->error() == QLockFile::LockFailedError)
        claim.refusal = QStringLiteral("Korvane уже запущен с этой папкой программы: ") + shown;
    else
        claim.refusal = QStringLiteral("Не удалось занять папку программы: ") + shown;
    return claim;
}

} // namespace ProgramStart
