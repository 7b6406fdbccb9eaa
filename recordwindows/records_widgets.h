#pragma once

#include <QObject>

// The records windows name their controls as the operator's tests and the other windows
// find them.
namespace RecordWidgets {

template<typename T> T *named(T *widget, const char *name)
{
    widget->setObjectName(QString::fromLatin1(name));
    return widget;
}

} // namespace RecordWidgets
