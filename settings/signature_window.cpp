#include "settings/signature_window.h"

#include "platform/windowkit.h"
#include "settings/featureboxes.h"

#include <QCheckBox>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

Form34::Form34(QWidget *parent)
    : QWidget(parent)
{
    setWindowTitle(QStringLiteral("Подпись"));
    Check1 = WindowKit::named(new QCheckBox(QStringLiteral("Включить подпись"), this), "Check1");
    Line1 = WindowKit::named(new QFrame(this), "Line1");
    Line1->setFrameShape(QFrame::HLine);
    Line1->setFrameShadow(QFrame::Sunken);
    Shape1 = WindowKit::named(new QFrame(this), "Shape1");
    Shape1->setFrameShape(QFrame::StyledPanel);
    Shape2 = WindowKit::named(new QFrame(this), "Shape2");
    Shape2->setFrameShape(QFrame::StyledPanel);
    Label1 = WindowKit::named(new QLabel(QStringLiteral("Введите подпись (1 строка = 1 подпись)"), Shape1), "Label1");
    Text1 = WindowKit::named(new QPlainTextEdit(Shape1), "Text1");
    Text1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    Text1->setTabChangesFocus(true);
    Label2 = WindowKit::named(new QLabel(QStringLiteral("Разделитель между основынм сообщением и подписью:"), Shape2),
                   "Label2");
    Text2 = WindowKit::named(new QLineEdit(Shape2), "Text2");
    Label3 = WindowKit::named(new QLabel(QStringLiteral("vbcrlf - дополнительный переход на одну строчку"), Shape2), "Label3");
    Command1 = WindowKit::named(new QPushButton(QStringLiteral("Сохранить и применить"), this), "Command1");

    auto *signatures = new QVBoxLayout(Shape1);
    signatures->addWidget(Label1);
    signatures->addWidget(Text1);
    auto *separator = new QVBoxLayout(Shape2);
    separator->addWidget(Label2);
    separator->addWidget(Text2);
    separator->addWidget(Label3);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(Check1);
    layout->addWidget(Line1);
    layout->addWidget(Shape1, 1);
    layout->addWidget(Shape2);
    layout->addWidget(Command1, 0, Qt::AlignRight);

    connect(Command1, &QPushButton::clicked, this, &Form34::Command1_Click);
    Form_Load();
}

void Form34::Form_Load()
{
    m_setup.load();
    Check1->setChecked(m_setup.on);
    Text2->setText(m_setup.separator);
    FeatureBoxes::setBoxText(Text1, m_setup.signatureText);
}

void Form34::Command1_Click()
{
    m_setup.on = Check1->isChecked();
    m_setup.separator = Text2->text();
    m_setup.signatureText = FeatureBoxes::boxText(Text1);
    const SignatureSetup::Result saved = m_setup.save();
    if (saved.outcome == SignatureSetup::Outcome::NoSignature)
        FeatureBoxes::showError(QStringLiteral("Вы не ввели текст"));
    else if (saved.outcome == SignatureSetup::Outcome::WriteFailed)
        FeatureBoxes::showWriteFailure(saved.error);
}
