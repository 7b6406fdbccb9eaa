#pragma once

#include "core/namedtimer.h"
#include "engine/answerengine.h"
#include "mainwindow/main_window.h"
#include "platform/recordingdialogs.h"
#include "recordwindows/install.h"
#include "session/icqsession.h"
#include "support/filemode.h"
#include "support/programhome.h"

#include <QAbstractButton>
#include <QListWidget>
#include <QObject>
#include <QTest>

#include <memory>

// The people windows inside a real main window over a fresh program folder, boxes
// recorded, the bot offline. Test classes derive from it and call setUp()/tearDown()
// from init()/cleanup().
class PeopleWindowsFixture : public QObject
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
        m_statuses.clear();
        m_session = std::make_unique<IcqSession>();
        m_timer1 = std::make_unique<NamedTimer>(QStringLiteral("Timer1"));
        m_engine = std::make_unique<AnswerEngine>(*m_timer1,
                                                  [](int, const QString &, const QString &) { return true; });
        m_main = std::make_unique<MDIForm1>();
        const RecordsContext context{*m_session, *m_engine, m_main.get(),
                                     [this](int code) { m_statuses.append(code); }};
        installRecordsWindows(*m_main, context);
        m_main->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_main.get()));
    }
    void tearDown()
    {
        m_main.reset();
        m_engine.reset();
        m_timer1.reset();
        m_session.reset();
        Dialogs::setInstance(nullptr);
        m_home.reset();
    }

    // Files by their program path ("\\Списки пользователей\\Контакты.txt").
    QByteArray bytes(const QString &programPath) const
    {
        return FileProbe::bytes(m_home->filePath(programPath));
    }
    bool write(const QString &programPath, const QByteArray &content)
    {
        return FileProbe::writeBytes(m_home->filePath(programPath), content);
    }

    template<typename T = QWidget> T *window(const char *name) const
    {
        return qobject_cast<T *>(m_main->findWindow(QString::fromLatin1(name)));
    }
    template<typename T> T *open(const char *action, const char *name)
    {
        m_main->action(QString::fromLatin1(action))->trigger();
        return window<T>(name);
    }
    template<typename T> T *show(const char *name)
    {
        m_main->showWindow(QString::fromLatin1(name));
        return window<T>(name);
    }

    // Near the left edge: a wide option button takes clicks only on its mark and text.
    static void click(QAbstractButton *button)
    {
        QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(6, button->height() / 2));
    }
    static bool pick(QListWidget *list, const QString &text)
    {
        for (int row = 0; row < list->count(); ++row) {
            QListWidgetItem *item = list->item(row);
            if (item->text() == text) {
                list->scrollToItem(item);
                QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(item).center());
                return item->isSelected();
            }
        }
        return false;
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
    // The one input box asked since the last check.
    void expectInput(const QString &title, const QString &prompt)
    {
        QCOMPARE(m_dialogs.shown.size(), 1);
        const RecordingDialogs::Shown &box = m_dialogs.shown.first();
        QCOMPARE(box.kind, RecordingDialogs::Kind::Input);
        QCOMPARE(box.title, title);
        QCOMPARE(box.text, prompt);
        m_dialogs.shown.clear();
    }

    std::unique_ptr<ProgramHome> m_home;
    RecordingDialogs m_dialogs;
    std::unique_ptr<IcqSession> m_session;
    std::unique_ptr<NamedTimer> m_timer1;
    std::unique_ptr<AnswerEngine> m_engine;
    std::unique_ptr<MDIForm1> m_main;
    QList<int> m_statuses; // what the status window set
};
