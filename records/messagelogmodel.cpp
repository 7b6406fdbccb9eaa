#include "records/messagelogmodel.h"

#include "core/cp1251.h"
#include "core/storage.h"
#include "core/textfile.h"
#include "records/messagerecords.h"

MessageLogModel::MessageLogModel(QObject *parent)
    : LineFileModel(parent)
{
}

void MessageLogModel::loadAll()
{
    start(true, QString());
}

void MessageLogModel::loadDay(const QString &dateText)
{
    start(false, dateText);
}

qsizetype MessageLogModel::headBytes() const
{
    return m_all ? 2 : m_date.size();
}

bool MessageLogModel::keepLine(QByteArrayView head) const
{
    return LineFileModel::keepLine(head) && (m_all || head.startsWith(m_date));
}

void MessageLogModel::start(bool allLines, const QString &dateText)
{
    m_all = allLines;
    m_date = Cp1251::encode(dateText) + ' ';
    // An empty date matches no line: every logged line starts with its date.
    if (!allLines && dateText.isEmpty()) {
        load(QString());
        return;
    }
    Records::openMessageLog();
    // The newest lines may still wait in the journal: they are read from there, so the
    // large log is not rewritten while the operator waits.
    QStringList fresh;
    for (const QByteArray &record : Storage::instance().unfoldedLines(TextFile::filePath(Records::MessageLogPath))) {
        for (QByteArray line : record.split('\n')) {
            if (line.endsWith('\r'))
                line.chop(1);
            if (keepLine(line))
                fresh.append(Storage::decode(line));
        }
    }
    load(Records::MessageLogPath, fresh);
}
