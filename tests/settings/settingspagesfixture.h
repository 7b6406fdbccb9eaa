#pragma once

#include "core/programfolder.h"
#include "platform/autostart.h"
#include "platform/recordingautostart.h"
#include "settings/settings_window.h"
#include "settings/settingspage.h"
#include "support/filemode.h"
#include "support/typing.h"
#include "support/windowfixture.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QLineEdit>

#include <memory>

// The settings window over a fresh program folder, boxes and the autostart entry
// recorded. Test classes derive from it and call setUp()/tearDown() from init()/cleanup().
class SettingsPagesFixture : public WindowFixture
{
protected:
    static inline const QString GeneralFile = QStringLiteral("\\Настройки\\Общие.txt");

    void setUp()
    {
        setUpHome();
        m_autostart = RecordingAutostart();
        Autostart::setInstance(&m_autostart);
    }
    void tearDown()
    {
        m_window.reset();
        Autostart::setInstance(nullptr);
        ProgramFolder::setHome(QString());
        tearDownHome();
    }

    // Opens the window afresh, as the operator would after closing it: every page reads
    // its file now.
    Form1 *openWindow()
    {
        m_window.reset();
        m_window = std::make_unique<Form1>();
        m_window->resize(820, 620);
        m_window->show();
        if (!QTest::qWaitForWindowExposed(m_window.get()))
            return nullptr;
        return m_window.get();
    }
    // Clicks the tab and gives its page, now the visible one.
    template<typename Page> Page *openPage(const char *tabName)
    {
        if (!m_window && !openWindow())
            return nullptr;
        auto *tab = m_window->findChild<SettingsTab *>(QString::fromLatin1(tabName));
        if (!tab)
            return nullptr;
        QTest::mouseClick(tab, Qt::LeftButton);
        return qobject_cast<Page *>(m_window->visiblePage());
    }

    static void setTicked(QAbstractButton *box, bool ticked)
    {
        if (box->isChecked() != ticked)
            click(box);
    }
    static void retype(QLineEdit *box, const QString &text)
    {
        box->selectAll();
        box->del();
        typeInto(box, text);
    }

    // Replaces the box's text by a paste through the clipboard, as the operator would;
    // a pasted line break stays in the box.
    static void paste(QLineEdit *box, const QString &text)
    {
        QGuiApplication::clipboard()->setText(text);
        box->setFocus();
        box->selectAll();
        QTest::keyClick(box, Qt::Key_V, Qt::ControlModifier);
    }

    QString path(const QString &programPath) const { return m_home->filePath(programPath); }
    QByteArray bytes(const QString &programPath) const { return FileProbe::bytes(path(programPath)); }
    bool write(const QString &programPath, const QByteArray &content)
    {
        return FileProbe::writeBytes(path(programPath), content);
    }
    QByteArray general() const { return bytes(GeneralFile); }

    // The one box shown since the last check, whatever its buttons.
    void expectBox(const QString &title, const QString &text, Dialogs::Icon icon)
    {
        WindowFixture::expectBox(title, text, icon, std::nullopt);
    }

    RecordingAutostart m_autostart;
    std::unique_ptr<Form1> m_window;
};
