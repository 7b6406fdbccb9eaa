#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>

#include <sys/resource.h>
#include <sys/stat.h>

// Helpers the settings tests share.
namespace FileProbe {

// The permission bits on disk, as in ls -l (0600 = rw-------); -1 when missing.
inline int unixMode(const QString &path)
{
    struct stat info
    {
    };
    if (::stat(QFile::encodeName(path).constData(), &info) != 0)
        return -1;
    return int(info.st_mode & 0777);
}

inline QByteArray bytes(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return "<missing>";
    return file.readAll();
}

inline bool writeBytes(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(bytes) == bytes.size();
}

// While it lives, this process can open no further file, so a rewrite fails even
// where permissions would not stop it (tests often run as root). Files already open
// stay usable.
class NoNewFiles
{
public:
    NoNewFiles()
    {
        ::getrlimit(RLIMIT_NOFILE, &m_old);
        rlimit none = m_old;
        none.rlim_cur = 0;
        m_active = ::setrlimit(RLIMIT_NOFILE, &none) == 0;
    }
    ~NoNewFiles() { ::setrlimit(RLIMIT_NOFILE, &m_old); }
    NoNewFiles(const NoNewFiles &) = delete;
    NoNewFiles &operator=(const NoNewFiles &) = delete;

    bool active() const { return m_active; }

private:
    rlimit m_old{};
    bool m_active = false;
};

} // namespace FileProbe
