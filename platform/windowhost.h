#pragma once

#include <QObject>
#include <QString>

#include <functional>

class QWidget;

// The frame that makes, finds and raises the program's windows by name. A subsystem
// registers its windows' factories here through its install function; code that needs
// another window asks the frame to show or hide it and then calls that window's own
// methods, never its controls.
class WindowHost
{
public:
    using Factory = std::function<QWidget *(QWidget *parent)>;

    enum class Placement {
        Child,   // inside the main window's MDI area
        TopLevel // a window of its own
    };

    virtual ~WindowHost() = default;

    // Gives a listed window its real widget; false for a name the frame does not list.
    virtual bool registerFactory(const QString &name, Factory factory) = 0;
    // Lists a further window, or replaces the entry of a listed one.
    virtual void addWindow(const QString &name, const QString &caption, Placement placement,
                           Factory factory = Factory()) = 0;
    // Shows the named window without blocking, made on first use, raised when open;
    // the window's own widget, nullptr for an unknown name.
    virtual QWidget *showWindow(const QString &name) = 0;
    // The open window of that name, or nullptr.
    virtual QWidget *findWindow(const QString &name) const = 0;

    // Hides the named open window, or its frame in the main window's area; it stays
    // loaded, and showing it again brings it back as it was. Defined with the window kit.
    void hideWindow(const QString &name);
    // Shows the named window as its own class; nullptr when it is not shown or is
    // another class.
    template<typename T> T *show(const QString &name) { return qobject_cast<T *>(showWindow(name)); }
};
