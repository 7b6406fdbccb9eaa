#pragma once

#include "commandwindows/install.h"
#include "core/cp1251.h"
#include "settings/install.h"
#include "support/mainwindowfixture.h"

// The feature windows inside a real main window over a fresh program folder, with the
// command editor's windows beside them (the help embedding window), boxes recorded.
// Test classes derive from it and call setUp()/tearDown() from init()/cleanup().
class FeatureWindowsFixture : public MainWindowFixture
{
protected:
    void installWindows(MDIForm1 &main) override
    {
        installSettingsWindows(main);
        installCommandWindows(main, &main);
    }

    // Windows-1251 bytes of a text.
    static QByteArray cp1251(const QString &text) { return Cp1251::encode(text); }

    // Closed as the operator closes it; true once the frame has let it go.
    bool closeWindow(const char *name)
    {
        window(name)->close();
        return QTest::qWaitFor([&] { return !window(name); }, 5000);
    }

    using MainWindowFixture::pick;
    static bool pick(QListWidget *list, int row)
    {
        QListWidgetItem *item = list->item(row);
        if (!item)
            return false;
        list->scrollToItem(item);
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(item).center());
        return item->isSelected();
    }
};
