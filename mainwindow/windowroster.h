#pragma once

#include "platform/windowhost.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <functional>

class QWidget;

// Every window the main window opens, by name: its caption, where it lives and
// how it is made. A window's own code registers its factory; until then the
// roster makes a plain placeholder with the right name and caption.
class WindowRoster
{
public:
    using Factory = WindowHost::Factory;
    using Placement = WindowHost::Placement;

    WindowRoster();

    bool contains(const QString &name) const;
    // In the order the windows were listed.
    QStringList names() const;

    // Empty for an unknown name. The statistics window carries today's date.
    QString caption(const QString &name) const;
    Placement placement(const QString &name) const;
    bool hasFactory(const QString &name) const;

    // Replaces the placeholder of a listed window; false for an unknown name.
    bool registerFactory(const QString &name, Factory factory);
    // Lists a further window, or replaces the entry of a listed one.
    void addWindow(const QString &name, const QString &caption, Placement placement,
                   Factory factory = Factory());

    // A new, not yet shown widget: objectName is the window's name, and its caption is
    // the listed one unless the factory gave it one. nullptr for an unknown name or
    // when the factory made nothing.
    QWidget *create(const QString &name, QWidget *parent) const;

private:
    struct Entry
    {
        QString name;
        std::function<QString()> caption;
        Placement placement = Placement::Child;
        Factory factory;
    };

    void add(const QString &name, std::function<QString()> caption, Placement placement);
    const Entry *find(const QString &name) const;
    Entry *find(const QString &name);

    QList<Entry> m_entries;
};
