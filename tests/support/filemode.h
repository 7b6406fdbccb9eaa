#pragma once

#include <QByteArray>
#include <QString>

#include <sys/resource.h>

// Files on disk as the tests look at them, past the program's own file code.
namespace FileProbe {

// The permission bits on disk, as in ls -l (0600 = rw-------); -1 when missing.
int unixMode(const QString &path);

// The whole file; "<missing>" when it cannot be opened.
QByteArray bytes(const QString &path);

// Writes the file whole, making its folder first; false when that fails.
bool writeBytes(const QString &path, const QByteArray &bytes);

// While it lives, this process can open no further file, so a rewrite fails even
// where permissions would not stop it (tests often run as root). Files already open
// stay usable.
class NoNewFiles
{
public:
    NoNewFiles();
    ~NoNewFiles();
    NoNewFiles(const NoNewFiles &) = delete;
    NoNewFiles &operator=(const NoNewFiles &) = delete;

    bool active() const { return m_active; }

private:
    rlimit m_old{};
    bool m_active = false;
};

// While it lives, this process may write no file beyond the given size, so a write
// fails even for root; the signal such a write raises is ignored meanwhile.
class FileSizeLimit
{
public:
    explicit FileSizeLimit(rlim_t bytes);
    ~FileSizeLimit();
    FileSizeLimit(const FileSizeLimit &) = delete;
    FileSizeLimit &operator=(const FileSizeLimit &) = delete;

    bool ok() const { return m_ok; }

private:
    rlimit m_old{};
    void (*m_oldHandler)(int) = nullptr;
    bool m_ok = false;
};

} // namespace FileProbe

using FileProbe::unixMode;
