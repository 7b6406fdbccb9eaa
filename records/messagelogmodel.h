#pragma once

#include "core/linefilemodel.h"

#include <QByteArray>
#include <QString>

// The message log "\Логи\логи.txt" as the log window shows it: one row per non-empty
// line, newest first, all of them or those of one day (the text before a line's first
// blank equals the day's date text). The log can be large (hundreds of megabytes), so
// it is never read whole: a load takes the lines the storage layer still holds in the
// log's journal (they come first) and a snapshot of the file, so it shows everything
// logged up to that moment without waiting for the log to be rewritten.
class MessageLogModel : public LineFileModel
{
    Q_OBJECT
public:
    explicit MessageLogModel(QObject *parent = nullptr);

    // Every line of the log as it stands now.
    void loadAll();
    // The lines of one day (an empty date shows nothing).
    void loadDay(const QString &dateText);

protected:
    qsizetype headBytes() const override;
    bool keepLine(QByteArrayView head) const override;

private:
    void start(bool allLines, const QString &dateText);

    bool m_all = true;
    QByteArray m_date; // "<date> " in the file's bytes
};
