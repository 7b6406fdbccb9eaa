#pragma once

#include <QCheckBox>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QString>
#include <QWidget>

// Controls of the settings pages, each made under its name.
namespace PageControls {

inline QLabel *label(const char *name, const QString &text, QWidget *parent)
{
    auto *control = new QLabel(text, parent);
    control->setObjectName(QString::fromLatin1(name));
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

inline QFrame *line(const char *name, QWidget *parent)
{
    auto *frame = new QFrame(parent);
    frame->setObjectName(QString::fromLatin1(name));
    frame->setFrameShape(QFrame::HLine);
    frame->setFrameShadow(QFrame::Sunken);
    return frame;
}

inline QFrame *shape(const char *name, QWidget *parent)
{
    auto *frame = new QFrame(parent);
    frame->setObjectName(QString::fromLatin1(name));
    frame->setFrameShape(QFrame::StyledPanel);
    return frame;
}

inline QCheckBox *checkBox(const char *name, const QString &text, QWidget *parent)
{
    auto *control = new QCheckBox(text, parent);
    control->setObjectName(QString::fromLatin1(name));
    return control;
}

inline QLineEdit *textBox(const char *name, QWidget *parent)
{
    auto *control = new QLineEdit(parent);
    control->setObjectName(QString::fromLatin1(name));
    return control;
}

inline QPushButton *button(const char *name, const QString &text, QWidget *parent)
{
    auto *control = new QPushButton(text, parent);
    control->setObjectName(QString::fromLatin1(name));
    return control;
}

} // namespace PageControls
