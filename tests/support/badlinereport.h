#pragma once

#include "core/storage.h"
#include "core/textfile.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QTest>

#include <functional>

// Writes bytes to a program-folder file and has read() parse it twice, then a second
// version: the bad line must be reported once per version, naming the file and the line.
// When good is given, read() first parses it and nothing may be reported.
// Call in a program folder of its own (support/programhome.h). Returns the first report's
// text for further checks; the checks that fail fail the calling test.
inline QString checkBadLineReportedOncePerVersion(const QString &file, const QByteArray &bytes, int line,
                                                  const std::function<void()> &read,
                                                  const QByteArray &good = {})
{
    Storage::discard();
    QList<std::pair<QString, QString>> reports;
    Storage::setReporter([&reports](Storage::Problem problem, const QString &path, const QString &error) {
        if (problem == Storage::Problem::BadLine)
            reports.append({path, error});
    });
    const auto done = [] {
        Storage::setReporter({});
        Storage::discard();
    };
    [&] {
        if (!good.isEmpty()) {
            QVERIFY(TextFile::writeBytes(file, good));
            read();
            QCOMPARE(reports.size(), 0);
        }
        QVERIFY(TextFile::writeBytes(file, bytes));
        read();
        read(); // the same version again: nothing more
        QCOMPARE(reports.size(), 1);
        QCOMPARE(reports.at(0).first, TextFile::filePath(file));
        QVERIFY2(reports.at(0).second.startsWith(QStringLiteral("строка %1: ").arg(line)),
                 qPrintable(reports.at(0).second));
        QVERIFY(reports.at(0).second.size() < 200); // a huge line is not repeated

        // A new version with the same fault is news again.
        QVERIFY(TextFile::writeBytes(file, bytes + bytes));
        read();
        QCOMPARE(reports.size(), 2);
    }();
    done();
    return reports.value(0).second;
}

// Writes bytes with a bad line, has read() report it, lets the program write the file
// with write() (an append or a rewrite that keeps the line) and reads again: the line
// told of is no news. Call in a program folder of its own.
inline void checkOwnWriteIsNoNews(const QString &file, const QByteArray &bytes, const std::function<void()> &read,
                                  const std::function<void()> &write)
{
    Storage::discard();
    int reports = 0;
    Storage::setReporter([&reports](Storage::Problem problem, const QString &, const QString &) {
        if (problem == Storage::Problem::BadLine)
            ++reports;
    });
    [&] {
        QVERIFY(TextFile::writeBytes(file, bytes));
        read();
        QCOMPARE(reports, 1);
        const QByteArray before = TextFile::readBytes(file);
        write();
        QVERIFY(TextFile::readBytes(file) != before); // the write took place
        read();
        QCOMPARE(reports, 1);
    }();
    Storage::setReporter({});
    Storage::discard();
}
