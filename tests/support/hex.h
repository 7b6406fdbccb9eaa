#pragma once

#include <QByteArray>
#include <QString>

// Bytes written as hex digits in a test, "2A02 0005" style; spaces are passed over. A
// stray character or a lone digit is a typo in the test and stops it at once rather
// than become a silently wrong byte.
QByteArray hex(const char *text);

// The same bytes as lower-case hex pairs with spaces, the form QByteArray::toHex(' ')
// gives, so failing comparisons print readable bytes.
QString hexText(const char *text);
