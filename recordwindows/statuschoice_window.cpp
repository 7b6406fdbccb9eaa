#include "recordwindows/statuschoice_window.h"

#include "records/statuschoice.h"

#include <QComboBox>
#include <QPushButton>
#include <QVBoxLayout>

Form3::Form3(SetStatus setStatus, QWidget *parent)
    : QWidget(parent)
    , m_setStatus(std::move(setStatus))
{
    setWindowTitle(QStringLiteral("Сменить статус"));
    Combo1 = new QComboBox(this);
    Combo1->setObjectName(QStringLiteral("Combo1"));
    Combo1->addItems(StatusChoice::names());
    Combo1->setCurrentIndex(-1);
    Command1 = new QPushButton(QStringLiteral("Сменить статус"), this);
    Command1->setObjectName(QStringLiteral("Command1"));
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(Combo1);
    layout->addWidget(Command1);
    connect(Command1, &QPushButton::clicked, this, &Form3::Command1_Click);
}

void Form3::Command1_Click()
{
    const int code = StatusChoice::choose(Combo1->currentText());
    const int botStatus = StatusChoice::botStatusOf(code);
    if (botStatus != 0 && m_setStatus)
        m_setStatus(botStatus);
}
