#pragma once

#include "commandwindows/install.h"
#include "core/cp1251.h"
#include "mainwindow/main_window.h"
#include "platform/recordingdialogs.h"
#include "settings/settingsinstall.h"
#include "support/filemode.h"
#include "support/programhome.h"

#include <QAbstractButton>
#include <QAction>
#include <QListWidget>
#include <QObject>
#include <QTest>

#include <memory>

// The feature windows inside a real main window over a fresh program folder, with the
// command editor's windows beside them (the help embedding window), boxes recorded.
// Test classes derive from it and call setUp()/tearDown() from init()/cleanup().
class FeatureWindowsFixture : public QObject
{
protected:
    using Icon = Dialogs::Icon;
    using Buttons = Dialogs::Buttons;

    void setUp()
    {
        m_home = std::make_unique<ProgramHome>();
        QVERIFY(m_home->isValid());
        m_dialogs = RecordingDialogs();
        Dialogs::setInstance(&m_dialogs);
        m_main = std::make_unique<MDIForm1>();
        installSettingsWindows(*m_main);
        installCommandWindows(*m_main, m_main.get());
        m_main->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_main.get()));
    }
    void tearDown()
    {
        m_main.reset();
        Dialogs::setInstance(nullptr);
        m_home.reset();
    }

    // Files by their path below the program folder, "/" separated.
    QString path(const QString &relative) const { return m_home->path() + QLatin1Char('/') + relative; }
    QByteArray bytes(const QString &relative) const { return FileProbe::bytes(path(relative)); }
    bool write(const QString &relative, const QByteArray &content)
    {
        return FileProbe::writeBytes(path(relative), content);
    }
    // Windows-1251 bytes of a text.
    static QByteArray cp1251(const QString &text);

    template<typename T = QWidget> T *window(const char *name) const
    {
        return qobject_cast<T *>(m_main->findWindow(QString::fromLatin1(name)));
    }
    // Opened through its menu item, as the operator opens it.
    template<typename T> T *open(const char *action, const char *name)
    {
        m_main->action(QString::fromLatin1(action))->trigger();
        return window<T>(name);
    }

    // Closed as the operator closes it; true once the frame has let it go.
    bool closeWindow(const char *name)
    {
        window(name)->close();
        return QTest::qWaitFor([&] { return !window(name); }, 5000);
    }

    // Near the left edge: a wide option button or check box takes clicks only on its mark and text.
    static void click(QAbstractButton *button)
    {
        QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(6, button->height() / 2));
    }
    static bool pick(QListWidget *list, int row)
    {
        QListWidgetItem *item = list->item(row);
        if (!item)
            return false;
        list->scrollToItem(item);
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(item).center());
        return item->isSelected();
    }
    static QStringList items(const QListWidget *list)
    {
        QStringList result;
        for (int row = 0; row < list->count(); ++row)
            result.append(list->item(row)->text());
        return result;
    }

    // The one box shown since the last check.
    void expectBox(const QString &title, const QString &text, Icon icon = Icon::Information,
                   Buttons buttons = Buttons::Ok)
    {
        QCOMPARE(m_dialogs.shown.size(), 1);
        const RecordingDialogs::Shown &box = m_dialogs.shown.first();
        QCOMPARE(box.kind, RecordingDialogs::Kind::Message);
        QCOMPARE(box.title, title);
        QCOMPARE(box.text, text);
        QCOMPARE(box.icon, icon);
        QCOMPARE(box.buttons, buttons);
        m_dialogs.shown.clear();
    }

    std::unique_ptr<ProgramHome> m_home;
    RecordingDialogs m_dialogs;
    std::unique_ptr<MDIForm1> m_main;
};

inline QByteArray FeatureWindowsFixture::cp1251(const QString &text)
{
    return Cp1251::encode(text);
}
