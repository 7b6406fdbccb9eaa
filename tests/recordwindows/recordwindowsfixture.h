#pragma once

#include "core/clock.h"
#include "core/storage.h"
#include "core/textfile.h"
#include "mainwindow/botapplication.h"
#include "mainwindow/main_window.h"
#include "support/windowfixture.h"

#include <QAbstractItemView>
#include <QTreeWidget>

// The records windows inside the whole program's main window over a fresh program
// folder, a fixed clock and recorded boxes. Test classes derive from it and call
// setUp()/tearDown() from init()/cleanup().
class RecordWindowsFixture : public WindowFixture
{
protected:
    static inline const QDateTime Start{QDate(2026, 12, 10), QTime(10, 0, 0)};

    void setUp()
    {
        Storage::discard();
        setUpHome();
        if (QTest::currentTestFailed())
            return;
        m_clock.set(Start);
        Clock::setInstance(&m_clock);
        m_bot = std::make_unique<BotApplication>();
        m_bot->mainWindow().show();
        QVERIFY(QTest::qWaitForWindowExposed(&m_bot->mainWindow()));
    }
    void tearDown()
    {
        m_bot.reset();
        Clock::setInstance(nullptr);
        Storage::discard();
        tearDownHome();
    }

    MDIForm1 &main() const { return m_bot->mainWindow(); }

    template<typename T = QWidget> T *window(const char *name) const
    {
        return qobject_cast<T *>(main().findWindow(QString::fromLatin1(name)));
    }
    template<typename T> T *show(const char *name)
    {
        main().showWindow(QString::fromLatin1(name));
        return window<T>(name);
    }
    // Closes a window as the operator does, through its frame.
    void close(const char *name)
    {
        QWidget *open = main().findWindow(QString::fromLatin1(name));
        QVERIFY(open);
        QWidget *frame = open->parentWidget() ? open->parentWidget() : open;
        frame->close();
        QTRY_VERIFY(!main().findWindow(QString::fromLatin1(name)));
    }

    // In the middle, once enabled.
    static void click(QAbstractButton *button)
    {
        QVERIFY(button->isEnabled());
        QTest::mouseClick(button, Qt::LeftButton);
    }
    static bool pickRow(QAbstractItemView *list, int row)
    {
        const QModelIndex index = list->model()->index(row, 0);
        if (!index.isValid())
            return false;
        list->scrollTo(index);
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualRect(index).center());
        return list->selectionModel()->isSelected(index);
    }
    // The rows of a list view as shown, columns joined by " | ".
    static QStringList rows(const QAbstractItemView *list)
    {
        const QAbstractItemModel *model = list->model();
        QStringList result;
        for (int row = 0; row < model->rowCount(); ++row) {
            QStringList columns;
            for (int column = 0; column < model->columnCount(); ++column)
                columns.append(model->index(row, column).data().toString());
            result.append(columns.join(QStringLiteral(" | ")));
        }
        return result;
    }

    // The one box shown since the last check.
    void expectBox(const QString &title, const QString &text, Icon icon = Icon::Information)
    {
        WindowFixture::expectBox(title, text, icon, std::nullopt);
    }

    QString fileText(const QString &programPath) const
    {
        return TextFile::readState(programPath) == TextFile::ReadState::Missing ? QStringLiteral("<gone>")
                                                                               : TextFile::readAll(programPath);
    }

    FixedClock m_clock;
    std::unique_ptr<BotApplication> m_bot;
};
