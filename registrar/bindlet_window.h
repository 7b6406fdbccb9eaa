#pragma once

#include "platform/windowkit.h"
#include "registrar/bindletjob.h"

#include <QWidget>

namespace Bindlet {

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

    ClickLabel *Label1 = nullptr;

    void Label1_Click();

private:
    BindletJob m_job;
    CommandStarter &m_starter;
};

} // namespace Bindlet
