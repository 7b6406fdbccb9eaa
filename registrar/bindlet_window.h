#pragma once

#include "registrar/bindletjob.h"

#include <QLabel>
#include <QWidget>

namespace Bindlet {

// The label of Bindlet's window: a click on it emits clicked().
class ClickableLabel : public QLabel
{
    Q_OBJECT
public:
    using QLabel::QLabel;

Q_SIGNALS:
    void clicked();

protected:
    void mouseReleaseEvent(QMouseEvent *event) override;
};

// Bindlet's only window: one label; a click runs the whole job, and a further click
// runs it again. A failed copy is told in a box; success says nothing.
class Form1 : public QWidget
{
    Q_OBJECT
public:
    static inline const QString Caption = QStringLiteral("Регистрация dll для Korvane");
    static inline const QString LabelText = QStringLiteral("Нажмите сюда, чтобы установить библиотеки");

    // starter is not owned and must outlive the window.
    Form1(BindletJob job, CommandStarter &starter, QWidget *parent = nullptr);

    ClickableLabel *Label1 = nullptr;

    void Label1_Click();

private:
    BindletJob m_job;
    CommandStarter &m_starter;
};

} // namespace Bindlet
