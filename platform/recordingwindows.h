#pragma once

#include "platform/windowhost.h"
#include "platform/windowkit.h"

#include <QHash>
#include <QPointer>
#include <QStringList>
#include <QWidget>

// Test double: a frame without an area. It keeps the factories it is given, makes each
// window as a widget of its own on first show, and records the names asked for; without
// factories it shows nothing.
class RecordingWindows : public WindowHost
{
public:
    RecordingWindows() = default;
    RecordingWindows(const RecordingWindows &) = delete;
    RecordingWindows &operator=(const RecordingWindows &) = delete;
    ~RecordingWindows() override
    {
        for (const QPointer<QWidget> &window : std::as_const(open))
            delete window.data();
    }

    bool registerFactory(const QString &name, Factory factory) override
    {
        factories.insert(name, std::move(factory));
        return true;
    }
    void addWindow(const QString &name, const QString &, Placement, Factory factory) override
    {
        factories.insert(name, std::move(factory));
    }
    QWidget *showWindow(const QString &name) override
    {
        shown.append(name);
        if (QWidget *window = findWindow(name)) {
            WindowKit::frameOf(window)->show();
            return window;
        }
        if (!factories.value(name))
            return nullptr;
        QWidget *window = factories.value(name)(nullptr);
        if (!window)
            return nullptr;
        open.insert(name, window);
        window->show();
        return window;
    }
    QWidget *findWindow(const QString &name) const override { return open.value(name).data(); }

    QStringList shown;
    QHash<QString, Factory> factories;
    QHash<QString, QPointer<QWidget>> open;
};
