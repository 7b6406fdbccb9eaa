#include "core/programfolder.h"

#include <QCoreApplication>
#include <QDebug>
#include <QDir>
#include <QFileInfo>
#include <QHash>

namespace {

QString g_home;
// Paths already resolved under g_home: every file access of every message asks again.
QHash<QString, QString> g_resolved;
constexpr qsizetype MaxResolved = 4096;

QString absoluteFolder(const QString &directory)
{
    return QDir::cleanPath(QDir(directory).absolutePath());
}

QString homeFromArguments(const QStringList &arguments)
{
    // The first argument is the program itself.
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        const QString &argument = arguments.at(i);
        if (argument == QLatin1String("--home")) {
            if (i + 1 < arguments.size() && !arguments.at(i + 1).isEmpty())
                return arguments.at(i + 1);
            return {};
        }
        if (argument.startsWith(QLatin1String("--home=")))
            return argument.mid(7);
    }
    return {};
}

QString executableFolder(const QStringList &arguments)
{
    if (QCoreApplication::instance())
        return QCoreApplication::applicationDirPath();
    // No application object yet: the kernel knows where the executable is.
    const QFileInfo self(QStringLiteral("/proc/self/exe"));
    if (self.exists())
        return QFileInfo(self.symLinkTarget()).absolutePath();
    if (!arguments.isEmpty() && !arguments.first().isEmpty())
        return QFileInfo(arguments.first()).absolutePath();
    return QDir::currentPath();
}

QString resolveHome(const QStringList &arguments)
{
    QString home = homeFromArguments(arguments);
    if (home.isEmpty())
        home = qEnvironmentVariable("KORVANE_HOME");
    if (home.isEmpty())
        home = executableFolder(arguments);
    return absoluteFolder(home);
}

} // namespace

void ProgramFolder::init(const QStringList &arguments)
{
    g_home = resolveHome(arguments);
    g_resolved.clear();
}

void ProgramFolder::setHome(const QString &directory)
{
    g_home = directory.isEmpty() ? QString() : absoluteFolder(directory);
    g_resolved.clear();
}

QString ProgramFolder::home()
{
    if (g_home.isEmpty()) {
        g_home = resolveHome(QCoreApplication::instance() ? QCoreApplication::arguments() : QStringList());
        g_resolved.clear();
    }
    return g_home;
}

namespace {

QString resolveUnder(const QString &base, const QString &programPath)
{
    QString relative = programPath;
    relative.replace(QLatin1Char('\\'), QLatin1Char('/'));
    qsizetype start = 0;
    while (start < relative.size() && relative.at(start) == QLatin1Char('/'))
        ++start;
    relative.remove(0, start);
    if (relative.isEmpty())
        return base;
    const QString prefix =
        base.endsWith(QLatin1Char('/')) ? base : base + QLatin1Char('/'); // the root folder ends in '/'
    // A name made of user text must never lead out of the program folder.
    const QString joined = QDir::cleanPath(prefix + relative);
    if (joined != base && !joined.startsWith(prefix)) {
        qWarning().noquote() << "path leaves the program folder, refused:" << programPath;
        return QString();
    }
    // A folder named with its trailing separator keeps it, so callers may append names.
    return relative.endsWith(QLatin1Char('/')) && joined != base ? joined + QLatin1Char('/') : joined;
}

} // namespace

QString ProgramFolder::path(const QString &programPath)
{
    const QString base = home();
    if (const auto known = g_resolved.constFind(programPath); known != g_resolved.cend())
        return known.value();
    QString resolved = resolveUnder(base, programPath);
    // A refused path is not kept, so each use of it is still reported.
    if (!resolved.isEmpty()) {
        if (g_resolved.size() >= MaxResolved)
            g_resolved.clear();
        g_resolved.insert(programPath, resolved);
    }
    return resolved;
}

