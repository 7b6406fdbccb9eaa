#pragma once

#include "commandwindows/install.h"
#include "support/mainwindowfixture.h"

#include <QComboBox>

// The command windows inside a real main window over a fresh program folder, boxes
// recorded. Test classes derive from it and call setUp()/tearDown() from init()/cleanup().
class CommandWindowsFixture : public MainWindowFixture
{
protected:
    void installWindows(MDIForm1 &main) override { installCommandWindows(main, &main); }
};
