#include "settings/redirect_window.h"

#include "platform/windowkit.h"
#include "settings/featureboxes.h"

#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

Form18::Form18(QWidget *parent)
    : QWidget(parent)
{
    setWindowTitle(QStringLiteral("Редикет"));
    Shape1 = WindowKit::named(new QFrame(this), "Shape1");
    Shape1->setFrameShape(QFrame::StyledPanel);
    Shape2 = WindowKit::named(new QFrame(this), "Shape2");
    Shape2->setFrameShape(QFrame::StyledPanel);

    Label1 = WindowKit::named(new QLabel(QStringLiteral("Укажите на какой номер будут \"уходить\" сообщения:"), Shape1),
                   "Label1");
    Text1 = WindowKit::named(new QLineEdit(Shape1), "Text1");
    Label2 = WindowKit::named(new QLabel(QStringLiteral("Если Вы хотите отключить редикет, просто оставьте поле пустым."),
                              Shape1),
                   "Label2");
    Label2->setWordWrap(true);
    Option1 = WindowKit::named(new QRadioButton(QStringLiteral("Обработка + редикет"), Shape2), "Option1");
    Option2 = WindowKit::named(new QRadioButton(QStringLiteral("Просто редикет"), Shape2), "Option2");
    Command1 = WindowKit::named(new QPushButton(QStringLiteral("Применить"), this), "Command1");

    auto *numberLayout = new QVBoxLayout(Shape1);
    numberLayout->addWidget(Label1);
    numberLayout->addWidget(Text1);
    numberLayout->addWidget(Label2);
    auto *modeLayout = new QVBoxLayout(Shape2);
    modeLayout->addWidget(Option1);
    modeLayout->addWidget(Option2);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(Shape1);
    layout->addWidget(Shape2);
    layout->addWidget(Command1, 0, Qt::AlignRight);

    connect(Command1, &QPushButton::clicked, this, &Form18::Command1_Click);
    Form_Load();
}

void Form18::Form_Load()
{
    m_setup.load();
    Text1->setText(m_setup.target);
    (m_setup.answersToo ? Option1 : Option2)->setChecked(true);
}

void Form18::Command1_Click()
{
    m_setup.target = Text1->text();
    m_setup.answersToo = Option1->isChecked();
    const TextFile::Result written = m_setup.save();
    if (!written)
        FeatureBoxes::showWriteFailure(written.error);
}
