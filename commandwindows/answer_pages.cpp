#include "commandwindows/answer_pages.h"

#include "commandwindows/windowhelpers.h"
#include "platform/dialogs.h"
#include "platform/windowkit.h"

#include <QDir>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

using namespace CommandWindows;
using Answer = CommandWizard::Answer;
using CommandBase::AnswerKind;

namespace {

const QString SaveCaption = QStringLiteral("Сохранить команду");
const QString ExtensionsNote = QStringLiteral("Поддерживаются файлы с раширением: txt, doc, rtf");

using WindowKit::named;

// The open-file box; the chosen file goes into the box, a cancel leaves it.
void pickFileInto(QLineEdit *box)
{
    const QString chosen = Dialogs::instance().openFile(QString(), QString());
    if (!chosen.isEmpty())
        box->setText(QDir::toNativeSeparators(chosen));
}

} // namespace

AnswerPage::AnswerPage(CommandWizard &wizard, QWidget *parent)
    : QWidget(parent)
    , m_wizard(wizard)
{
}

QPushButton *AnswerPage::saveButton(const char *name)
{
    auto *button = named(new QPushButton(SaveCaption, this), name);
    connect(button, &QPushButton::clicked, this, &AnswerPage::save);
    return button;
}

void AnswerPage::save()
{
    const Answer values = answer();
    const QString refusal = CommandWizard::refusal(values);
    if (!refusal.isEmpty()) {
        showError(refusal);
        return;
    }
    const CommandEditor::Result result = m_wizard.save(m_handover, values);
    if (!result) {
        showFailure(result);
        return;
    }
    Q_EMIT saved();
}

// --- text ------------------------------------------------------------------------------

add_t::add_t(CommandWizard &wizard, QWidget *parent)
    : AnswerPage(wizard, parent)
{
    Text1 = named(new QPlainTextEdit(this), "Text1");
    Text1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    Command1 = saveButton("Command1");
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(Text1, 1);
    layout->addWidget(Command1, 0, Qt::AlignRight);
}

Answer add_t::answer() const
{
    Answer values;
    values.text = CommandEditor::fromEditorText(Text1->toPlainText());
    return values;
}

void add_t::setAnswer(const Answer &answer)
{
    Text1->setPlainText(CommandEditor::toEditorText(answer.text));
}

// --- file ------------------------------------------------------------------------------

add_fr::add_fr(CommandWizard &wizard, QWidget *parent)
    : AnswerPage(wizard, parent)
{
    Label1 = named(new QLabel(QStringLiteral("Введите или выберите путь к файлу:"), this), "Label1");
    Text1 = named(new QLineEdit(this), "Text1");
    Command1 = named(new QPushButton(QStringLiteral("..."), this), "Command1");
    Label2 = named(new QLabel(ExtensionsNote, this), "Label2");
    Command2 = saveButton("Command2");
    auto *layout = new QGridLayout(this);
    layout->addWidget(Label1, 0, 0, 1, 2);
    layout->addWidget(Text1, 1, 0);
    layout->addWidget(Command1, 1, 1);
    layout->addWidget(Label2, 2, 0, 1, 2);
    layout->setRowStretch(3, 1);
    layout->addWidget(Command2, 4, 0, 1, 2, Qt::AlignRight);
    connect(Command1, &QPushButton::clicked, this, [this] { pickFileInto(Text1); });
}

Answer add_fr::answer() const
{
    Answer values;
    values.kind = AnswerKind::File;
    values.path = Text1->text();
    return values;
}

void add_fr::setAnswer(const Answer &answer)
{
    Text1->setText(answer.path);
}

// --- program ---------------------------------------------------------------------------

add_frp::add_frp(CommandWizard &wizard, QWidget *parent)
    : AnswerPage(wizard, parent)
{
    Label1 = named(new QLabel(QStringLiteral("Введите путь к запускаемой программе"), this), "Label1");
    Text1 = named(new QLineEdit(this), "Text1");
    Command1 = named(new QPushButton(QStringLiteral("..."), this), "Command1");
    Label2 = named(new QLabel(QStringLiteral("Время действия программы (после чего считывается ответ)"), this),
                   "Label2");
    Text2 = named(new QLineEdit(this), "Text2");
    Text2->setMaximumWidth(80);
    Label4 = named(new QLabel(QStringLiteral("сек."), this), "Label4");
    Label3 = named(new QLabel(QStringLiteral("Путь к файлу-ответу"), this), "Label3");
    Text3 = named(new QLineEdit(this), "Text3");
    Command2 = named(new QPushButton(QStringLiteral("..."), this), "Command2");
    Command3 = saveButton("Command3");
    auto *layout = new QGridLayout(this);
    layout->addWidget(Label1, 0, 0, 1, 2);
    layout->addWidget(Text1, 1, 0);
    layout->addWidget(Command1, 1, 1);
    layout->addWidget(Label2, 2, 0, 1, 2);
    auto *seconds = new QHBoxLayout;
    seconds->addWidget(Text2);
    seconds->addWidget(Label4);
    seconds->addStretch(1);
    layout->addLayout(seconds, 3, 0, 1, 2);
    layout->addWidget(Label3, 4, 0, 1, 2);
    layout->addWidget(Text3, 5, 0);
    layout->addWidget(Command2, 5, 1);
    layout->setRowStretch(6, 1);
    layout->addWidget(Command3, 7, 0, 1, 2, Qt::AlignRight);
    connect(Command1, &QPushButton::clicked, this, [this] { pickFileInto(Text1); });
    connect(Command2, &QPushButton::clicked, this, [this] { pickFileInto(Text3); });
}

Answer add_frp::answer() const
{
    Answer values;
    values.kind = AnswerKind::Program;
    values.program = Text1->text();
    values.seconds = Text2->text();
    values.answerFile = Text3->text();
    return values;
}

void add_frp::setAnswer(const Answer &answer)
{
    Text1->setText(answer.program);
    Text2->setText(answer.seconds);
    Text3->setText(answer.answerFile);
}

// --- download --------------------------------------------------------------------------

add_rdi::add_rdi(CommandWizard &wizard, QWidget *parent)
    : AnswerPage(wizard, parent)
{
    Label1 = named(new QLabel(QStringLiteral("Введите ссылку на файл:"), this), "Label1");
    Text1 = named(new QLineEdit(this), "Text1");
    Label2 = named(new QLabel(ExtensionsNote, this), "Label2");
    Label3 = named(new QLabel(QStringLiteral("Если программа не смогла скачать файл в течении 20 секунд, то команда "
                                             "обрывается и посылается ответ пользователю, что файл не может быть "
                                             "обработан."),
                              this),
                   "Label3");
    Label3->setWordWrap(true);
    Command2 = saveButton("Command2");
    auto *layout = new QVBoxLayout(this);
    for (QWidget *widget : {static_cast<QWidget *>(Label1), static_cast<QWidget *>(Text1),
                            static_cast<QWidget *>(Label2), static_cast<QWidget *>(Label3)})
        layout->addWidget(widget);
    layout->addStretch(1);
    layout->addWidget(Command2, 0, Qt::AlignRight);
}

Answer add_rdi::answer() const
{
    Answer values;
    values.kind = AnswerKind::Download;
    values.url = Text1->text();
    return values;
}

void add_rdi::setAnswer(const Answer &answer)
{
    Text1->setText(answer.url);
}

// --- random ----------------------------------------------------------------------------

add_so::add_so(CommandWizard &wizard, QWidget *parent)
    : AnswerPage(wizard, parent)
{
    SeparatorLabel = named(new QLabel(QStringLiteral("Разделитель между ответами:"), this), "SeparatorLabel");
    Text2 = named(new QLineEdit(this), "Text2");
    CountLabel = named(new QLabel(QStringLiteral("Кол-во посылаемых ответов:"), this), "CountLabel");
    Text4 = named(new QLineEdit(QStringLiteral("1"), this), "Text4");
    Label4 = named(new QLabel(QStringLiteral("Не рекомендуется ипользовать \"====\" в сообщениях, т.к. может привести "
                                             "к сбоям"),
                              this),
                   "Label4");
    Label4->setWordWrap(true);
    Option1 = named(new QRadioButton(QStringLiteral("Использовать файл в качестве ответов"), this), "Option1");
    Picture2 = named(new QWidget(this), "Picture2");
    Label1 = named(new QLabel(QStringLiteral("Добавить текст из файла:"), Picture2), "Label1");
    Text1 = named(new QLineEdit(Picture2), "Text1");
    Command1 = named(new QPushButton(QStringLiteral("Использовать файл..."), Picture2), "Command1");
    Label2 = named(new QLabel(ExtensionsNote, Picture2), "Label2");
    Option2 = named(new QRadioButton(QStringLiteral("Использовать текствое поле"), this), "Option2");
    Picture1 = named(new QWidget(this), "Picture1");
    Text3 = named(new QPlainTextEdit(Picture1), "Text3");
    Text3->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    Command2 = saveButton("Command2");

    auto *fileBox = new QGridLayout(Picture2);
    fileBox->setContentsMargins(16, 0, 0, 0);
    fileBox->addWidget(Label1, 0, 0, 1, 2);
    fileBox->addWidget(Text1, 1, 0);
    fileBox->addWidget(Command1, 1, 1);
    fileBox->addWidget(Label2, 2, 0, 1, 2);
    auto *textBox = new QVBoxLayout(Picture1);
    textBox->setContentsMargins(16, 0, 0, 0);
    textBox->addWidget(Text3);

    auto *layout = new QGridLayout(this);
    layout->addWidget(SeparatorLabel, 0, 0);
    layout->addWidget(Text2, 0, 1);
    layout->addWidget(CountLabel, 1, 0);
    layout->addWidget(Text4, 1, 1);
    layout->addWidget(Label4, 2, 0, 1, 2);
    layout->addWidget(Option1, 3, 0, 1, 2);
    layout->addWidget(Picture2, 4, 0, 1, 2);
    layout->addWidget(Option2, 5, 0, 1, 2);
    layout->addWidget(Picture1, 6, 0, 1, 2);
    layout->setRowStretch(6, 1);
    layout->addWidget(Command2, 7, 0, 1, 2, Qt::AlignRight);

    connect(Option1, &QRadioButton::clicked, this, &add_so::Option1_Click);
    connect(Option2, &QRadioButton::clicked, this, &add_so::Option2_Click);
    connect(Command1, &QPushButton::clicked, this, [this] { pickFileInto(Text1); });
    Answer design;
    design.kind = AnswerKind::Random;
    setAnswer(design);
}

void add_so::Option1_Click()
{
    Option1->setChecked(true);
    Picture2->setEnabled(true);
    Picture1->setEnabled(false);
}

void add_so::Option2_Click()
{
    Option2->setChecked(true);
    Picture1->setEnabled(true);
    Picture2->setEnabled(false);
}

Answer add_so::answer() const
{
    Answer values;
    values.kind = AnswerKind::Random;
    values.separator = Text2->text();
    values.count = Text4->text();
    values.answersInRecord = Option2->isChecked();
    values.answersPath = Text1->text();
    values.answers = CommandEditor::fromEditorText(Text3->toPlainText());
    return values;
}

void add_so::setAnswer(const Answer &answer)
{
    Text2->setText(answer.separator);
    Text4->setText(answer.count);
    Text1->setText(answer.answersPath);
    Text3->setPlainText(CommandEditor::toEditorText(answer.answers));
    if (answer.answersInRecord)
        Option2_Click();
    else
        Option1_Click();
}
