#include "settings/admin_contact_window.h"

#include "commands/sidetexts.h"
#include "settings/featureboxes.h"

#include <QCheckBox>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include <utility>

Form24::Form24(ShowFeatureWindow showWindow, QWidget *parent)
    : QWidget(parent)
    , m_showWindow(std::move(showWindow))
{
    setWindowTitle(QStringLiteral("Связь с админом"));
    Label1 = FeatureBoxes::named(new QLabel(QStringLiteral("Эта функция реализует общение пользователя с вами через бота."), this),
                   "Label1");
    Label1->setWordWrap(true);
    Check1 = FeatureBoxes::named(new QCheckBox(QStringLiteral("Включить фнукцию"), this), "Check1");
    Line1 = FeatureBoxes::line(this, "Line1");
    Frame1 = FeatureBoxes::named(new QFrame(this), "Frame1");
    Frame1->setFrameShape(QFrame::StyledPanel);
    Label2 = FeatureBoxes::named(new QLabel(QStringLiteral("Введите ваш UIN:"), Frame1), "Label2");
    Text1 = FeatureBoxes::named(new QLineEdit(Frame1), "Text1");
    Label3 = FeatureBoxes::named(new QLabel(QStringLiteral("Если UIN находиться в \"Чёрном списке\", то он не сможет к вам "
                                             "обратиться."),
                              this),
                   "Label3");
    Label3->setWordWrap(true);
    Line2 = FeatureBoxes::line(this, "Line2");
    Command1 = FeatureBoxes::named(new QPushButton(QStringLiteral("Применить"), this), "Command1");
    Command2 = FeatureBoxes::named(new QPushButton(EmbedHelpCaption, this), "Command2");

    auto *frameLayout = new QVBoxLayout(Frame1);
    frameLayout->addWidget(Label2);
    frameLayout->addWidget(Text1);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(Label1);
    layout->addWidget(Check1);
    layout->addWidget(Line1);
    layout->addWidget(Frame1);
    layout->addWidget(Label3);
    layout->addWidget(Command1, 0, Qt::AlignRight);
    layout->addWidget(Line2);
    layout->addWidget(Command2);

    connect(Command1, &QPushButton::clicked, this, &Form24::Command1_Click);
    connect(Command2, &QPushButton::clicked, this, &Form24::Command2_Click);
    Form_Load();
}

void Form24::Form_Load()
{
    m_setup.load();
    Check1->setChecked(m_setup.contents.on);
    Text1->setText(m_setup.contents.admin);
}

void Form24::Command1_Click()
{
    m_setup.contents.on = Check1->isChecked();
    m_setup.contents.admin = Text1->text();
    const TextFile::Result written = m_setup.save();
    if (!written)
        FeatureBoxes::showWriteFailure(written.error);
}

void Form24::Command2_Click()
{
    HelpEmbedding::setKind(HelpEmbedding::AdminContact);
    if (m_showWindow)
        m_showWindow(QStringLiteral("Form36"));
}
