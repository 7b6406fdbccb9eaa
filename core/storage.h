#pragma once

#include <QByteArray>
#include <QElapsedTimer>
#include <QHash>
#include <QObject>
#include <QSet>
#include <QString>
#include <QStringList>

#include <functional>
#include <map>
#include <memory>
#include <optional>

class QSocketNotifier;
class QTimer;

// The storage layer under TextFile: every read and write of the program folder goes
// through it. Reads are served from memory; the layer learns of changes on disk from
// file-system notifications on the folders it read from (inotify), so a read of an
// unchanged file, or of a file known to be missing, costs no system call. A change made
// by another program is seen once its notification has been delivered by the event
// loop (outside a running event loop, pending notifications are collected at each
// read). Where a folder cannot be watched (a network file system, the watch limit),
// a file is checked with a stat at most once per event-loop turn. The layer's own
// writes update what it holds at once. Records that grow per message are kept in memory
// or in a journal and folded into their file in the background, so no message pays for
// a whole-file rewrite or an fsync. All paths here are file-system paths.
class Storage : public QObject
{
    Q_OBJECT
public:
    enum class ReadState {
        Missing,    // no file there (a folder counts as no file)
        Readable,
        Unreadable, // something is there but cannot be read: never to be taken as empty
    };

    // What went wrong, reported once per file and kind until that kind succeeds again;
    // BadLine once per version of the file (see reportBadLine()).
    enum class Problem {
        Read,
        Write,
        Append,
        Remove,
        KeptUnreadable,
        Damaged, // a journal record that cannot be right was dropped with what followed it
        BadLine, // a line its parser could not take was skipped
    };
    using Reporter = std::function<void(Problem problem, const QString &path, const QString &error)>;

    // What identifies one version of a file on disk.
    struct Stamp
    {
        qint64 size = -1;
        qint64 mtimeNs = 0;
        qint64 ctimeNs = 0;
        quint64 inode = 0;
        quint64 device = 0;
        bool operator==(const Stamp &) const = default;
    };

    static Storage &instance();
    // Forgets every cache, pending count and journal without writing anything, as a
    // killed process would; the next instance() starts afresh (tests).
    static void discard();

    ~Storage() override;

    // The stamp of a regular file; nullopt when there is none.
    static std::optional<Stamp> stampOf(const QString &path);
    // True when the file changed so recently that a second change within the same
    // timestamp tick could leave the stamp as it is: such a stamp proves nothing yet.
    static bool isRecent(const Stamp &stamp);
    // Counts the instances, so state kept beside the layer can tell a fresh one.
    quint64 generation() const { return m_generation; }

    // The stamp of a file as the layer knows it: no system call while a watch on its
    // folder vouches that nothing changed since the layer last looked or wrote; else a
    // stat. nullopt when no regular file is there. isWatched(): such a watch vouches for
    // it now, so a recent stamp proves as much as an old one.
    std::optional<Stamp> knownStamp(const QString &path);
    bool isWatched(const QString &path);

    // --- reading --------------------------------------------------------------------
    ReadState readState(const QString &path);
    // True when a regular file is there (pending records count as written).
    bool isFile(const QString &path);
    // Raw bytes, the decoded text (see decode()) and its lines; empty unless Readable.
    QByteArray bytes(const QString &path, ReadState *state = nullptr);
    QString text(const QString &path, ReadState *state = nullptr);
    QStringList lines(const QString &path, ReadState *state = nullptr);

    // File bytes as text: Windows-1251, except a UTF-8 file (a BOM, or valid multi-byte
    // sequences and nothing else) which is decoded as UTF-8; a file whose lines end in a
    // bare LF only reads with CR LF. *converted says whether either applied.
    static QString decode(const QByteArray &bytes, bool *converted = nullptr);

    enum class Encoding { Cp1251, Utf8, Utf8Bom };
    static Encoding encodingOf(const QByteArray &bytes);
    // The bytes of text for a file read in the given encoding: a UTF-8 file stays UTF-8
    // unless every character of text fits Windows-1251, so no letter is lost.
    static QByteArray encodeForRewrite(const QString &text, Encoding encoding);

    // --- writing (low level; TextFile wraps these) ------------------------------------
    // Atomic synced rewrite. Refused when the file there cannot be read.
    bool rewrite(const QString &path, const QByteArray &bytes, bool ownerOnly, QString *error);
    // The same for text: encoded with encodeForRewrite() in the encoding the file there
    // was read in (Windows-1251 for a new file).
    bool rewriteText(const QString &path, const QString &text, bool ownerOnly, QString *error);
    // Appends whole or not at all: on a short write (a full disk) the file is cut back to
    // its previous length. Before whole lines (bytes that end with a line end), a last
    // line without its line end is ended with CR LF, unless the bytes begin with one.
    bool append(const QString &path, const QByteArray &bytes, bool ownerOnly, QString *error);
    // The same for text: encoded as the file there is (UTF-8 stays UTF-8), else 1251.
    // endLine adds CR LF to the encoded bytes, so a long line is not copied for it.
    bool appendText(const QString &path, QStringView text, bool ownerOnly, QString *error, bool endLine = false);
    // appendText() done later, with whatever was added to the same file meanwhile in one
    // write: for records that grow per message. It is a deferred record (see defer()):
    // every read or write of the path, the background tick and flushAll() write it first;
    // a refusal is reported then.
    void appendLater(const QString &path, const QString &text, bool ownerOnly);
    bool remove(const QString &path);
    // After a write the layer did not see (a rename, a removal by pattern).
    void invalidate(const QString &path);
    // Takes in the notifications that have arrived but not been delivered yet, for a
    // caller that knows another program has just written a file it reads next.
    void checkForChanges();

    // --- deferred records -------------------------------------------------------------
    // Registers work that brings path up to date on disk. It runs at the next tick of
    // the background timer, at flushAll(), and before any read or write of that path,
    // so every reader sees the pending state. Registering again replaces nothing: the
    // first registration stays until it has run.
    void defer(const QString &path, std::function<void()> flush);
    // Runs the pending work of one path now and folds its journal (a writer's turn).
    void flushPending(const QString &path);
    // Everything pending goes to disk (the exit sequence).
    void flushAll();

    // A newest-first file whose new lines are journalled beside it (see storage.cpp).
    // Created on first use; a journal a previous run left is folded at once. Reads of
    // the file see its unfolded lines on top without waiting for a fold; the background
    // fold copies the file a few MiB per turn; a rewrite, an append or flushAll()
    // finishes it first, a removal drops the unfolded lines with the file.
    void prependLine(const QString &path, const QByteArray &lineBytes, bool ownerOnly);
    void openNewestFirst(const QString &path, bool ownerOnly);
    static QString journalPath(const QString &path);
    // The lines a newest-first file's journal holds beyond the file, newest first, each
    // as it will stand on top of the file after the next fold; nothing is folded, so a
    // reader of a large file need not wait for its rewrite. Empty without a journal.
    QList<QByteArray> unfoldedLines(const QString &path);
    // Starts the background fold of a newest-first file now, if it has unfolded lines
    // (the timer does this when due); isFolding() tells whether one is under way.
    void foldInBackground(const QString &path);
    bool isFolding(const QString &path) const;
    // When the timer folds: once the unfolded lines reach a share of the file and the
    // interval since the last fold has passed, or when they have waited too long.
    static bool foldDue(qint64 unfoldedBytes, qint64 fileSize, qint64 ageMs, qint64 intervalMs);

    // --- reporting --------------------------------------------------------------------
    // The default writes a warning; the main window adds a non-blocking box.
    static void setReporter(Reporter reporter);
    // The operator's text of a report, in Russian.
    static QString problemMessage(Problem problem, const QString &path, const QString &error);
    void report(Problem problem, const QString &path, const QString &error);
    void resolved(Problem problem, const QString &path);
    // A line of the file its parser could not take (see TextFile::reportBadLine()):
    // reported as BadLine once per version of the file, the first such line named.
    void reportBadLine(const QString &path, int lineNumber, const QString &why);
    // The program wrote path from its version `from`, keeping the lines it had (an append;
    // a rewrite that drops or changes only entries of its own): a bad line told of in that
    // version is no news in the one there now. Appends do this themselves.
    void carryBadLineReport(const QString &path, const Stamp &from);

    // Owner-only permissions for existing files (and the files under folders), for the
    // secret files at start-up. Returns how many were tightened.
    static int tighten(const QStringList &paths);

    // The period of the background timer (tests shorten it).
    void setTickInterval(int ms);
    // System calls the read path has made (stat, open, read, watch): tests and benchmarks
    // count them around their reads.
    quint64 readSystemCalls() const { return m_readCalls; }
    // Instances made after this call work without notifications, as on a network file
    // system (tests).
    static void setNotificationsForTest(bool on);

private:
    class Journal;
    struct Entry
    {
        Stamp stamp;
        bool racy = false;
        QByteArray bytes;
        std::optional<QString> text;
        std::optional<QStringList> lines;
        quint64 lastUse = 0;
        bool transient = false; // handed out once, not kept
        std::optional<Encoding> encoding;
        bool suspect = false; // a notification named it: its stamp is checked once
        int watch = -1;       // the folder watch that tells of its changes
        quint64 checkedTurn = 0; // without a watch: the event-loop turn of its last stat
    };
    struct Known
    {
        bool isFile = false;
        Stamp stamp; // of the file when isFile (size -1: not known)
    };
    // What the layer's last append to a file left there.
    struct Appended
    {
        Stamp stamp;
        Encoding encoding = Encoding::Cp1251;
        char last = '\n';
    };

    Storage();
    // The file with any unfolded lines of its journal on top.
    Entry *lookup(const QString &path, ReadState &state);
    Entry *lookupFile(const QString &path, ReadState &state);
    QString textOf(const QString &path, Entry &entry);
    // Runs the deferred work of one path (not the fold of its journal).
    void runDeferred(const QString &path);
    void store(const QString &path, const Stamp &stamp, const QByteArray &bytes, int watch);
    // Remembers whether a file is there while the watched folder stays unchanged.
    void remember(const QString &path, int watch, bool isFile, const Stamp &stamp);
    bool stillValid(const Entry &entry);
    bool loopRunning() const;
    quint64 currentTurn();
    void ensureWatcher();
    // The watch of the folder that holds path (of its nearest existing ancestor when the
    // folder is missing); -1 when changes there cannot be notified.
    int watchFolderOf(const QString &path);
    void collectNotifications();
    void notified(int watch, quint32 mask, const QString &name);
    void changed(const QString &path);
    void forgetWatched();
    // The bytes come in pieces until an empty one: a long text never exists whole as
    // bytes. wholeLines: the last piece ends with a line end.
    bool appendWith(const QString &path, bool ownerOnly, QString *error, bool wholeLines,
                    const std::function<QByteArray(Encoding)> &nextPiece);
    void evict();
    void tick();
    // Runs the deferred writes, then eachJournal on every journal; not re-entered.
    void flushPending(const std::function<void(Journal &)> &eachJournal);
    void ensureTimer();

    std::map<QString, Entry> m_cache;
    qint64 m_cachedBytes = 0;
    quint64 m_useCounter = 0;
    QHash<QString, std::function<void()>> m_pending;
    struct LaterAppend
    {
        QString text;
        bool ownerOnly = false;
    };
    QHash<QString, LaterAppend> m_laterAppends;
    std::map<QString, std::unique_ptr<Journal>> m_journals;
    QHash<QString, int> m_reported; // path -> bit set of Problem
    QHash<QString, Stamp> m_convertedLogged;
    QHash<QString, Stamp> m_badLineReported; // path -> the version last reported
    QHash<QString, Known> m_known;
    QHash<QString, Appended> m_appended;
    int m_inotify = -1;
    bool m_watcherSetUp = false;
    QSocketNotifier *m_notifier = nullptr;
    QHash<QString, int> m_watchOf; // folder -> watch, -1 when it cannot be watched
    QHash<int, QString> m_folderOf;
    QHash<int, QSet<QString>> m_dependents; // watch -> paths known through it
    quint64 m_turn = 1;
    quint64 m_readCalls = 0;
    QTimer *m_timer = nullptr;
    int m_tickMs = 1000;
    bool m_flushing = false;
    quint64 m_generation = 0;
};
