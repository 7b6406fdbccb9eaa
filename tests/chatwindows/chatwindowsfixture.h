#pragma once

#include "chat/chatfiles.h"
#include "chat/chatservice.h"
#include "chatwindows/chat_window.h"
#include "chatwindows/install.h"
#include "core/namedtimer.h"
#include "core/storage.h"
#include "session/messagestate.h"
#include "support/mainwindowfixture.h"

#include <QListView>
#include <QListWidget>
#include <QTreeWidget>

#include <memory>

// The chat windows inside a real main window over a fresh program folder, with a chat
// service on the main window's timers whose sends are recorded, and boxes recorded.
// Test classes derive from it and call setUp()/tearDown() from init()/cleanup().
class ChatWindowsFixture : public MainWindowFixture
{
protected:
    struct Sent
    {
        QString text;
        QString to;
    };

    void setUp()
    {
        m_sent.clear();
        MainWindowFixture::setUp();
    }
    void installWindows(MDIForm1 &main) override
    {
        m_chat =
            std::make_unique<ChatService>(main.timers(), [this](int, const QString &txt, const QString &to) {
                m_sent.append(Sent{txt, to});
                return true;
            });
        installChatWindows(main, *m_chat, main.timers(), &main);
    }
    void tearDown()
    {
        // The service lets go of the main window's timers before they go.
        m_chat.reset();
        m_main.reset();
        Storage::instance().flushAll();
        MainWindowFixture::tearDown();
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

    Form33 *openChat() { return open<Form33>(QStringLiteral("chat_menu"), QStringLiteral("Form33")); }
    using WindowFixture::pick;
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
    static bool pick(QTreeView *view, int column, const QString &text)
    {
        const QAbstractItemModel *model = view->model();
        for (int row = 0; row < model->rowCount(); ++row) {
            const QModelIndex index = model->index(row, column);
            if (index.data().toString() == text) {
                view->scrollTo(index);
                QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, view->visualRect(index).center());
                return view->selectionModel()->isRowSelected(row, QModelIndex());
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
    static QStringList rows(const QTreeView *view)
    {
        const QAbstractItemModel *model = view->model();
        QStringList result;
        for (int row = 0; row < model->rowCount(); ++row) {
            QStringList cells;
            for (int column = 0; column < model->columnCount(); ++column)
                cells.append(model->index(row, column).data().toString());
            result.append(cells.join(QLatin1Char('|')));
        }
        return result;
    }
    static QStringList rows(const QListWidget *list) { return items(list); }

    // The one box shown since the last check, with the information icon, any buttons.
    void expectBox(const QString &title, const QString &text)
    {
        WindowFixture::expectBox(title, text, Icon::Information, std::nullopt);
    }
    void expectNoMessageBox()
    {
        for (const RecordingDialogs::Shown &box : m_dialogs.shown)
            QVERIFY2(box.kind != RecordingDialogs::Kind::Message, qPrintable(box.text));
        m_dialogs.shown.clear();
    }

    std::unique_ptr<ChatService> m_chat;
    QList<Sent> m_sent;
};
