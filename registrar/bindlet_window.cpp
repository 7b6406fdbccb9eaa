#include "registrar/bindlet_window.h"

#include "platform/dialogs.h"

#include <QMouseEvent>
#include <QVBoxLayout>

namespace Bindlet {

void ClickableLabel::mouseReleaseEvent(QMouseEvent *event)
{
    QLabel::mouseReleaseEvent(event);
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        Q_EMIT clicked();
}

Form1::Form1(BindletJob job, CommandStarter &starter, QWidget *parent)
    : QWidget(parent)
    , m_job(std::move(job))
    , m_starter(starter)
{
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(Caption);
    Label1 = new ClickableLabel(LabelText, this);
    Label1->setObjectName(QStringLiteral("Label1"));
    QFont font(QStringLiteral("MS Sans Serif"));
    font.setBold(true);
    Label1->setFont(font);
    Label1->setAlignment(Qt::AlignCenter);
    Label1->setCursor(Qt::PointingHandCursor);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(Label1);
    resize(360, 120);
    connect(Label1, &ClickableLabel::clicked, this, &Form1::Label1_Click);
}

void Form1::Label1_Click()
{
    const BindletJob::Outcome outcome = m_job.run(m_starter);
    if (!outcome.ok)
        Dialogs::instance().message(BindletJob::ErrorTitle, BindletJob::CopyFailedText + outcome.failedFile,
                                    Dialogs::Icon::Critical, Dialogs::Buttons::Ok);
}

} // namespace Bindlet
