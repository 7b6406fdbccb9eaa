#pragma once

#include <QList>

// One row of the main window's menu tree, in display order. Top-level menus and
// the bare menu-bar item have no parent.
struct MainMenuEntry
{
    enum Kind { Menu, Item, Separator };
    enum Flag {
        NoFlags = 0,
        Checkable = 0x1,
        Checked = 0x2,
        Disabled = 0x4,
        // Under this item the frame lists its open child windows.
        WindowList = 0x8
    };

    Kind kind;
    const char *name;
    const char *caption; // UTF-8; nullptr for separators
    const char *parent;  // nullptr on the menu bar
    int flags;
    const char *opens; // the window the item opens, or nullptr
};

const QList<MainMenuEntry> &mainMenuEntries();

// One toolbar button: its key, tooltip, picture and the window it opens.
struct ToolbarEntry
{
    const char *key;
    const char *toolTip; // UTF-8
    const char *picture;
    const char *opens;
};

const QList<ToolbarEntry> &toolbarEntries();
