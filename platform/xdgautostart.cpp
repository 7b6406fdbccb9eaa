#include "platform/xdgautostart.h"

#include <QCoreApplication>
#include <QDebug>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace {

// Quotes one argument of the Exec key: double quotes where a reserved character
// needs them, then the escapes of a desktop-entry string value.
QString execArgument(const QString &argument)
{
    static const QString reserved = QStringLiteral(" \t\n\"'\\><~|&;$*?#()`");
    bool needsQuotes = argument.isEmpty();
    for (const QChar c : argument)
        needsQuotes = needsQuotes || reserved.contains(c);

    QString quoted;
    for (const QChar c : argument) {
        if (needsQuotes && (c == QLatin1Char('"') || c == QLatin1Char('`') || c == QLatin1Char('$') ||
                            c == QLatin1Char('\\')))
            quoted += QLatin1Char('\\');
        quoted += c;
    }
    if (needsQuotes)
        quoted = QLatin1Char('"') + quoted + QLatin1Char('"');

    // The string-value escape doubles every backslash; '%' starts a field code.
    quoted.replace(QLatin1Char('\\'), QLatin1String("\\\\"));
    quoted.replace(QLatin1Char('%'), QLatin1String("%%"));
    return quoted;
}

bool hasControlCharacter(const QString &text)
{
    for (const QChar c : text) {
        if (c.unicode() < 0x20 || c.unicode() == 0x7f)
            return true;
    }
    return false;
}

// A key=value line of the entry, with `value` compared case-insensitively.
bool entryHas(const QByteArray &contents, const QByteArray &key, const QByteArray &value)
{
    for (const QByteArray &line : contents.split('\n')) {
        const int equals = line.indexOf('=');
        if (equals > 0 && line.left(equals).trimmed() == key &&
            line.mid(equals + 1).trimmed().toLower() == value)
            return true;
    }
    return false;
}

} // namespace

XdgAutostart::XdgAutostart(const QString &program, const QStringList &arguments)
    : m_program(program)
    , m_arguments(arguments)
{}

XdgAutostart XdgAutostart::forRunningProgram(const QStringList &commandLine)
{
    QString home;
    for (int i = 1; i < commandLine.size(); ++i) {
        const QString &argument = commandLine.at(i);
        if (argument == QLatin1String("--home") && i + 1 < commandLine.size())
            home = commandLine.at(i + 1);
        else if (argument.startsWith(QLatin1String("--home=")))
            home = argument.mid(7);
    }
    if (home.isEmpty())
        home = qEnvironmentVariable("KORVANE_HOME");

    QStringList arguments;
    if (!home.isEmpty())
        arguments << QStringLiteral("--home") << QFileInfo(home).absoluteFilePath();
    return XdgAutostart(QCoreApplication::applicationFilePath(), arguments);
}

QString XdgAutostart::entryPath()
{
    // A relative XDG_CONFIG_HOME is invalid and ignored.
    QString config = qEnvironmentVariable("XDG_CONFIG_HOME");
    if (config.isEmpty() || QDir::isRelativePath(config))
        config = QDir::homePath() + QStringLiteral("/.config");
    return config + QStringLiteral("/autostart/korvane.desktop");
}

QByteArray XdgAutostart::entry() const
{
    if (m_program.isEmpty())
        return {};
    QStringList exec;
    for (const QString &part : QStringList(m_program) + m_arguments) {
        // A line break cannot stand in a command line of the entry.
        if (hasControlCharacter(part))
            return {};
        exec << execArgument(part);
    }
    const QString text = QStringLiteral("[Desktop Entry]\n"
                                        "Type=Application\n"
                                        "Name=Korvane\n"
                                        "Comment=ICQ bot\n"
                                        "Exec=%1\n"
                                        "Terminal=false\n"
                                        "X-GNOME-Autostart-enabled=true\n")
                             .arg(exec.join(QLatin1Char(' ')));
    return text.toUtf8();
}

bool XdgAutostart::isEnabled() const
{
    QFile file(entryPath());
    if (!file.open(QIODevice::ReadOnly))
        return false;
    // The desktop also skips an entry that is switched off inside.
    const QByteArray contents = file.readAll();
    return !entryHas(contents, "Hidden", "true") && !entryHas(contents, "X-GNOME-Autostart-enabled", "false");
}

bool XdgAutostart::setEnabled(bool enabled)
{
    const QString path = entryPath();
    if (!enabled) {
        if (!QFileInfo::exists(path) || QFile::remove(path))
            return true;
        qWarning().noquote() << "cannot remove the autostart entry" << path;
        return false;
    }

    const QByteArray contents = entry();
    if (contents.isEmpty()) {
        qWarning().noquote() << "cannot write an autostart entry for" << m_program << m_arguments;
        return false;
    }
    if (!QDir().mkpath(QFileInfo(path).absolutePath())) {
        qWarning().noquote() << "cannot create the folder of" << path;
        return false;
    }
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(contents) != contents.size() || !file.commit()) {
        qWarning().noquote() << "cannot write the autostart entry" << path << file.errorString();
        return false;
    }
    return true;
}
