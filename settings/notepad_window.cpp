#include "settings/notepad_window.h"

#include "commands/sidetexts.h"
#include "platform/windowhost.h"
#include "platform/windowkit.h"
#include "settings/featureboxes.h"
#include "settings/featuresetups.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include <utility>

Form23::Form23(WindowHost &windows, QWidget *parent)
    : QWidget(parent)
    , m_windows(windows)
{
    setWindowTitle(QStringLiteral("Блокнот"));
    Label1 = WindowKit::named(new QLabel(QStringLiteral("Эта функция позволяет хранить вашим пользователям нужную им "
                                             "информацию у вас на сервере."),
                              this),
                   "Label1");
    Label1->setWordWrap(true);
    Check1 = WindowKit::named(new QCheckBox(QStringLiteral("Включить функцию"), this), "Check1");
    Line1 = WindowKit::line("Line1", this);
    Label2 = WindowKit::named(new QLabel(QStringLiteral("Информация как пользоваться:"), this), "Label2");
    Label3 = WindowKit::named(new QLabel(QStringLiteral("!блокнот_запись - повзоляет делать запись у вас на боте."), this),
                   "Label3");
    Label4 = WindowKit::named(new QLabel(QStringLiteral("!блокнот - показывает записи, сохранёные у вас."), this), "Label4");
    Line2 = WindowKit::line("Line2", this);
    Combo1 = WindowKit::named(new QComboBox(this), "Combo1");
    Command1 = WindowKit::named(new QPushButton(QStringLiteral("Просмотреть"), this), "Command1");
    Text1 = WindowKit::named(new QPlainTextEdit(this), "Text1");
    Text1->setReadOnly(true);
    Command2 = WindowKit::named(new QPushButton(EmbedHelpCaption, this), "Command2");

    auto *viewRow = new QHBoxLayout;
    viewRow->addWidget(Combo1, 1);
    viewRow->addWidget(Command1);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(Label1);
    layout->addWidget(Check1);
    layout->addWidget(Line1);
    layout->addWidget(Label2);
    layout->addWidget(Label3);
    layout->addWidget(Label4);
    layout->addWidget(Line2);
    layout->addLayout(viewRow);
    layout->addWidget(Text1, 1);
    layout->addWidget(Command2);

    // Only the operator's clicks switch the notepad: loading shows the file as it is.
    connect(Check1, &QCheckBox::clicked, this, &Form23::Check1_Click);
    connect(Command1, &QPushButton::clicked, this, &Form23::Command1_Click);
    connect(Command2, &QPushButton::clicked, this, &Form23::Command2_Click);
    Form_Load();
}

void Form23::Form_Load()
{
    Check1->setChecked(NotepadSetup::isOn());
    Combo1->addItems(NotepadSetup::owners());
    Combo1->setCurrentIndex(-1);
}

void Form23::Check1_Click()
{
    const bool on = Check1->isChecked();
    const TextFile::Result written = NotepadSetup::setOn(on);
    if (written)
        return;
    // The box shows what the bot does: the switch as the file still has it.
    Check1->setChecked(NotepadSetup::isOn());
    FeatureBoxes::showWriteFailure(written.error);
}

void Form23::Command1_Click()
{
    if (Combo1->currentIndex() < 0)
        return;
    const QString uin = Combo1->currentText();
    const std::optional<QString> note = NotepadSetup::note(uin);
    if (!note) {
        Text1->clear();
        FeatureBoxes::showError(QStringLiteral("Записи номера ") + uin + QStringLiteral(" нет."));
        return;
    }
    FeatureBoxes::setBoxText(Text1, *note);
}

void Form23::Command2_Click()
{
    HelpEmbedding::setKind(HelpEmbedding::Notepad);
    m_windows.showWindow(QStringLiteral("Form36"));
}
