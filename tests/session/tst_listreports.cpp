// Bad lines of a list file are reported once for the file's content, not once per line
// nor once per message that loads it.
#include "core/programfolder.h"
#include "core/textfile.h"
#include "files/distributionlist.h"
#include "support/programhome.h"

#include <QTest>

namespace {
QStringList g_messages;
void collect(QtMsgType, const QMessageLogContext &, const QString &message)
{
    g_messages.append(message);
}
} // namespace

class tst_ListReports : public QObject
{
    Q_OBJECT

private slots:
    void junkLinesReportedOncePerContent();
};

void tst_ListReports::junkLinesReportedOncePerContent()
{
    ProgramHome home;
    QVERIFY(home.isValid());
    QStringList lines{QStringLiteral("2 100002 tajna42 0")};
    for (int i = 0; i < 10000; ++i)
        lines.append(QStringLiteral("мусор %1").arg(i));
    QVERIFY(TextFile::writeLines(DistributionList::FilePath, lines));

    g_messages.clear();
    const QtMessageHandler previous = qInstallMessageHandler(collect);
    for (int load = 0; load < 3; ++load)
        QCOMPARE(DistributionList::load().entries().size(), 1);
    lines.append(QStringLiteral("ещё мусор"));
    TextFile::writeLines(DistributionList::FilePath, lines);
    DistributionList::load();
    qInstallMessageHandler(previous);

    // One line for the first content, one for the changed file.
    QCOMPARE(g_messages.size(), 2);
    // The report names the file and the first line it could not parse.
    QVERIFY2(g_messages.first().contains(QStringLiteral("Распределение.txt")), qPrintable(g_messages.first()));
    QVERIFY2(g_messages.first().contains(QStringLiteral("строка 2")), qPrintable(g_messages.first()));
    QVERIFY(!g_messages.first().contains(QStringLiteral("tajna42")));
}

QTEST_GUILESS_MAIN(tst_ListReports)
#include "tst_listreports.moc"
