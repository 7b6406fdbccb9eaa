#include "support/programhome.h"

#include "core/programfolder.h"

#include <QFile>

namespace {
constexpr char EnvironmentName[] = "KORVANE_HOME";
}

ProgramHome::ProgramHome()
    : m_hadEnvironment(qEnvironmentVariableIsSet(EnvironmentName))
    , m_oldEnvironment(qgetenv(EnvironmentName))
{
    if (!m_dir.isValid())
        return;
    ProgramFolder::setHome(m_dir.path());
    qputenv(EnvironmentName, QFile::encodeName(m_dir.path()));
}

ProgramHome::~ProgramHome()
{
    if (m_hadEnvironment)
        qputenv(EnvironmentName, m_oldEnvironment);
    else
        qunsetenv(EnvironmentName);
}

QString ProgramHome::filePath(const QString &programPath) const
{
    return ProgramFolder::path(programPath);
}
