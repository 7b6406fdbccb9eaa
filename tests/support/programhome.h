#pragma once

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>

// A fresh, empty program folder for one test: every program path resolves inside it
// (ProgramFolder), and programs the test starts find it too (KORVANE_HOME). The folder
// is removed and KORVANE_HOME restored when it goes; the program folder is left
// pointing at the removed folder, so a late write fails rather than land elsewhere.
class ProgramHome
{
public:
    ProgramHome();
    ~ProgramHome();
    ProgramHome(const ProgramHome &) = delete;
    ProgramHome &operator=(const ProgramHome &) = delete;

    bool isValid() const { return m_dir.isValid(); }
    // The folder itself.
    QString path() const { return m_dir.path(); }
    // The file path of a program path such as "\Настройки\Общие.txt".
    QString filePath(const QString &programPath) const;

private:
    QTemporaryDir m_dir;
    bool m_hadEnvironment = false;
    QByteArray m_oldEnvironment;
};
