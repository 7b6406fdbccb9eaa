#pragma once

#include "mainwindow/main_window.h"
#include "platform/recordingdialogs.h"
#include "settings/settingsinstall.h"
#include "support/filemode.h"
#include "support/programhome.h"

#include <QAction>
#include <QMdiSubWindow>
#include <QObject>
#include <QTest>

#include <memory>

// The settings subsystem's windows inside a real main window over a fresh program
// folder, boxes recorded. Test classes derive from it and call setUp()/tearDown() from
// init()/cleanup().
class InfoWindowsFixture : public QObject
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

    template<typename T = QWidget> T *window(const QString &name) const
    {
        return qobject_cast<T *>(m_main->findWindow(name));
    }
    // Opens the window through its menu item, as the operator does.
    template<typename T = QWidget> T *open(const QString &action, const QString &name)
    {
        QAction *item = m_main->action(action);
        if (!item)
            return nullptr;
        item->trigger();
        return window<T>(name);
    }
    template<typename T = QWidget> T *show(const QString &name)
    {
        m_main->showWindow(name);
        return window<T>(name);
    }
    // Shown on screen: its frame in the main window's area, or the window itself.
    static bool onScreen(const QWidget *window)
    {
        if (!window)
            return false;
        if (auto *frame = qobject_cast<QMdiSubWindow *>(window->parentWidget()))
            return frame->isVisible();
        return window->isVisible();
    }
    // Closes the window as the operator does with its frame's close button.
    void closeWindow(const QString &name)
    {
        QWidget *widget = m_main->findWindow(name);
        if (!widget)
            return;
        if (auto *frame = qobject_cast<QMdiSubWindow *>(widget->parentWidget()))
            frame->close();
        else
            widget->close();
        QTRY_VERIFY(!m_main->findWindow(name));
    }

    // Near the left edge: a wide check box takes clicks only on its mark and text.
    template<typename Button> static void click(Button *button)
    {
        QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(6, button->height() / 2));
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
