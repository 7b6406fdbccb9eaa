#pragma once

#include <QIcon>
#include <QString>

// The toolbar's pictures, keyed "too1" to "too5", and the program's icon, drawn at
// run time so the program ships no image files.
namespace Pictures {

// A null icon for an unknown key.
QIcon toolbarPicture(const QString &key);
QIcon programIcon();

} // namespace Pictures
