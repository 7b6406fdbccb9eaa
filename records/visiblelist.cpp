#include "records/visiblelist.h"

#include "core/textfile.h"
#include "session/signon.h"

namespace VisibleList {

QStringList load()
{
    return TextFile::readLines(SignOn::VisibleListPath);
}

AddResult add(const QString &entry)
{
    if (entry.isEmpty())
        return AddResult::Empty;
    if (load().contains(entry))
        return AddResult::Duplicate;
    return TextFile::appendLine(SignOn::VisibleListPath, entry) ? AddResult::Added
                                                                   : AddResult::WriteFailed;
}

bool remove(const QString &entry)
{
    const QStringList lines = load();
    QStringList kept;
    for (const QString &line : lines) {
        if (line != entry)
            kept.append(line);
    }
    // Nothing to take (a file that cannot be read included): the file stays.
    if (kept.size() == lines.size() && !lines.isEmpty())
        return true;
    if (TextFile::readState(SignOn::VisibleListPath) == TextFile::ReadState::Unreadable)
        return false;
    if (kept.isEmpty())
        return TextFile::remove(SignOn::VisibleListPath) || !TextFile::exists(SignOn::VisibleListPath);
    return bool(TextFile::writeLines(SignOn::VisibleListPath, kept));
}

} // namespace VisibleList
