#pragma once

#include <QString>

// The stored login as the auto-login page scrambles it, written here independently of
// the program's own code so a test catches a fault in either.
QString scrambledNumber(qint64 number);
QString scrambledPassword(const QString &password);
