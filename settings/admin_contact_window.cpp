#include "settings/admin_contact_window.h"

#include "commands/sidetexts.h"
#include "platform/windowhost.h"
#include "platform/windowkit.h"
#include "settings/featureboxes.h"

#include <QCheckBox>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include <utility>

Form24::Form24(WindowHost &windows, QWidget *parent)
    : QWidget(parent)
    , m_windows(windows)
{
    setWindowTitle(QStringLiteral("Связь с админом"));
    Label1 = WindowKit::named(new QLabel(QStringLiteral("Эта функция реализует общение пользователя с вами через бота."), this),
                   "Label1");
    Label1->setWordWrap(true);
    Check1 = WindowKit::named(new QCheckBox(QStringLiteral("Включить фнукцию"), this), "Check1");
    Line1 = WindowKit::line("Line1", this);
    Frame1 = WindowKit::named(new QFrame(this), "Frame1");
    Frame1->setFrameShape(QFrame::StyledPanel);
    Label2 = WindowKit::named(new QLabel(QStringLiteral("Введите ваш UIN:"), Frame1), "Label2");
    Text1 = WindowKit::named(new QLineEdit(Frame1), "Text1");
    Label3 = WindowKit::named(new QLabel(QStringLiteral("Если UIN находиться в \"Чёрном списке\", то он не сможет к вам "
                                             "обратиться."),
                              this),
                   "Label3");
    Label3->setWordWrap(true);
    Line2 = WindowKit::line("Line2", this);
    Command1 = WindowKit::named(new QPushButton(QStringLiteral("Применить"), this), "Command1");
    Command2 = WindowKit::named(new QPushButton(EmbedHelpCaption, this), "Command2");

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
    m_windows.showWindow(QStringLiteral("Form36"));
}
