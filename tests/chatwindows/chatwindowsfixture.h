#pragma once

#include "chat/chatfiles.h"
#include "chat/chatservice.h"
#include "chatwindows/chatwindow.h"
#include "chatwindows/install.h"
#include "core/namedtimer.h"
#include "core/storage.h"
#include "mainwindow/main_window.h"
#include "platform/recordingdialogs.h"
#include "session/messagestate.h"
#include "support/programhome.h"

#include <QAbstractButton>
#include <QAction>
#include <QListView>
#include <QListWidget>
#include <QObject>
#include <QTest>
#include <QTreeWidget>

#include <memory>

// The chat windows inside a real main window over a fresh program folder, with a chat
// service on the main window's timers whose sends are recorded, and boxes recorded.
// Test classes derive from it and call setUp()/tearDown() from init()/cleanup().
class ChatWindowsFixture : public QObject
{
protected:
    using Icon = Dialogs::Icon;
    struct Sent
    {
        QString text;
        QString to;
    };

    void setUp()
    {
        m_home = std::make_unique<ProgramHome>();
        QVERIFY(m_home->isValid());
        m_dialogs = RecordingDialogs();
        Dialogs::setInstance(&m_dialogs);
        m_sent.clear();
        m_main = std::make_unique<MDIForm1>();
        m_chat = std::make_unique<ChatService>(m_main->timers(),
                                               [this](int, const QString &txt, const QString &to) {
                                                   m_sent.append(Sent{txt, to});
                                                   return true;
                                               });
        installChatWindows(*m_main, *m_chat, m_main->timers(), m_main.get());
        m_main->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_main.get()));
    }
    void tearDown()
    {
        // The service lets go of the main window's timers before they go.
        m_chat.reset();
        m_main.reset();
        Storage::instance().flushAll();
        Dialogs::setInstance(nullptr);
        m_home.reset();
    }

    // A user's message reaches the chat, as the answer engine hands it over.
    void say(const QString &uin, const QString &text)
    {
        MessageState state;
        state.SenderUin = uin;
        state.MessageText = text;
        state.slot = 1;
        m_chat->HandleChatMessage(state);
    }
    // The delivery tick, as Timer10 runs it.
    void deliver() { m_main->timers().timer(QStringLiteral("Timer10"))->tick(); }
    QStringList sentTo(const QString &uin) const
    {
        QStringList texts;
        for (const Sent &sent : m_sent) {
            if (sent.to == uin)
                texts.append(sent.text);
        }
        return texts;
    }

    Form33 *openChat()
    {
        m_main->action(QStringLiteral("chat_menu"))->trigger();
        return window<Form33>("Form33");
    }
    template<typename T = QWidget> T *window(const char *name) const
    {
        return qobject_cast<T *>(m_main->findWindow(QString::fromLatin1(name)));
    }

    static void click(QAbstractButton *button)
    {
        QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(6, button->height() / 2));
    }
    static bool pick(QListView *list, const QString &text)
    {
        for (int row = 0; row < list->model()->rowCount(); ++row) {
            const QModelIndex index = list->model()->index(row, 0);
            if (index.data().toString() == text) {
                list->scrollTo(index);
                QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualRect(index).center());
                return list->selectionModel()->isSelected(index);
            }
        }
        return false;
    }
    static bool pick(QTreeWidget *view, int column, const QString &text)
    {
        for (int row = 0; row < view->topLevelItemCount(); ++row) {
            QTreeWidgetItem *item = view->topLevelItem(row);
            if (item->text(column) == text) {
                view->scrollToItem(item);
                QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, view->visualItemRect(item).center());
                return item->isSelected();
            }
        }
        return false;
    }
    static bool pick(QListWidget *list, const QString &text)
    {
        for (int row = 0; row < list->count(); ++row) {
            QListWidgetItem *item = list->item(row);
            if (item->text() == text) {
                QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(item).center());
                return item->isSelected();
            }
        }
        return false;
    }
    static QStringList rows(const QListView *list)
    {
        QStringList result;
        for (int row = 0; row < list->model()->rowCount(); ++row)
            result.append(list->model()->index(row, 0).data().toString());
        return result;
    }
    static QStringList rows(const QTreeWidget *view)
    {
        QStringList result;
        for (int row = 0; row < view->topLevelItemCount(); ++row) {
            QStringList cells;
            for (int column = 0; column < view->columnCount(); ++column)
                cells.append(view->topLevelItem(row)->text(column));
            result.append(cells.join(QLatin1Char('|')));
        }
        return result;
    }
    static QStringList rows(const QListWidget *list)
    {
        QStringList result;
        for (int row = 0; row < list->count(); ++row)
            result.append(list->item(row)->text());
        return result;
    }

    // The one box shown since the last check.
    void expectBox(const QString &title, const QString &text)
    {
        QCOMPARE(m_dialogs.shown.size(), 1);
        const RecordingDialogs::Shown &box = m_dialogs.shown.first();
        QCOMPARE(box.kind, RecordingDialogs::Kind::Message);
        QCOMPARE(box.title, title);
        QCOMPARE(box.text, text);
        QCOMPARE(box.icon, Icon::Information);
        m_dialogs.shown.clear();
    }
    void expectNoMessageBox()
    {
        for (const RecordingDialogs::Shown &box : m_dialogs.shown)
            QVERIFY2(box.kind != RecordingDialogs::Kind::Message, qPrintable(box.text));
        m_dialogs.shown.clear();
    }

    std::unique_ptr<ProgramHome> m_home;
    RecordingDialogs m_dialogs;
    std::unique_ptr<MDIForm1> m_main;
    std::unique_ptr<ChatService> m_chat;
    QList<Sent> m_sent;
};
