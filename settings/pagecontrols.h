#pragma once

#include "platform/windowkit.h"

#include <QCheckBox>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QString>
#include <QVBoxLayout>
#include <QWidget>

// Controls of the settings pages, each made under its name.
namespace PageControls {

using WindowKit::line;
using WindowKit::shape;

inline QLabel *label(const char *name, const QString &text, QWidget *parent)
{
    auto *control = WindowKit::named(new QLabel(text, parent), name);
    control->setWordWrap(true);
    return control;
}

// A page's title: bold.
inline QLabel *title(const char *name, const QString &text, QWidget *parent)
{
    QLabel *control = label(name, text, parent);
    QFont font = control->font();
    font.setBold(true);
    control->setFont(font);
    return control;
}

inline QCheckBox *checkBox(const char *name, const QString &text, QWidget *parent)
{
    return WindowKit::named(new QCheckBox(text, parent), name);
}

inline QLineEdit *textBox(const char *name, QWidget *parent)
{
    return WindowKit::named(new QLineEdit(parent), name);
}

inline QPushButton *button(const char *name, const QString &text, QWidget *parent)
{
    return WindowKit::named(new QPushButton(text, parent), name);
}

// A page's frame fills the page; its column starts with the title and the line under it.
// The page adds its own controls to the column it gives.
inline QVBoxLayout *startColumn(QFrame *frame, QLabel *title, QFrame *topLine)
{
    auto *column = new QVBoxLayout(frame);
    column->addWidget(title);
    column->addWidget(topLine);
    return column;
}

// Ends the column: free space, the bottom line and the apply button at the right; the
// frame fills the page.
inline void finishColumn(QWidget *page, QFrame *frame, QVBoxLayout *column, QFrame *bottomLine,
                         QPushButton *apply)
{
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(apply);
    column->addStretch();
    column->addWidget(bottomLine);
    column->addLayout(buttons);
    auto *outer = new QVBoxLayout(page);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->addWidget(frame);
}

} // namespace PageControls
