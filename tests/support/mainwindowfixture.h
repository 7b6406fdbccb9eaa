#pragma once

#include "mainwindow/main_window.h"
#include "support/filemode.h"
#include "support/windowfixture.h"

#include <QAction>

// Windows inside a real main window over a fresh program folder, boxes recorded. A
// fixture says which windows the main window offers in installWindows(); the tests that
// include it link the main window's library.
class MainWindowFixture : public WindowFixture
{
protected:
    void setUp()
    {
        setUpHome();
        if (QTest::currentTestFailed())
            return;
        m_main = std::make_unique<MDIForm1>();
        installWindows(*m_main);
        m_main->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_main.get()));
    }
    void tearDown()
    {
        m_main.reset();
        tearDownHome();
    }

    // Registers the windows under test with the main window.
    virtual void installWindows(MDIForm1 &main) = 0;

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
    // Opened through its menu item, as the operator opens it.
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

    std::unique_ptr<MDIForm1> m_main;
};
