#pragma once

#include <QPlainTextEdit>
#include <QString>

#include <type_traits>

// Typing into a box as the keyboard would, letters the test keyboard cannot send included.
template<typename Box> void typeInto(Box *box, const QString &text)
{
    box->setFocus();
    if constexpr (std::is_same_v<Box, QPlainTextEdit>)
        box->insertPlainText(text);
    else
        box->insert(text);
}
