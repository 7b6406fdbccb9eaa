#pragma once

#include <QLineEdit>

// A password box shows "*" for every character, whatever the desktop style prefers.
inline void maskWithAsterisks(QLineEdit *edit)
{
    edit->setEchoMode(QLineEdit::Password);
    edit->setStyleSheet(QStringLiteral("lineedit-password-character: 42"));
}
