#include "core/storage.h"

#include "core/cp1251.h"
#include "core/textfile.h"

#include <QCoreApplication>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QLoggingCategory>
#include <QSaveFile>
#include <QAbstractEventDispatcher>
#include <QSocketNotifier>
#include <QThread>
#include <QTimer>

#include <algorithm>
#include <utility>
#include <cerrno>
#include <cstring>
#include <ctime>
#include <limits>
#include <fcntl.h>
#include <sys/inotify.h>
#include <sys/stat.h>
#include <sys/statfs.h>
#include <unistd.h>

namespace {

// Files larger than this are read each time instead of being kept; an 8 MB hand-edited
// file (one long line) is still kept, so a timer over it does not reread it every tick.
constexpr qint64 MaxCachedFile = 9 * 1024 * 1024;
constexpr qint64 CacheBudget = 32 * 1024 * 1024;
// Files known to be missing (or present) while their folder is unchanged.
constexpr qsizetype MaxKnownPaths = 100'000;
// A file changed this recently may change again within the same timestamp tick
// without its stamp changing; such a file is read again next time.
constexpr qint64 RacyWindowNs = 50'000'000;
// The fold of a large file runs less often than the timer, so it never takes more
// than about a twentieth of the time; the journal is made durable in between.
constexpr qint64 FoldCostFactor = 20;
constexpr qint64 MaxFoldIntervalMs = 60'000;
// A large file is folded once its unfolded lines reach this share of it (1/16), or
// when the oldest of them has waited this long; a fold copies this much per turn.
constexpr qint64 FoldGrowthShare = 16;
constexpr qint64 SmallFoldFile = 1024 * 1024; // folded whenever the interval has passed
constexpr qint64 MaxJournalAgeMs = 10 * 60'000;
constexpr qint64 FoldStepBytes = 4 * 1024 * 1024;

std::unique_ptr<Storage> g_instance;
Storage::Reporter g_reporter;

QByteArray nativePath(const QString &path)
{
    return QFile::encodeName(path);
}

Storage::Stamp stampFrom(const struct stat &st)
{
    Storage::Stamp stamp;
    stamp.size = st.st_size;
    stamp.mtimeNs = qint64(st.st_mtim.tv_sec) * 1'000'000'000 + st.st_mtim.tv_nsec;
    stamp.ctimeNs = qint64(st.st_ctim.tv_sec) * 1'000'000'000 + st.st_ctim.tv_nsec;
    stamp.inode = st.st_ino;
    stamp.device = st.st_dev;
    return stamp;
}

bool isRacy(const Storage::Stamp &stamp)
{
    timespec now{};
    clock_gettime(CLOCK_REALTIME, &now);
    const qint64 nowNs = qint64(now.tv_sec) * 1'000'000'000 + now.tv_nsec;
    return nowNs - std::max(stamp.mtimeNs, stamp.ctimeNs) < RacyWindowNs;
}

QString errnoText(int error)
{
    return QString::fromLocal8Bit(std::strerror(error));
}

// Reads a regular file whole; false with errno set when it cannot be opened or read.
bool readWhole(const QByteArray &native, qint64 sizeHint, QByteArray &out)
{
    const int fd = ::open(native.constData(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0)
        return false;
    out.clear();
    out.reserve(qsizetype(sizeHint) + 1);
    char buffer[65536];
    for (;;) {
        if (out.size() < out.capacity()) {
            // Read straight into the array while the hint holds.
            const qsizetype old = out.size();
            out.resize(out.capacity());
            const ssize_t got = ::read(fd, out.data() + old, size_t(out.size() - old));
            if (got < 0) {
                if (errno == EINTR) {
                    out.resize(old);
                    continue;
                }
                const int saved = errno;
                ::close(fd);
                errno = saved;
                return false;
            }
            out.resize(old + got);
            if (got == 0)
                break;
            continue;
        }
        const ssize_t got = ::read(fd, buffer, sizeof buffer);
        if (got < 0) {
            if (errno == EINTR)
                continue;
            const int saved = errno;
            ::close(fd);
            errno = saved;
            return false;
        }
        if (got == 0)
            break;
        out.append(buffer, got);
    }
    ::close(fd);
    return true;
}

bool makeParent(const QString &path, QString *error)
{
    const QString parent = QFileInfo(path).absolutePath();
    if (QFileInfo(parent).isDir() || QDir().mkpath(parent))
        return true;
    if (error)
        *error = QStringLiteral("cannot create folder %1").arg(parent);
    return false;
}

void syncFolderOf(const QString &path)
{
    const int fd = ::open(nativePath(QFileInfo(path).absolutePath()).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return;
    ::fsync(fd);
    ::close(fd);
}

bool writeAllFd(int fd, const char *data, qsizetype size)
{
    while (size > 0) {
        const ssize_t done = ::write(fd, data, size_t(size));
        if (done < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        data += done;
        size -= done;
    }
    return true;
}

// Strict UTF-8 check: true only when there is at least one multi-byte sequence and
// every sequence is well formed (no overlong forms, no surrogates, at most U+10FFFF).
// Russian text in Windows-1251 almost never passes: its small letters are lead bytes
// of three-byte sequences that would need two continuation bytes after them.
bool isMultiByteUtf8(const QByteArray &bytes)
{
    const auto *p = reinterpret_cast<const unsigned char *>(bytes.constData());
    const qsizetype n = bytes.size();
    bool multiByte = false;
    qsizetype i = 0;
    while (i < n) {
        const unsigned char c = p[i];
        if (c < 0x80) {
            ++i;
            continue;
        }
        int extra = 0;
        quint32 code = 0;
        if (c >= 0xC2 && c <= 0xDF) {
            extra = 1;
            code = c & 0x1F;
        } else if (c >= 0xE0 && c <= 0xEF) {
            extra = 2;
            code = c & 0x0F;
        } else if (c >= 0xF0 && c <= 0xF4) {
            extra = 3;
            code = c & 0x07;
        } else {
            return false;
        }
        if (i + extra >= n)
            return false;
        for (int k = 1; k <= extra; ++k) {
            const unsigned char d = p[i + k];
            if ((d & 0xC0) != 0x80)
                return false;
            code = (code << 6) | (d & 0x3F);
        }
        if ((extra == 2 && (code < 0x800 || (code >= 0xD800 && code <= 0xDFFF))) ||
            (extra == 3 && (code < 0x10000 || code > 0x10FFFF)))
            return false;
        multiByte = true;
        i += extra + 1;
    }
    return multiByte;
}

// The encoding of a file too large to read whole for an append: a BOM at its start, else
// the valid UTF-8 in its last part (whose first bytes may be a cut sequence).
constexpr qint64 SniffWhole = 1024 * 1024;
constexpr qint64 SniffTail = 64 * 1024;

bool preadAll(int fd, char *data, qint64 size, qint64 offset)
{
    while (size > 0) {
        const ssize_t got = ::pread(fd, data, size_t(size), offset);
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0)
            return false;
        data += got;
        size -= got;
        offset += got;
    }
    return true;
}

Storage::Encoding sniffEncoding(int fd, qint64 size)
{
    if (size <= 0)
        return Storage::Encoding::Cp1251;
    if (size <= SniffWhole) {
        QByteArray bytes(size, Qt::Uninitialized);
        if (!preadAll(fd, bytes.data(), size, 0))
            return Storage::Encoding::Cp1251;
        return Storage::encodingOf(bytes);
    }
    char bom[3];
    if (preadAll(fd, bom, 3, 0) && QByteArrayView(bom, 3) == QByteArrayView("\xEF\xBB\xBF"))
        return Storage::Encoding::Utf8Bom;
    QByteArray tail(SniffTail, Qt::Uninitialized);
    if (!preadAll(fd, tail.data(), SniffTail, size - SniffTail))
        return Storage::Encoding::Cp1251;
    qsizetype cut = 0;
    while (cut < 3 && (quint8(tail.at(cut)) & 0xC0) == 0x80)
        ++cut;
    return isMultiByteUtf8(tail.mid(cut)) ? Storage::Encoding::Utf8 : Storage::Encoding::Cp1251;
}

bool isAscii(QStringView text)
{
    for (const QChar c : text) {
        if (c.unicode() >= 0x80)
            return false;
    }
    return true;
}

constexpr int bit(Storage::Problem problem)
{
    return 1 << int(problem);
}

QString problemText(Storage::Problem problem)
{
    switch (problem) {
    case Storage::Problem::Read:
        return QStringLiteral("cannot read");
    case Storage::Problem::Write:
        return QStringLiteral("cannot write");
    case Storage::Problem::Append:
        return QStringLiteral("cannot append to");
    case Storage::Problem::Remove:
        return QStringLiteral("cannot delete");
    case Storage::Problem::KeptUnreadable:
        return QStringLiteral("kept unchanged, it cannot be read:");
    case Storage::Problem::Damaged:
        return QStringLiteral("dropped a damaged part of");
    case Storage::Problem::BadLine:
        return QStringLiteral("cannot parse a line of");
    }
    return {};
}

quint32 checksum(const char *data, qsizetype size)
{
    quint32 hash = 2166136261u; // FNV-1a
    for (qsizetype i = 0; i < size; ++i) {
        hash ^= quint8(data[i]);
        hash *= 16777619u;
    }
    return hash;
}

} // namespace

// --- the journal of a newest-first file -----------------------------------------------
//
// New lines go to "<file>.journal", oldest first, each framed as
//   "+" <length> " " <checksum, hex> LF <the line's bytes>
// so a record cut by a power loss (or filled with zeros) is recognised and dropped
// together with anything after it. A fold writes the newest-first file anew exactly as
// one rewrite per line would have (each line on top, the previous content, one CR LF
// more per rewrite of a non-empty file), after appending the marker
//   "=" <size of the folded file> LF
// to the journal: a journal still found with its marker after a crash was folded when
// the file already has that size, and is folded again otherwise. Appends are not
// synced; the timer syncs the small journal about once a second.
//
// The background fold copies the old file into the new one a few MiB per turn of the
// event loop, so the bot never stops for it. Lines that arrive meanwhile go on to the
// journal after the marker and stay unfolded: after the commit the journal is replaced
// by one that holds just them (until then the marker says which records the file has
// taken in). The lines not yet in the file are kept in memory as well, so readers see
// them on top of the file without waiting for any fold.
class Storage::Journal
{
public:
    Journal(Storage &storage, QString path, bool ownerOnly)
        : m_storage(storage)
        , m_path(std::move(path))
        , m_journalPath(Storage::journalPath(m_path))
        , m_ownerOnly(ownerOnly)
    {
        m_sinceFold.start();
        if (QFileInfo(m_journalPath).isFile())
            recover();
    }
    ~Journal()
    {
        if (m_out)
            m_out->cancelWriting();
        closeFd();
    }

    void add(const QByteArray &line)
    {
        if (m_broken) {
            prependDirectly(line);
            return;
        }
        if (!openFd())
            return prependDirectly(line);
        const QByteArray record = frame(line);
        if (!writeAllFd(m_fd, record.constData(), record.size())) {
            const int error = errno;
            // A record cut short would hide every record after it.
            ::ftruncate(m_fd, m_journalSize);
            m_storage.report(Problem::Append, m_journalPath, errnoText(error));
            return;
        }
        m_journalSize += record.size();
        m_storage.resolved(Problem::Append, m_journalPath);
        if (m_records.isEmpty())
            m_sinceFold.restart();
        m_records.append(line);
        m_recordBytes += line.size();
        ++m_version;
        m_unsynced = true;
    }

    bool hasRecords() const { return !m_records.isEmpty(); }
    bool folding() const { return m_out != nullptr; }
    // Not in the file yet, oldest first.
    const QList<QByteArray> &records() const { return m_records; }

    void tick()
    {
        if (m_unsynced && m_fd >= 0) {
            ::fdatasync(m_fd);
            m_unsynced = false;
        }
        if (folding() || m_records.isEmpty())
            return;
        const qint64 interval =
            std::clamp(FoldCostFactor * m_foldCostMs, qint64(m_storage.m_tickMs), MaxFoldIntervalMs);
        const qint64 age = m_sinceFold.elapsed();
        const std::optional<Stamp> stamp = stampOf(m_path);
        const qint64 fileSize = stamp ? stamp->size : 0;
        if (Storage::foldDue(m_recordBytes, fileSize, age, interval))
            startBackgroundFold();
    }

    // Folds everything now: the fold under way, then the lines that came after it.
    bool fold()
    {
        if (m_journalStale && !folding())
            tidyJournal();
        while (folding())
            step(std::numeric_limits<qint64>::max());
        if (m_records.isEmpty())
            return true;
        if (!startFold())
            return false;
        while (folding())
            step(std::numeric_limits<qint64>::max());
        return m_records.isEmpty();
    }

    // The file goes away: its unfolded lines and any fold under way go with it.
    bool drop()
    {
        const bool had = !m_records.isEmpty();
        if (m_out) {
            m_out->cancelWriting();
            m_out.reset();
            m_old.reset();
        }
        if (m_stepTimer)
            m_stepTimer->stop();
        m_journalStale = false;
        closeFd();
        ::unlink(nativePath(m_journalPath).constData());
        m_records.clear();
        m_recordBytes = 0;
        m_journalSize = 0;
        ++m_version;
        return had;
    }

    // What a reader of the file sees: the unfolded lines on top of the file's bytes,
    // as the fold will leave them. Small results are kept until a line or the file
    // changes.
    Entry *view(const QByteArray &fileBytes, const Stamp &fileStamp)
    {
        if (m_viewValid && m_viewVersion == m_version && m_viewStamp == fileStamp &&
            m_viewFile.constData() == fileBytes.constData() && m_viewFile.size() == fileBytes.size())
            return &m_view;
        QByteArray bytes;
        bytes.reserve(fileBytes.size() + m_recordBytes + 2 * m_records.size());
        for (qsizetype i = m_records.size() - 1; i >= 0; --i)
            bytes += m_records.at(i);
        bytes += fileBytes;
        const qint64 lineEnds = fileBytes.isEmpty() ? m_records.size() - 1 : m_records.size();
        if (lineEnds > 0)
            bytes += QByteArray("\r\n").repeated(lineEnds);
        if (bytes.size() > MaxCachedFile) {
            // Too large to keep: handed out once, like a large file.
            m_viewValid = false;
            m_view = Entry{};
            m_viewFile.clear();
            static Entry large;
            large = Entry{};
            large.stamp = fileStamp;
            large.racy = true;
            large.bytes = std::move(bytes);
            large.transient = true;
            return &large;
        }
        m_view = Entry{};
        m_view.stamp = fileStamp;
        m_view.bytes = std::move(bytes);
        m_viewValid = true;
        m_viewVersion = m_version;
        m_viewStamp = fileStamp;
        m_viewFile = fileBytes;
        return &m_view;
    }

    // Valid records still to fold, oldest first. validEnd: where the valid part ends.
    static QList<QByteArray> parse(const QByteArray &bytes, qint64 fileSize, qsizetype &validEnd)
    {
        QList<QByteArray> pending;
        qsizetype pos = 0;
        const qsizetype n = bytes.size();
        while (pos < n) {
            const qsizetype lineFeed = bytes.indexOf('\n', pos);
            if (lineFeed < 0)
                break;
            const QByteArray header = bytes.mid(pos + 1, lineFeed - pos - 1);
            if (bytes.at(pos) == '=') {
                bool ok = false;
                const qint64 size = header.toLongLong(&ok);
                if (!ok)
                    break;
                if (size == fileSize)
                    pending.clear(); // folded before the previous run ended
                pos = lineFeed + 1;
                continue;
            }
            if (bytes.at(pos) != '+')
                break;
            const qsizetype blank = header.indexOf(' ');
            bool lengthOk = false;
            bool sumOk = false;
            const qint64 length = header.left(blank).toLongLong(&lengthOk);
            const quint32 sum = header.mid(blank + 1).toUInt(&sumOk, 16);
            // Compared against what is left, so no length can overflow the sum.
            if (blank < 0 || !lengthOk || !sumOk || length < 0 || length > n - (lineFeed + 1))
                break;
            const char *data = bytes.constData() + lineFeed + 1;
            if (checksum(data, length) != sum)
                break;
            pending.append(QByteArray(data, length));
            pos = lineFeed + 1 + length;
        }
        validEnd = pos;
        return pending;
    }

private:
    static QByteArray frame(const QByteArray &line)
    {
        return '+' + QByteArray::number(line.size()) + ' ' +
               QByteArray::number(checksum(line.constData(), line.size()), 16) + '\n' + line;
    }

    // A journal a previous run left: its valid records are taken in and folded at once.
    void recover()
    {
        QFile journal(m_journalPath);
        if (!journal.open(QIODevice::ReadOnly)) {
            // What it holds cannot be taken in, so it is left alone.
            m_storage.report(Problem::Read, m_journalPath, journal.errorString());
            m_broken = true;
            return;
        }
        const QByteArray bytes = journal.readAll();
        journal.close();
        const std::optional<Stamp> stamp = stampOf(m_path);
        qsizetype validEnd = 0;
        m_records = parse(bytes, stamp ? stamp->size : 0, validEnd);
        for (const QByteArray &record : std::as_const(m_records))
            m_recordBytes += record.size();
        ++m_version;
        // A torn or damaged tail is cut off before anything is appended after it; what
        // came before it is folded as usual.
        if (validEnd != bytes.size()) {
            m_storage.report(Problem::Damaged, m_journalPath,
                             QStringLiteral("повреждённая запись с байта %1 отброшена (%2 байт)")
                                 .arg(validEnd)
                                 .arg(bytes.size() - validEnd));
            ::truncate(nativePath(m_journalPath).constData(), validEnd);
        }
        m_journalSize = validEnd;
        if (m_records.isEmpty())
            removeJournal();
        else
            fold();
    }

public:
    void startBackgroundFold()
    {
        if (folding())
            return;
        if (!startFold())
            return;
        if (!QCoreApplication::instance()) {
            fold();
            return;
        }
        if (!m_stepTimer) {
            m_stepTimer = std::make_unique<QTimer>();
            m_stepTimer->setInterval(0);
            QObject::connect(m_stepTimer.get(), &QTimer::timeout, [this] {
                if (folding())
                    step(FoldStepBytes);
                else if (m_journalStale)
                    tidyJournal();
                if (!folding() && !m_journalStale)
                    m_stepTimer->stop();
            });
        }
        m_stepTimer->start();
    }

private:

    // Writes the marker and the new lines, and opens the old file for the copy.
    bool startFold()
    {
        if (m_journalStale)
            tidyJournal();
        if (m_records.isEmpty() || m_broken)
            return true;
        QElapsedTimer cost;
        cost.start();
        struct stat st{};
        const bool exists = ::stat(nativePath(m_path).constData(), &st) == 0;
        if (exists && !S_ISREG(st.st_mode)) {
            m_storage.report(Problem::KeptUnreadable, m_path, QStringLiteral("not a regular file"));
            return false;
        }
        const qint64 oldSize = exists ? qint64(st.st_size) : 0;
        auto old = std::make_unique<QFile>(m_path);
        if (exists && !old->open(QIODevice::ReadOnly)) {
            m_storage.report(Problem::KeptUnreadable, m_path, old->errorString());
            return false;
        }
        const qsizetype count = m_records.size();
        const qint64 lineEnds = oldSize > 0 ? count : count - 1;
        qint64 newSize = oldSize + 2 * lineEnds;
        for (qsizetype i = 0; i < count; ++i)
            newSize += m_records.at(i).size();

        if (!openFd())
            return false;
        const QByteArray marker = '=' + QByteArray::number(newSize) + '\n';
        if (!writeAllFd(m_fd, marker.constData(), marker.size()) || ::fdatasync(m_fd) != 0) {
            m_storage.report(Problem::Append, m_journalPath, errnoText(errno));
            ::ftruncate(m_fd, m_journalSize);
            return false;
        }
        m_journalSize += marker.size();
        m_unsynced = false;

        QString error;
        auto out = std::make_unique<QSaveFile>(m_path);
        bool ok = makeParent(m_path, &error);
        if (ok && !out->open(QIODevice::WriteOnly)) {
            error = out->errorString();
            ok = false;
        }
        if (ok && m_ownerOnly)
            out->setPermissions(QFile::ReadOwner | QFile::WriteOwner);
        for (qsizetype i = count - 1; ok && i >= 0; --i)
            ok = out->write(m_records.at(i)) == m_records.at(i).size();
        if (!ok) {
            if (error.isEmpty())
                error = out->errorString();
            out->cancelWriting();
            return failFold(error);
        }
        m_old = exists && oldSize > 0 ? std::move(old) : nullptr;
        m_out = std::move(out);
        m_oldStamp = exists ? std::optional<Stamp>(stampFrom(st)) : std::nullopt;
        m_foldCount = count;
        m_foldLineEnds = lineEnds;
        m_copyDone = false;
        m_dataSynced = false;
        m_started = 0;
        m_synced = 0;
        m_foldCostMs = cost.elapsed();
        return true;
    }

    // Copies up to about budget bytes of the old file; commits when all is copied.
    void step(qint64 budget)
    {
        if (!m_out)
            return;
        const bool background = budget != std::numeric_limits<qint64>::max();
        QElapsedTimer cost;
        cost.start();
        bool ok = true;
        if (!m_copyDone) {
            qint64 done = 0;
            while (ok && m_old && !m_old->atEnd() && done < budget) {
                const QByteArray chunk = m_old->read(std::min<qint64>(budget - done, 1 << 20));
                if (chunk.isEmpty()) {
                    ok = m_old->error() == QFileDevice::NoError && m_old->atEnd();
                    break;
                }
                ok = m_out->write(chunk) == chunk.size();
                done += chunk.size();
            }
            if (ok && (!m_old || m_old->atEnd())) {
                // The line ends of the rewrites go last.
                if (m_foldLineEnds > 0)
                    ok = m_out->write(QByteArray("\r\n").repeated(m_foldLineEnds)) == 2 * m_foldLineEnds;
                m_copyDone = true;
            }
            if (ok && background && (ok = m_out->flush())) {
                // This turn's part starts going to the disk now, and the part the
                // previous turn started is waited for: the commit's sync then finds
                // little left to write, and no turn waits for the whole file.
                const int fd = m_out->handle();
                const qint64 end = m_out->pos();
                if (m_started > m_synced)
                    ::sync_file_range(fd, m_synced, m_started - m_synced,
                                      SYNC_FILE_RANGE_WAIT_BEFORE | SYNC_FILE_RANGE_WRITE |
                                          SYNC_FILE_RANGE_WAIT_AFTER);
                m_synced = m_started;
                if (end > m_started)
                    ::sync_file_range(fd, m_started, end - m_started, SYNC_FILE_RANGE_WRITE);
                m_started = end;
            }
            if (!ok) {
                const QString error = m_out->errorString();
                m_out->cancelWriting();
                failFold(error);
                return;
            }
            if (!m_copyDone || background) {
                m_foldCostMs += cost.elapsed();
                return;
            }
        } else if (background && m_started > m_synced) {
            ::sync_file_range(m_out->handle(), m_synced, m_started - m_synced,
                              SYNC_FILE_RANGE_WAIT_BEFORE | SYNC_FILE_RANGE_WRITE | SYNC_FILE_RANGE_WAIT_AFTER);
            m_synced = m_started;
            m_foldCostMs += cost.elapsed();
            return;
        } else if (background && !m_dataSynced) {
            // The file's own sync gets a turn of its own; the commit's then has
            // next to nothing left.
            ::fdatasync(m_out->handle());
            m_dataSynced = true;
            m_foldCostMs += cost.elapsed();
            return;
        }
        commit(background);
        m_foldCostMs += cost.elapsed();
    }

    void commit(bool background)
    {
        if (!m_out->flush()) {
            const QString error = m_out->errorString();
            m_out->cancelWriting();
            failFold(error);
            return;
        }
        if (stampOf(m_path) != m_oldStamp) {
            // Someone changed the file while it was copied: its new content is kept and
            // folded into by a later fold.
            m_out->cancelWriting();
            failFold(QString(), false);
            return;
        }
        if (!m_out->commit()) {
            failFold(m_out->errorString());
            return;
        }
        m_out.reset();
        m_old.reset();
        if (m_ownerOnly)
            QFile::setPermissions(m_path, QFile::ReadOwner | QFile::WriteOwner);
        m_storage.invalidate(m_path);
        m_storage.resolved(Problem::Write, m_path);
        syncFolderOf(m_path);

        for (qsizetype i = 0; i < m_foldCount; ++i)
            m_recordBytes -= m_records.at(i).size();
        m_records.remove(0, m_foldCount);
        m_foldCount = 0;
        ++m_version;
        // Until the journal is replaced, its marker tells which records the file holds;
        // in the background that waits for a turn of its own.
        m_journalStale = true;
        if (!background)
            tidyJournal();
        m_sinceFold.restart();
    }

    void tidyJournal()
    {
        m_journalStale = false;
        if (m_records.isEmpty())
            removeJournal();
        else
            rewriteJournal(); // on failure the marker still tells the folded ones
    }

    bool failFold(const QString &error, bool reported = true)
    {
        m_out.reset();
        m_old.reset();
        m_foldCount = 0;
        if (reported)
            m_storage.report(Problem::Write, m_path, error);
        // The marker goes, so that it cannot be taken for this file's size later.
        rewriteJournal();
        m_sinceFold.restart();
        return false;
    }

    // Replaces the journal by one that holds just the unfolded records.
    bool rewriteJournal()
    {
        closeFd();
        QSaveFile journal(m_journalPath);
        if (!journal.open(QIODevice::WriteOnly))
            return false;
        if (m_ownerOnly)
            journal.setPermissions(QFile::ReadOwner | QFile::WriteOwner);
        qint64 size = 0;
        bool ok = true;
        for (const QByteArray &record : std::as_const(m_records)) {
            const QByteArray framed = frame(record);
            ok = ok && journal.write(framed) == framed.size();
            size += framed.size();
        }
        if (!ok || !journal.flush()) {
            journal.cancelWriting();
            return false;
        }
        if (!journal.commit())
            return false;
        syncFolderOf(m_journalPath);
        m_journalSize = size;
        m_unsynced = false;
        return true;
    }

    void removeJournal()
    {
        closeFd();
        if (::unlink(nativePath(m_journalPath).constData()) != 0 && errno != ENOENT) {
            // A journal that can neither go nor be emptied would be folded twice.
            if (::truncate(nativePath(m_journalPath).constData(), 0) != 0) {
                m_storage.report(Problem::Remove, m_journalPath, errnoText(errno));
                m_broken = true;
            }
        }
        m_journalSize = 0;
        m_unsynced = false;
    }

    bool openFd()
    {
        if (m_fd >= 0)
            return true;
        QString error;
        if (!makeParent(m_journalPath, &error)) {
            m_storage.report(Problem::Append, m_journalPath, error);
            return false;
        }
        m_fd = ::open(nativePath(m_journalPath).constData(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC,
                      m_ownerOnly ? 0600 : 0666);
        if (m_fd < 0) {
            m_storage.report(Problem::Append, m_journalPath, errnoText(errno));
            return false;
        }
        if (m_ownerOnly)
            ::fchmod(m_fd, 0600);
        struct stat st{};
        if (::fstat(m_fd, &st) == 0)
            m_journalSize = st.st_size;
        return true;
    }

    void closeFd()
    {
        if (m_fd >= 0)
            ::close(m_fd);
        m_fd = -1;
    }

    // Without a journal: the whole file rewritten per line, as before.
    void prependDirectly(const QByteArray &line)
    {
        ReadState state;
        const QByteArray previous = m_storage.bytes(m_path, &state);
        if (state == ReadState::Unreadable)
            return;
        QByteArray log = line;
        if (!previous.isEmpty())
            log += previous + "\r\n";
        QString error;
        m_storage.rewrite(m_path, log, m_ownerOnly, &error);
    }

    Storage &m_storage;
    QString m_path;
    QString m_journalPath;
    bool m_ownerOnly = false;
    int m_fd = -1;
    qint64 m_journalSize = 0;
    bool m_unsynced = false;
    bool m_broken = false;
    QList<QByteArray> m_records; // not in the file yet, oldest first
    qint64 m_recordBytes = 0;
    quint64 m_version = 0;
    QElapsedTimer m_sinceFold;
    qint64 m_foldCostMs = 0;

    // The fold under way.
    std::unique_ptr<QSaveFile> m_out;
    std::unique_ptr<QFile> m_old;
    std::optional<Stamp> m_oldStamp;
    qsizetype m_foldCount = 0;
    qint64 m_foldLineEnds = 0;
    bool m_copyDone = false;
    bool m_dataSynced = false;
    bool m_journalStale = false; // still holds the records the file took in
    qint64 m_started = 0; // written out up to here
    qint64 m_synced = 0;  // and on the disk up to here
    std::unique_ptr<QTimer> m_stepTimer;

    // What readers saw last.
    Entry m_view;
    bool m_viewValid = false;
    quint64 m_viewVersion = 0;
    Stamp m_viewStamp;
    QByteArray m_viewFile;
};

// --- the layer ------------------------------------------------------------------------

Storage::Storage()
{
    static quint64 instances = 0;
    m_generation = ++instances;
}

bool Storage::isRecent(const Stamp &stamp)
{
    return isRacy(stamp);
}

Storage::~Storage()
{
    delete m_notifier;
    if (m_inotify >= 0)
        ::close(m_inotify);
}

Storage &Storage::instance()
{
    if (!g_instance) {
        g_instance.reset(new Storage);
        if (QCoreApplication *app = QCoreApplication::instance())
            QObject::connect(app, &QCoreApplication::aboutToQuit, g_instance.get(), &Storage::flushAll);
    }
    return *g_instance;
}

void Storage::discard()
{
    if (!g_instance)
        return;
    // A killed process leaves its journals as they are.
    g_instance->m_pending.clear();
    g_instance.reset();
}

std::optional<Storage::Stamp> Storage::stampOf(const QString &path)
{
    struct stat st{};
    if (::stat(nativePath(path).constData(), &st) != 0 || !S_ISREG(st.st_mode))
        return std::nullopt;
    return stampFrom(st);
}

QList<QByteArray> Storage::unfoldedLines(const QString &path)
{
    if (auto it = m_journals.find(path); it != m_journals.end()) {
        QList<QByteArray> records = it->second->records();
        std::reverse(records.begin(), records.end());
        return records;
    }
    QFile journal(journalPath(path));
    if (!journal.open(QIODevice::ReadOnly))
        return {};
    const QByteArray bytes = journal.readAll();
    const std::optional<Stamp> stamp = stampOf(path);
    qsizetype validEnd = 0;
    QList<QByteArray> records = Journal::parse(bytes, stamp ? stamp->size : 0, validEnd);
    std::reverse(records.begin(), records.end());
    return records;
}

void Storage::foldInBackground(const QString &path)
{
    if (auto it = m_journals.find(path); it != m_journals.end() && it->second->hasRecords())
        it->second->startBackgroundFold();
}

bool Storage::isFolding(const QString &path) const
{
    auto it = m_journals.find(path);
    return it != m_journals.end() && it->second->folding();
}

bool Storage::foldDue(qint64 unfoldedBytes, qint64 fileSize, qint64 ageMs, qint64 intervalMs)
{
    if (unfoldedBytes <= 0 && ageMs < MaxJournalAgeMs)
        return false;
    // A large file is rewritten only once its journal has grown by a fixed share of it,
    // so a line costs the same however large the file is.
    const bool grown = fileSize <= SmallFoldFile || unfoldedBytes * FoldGrowthShare >= fileSize;
    return (grown && ageMs >= intervalMs) || ageMs >= MaxJournalAgeMs;
}

QString Storage::journalPath(const QString &path)
{
    return path + QStringLiteral(".journal");
}

Storage::Entry *Storage::lookup(const QString &path, ReadState &state)
{
    runDeferred(path);
    Entry *file = lookupFile(path, state);
    if (m_journals.empty() || state == ReadState::Unreadable)
        return file;
    auto it = m_journals.find(path);
    if (it == m_journals.end() || !it->second->hasRecords())
        return file;
    // The unfolded lines are read on top of the file; nothing is rewritten for a read.
    state = ReadState::Readable;
    return it->second->view(file ? file->bytes : QByteArray(), file ? file->stamp : Stamp{});
}

bool Storage::loopRunning() const
{
    return m_watcherSetUp && thread()->loopLevel() > 0;
}

quint64 Storage::currentTurn()
{
    // Outside a running event loop every read is a turn of its own.
    return loopRunning() ? m_turn : ++m_turn;
}

bool Storage::stillValid(const Entry &entry)
{
    if (entry.suspect)
        return false;
    if (entry.watch >= 0)
        return true;
    return entry.checkedTurn == currentTurn();
}

std::optional<Storage::Stamp> Storage::knownStamp(const QString &path)
{
    if (m_inotify >= 0 && !loopRunning())
        collectNotifications();
    auto it = m_cache.find(path);
    if (it != m_cache.end() && stillValid(it->second))
        return it->second.stamp;
    if (auto known = m_known.constFind(path); known != m_known.cend()) {
        if (!known->isFile)
            return std::nullopt;
        if (known->stamp.size >= 0)
            return known->stamp;
    }
    const int watch = watchFolderOf(path);
    ++m_readCalls;
    const std::optional<Stamp> stamp = stampOf(path);
    if (it != m_cache.end() && stamp == it->second.stamp && !it->second.racy) {
        it->second.suspect = false;
        it->second.watch = watch;
        it->second.checkedTurn = currentTurn();
    }
    remember(path, watch, stamp.has_value(), stamp.value_or(Stamp{}));
    return stamp;
}

bool Storage::isWatched(const QString &path)
{
    auto it = m_cache.find(path);
    if (it != m_cache.end() && it->second.watch >= 0 && stillValid(it->second))
        return true;
    return m_known.contains(path); // only watched paths are remembered
}

Storage::Entry *Storage::lookupFile(const QString &path, ReadState &state)
{
    if (m_inotify >= 0 && !loopRunning())
        collectNotifications(); // nothing else would deliver them before this read
    auto it = m_cache.find(path);
    if (it != m_cache.end() && stillValid(it->second)) {
        it->second.lastUse = ++m_useCounter;
        state = ReadState::Readable;
        return &it->second;
    }
    if (!m_known.isEmpty()) {
        if (auto known = m_known.constFind(path); known != m_known.cend() && !known->isFile) {
            state = ReadState::Missing;
            return nullptr;
        }
    }
    // Watched before the look: a change after it is notified.
    const int watch = watchFolderOf(path);
    const QByteArray native = nativePath(path);
    struct stat st{};
    ++m_readCalls;
    if (::stat(native.constData(), &st) != 0) {
        const int error = errno;
        if (it != m_cache.end()) {
            m_cachedBytes -= it->second.bytes.size();
            m_cache.erase(it);
        }
        if (error == ENOENT || error == ENOTDIR) {
            state = ReadState::Missing;
            resolved(Problem::Read, path);
            remember(path, watch, false, Stamp{});
        } else {
            state = ReadState::Unreadable;
            report(Problem::Read, path, errnoText(error));
        }
        return nullptr;
    }
    if (S_ISDIR(st.st_mode)) {
        state = ReadState::Missing;
        remember(path, watch, false, Stamp{});
        return nullptr;
    }
    if (!S_ISREG(st.st_mode)) {
        // A pipe or a device: opening it could block the bot for good.
        state = ReadState::Unreadable;
        report(Problem::Read, path, QStringLiteral("not a regular file"));
        return nullptr;
    }
    const Stamp stamp = stampFrom(st);
    if (it != m_cache.end() && !it->second.racy && it->second.stamp == stamp) {
        Entry &entry = it->second;
        entry.lastUse = ++m_useCounter;
        entry.suspect = false;
        entry.checkedTurn = currentTurn();
        entry.watch = watch;
        if (watch >= 0)
            m_dependents[watch].insert(path);
        state = ReadState::Readable;
        return &entry;
    }
    QByteArray bytes;
    m_readCalls += 3; // open, read, close (more for a large file)
    if (!readWhole(native, stamp.size, bytes)) {
        state = ReadState::Unreadable;
        report(Problem::Read, path, errnoText(errno));
        return nullptr;
    }
    resolved(Problem::Read, path);
    state = ReadState::Readable;
    store(path, stamp, bytes, watch);
    it = m_cache.find(path);
    if (it != m_cache.end())
        return &it->second;
    // Too large to keep: handed out once through an entry that the next read replaces.
    static Entry transient;
    transient = Entry{};
    transient.stamp = stamp;
    transient.racy = true;
    transient.bytes = bytes;
    transient.transient = true;
    return &transient;
}

void Storage::store(const QString &path, const Stamp &stamp, const QByteArray &bytes, int watch)
{
    Entry entry;
    if (auto it = m_cache.find(path); it != m_cache.end()) {
        // Unchanged content (a file read again while its stamp was too recent to
        // trust) keeps its decoded text, so its users see the same shared text.
        if (it->second.bytes == bytes) {
            entry.text = std::move(it->second.text);
            entry.lines = std::move(it->second.lines);
            entry.encoding = it->second.encoding;
        }
        m_cachedBytes -= it->second.bytes.size();
        m_cache.erase(it);
    }
    remember(path, watch, true, stamp);
    if (bytes.size() > MaxCachedFile)
        return;
    entry.stamp = stamp;
    entry.racy = isRacy(stamp);
    entry.bytes = bytes;
    entry.lastUse = ++m_useCounter;
    entry.watch = watch;
    entry.checkedTurn = currentTurn();
    m_cachedBytes += bytes.size();
    m_cache.emplace(path, std::move(entry));
    evict();
}

void Storage::remember(const QString &path, int watch, bool isFile, const Stamp &stamp)
{
    if (watch < 0) {
        m_known.remove(path);
        return;
    }
    if (m_known.size() >= MaxKnownPaths)
        m_known.clear(); // asked again; nothing is lost but a system call
    m_known.insert(path, Known{isFile, stamp});
    m_dependents[watch].insert(path);
}

// --- notifications of changes on disk ----------------------------------------------

namespace {

bool remoteFileSystem(const QByteArray &folder)
{
    struct statfs fs{};
    if (::statfs(folder.constData(), &fs) != 0)
        return true;
    switch (quint32(fs.f_type)) {
    case 0x6969:     // NFS
    case 0x517B:     // SMB
    case 0xFF534D42: // CIFS
    case 0xFE534D42: // SMB2
    case 0x65735546: // FUSE
    case 0x01021997: // 9P
    case 0x00C36400: // Ceph
    case 0x5346414F: // AFS
    case 0x73757245: // Coda
    case 0x564C:     // NCP
        // Changes made on another machine are not notified here.
        return true;
    default:
        return false;
    }
}

QString parentOf(const QString &path)
{
    const qsizetype slash = path.lastIndexOf(QLatin1Char('/'));
    if (slash < 0)
        return {};
    return slash == 0 ? QStringLiteral("/") : path.left(slash);
}

bool g_notifications = true;

} // namespace

void Storage::setNotificationsForTest(bool on)
{
    g_notifications = on;
}

void Storage::ensureWatcher()
{
    if (m_watcherSetUp)
        return;
    QCoreApplication *app = QCoreApplication::instance();
    if (!app || QThread::currentThread() != app->thread() || thread() != app->thread())
        return; // no event loop to deliver anything: every read looks
    QAbstractEventDispatcher *dispatcher = QAbstractEventDispatcher::instance(thread());
    if (!dispatcher)
        return;
    m_watcherSetUp = true;
    connect(dispatcher, &QAbstractEventDispatcher::awake, this, [this] { ++m_turn; });
    if (!g_notifications)
        return;
    m_inotify = ::inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    if (m_inotify < 0)
        return;
    m_notifier = new QSocketNotifier(m_inotify, QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, &Storage::collectNotifications);
}

int Storage::watchFolderOf(const QString &path)
{
    ensureWatcher();
    if (m_inotify < 0)
        return -1;
    QString folder = parentOf(path);
    // A missing folder: its nearest existing ancestor tells when it appears.
    while (!folder.isEmpty()) {
        if (auto it = m_watchOf.constFind(folder); it != m_watchOf.cend())
            return it.value();
        const QByteArray native = nativePath(folder);
        ++m_readCalls;
        const int watch = ::inotify_add_watch(m_inotify, native.constData(),
                                              IN_MODIFY | IN_ATTRIB | IN_CLOSE_WRITE | IN_CREATE | IN_DELETE |
                                                  IN_MOVED_FROM | IN_MOVED_TO | IN_DELETE_SELF | IN_MOVE_SELF |
                                                  IN_ONLYDIR);
        if (watch < 0) {
            if ((errno == ENOENT || errno == ENOTDIR) && folder != QLatin1String("/")) {
                folder = parentOf(folder);
                continue;
            }
            // The watch limit, a folder we may not read: such files are looked at instead.
            m_watchOf.insert(folder, -1);
            return -1;
        }
        if (m_folderOf.contains(watch) || remoteFileSystem(native)) {
            // The same folder under another name, or one whose changes may come from
            // elsewhere unseen.
            if (!m_folderOf.contains(watch))
                ::inotify_rm_watch(m_inotify, watch);
            m_watchOf.insert(folder, -1);
            return -1;
        }
        m_watchOf.insert(folder, watch);
        m_folderOf.insert(watch, folder);
        return watch;
    }
    return -1;
}

void Storage::checkForChanges()
{
    if (m_inotify >= 0)
        collectNotifications();
}

void Storage::collectNotifications()
{
    alignas(struct inotify_event) char buffer[16384];
    for (;;) {
        ++m_readCalls;
        const ssize_t got = ::read(m_inotify, buffer, sizeof buffer);
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0)
            return;
        for (ssize_t at = 0; at < got;) {
            const auto *event = reinterpret_cast<const struct inotify_event *>(buffer + at);
            at += ssize_t(sizeof(struct inotify_event)) + event->len;
            if (event->mask & IN_Q_OVERFLOW) {
                forgetWatched();
                continue;
            }
            const QString name = event->len > 0 ? QFile::decodeName(event->name) : QString();
            notified(event->wd, event->mask, name);
        }
        if (got < ssize_t(sizeof buffer) / 2)
            return; // drained
    }
}

void Storage::notified(int watch, quint32 mask, const QString &name)
{
    auto dependents = m_dependents.find(watch);
    const bool folderGone = mask & (IN_IGNORED | IN_DELETE_SELF | IN_MOVE_SELF | IN_UNMOUNT);
    if (folderGone) {
        if (dependents != m_dependents.end()) {
            const QSet<QString> paths = std::move(dependents.value());
            m_dependents.erase(dependents);
            for (const QString &path : paths)
                changed(path);
        }
        if (const QString folder = m_folderOf.take(watch); !folder.isNull())
            m_watchOf.remove(folder);
        if (!(mask & IN_IGNORED))
            ::inotify_rm_watch(m_inotify, watch);
        return;
    }
    if (dependents == m_dependents.end() || name.isEmpty())
        return;
    const QString prefix = m_folderOf.value(watch) + QLatin1Char('/') + name;
    QSet<QString> &paths = dependents.value();
    if (paths.remove(prefix))
        changed(prefix);
    // A folder that appeared or went under a watched one: the files known below it.
    if (mask & IN_ISDIR || !(mask & (IN_MODIFY | IN_CLOSE_WRITE | IN_ATTRIB))) {
        const QString below = prefix + QLatin1Char('/');
        for (auto it = paths.begin(); it != paths.end();) {
            if (it->startsWith(below)) {
                changed(*it);
                it = paths.erase(it);
            } else {
                ++it;
            }
        }
    }
}

void Storage::changed(const QString &path)
{
    m_known.remove(path);
    if (auto it = m_cache.find(path); it != m_cache.end()) {
        it->second.suspect = true;
        it->second.watch = -1;
    }
}

void Storage::forgetWatched()
{
    // Notifications were lost: everything is looked at again.
    m_known.clear();
    m_dependents.clear();
    for (auto &[path, entry] : m_cache) {
        entry.suspect = true;
        entry.watch = -1;
    }
}

void Storage::evict()
{
    // Text and lines take about four times the bytes of a mostly-Cyrillic file.
    while (m_cachedBytes * 4 > CacheBudget && m_cache.size() > 1) {
        auto oldest = m_cache.begin();
        for (auto it = m_cache.begin(); it != m_cache.end(); ++it) {
            if (it->second.lastUse < oldest->second.lastUse)
                oldest = it;
        }
        m_cachedBytes -= oldest->second.bytes.size();
        m_cache.erase(oldest);
    }
}

void Storage::invalidate(const QString &path)
{
    m_known.remove(path);
    if (auto it = m_cache.find(path); it != m_cache.end()) {
        m_cachedBytes -= it->second.bytes.size();
        m_cache.erase(it);
    }
}

Storage::ReadState Storage::readState(const QString &path)
{
    ReadState state = ReadState::Missing;
    lookup(path, state);
    return state;
}

QByteArray Storage::bytes(const QString &path, ReadState *state)
{
    ReadState found = ReadState::Missing;
    const Entry *entry = lookup(path, found);
    if (state)
        *state = found;
    return entry ? entry->bytes : QByteArray();
}

Storage::Encoding Storage::encodingOf(const QByteArray &bytes)
{
    if (bytes.startsWith("\xEF\xBB\xBF"))
        return Encoding::Utf8Bom;
    return isMultiByteUtf8(bytes) ? Encoding::Utf8 : Encoding::Cp1251;
}

QByteArray Storage::encodeForRewrite(const QString &text, Encoding encoding)
{
    if (encoding == Encoding::Cp1251 || Cp1251::canEncode(text))
        return Cp1251::encode(text);
    if (encoding == Encoding::Utf8Bom)
        return "\xEF\xBB\xBF" + text.toUtf8();
    return text.toUtf8();
}

QString Storage::decode(const QByteArray &bytes, bool *converted)
{
    bool changed = false;
    QString text;
    switch (encodingOf(bytes)) {
    case Encoding::Utf8Bom:
        text = QString::fromUtf8(bytes.constData() + 3, bytes.size() - 3);
        changed = true;
        break;
    case Encoding::Utf8:
        text = QString::fromUtf8(bytes);
        changed = true;
        break;
    case Encoding::Cp1251:
        text = Cp1251::decode(bytes);
        break;
    }
    if (!text.contains(QLatin1Char('\r')) && text.contains(QLatin1Char('\n'))) {
        text.replace(QLatin1Char('\n'), QLatin1String("\r\n"));
        changed = true;
    }
    if (converted)
        *converted = changed;
    return text;
}

QString Storage::text(const QString &path, ReadState *state)
{
    ReadState found = ReadState::Missing;
    Entry *entry = lookup(path, found);
    if (state)
        *state = found;
    if (!entry)
        return {};
    return textOf(path, *entry);
}

QString Storage::textOf(const QString &path, Entry &entry)
{
    if (!entry.text) {
        bool converted = false;
        entry.text = decode(entry.bytes, &converted);
        if (converted && m_convertedLogged.value(path) != entry.stamp) {
            m_convertedLogged.insert(path, entry.stamp);
            qInfo("%s: read as a file written on Linux (UTF-8 or LF line ends)", qPrintable(path));
        }
    }
    return *entry.text;
}

QStringList Storage::lines(const QString &path, ReadState *state)
{
    ReadState found = ReadState::Missing;
    Entry *entry = lookup(path, found);
    if (state)
        *state = found;
    if (!entry)
        return {};
    const QString whole = textOf(path, *entry);
    if (entry->transient)
        return TextFile::splitLines(whole); // not kept (too large): split each time
    if (!entry->lines)
        entry->lines = TextFile::splitLines(whole);
    return *entry->lines;
}

bool Storage::rewrite(const QString &path, const QByteArray &bytes, bool ownerOnly, QString *error)
{
    flushPending(path);
    QString reason;
    const auto fail = [&](Problem problem) {
        report(problem, path, reason);
        if (error)
            *error = reason;
        return false;
    };
    struct stat st{};
    if (::stat(nativePath(path).constData(), &st) == 0) {
        if (S_ISDIR(st.st_mode)) {
            reason = QStringLiteral("%1 is a folder").arg(path);
            return fail(Problem::Write);
        }
        // What cannot be read was never taken in, so writing over it would lose it.
        bool readable = S_ISREG(st.st_mode);
        if (readable) {
            auto it = m_cache.find(path);
            if (it == m_cache.end() || it->second.stamp != stampFrom(st)) {
                const int fd = ::open(nativePath(path).constData(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
                readable = fd >= 0;
                if (fd >= 0)
                    ::close(fd);
            }
        }
        if (!readable) {
            reason = QStringLiteral("the file there cannot be read");
            return fail(Problem::KeptUnreadable);
        }
    }
    if (!makeParent(path, &reason))
        return fail(Problem::Write);
    const int watch = watchFolderOf(path);
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        reason = file.errorString();
        return fail(Problem::Write);
    }
    constexpr QFile::Permissions ownerRw = QFile::ReadOwner | QFile::WriteOwner;
    // QSaveFile copies the old file's permissions onto its temporary file; narrow them
    // before any byte is written so a password never lies in a readable file.
    if (ownerOnly)
        file.setPermissions(ownerRw);
    // write() only fills Qt's buffer; a disk that fills up shows at flush(), and
    // commit() would still put the truncated file in place.
    if (file.write(bytes) != bytes.size() || !file.flush()) {
        reason = file.errorString();
        file.cancelWriting();
        return fail(Problem::Write);
    }
    if (!file.commit()) {
        reason = file.errorString();
        return fail(Problem::Write);
    }
    if (ownerOnly && !QFile::setPermissions(path, ownerRw)) {
        reason = QStringLiteral("cannot restrict permissions of %1").arg(path);
        return fail(Problem::Write);
    }
    resolved(Problem::Write, path);
    resolved(Problem::KeptUnreadable, path);
    if (const std::optional<Stamp> stamp = stampOf(path))
        store(path, *stamp, bytes, watch);
    else
        invalidate(path);
    return true;
}

bool Storage::rewriteText(const QString &path, const QString &text, bool ownerOnly, QString *error)
{
    Encoding encoding = Encoding::Cp1251;
    if (!Cp1251::canEncode(text)) {
        // Only then does the file's own encoding matter.
        ReadState state = ReadState::Missing;
        if (const Entry *entry = lookup(path, state))
            encoding = entry->encoding ? *entry->encoding : encodingOf(entry->bytes);
    }
    return rewrite(path, encodeForRewrite(text, encoding), ownerOnly, error);
}

namespace {

// Characters encoded and written at a time by a long append.
constexpr qsizetype AppendPiece = 64 * 1024;

bool endsWithLineEnd(QByteArrayView bytes)
{
    return bytes.endsWith('\n') || bytes.endsWith('\r');
}

} // namespace

bool Storage::append(const QString &path, const QByteArray &bytes, bool ownerOnly, QString *error)
{
    bool given = false;
    return appendWith(path, ownerOnly, error, endsWithLineEnd(bytes), [&](Encoding) {
        return std::exchange(given, true) ? QByteArray() : bytes;
    });
}

bool Storage::appendText(const QString &path, QStringView text, bool ownerOnly, QString *error, bool endLine)
{
    const auto ended = [endLine](QByteArray bytes) {
        if (endLine)
            bytes.append("\r\n", 2);
        return bytes;
    };
    if (text.size() <= AppendPiece && isAscii(text))
        return append(path, ended(text.toLatin1()), ownerOnly, error); // the same bytes in either
    const bool wholeLines = endLine || text.endsWith(QLatin1Char('\n')) || text.endsWith(QLatin1Char('\r'));
    qsizetype at = 0;
    bool done = false;
    return appendWith(path, ownerOnly, error, wholeLines, [&](Encoding encoding) {
        if (done)
            return QByteArray();
        qsizetype size = std::min(AppendPiece, text.size() - at);
        if (size > 0 && at + size < text.size() && text[at + size - 1].isHighSurrogate())
            ++size; // a pair stays whole
        const QStringView piece = text.sliced(at, size);
        at += size;
        done = at >= text.size();
        // Bytes of another encoding would turn the whole file into mojibake.
        QByteArray bytes = encoding == Encoding::Cp1251 ? Cp1251::encode(piece) : piece.toUtf8();
        return done ? ended(std::move(bytes)) : bytes;
    });
}

bool Storage::appendWith(const QString &path, bool ownerOnly, QString *error, bool wholeLines,
                         const std::function<QByteArray(Encoding)> &nextPiece)
{
    flushPending(path);
    QString reason;
    const auto fail = [&](Problem problem) {
        invalidate(path);
        report(problem, path, reason);
        if (error)
            *error = reason;
        return false;
    };
    const QByteArray native = nativePath(path);
    const int flags = O_APPEND | O_CREAT | O_CLOEXEC | O_NONBLOCK;
    const mode_t mode = ownerOnly ? 0600 : 0666;
    // Read access tells how the file ends; a file we may only write is appended to as it is.
    bool canRead = true;
    int fd = ::open(native.constData(), O_RDWR | flags, mode);
    if (fd < 0 && errno == ENOENT) {
        if (!makeParent(path, &reason))
            return fail(Problem::Append);
        fd = ::open(native.constData(), O_RDWR | flags, mode);
    }
    if (fd < 0 && errno == EACCES) {
        canRead = false;
        fd = ::open(native.constData(), O_WRONLY | flags, mode);
    }
    if (fd < 0) {
        reason = errnoText(errno);
        return fail(Problem::Append);
    }
    struct stat st{};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        reason = QStringLiteral("not a regular file");
        return fail(Problem::Append);
    }
    if (ownerOnly && (st.st_mode & 0777) != 0600 && ::fchmod(fd, 0600) != 0) {
        ::close(fd);
        reason = QStringLiteral("cannot restrict permissions of %1").arg(path);
        return fail(Problem::Append);
    }
    const qint64 oldSize = st.st_size;
    const int watch = watchFolderOf(path);
    // What the layer holds of the file, when it is exactly what is there.
    // A recent stamp proves nothing by itself, but a watch that told of no change does.
    Entry *known = nullptr;
    if (auto it = m_cache.find(path); it != m_cache.end() && it->second.stamp == stampFrom(st) &&
                                      (!it->second.racy || (it->second.watch >= 0 && !it->second.suspect)))
        known = &it->second;
    // Else what the layer's own last append to it left, when nothing changed it since.
    const auto appended = known ? m_appended.cend() : m_appended.constFind(path);
    const bool ownLast = appended != m_appended.cend() && appended->stamp == stampFrom(st);
    Encoding encoding = Encoding::Cp1251;
    char last = '\n';
    if (oldSize > 0) {
        if (ownLast) {
            last = appended->last;
            encoding = appended->encoding;
        } else if (known) {
            last = known->bytes.back();
            if (!known->encoding)
                known->encoding.emplace(encodingOf(known->bytes));
            encoding = *known->encoding;
        } else if (canRead) {
            if (!preadAll(fd, &last, 1, oldSize - 1))
                last = '\n';
            encoding = sniffEncoding(fd, oldSize);
        }
    }
    QByteArray bytes = nextPiece(encoding);
    // A hand-edited last line without its line end would take the new line in. A piece
    // of a line (no line end at its end) is appended as it is.
    if (last != '\n' && last != '\r' && wholeLines && !bytes.startsWith('\r') && !bytes.startsWith('\n'))
        bytes.prepend("\r\n");
    bool written = writeAllFd(fd, bytes.constData(), bytes.size());
    int writeError = errno;
    qint64 appendedSize = bytes.size();
    bool onePiece = true;
    if (!bytes.isEmpty()) {
        for (QByteArray more = nextPiece(encoding); written && !more.isEmpty(); more = nextPiece(encoding)) {
            written = writeAllFd(fd, more.constData(), more.size());
            writeError = errno;
            appendedSize += more.size();
            last = more.back();
            onePiece = false;
        }
    }
    if (!written) {
        // A short write (a full disk) would leave half a line for the next one to glue on.
        ::ftruncate(fd, oldSize);
        ::close(fd);
        reason = errnoText(writeError);
        return fail(Problem::Append);
    }
    struct stat after{};
    const bool stamped = ::fstat(fd, &after) == 0;
    if (::close(fd) != 0) {
        const int closeError = errno;
        ::truncate(native.constData(), oldSize);
        reason = errnoText(closeError);
        return fail(Problem::Append);
    }
    resolved(Problem::Append, path);
    if (stamped) {
        // The lines before the appended ones are as they were.
        if (auto seen = m_badLineReported.find(path); seen != m_badLineReported.end() && *seen == stampFrom(st))
            *seen = stampFrom(after);
        if (m_appended.size() >= MaxKnownPaths)
            m_appended.clear();
        // Appended text that did not need the file's encoding leaves it as it was.
        m_appended.insert(path, Appended{stampFrom(after), encoding, !onePiece || bytes.isEmpty() ? last : bytes.back()});
    }
    // The layer's own write: what it holds follows without reading the file again.
    if (known && onePiece && stamped && oldSize + appendedSize == after.st_size &&
        known->bytes.size() + bytes.size() <= MaxCachedFile) {
        known->bytes += bytes;
        known->text.reset();
        known->lines.reset();
        known->stamp = stampFrom(after);
        known->racy = isRacy(known->stamp);
        known->suspect = false;
        known->watch = watch;
        known->checkedTurn = currentTurn();
        m_cachedBytes += bytes.size();
        evict();
    } else {
        invalidate(path);
    }
    remember(path, watch, true, stamped ? stampFrom(after) : Stamp{});
    return true;
}

bool Storage::isFile(const QString &path)
{
    runDeferred(path);
    if (auto it = m_journals.find(path); it != m_journals.end() && it->second->hasRecords())
        return true;
    if (m_inotify >= 0 && !loopRunning())
        collectNotifications();
    if (auto it = m_cache.find(path); it != m_cache.end() && stillValid(it->second))
        return true;
    if (auto known = m_known.constFind(path); known != m_known.cend())
        return known->isFile;
    const int watch = watchFolderOf(path);
    struct stat st{};
    ++m_readCalls;
    const bool found = ::stat(nativePath(path).constData(), &st) == 0;
    const bool missing = !found && (errno == ENOENT || errno == ENOTDIR);
    const bool isFile = found && S_ISREG(st.st_mode);
    // Only what a later read would also find is remembered: a pipe or a file that
    // cannot be looked at is not a missing file, and its read must say unreadable.
    if (isFile || missing || (found && S_ISDIR(st.st_mode)))
        remember(path, watch, isFile, isFile ? stampFrom(st) : Stamp{});
    return isFile;
}

bool Storage::remove(const QString &path)
{
    runDeferred(path);
    invalidate(path);
    // Lines not folded yet go with the file, without a rewrite first.
    bool dropped = false;
    if (auto it = m_journals.find(path); it != m_journals.end())
        dropped = it->second->drop();
    if (!QFileInfo(path).isFile())
        return dropped;
    QFile file(path);
    if (!file.remove()) {
        report(Problem::Remove, path, file.errorString());
        return false;
    }
    resolved(Problem::Remove, path);
    remember(path, watchFolderOf(path), false, Stamp{});
    return true;
}

void Storage::appendLater(const QString &path, const QString &text, bool ownerOnly)
{
    // Enough waiting for one write: memory stays small under a long burst.
    constexpr qsizetype MaxWaiting = 256 * 1024;
    auto it = m_laterAppends.find(path);
    if (it != m_laterAppends.end()) {
        it->text += text;
        it->ownerOnly = it->ownerOnly || ownerOnly;
        if (it->text.size() >= MaxWaiting)
            runDeferred(path);
        return;
    }
    m_laterAppends.insert(path, {text, ownerOnly});
    std::function<void()> write = [this, path] {
        const LaterAppend later = m_laterAppends.take(path);
        if (!later.text.isEmpty())
            appendText(path, later.text, later.ownerOnly, nullptr);
    };
    // Work another writer deferred on the file runs first, as it was registered first.
    if (auto pending = m_pending.find(path); pending != m_pending.end())
        write = [first = std::move(pending.value()), then = std::move(write)] {
            first();
            then();
        };
    m_pending.remove(path);
    defer(path, std::move(write));
}

void Storage::defer(const QString &path, std::function<void()> flush)
{
    if (!m_pending.contains(path))
        m_pending.insert(path, std::move(flush));
    ensureTimer();
}

void Storage::flushPending(const QString &path)
{
    runDeferred(path);
    if (!m_journals.empty()) {
        auto it = m_journals.find(path);
        if (it != m_journals.end() && (it->second->hasRecords() || it->second->folding()))
            it->second->fold();
    }
}

void Storage::runDeferred(const QString &path)
{
    if (!m_pending.isEmpty()) {
        auto it = m_pending.find(path);
        if (it != m_pending.end()) {
            const std::function<void()> flush = std::move(it.value());
            m_pending.erase(it);
            flush();
        }
    }
}

void Storage::flushAll()
{
    flushPending([](Journal &journal) { journal.fold(); });
}

void Storage::tick()
{
    flushPending([](Journal &journal) { journal.tick(); });
}

void Storage::flushPending(const std::function<void(Journal &)> &eachJournal)
{
    if (m_flushing)
        return;
    m_flushing = true;
    while (!m_pending.isEmpty()) {
        auto it = m_pending.begin();
        const std::function<void()> flush = std::move(it.value());
        m_pending.erase(it);
        flush();
    }
    for (auto &[path, journal] : m_journals)
        eachJournal(*journal);
    m_flushing = false;
}

void Storage::ensureTimer()
{
    if (!QCoreApplication::instance())
        return;
    if (!m_timer) {
        m_timer = new QTimer(this);
        m_timer->setInterval(m_tickMs);
        connect(m_timer, &QTimer::timeout, this, &Storage::tick);
    }
    if (!m_timer->isActive())
        m_timer->start();
}

void Storage::setTickInterval(int ms)
{
    m_tickMs = ms;
    if (m_timer)
        m_timer->setInterval(ms);
}

void Storage::openNewestFirst(const QString &path, bool ownerOnly)
{
    if (m_journals.find(path) == m_journals.end())
        m_journals.emplace(path, std::make_unique<Journal>(*this, path, ownerOnly));
    ensureTimer();
}

void Storage::prependLine(const QString &path, const QByteArray &lineBytes, bool ownerOnly)
{
    auto it = m_journals.find(path);
    if (it == m_journals.end()) {
        openNewestFirst(path, ownerOnly);
        it = m_journals.find(path);
    }
    it->second->add(lineBytes);
}

void Storage::setReporter(Reporter reporter)
{
    g_reporter = std::move(reporter);
}

QString Storage::problemMessage(Problem problem, const QString &path, const QString &error)
{
    QString text;
    switch (problem) {
    case Problem::Read:
        text = QStringLiteral("Файл есть, но прочитать его не удалось:");
        break;
    case Problem::KeptUnreadable:
        text = QStringLiteral("Файл есть, но прочитать его не удалось, поэтому он не перезаписан:");
        break;
    case Problem::Write:
    case Problem::Append:
        text = QStringLiteral("Не удалось записать файл:");
        break;
    case Problem::Remove:
        text = QStringLiteral("Не удалось удалить файл:");
        break;
    case Problem::Damaged:
        text = QStringLiteral("Файл был повреждён, испорченная часть отброшена:");
        break;
    case Problem::BadLine:
        text = QStringLiteral("В файле есть строка, которую не удалось разобрать, она пропущена:");
        break;
    }
    text += QStringLiteral("\r\n") + QDir::toNativeSeparators(path);
    if (!error.isEmpty())
        text += QStringLiteral("\r\n") + error;
    return text;
}

void Storage::report(Problem problem, const QString &path, const QString &error)
{
    if (path.isEmpty())
        return; // a name refused before it reached the disk; its caller says so
    int &bits = m_reported[path];
    if (bits & bit(problem))
        return;
    bits |= bit(problem);
    if (g_reporter)
        g_reporter(problem, path, error);
    else
        qWarning("Storage: %s %s: %s", qPrintable(problemText(problem)), qPrintable(path), qPrintable(error));
}

void Storage::reportBadLine(const QString &path, int lineNumber, const QString &why)
{
    // The version the parser was given: what the layer holds, else what is on disk.
    Stamp version;
    if (auto it = m_cache.find(path); it != m_cache.end())
        version = it->second.stamp;
    else if (const std::optional<Stamp> stamp = stampOf(path))
        version = *stamp;
    if (auto seen = m_badLineReported.constFind(path); seen != m_badLineReported.cend() && *seen == version)
        return;
    m_badLineReported.insert(path, version);
    const QString error = QStringLiteral("строка %1: %2").arg(lineNumber).arg(why);
    if (g_reporter)
        g_reporter(Problem::BadLine, path, error);
    else
        qWarning("Storage: %s %s: %s", qPrintable(problemText(Problem::BadLine)), qPrintable(path),
                 qPrintable(error));
}

void Storage::carryBadLineReport(const QString &path, const Stamp &from)
{
    auto seen = m_badLineReported.find(path);
    if (seen == m_badLineReported.end() || *seen != from)
        return;
    if (const std::optional<Stamp> now = knownStamp(path))
        *seen = *now;
}

void Storage::resolved(Problem problem, const QString &path)
{
    if (m_reported.isEmpty())
        return;
    auto it = m_reported.find(path);
    if (it != m_reported.end())
        it.value() &= ~bit(problem);
}

int Storage::tighten(const QStringList &paths)
{
    int tightened = 0;
    const auto tightenFile = [&tightened](const QString &file) {
        struct stat st{};
        if (::lstat(nativePath(file).constData(), &st) != 0 || !S_ISREG(st.st_mode))
            return;
        if ((st.st_mode & 0077) != 0 && ::chmod(nativePath(file).constData(), st.st_mode & 0700) == 0)
            ++tightened;
    };
    for (const QString &path : paths) {
        if (QFileInfo(path).isDir()) {
            QDirIterator it(path, QDir::Files | QDir::Hidden | QDir::System, QDirIterator::Subdirectories);
            while (it.hasNext())
                tightenFile(it.next());
        } else {
            tightenFile(path);
            tightenFile(journalPath(path));
        }
    }
    return tightened;
}
