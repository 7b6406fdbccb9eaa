#include "registrar/bindlet_window.h"

#include "platform/dialogs.h"

#include <QVBoxLayout>

namespace Bindlet {

Form1::Form1(BindletJob job, CommandStarter &starter, QWidget *parent)
    : QWidget(parent)
    , m_job(std::move(job))
    , m_starter(starter)
{
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(Caption);
    // Its own font, not the link's underline.
    Label1 = WindowKit::named(new ClickLabel(LabelText, this), "Label1");
    QFont font(QStringLiteral("MS Sans Serif"));
    font.setBold(true);
    Label1->setFont(font);
    Label1->setAlignment(Qt::AlignCenter);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(Label1);
    resize(360, 120);
    connect(Label1, &ClickLabel::clicked, this, &Form1::Label1_Click);
}

void Form1::Label1_Click()
{
    const BindletJob::Outcome outcome = m_job.run(m_starter);
    if (!outcome.ok)
        Dialogs::instance().message(BindletJob::ErrorTitle, BindletJob::CopyFailedText + outcome.failedFile,
                                    Dialogs::Icon::Critical, Dialogs::Buttons::Ok);
}

} // namespace Bindlet
