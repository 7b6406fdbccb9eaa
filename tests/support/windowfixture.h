#pragma once

#include "platform/recordingdialogs.h"
#include "support/programhome.h"

#include <QAbstractButton>
#include <QListWidget>
#include <QObject>
#include <QPoint>
#include <QStringList>
#include <QTest>

#include <memory>
#include <optional>

// What every window test needs: a fresh program folder, boxes recorded, and the operator's
// clicks on buttons and lists. Header-only, so that only the window tests that include it
// need the widgets. Test classes derive from a fixture over it and call setUp()/tearDown()
// from init()/cleanup().
class WindowFixture : public QObject
{
protected:
    using Icon = Dialogs::Icon;
    using Buttons = Dialogs::Buttons;

    // A fresh program folder; boxes are recorded from now on.
    void setUpHome()
    {
        m_home = std::make_unique<ProgramHome>();
        QVERIFY(m_home->isValid());
        m_dialogs = RecordingDialogs();
        Dialogs::setInstance(&m_dialogs);
    }
    void tearDownHome()
    {
        Dialogs::setInstance(nullptr);
        m_home.reset();
    }

    // Near the left edge: a wide option button or check box takes clicks only on its mark
    // and text.
    template<typename Button> static void click(Button *button)
    {
        QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(6, button->height() / 2));
    }
    // Clicks the row showing the text; true when it is then selected.
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
    // The same for a list view over a model: the first column's shown texts.
    static bool pick(QAbstractItemView *list, const QString &text)
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
    static QStringList items(const QAbstractItemView *list)
    {
        QStringList result;
        for (int row = 0; row < list->model()->rowCount(); ++row)
            result.append(list->model()->index(row, 0).data().toString());
        return result;
    }

    // The one box shown since the last check; its buttons are checked when given.
    void expectBox(const QString &title, const QString &text, Icon icon = Icon::Information,
                   std::optional<Buttons> buttons = Buttons::Ok)
    {
        QCOMPARE(m_dialogs.shown.size(), 1);
        const RecordingDialogs::Shown &box = m_dialogs.shown.constFirst();
        QCOMPARE(box.kind, RecordingDialogs::Kind::Message);
        QCOMPARE(box.title, title);
        QCOMPARE(box.text, text);
        QCOMPARE(box.icon, icon);
        if (buttons)
            QCOMPARE(box.buttons, *buttons);
        m_dialogs.shown.clear();
    }

    std::unique_ptr<ProgramHome> m_home;
    RecordingDialogs m_dialogs;
};
