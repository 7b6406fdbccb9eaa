#include "registrar/bindletjob.h"

#include "core/generalsettings.h"
#include "core/programfolder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QSaveFile>
#include <QStandardPaths>

bool ProcessStarter::startDetached(const QString &program, const QStringList &arguments)
{
    // A desktop without the tool simply does without the refresh.
    const QString path = QStandardPaths::findExecutable(program);
    if (path.isEmpty())
        return false;
    QProcess process;
    process.setProgram(path);
    process.setArguments(arguments);
    process.setStandardOutputFile(QProcess::nullDevice());
    process.setStandardErrorFile(QProcess::nullDevice());
    return process.startDetached();
}

BindletJob::Folders BindletJob::standardFolders(const QString &bindletFolder)
{
    QString dataHome = qEnvironmentVariable("XDG_DATA_HOME");
    // The variable counts only as an absolute path.
    if (dataHome.isEmpty() || QDir::isRelativePath(dataHome))
        dataHome = QDir::homePath() + QStringLiteral("/.local/share");
    Folders folders;
    folders.source = bindletFolder;
    folders.applications = dataHome + QStringLiteral("/applications");
    folders.iconTheme = dataHome + QStringLiteral("/icons/hicolor");
    folders.programFolder = ProgramFolder::home();
    folders.korvane = QDir(bindletFolder).absoluteFilePath(ProgramFile);
    // Korvane beside Bindlet falls back to its own folder; any other folder (--home or
    // KORVANE_HOME given to Bindlet) goes into the entry, or the menu would start it elsewhere.
    if (folders.programFolder != QDir::cleanPath(QDir(bindletFolder).absolutePath()))
        folders.home = folders.programFolder;
    return folders;
}

QList<BindletJob::Copy> BindletJob::copies() const
{
    const QString sounds = m_folders.programFolder + QLatin1Char('/');
    auto soundTarget = [&sounds](const QString &programPath) {
        QString relative = programPath;
        relative.replace(QLatin1Char('\\'), QLatin1Char('/'));
        while (relative.startsWith(QLatin1Char('/')))
            relative.remove(0, 1);
        return sounds + relative;
    };
    auto soundName = [](const QString &programPath) { return programPath.section(QLatin1Char('\\'), -1); };
    return {
        {DesktopFile, m_folders.applications + QLatin1Char('/') + DesktopFile, true},
        {IconFile, m_folders.iconTheme + QStringLiteral("/scalable/apps/") + IconFile, false},
        {soundName(GeneralSettings::Default::SoundMessage),
         soundTarget(GeneralSettings::Default::SoundMessage), false},
        {soundName(GeneralSettings::Default::SoundStartup),
         soundTarget(GeneralSettings::Default::SoundStartup), false},
    };
}

QList<BindletJob::Command> BindletJob::commands() const
{
    return {
        {QStringLiteral("update-desktop-database"), {m_folders.applications}},
        // The user's theme folder has no index of its own: build the cache regardless.
        {QStringLiteral("gtk-update-icon-cache"),
         {QStringLiteral("-f"), QStringLiteral("-t"), m_folders.iconTheme}},
    };
}

BindletJob::Outcome BindletJob::run(CommandStarter &starter) const
{
    for (const Copy &step : copies()) {
        if (!copy(step))
            return {false, step.source};
    }
    // Started and left to themselves: what they answer is not looked at.
    for (const Command &command : commands())
        starter.startDetached(command.program, command.arguments);
    return {true, QString()};
}

bool BindletJob::copy(const Copy &step) const
{
    const QString source = QDir(m_folders.source).absoluteFilePath(step.source);
    QFile in(source);
    if (!QFileInfo(source).isFile() || !in.open(QIODevice::ReadOnly))
        return false;
    // The program folder may be Bindlet's own folder: a file copied onto itself stays.
    if (QFileInfo(source).canonicalFilePath() == QFileInfo(step.target).canonicalFilePath())
        return true;
    QByteArray bytes = in.readAll();
    if (in.error() != QFileDevice::NoError)
        return false;
    if (step.desktopEntry)
        bytes = desktopEntry(bytes, m_folders.korvane, m_folders.home);
    if (!QDir().mkpath(QFileInfo(step.target).absolutePath()))
        return false;
    QSaveFile out(step.target);
    if (!out.open(QIODevice::WriteOnly))
        return false;
    if (out.write(bytes) != bytes.size())
        return false;
    return out.commit();
}

QByteArray BindletJob::desktopEntry(const QByteArray &entry, const QString &program, const QString &home)
{
    const QByteArray exec = "Exec=" + execValue(program, home).toUtf8();
    QList<QByteArray> lines = entry.split('\n');
    bool inMainGroup = false;
    bool replaced = false;
    for (QByteArray &line : lines) {
        const QByteArray trimmed = line.trimmed();
        if (trimmed.startsWith('['))
            inMainGroup = trimmed == "[Desktop Entry]";
        // Only the entry's own Exec, not an action's.
        if (inMainGroup && !replaced && trimmed.startsWith("Exec") &&
            trimmed.mid(4).trimmed().startsWith('=')) {
            line = exec + (line.endsWith('\r') ? "\r" : "");
            replaced = true;
        }
    }
    QByteArray result = lines.join('\n');
    if (!replaced) {
        // An entry without Exec gets one right after its group header.
        const qsizetype header = result.indexOf("[Desktop Entry]");
        if (header >= 0) {
            const qsizetype lineEnd = result.indexOf('\n', header);
            result.insert(lineEnd < 0 ? result.size() : lineEnd + 1, (lineEnd < 0 ? "\n" : "") + exec + "\n");
        } else {
            result.prepend("[Desktop Entry]\n" + exec + "\n");
        }
    }
    return result;
}

QString BindletJob::execValue(const QString &program, const QString &home)
{
    QString value = execArgument(program);
    if (!home.isEmpty())
        value += QStringLiteral(" --home ") + execArgument(home);
    return value;
}

QString BindletJob::execArgument(const QString &program)
{
    // Quoted as one argument: inside the quotes ", `, $ and \ take a backslash, and a
    // literal % is doubled (field codes start with it).
    QString quoted = QStringLiteral("\"");
    for (const QChar c : program) {
        if (c == QLatin1Char('"') || c == QLatin1Char('`') || c == QLatin1Char('$') || c == QLatin1Char('\\'))
            quoted += QLatin1Char('\\');
        if (c == QLatin1Char('%'))
            quoted += QLatin1Char('%');
        quoted += c;
    }
    quoted += QLatin1Char('"');
    // Then the value is written with the escapes of every string value of the file.
    QString escaped;
    for (const QChar c : std::as_const(quoted)) {
        if (c == QLatin1Char('\\'))
            escaped += QStringLiteral("\\\\");
        else if (c == QLatin1Char('\n'))
            escaped += QStringLiteral("\\n");
        else if (c == QLatin1Char('\t'))
            escaped += QStringLiteral("\\t");
        else if (c == QLatin1Char('\r'))
            escaped += QStringLiteral("\\r");
        else
            escaped += c;
    }
    return escaped;
}
