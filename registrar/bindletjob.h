#pragma once

#include <QList>
#include <QString>
#include <QStringList>

// Starts a program without waiting for it and without a window; a program that is not
// installed is passed over. Tests record the calls instead.
class CommandStarter
{
public:
    virtual ~CommandStarter() = default;
    // True when the program was started.
    virtual bool startDetached(const QString &program, const QStringList &arguments) = 0;
};

// The real starter: QProcess::startDetached for a program found on PATH.
class ProcessStarter : public CommandStarter
{
public:
    bool startDetached(const QString &program, const QStringList &arguments) override;
};

// Bindlet's one job: copies the files that let the desktop start Korvane and the default
// sounds, each from Bindlet's own folder, per user and without root, then asks the
// desktop to take up the new entry and icon. The first copy that fails stops the job.
class BindletJob
{
public:
    static inline const QString DesktopFile = QStringLiteral("korvane.desktop");
    static inline const QString IconFile = QStringLiteral("korvane.svg");
    static inline const QString ProgramFile = QStringLiteral("korvane");
    static inline const QString ErrorTitle = QStringLiteral("Ошибка");
    static inline const QString CopyFailedText = QStringLiteral("Не удалось скопировать файл: ");

    struct Folders
    {
        QString source;        // Bindlet's own folder
        QString applications;  // the user's applications folder
        QString iconTheme;     // the user's hicolor icon theme folder
        QString programFolder; // Korvane's program folder
        QString korvane;       // the program the desktop entry starts
        // Passed to Korvane with --home; empty when Korvane finds the folder by itself.
        QString home;
    };

    struct Copy
    {
        QString source;            // a name in the source folder
        QString target;            // a full path
        bool desktopEntry = false; // its Exec line is set to the program's path
    };

    struct Command
    {
        QString program;
        QStringList arguments;
        bool operator==(const Command &other) const = default;
    };

    struct Outcome
    {
        bool ok = false;
        QString failedFile; // the source name of the copy that failed
    };

    explicit BindletJob(Folders folders)
        : m_folders(std::move(folders))
    {}

    // Bindlet's folder, the user's XDG data folders (XDG_DATA_HOME, else
    // ~/.local/share) and the program folder as Korvane resolves it (ProgramFolder must
    // have been initialised from Bindlet's arguments).
    static Folders standardFolders(const QString &bindletFolder);

    const Folders &folders() const { return m_folders; }
    // The copies in their order.
    QList<Copy> copies() const;
    // The commands started after the copies, in their order.
    QList<Command> commands() const;

    // Copies everything, then starts the commands; the first failed copy stops it all.
    Outcome run(CommandStarter &starter) const;

    // The desktop entry with its Exec line set to start program, on the program folder
    // home when one is given.
    static QByteArray desktopEntry(const QByteArray &entry, const QString &program,
                                   const QString &home = QString());
    // The Exec value: the program, then --home and the folder when one is given.
    static QString execValue(const QString &program, const QString &home);
    // A path as one argument of an Exec line, escaped for the file.
    static QString execArgument(const QString &program);

private:
    bool copy(const Copy &step) const;

    Folders m_folders;
};
