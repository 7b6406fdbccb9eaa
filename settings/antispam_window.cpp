#include "settings/antispam_window.h"

#include "platform/windowkit.h"
#include "settings/featureboxes.h"

#include <QCheckBox>
#include <QFrame>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

QPlainTextEdit *textBox(QWidget *parent, const char *name)
{
    auto *box = WindowKit::named(new QPlainTextEdit(parent), name);
    box->setTabChangesFocus(true);
    // Five lines each at first, so the window fits a small screen; more as it grows.
    box->setSizePolicy(box->sizePolicy().horizontalPolicy(), QSizePolicy::Ignored);
    box->setMinimumHeight(5 * box->fontMetrics().lineSpacing() + 2 * box->frameWidth() + 8);
    return box;
}

} // namespace

Form32::Form32(QWidget *parent)
    : QWidget(parent)
{
    setWindowTitle(QStringLiteral("Анти-спам"));
    Check1 = WindowKit::named(new QCheckBox(QStringLiteral("Включить анти-спамбот"), this), "Check1");
    Line1 = WindowKit::named(new QFrame(this), "Line1");
    Line1->setFrameShape(QFrame::HLine);
    Line1->setFrameShadow(QFrame::Sunken);
    Shape1 = WindowKit::shape("Shape1", this);
    Shape2 = WindowKit::shape("Shape2", this);
    Shape3 = WindowKit::shape("Shape3", this);
    Label1 = WindowKit::named(new QLabel(QStringLiteral("Вопрос:"), Shape1), "Label1");
    Text1 = textBox(Shape1, "Text1");
    Label2 = WindowKit::named(new QLabel(QStringLiteral("Ответ:"), Shape2), "Label2");
    Text2 = textBox(Shape2, "Text2");
    Label3 = WindowKit::named(new QLabel(QStringLiteral("Сообщение об правильном ответе:"), Shape3), "Label3");
    Text3 = textBox(Shape3, "Text3");
    Command1 = WindowKit::named(new QPushButton(QStringLiteral("Применить"), this), "Command1");

    const struct
    {
        QFrame *shape;
        QLabel *label;
        QPlainTextEdit *box;
    } parts[] = {{Shape1, Label1, Text1}, {Shape2, Label2, Text2}, {Shape3, Label3, Text3}};
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(Check1);
    layout->addWidget(Line1);
    for (const auto &part : parts) {
        auto *inner = new QVBoxLayout(part.shape);
        inner->addWidget(part.label);
        inner->addWidget(part.box, 1);
        layout->addWidget(part.shape, 1);
    }
    layout->addWidget(Command1, 0, Qt::AlignRight);

    connect(Command1, &QPushButton::clicked, this, &Form32::Command1_Click);
    Form_Load();
}

void Form32::Form_Load()
{
    m_setup.load();
    Check1->setChecked(m_setup.contents.on);
    FeatureBoxes::setBoxText(Text1, m_setup.contents.question);
    FeatureBoxes::setBoxText(Text2, m_setup.contents.answer);
    FeatureBoxes::setBoxText(Text3, m_setup.contents.success);
}

void Form32::Command1_Click()
{
    m_setup.contents.on = Check1->isChecked();
    m_setup.contents.question = FeatureBoxes::boxText(Text1);
    m_setup.contents.answer = FeatureBoxes::boxText(Text2);
    m_setup.contents.success = FeatureBoxes::boxText(Text3);
    const AntiSpamSetup::Result saved = m_setup.save();
    if (saved.outcome == AntiSpamSetup::Outcome::Unstorable)
        FeatureBoxes::showError(SeparatorRefusal);
    else if (saved.outcome == AntiSpamSetup::Outcome::WriteFailed)
        FeatureBoxes::showWriteFailure(saved.error);
}
