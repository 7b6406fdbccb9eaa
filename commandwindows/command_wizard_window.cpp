#include "commandwindows/command_wizard_window.h"

#include "commands/commandeditor.h"
#include "commandwindows/answer_pages_window.h"
#include "commandwindows/windowhelpers.h"
#include "core/textfile.h"
#include "core/vbvalues.h"
#include "platform/dialogs.h"
#include "platform/windowhost.h"
#include "platform/windowkit.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

using namespace CommandWindows;
using CommandBase::AnswerKind;

Form12::Form12(CommandWizard &wizard, WindowHost &windows, QWidget *parent)
    : QWidget(parent)
    , m_wizard(wizard)
    , m_windows(windows)
{
    setWindowTitle(QStringLiteral("Добавление команды. Шаг 1."));
    Label1 = new QLabel(QStringLiteral("Название команды  :"), this);
    Text1 = new QLineEdit(this);
    Label2 = new QLabel(QStringLiteral("Выберите группу     :"), this);
    Combo1 = new QComboBox(this);
    Label4 = new QLabel(QStringLiteral("Запрещается использовать спец символы (кроме \"!\"). Команды со спец. "
                                       "символами обрабатываться не будут."),
                        this);
    Label3 = new QLabel(QStringLiteral("Если команда находить в группе \"Общая\", то эта команда будет доступна "
                                       "для всех пользователей и для всех групп"),
                        this);
    Option1 = new QRadioButton(QStringLiteral("Текст"), this);
    Option2 = new QRadioButton(QStringLiteral("Ответ из файла"), this);
    Option4 = new QRadioButton(QStringLiteral("Скачать файл-ответ из интернета"), this);
    Option3 = new QRadioButton(QStringLiteral("Запуск программ и считывание ответов после работы программы."), this);
    Option8 = new QRadioButton(QStringLiteral("Случайный ответ"), this);
    Option7 = new QRadioButton(QStringLiteral("Удалить (только при нажатии кнопки Удалить/изменить)"), this);
    Command1 = new QPushButton(ContinueCaption, this);
    Option7->setEnabled(false);
    Label4->setWordWrap(true);
    Label3->setWordWrap(true);

    const std::pair<QWidget *, const char *> names[] = {
        {Label1, "Label1"},   {Text1, "Text1"},     {Label2, "Label2"},   {Combo1, "Combo1"},
        {Label4, "Label4"},   {Label3, "Label3"},   {Option1, "Option1"}, {Option2, "Option2"},
        {Option4, "Option4"}, {Option3, "Option3"}, {Option8, "Option8"}, {Option7, "Option7"},
        {Command1, "Command1"},
    };
    for (const auto &[widget, name] : names)
        WindowKit::named(widget, name);

    m_options = new QButtonGroup(this);
    for (QRadioButton *option : {Option1, Option2, Option4, Option3, Option8, Option7})
        m_options->addButton(option);

    auto *layout = new QVBoxLayout(this);
    auto *form = new QFormLayout;
    form->addRow(Label1, Text1);
    form->addRow(Label2, Combo1);
    layout->addLayout(form);
    layout->addWidget(Label4);
    layout->addWidget(Label3);
    for (QRadioButton *option : {Option1, Option2, Option4, Option3, Option8, Option7})
        layout->addWidget(option);
    layout->addWidget(Command1, 0, Qt::AlignRight);

    fillGroups(CommandBase::CommonGroup);
    TextFile::ensureFolder(CommandBase::Folder);

    connect(Text1, &QLineEdit::textChanged, this, &Form12::updateCommand1);
    connect(Combo1, &QComboBox::currentTextChanged, this, &Form12::updateCommand1);
    connect(m_options, &QButtonGroup::buttonToggled, this, [this](QAbstractButton *button, bool checked) {
        if (checked)
            optionChosen(static_cast<QRadioButton *>(button));
        updateCommand1();
    });
    connect(Command1, &QPushButton::clicked, this, &Form12::Command1_Click);
    updateCommand1();
}

void Form12::fillGroups(const QString &group)
{
    const QSignalBlocker blocker(Combo1);
    Combo1->clear();
    QStringList groups = CommandEditor::groupNames();
    // The caller's group stays the wizard's group, also one the list does not hold (yet).
    if (!groups.contains(group))
        groups.append(group);
    Combo1->addItems(groups);
    Combo1->setCurrentIndex(int(groups.indexOf(group)));
}

void Form12::clearDeleteChoice()
{
    if (!Option7->isChecked())
        return;
    m_options->setExclusive(false);
    Option7->setChecked(false);
    m_options->setExclusive(true);
}

void Form12::StartAddCommand(const QString &group)
{
    m_wizard.startAdd(group);
    clearDeleteChoice();
    fillGroups(group);
    Text1->clear();
    Combo1->setEnabled(true);
    Text1->setEnabled(true);
    Command1->setText(ContinueCaption);
    Option7->setEnabled(false);
    updateCommand1();
}

void Form12::StartChangeCommand(const QString &group, const QString &name)
{
    m_wizard.startChange(group, name);
    clearDeleteChoice();
    Text1->setEnabled(false);
    Combo1->setEnabled(false);
    Text1->setText(name);
    fillGroups(group);
    Option7->setEnabled(true);
    Command1->setText(ChangeCaption);
    updateCommand1();
}

void Form12::optionChosen(QRadioButton *option)
{
    if (option == Option7)
        Command1->setText(DeleteCaption);
    else if (m_wizard.mode() == CommandWizard::Mode::Change)
        Command1->setText(ChangeCaption);
}

void Form12::updateCommand1()
{
    Command1->setEnabled(!Text1->text().isEmpty() && !Combo1->currentText().isEmpty() &&
                         m_options->checkedButton() != nullptr);
}

void Form12::Command1_Click()
{
    if (!Command1->isEnabled())
        return;
    const QString group = Combo1->currentText();
    const QString name = Text1->text();
    const bool changeMode = m_wizard.mode() == CommandWizard::Mode::Change;

    if (Option7->isChecked()) {
        // The delete exists only in change mode, for the command the caller named.
        if (!changeMode)
            return;
        const CommandEditor::Result result = m_wizard.deleteCommand(m_wizard.groupName(), m_wizard.commandName());
        if (result.outcome == CommandEditor::Outcome::NotFound) {
            Dialogs::instance().message(CommandWizard::DeleteErrorTitle, CommandWizard::NoSuchCommandText,
                                        Dialogs::Icon::Information, Dialogs::Buttons::Ok);
            return;
        }
        if (!result) {
            showFailure(result);
            return;
        }
        WindowKit::hideInFrame(this);
        return;
    }

    // A pasted line break would split the record's head line.
    if (!CommandEditor::isUsableName(name)) {
        showError(CommandEditor::BadNameText);
        return;
    }
    const QString refusal = CommandWizard::reservedNameRefusal(name);
    if (!refusal.isEmpty()) {
        Text1->setText(VbValues::upperCase(name));
        Dialogs::instance().message(CommandWizard::WarningTitle, refusal, Dialogs::Icon::Information,
                                    Dialogs::Buttons::Ok);
        return;
    }

    bool overwrite = false;
    if (!changeMode && CommandWizard::nameTaken(group, name)) {
        // Asked on the operator's own click, as every box of the editor windows.
        if (Dialogs::instance().message(CommandWizard::OverwriteTitle, CommandWizard::OverwriteText,
                                        Dialogs::Icon::Information, Dialogs::Buttons::YesNo) != Dialogs::Button::Yes)
            return;
        overwrite = true;
    }

    AnswerKind kind = AnswerKind::Text;
    if (Option2->isChecked())
        kind = AnswerKind::File;
    else if (Option3->isChecked())
        kind = AnswerKind::Program;
    else if (Option4->isChecked())
        kind = AnswerKind::Download;
    else if (Option8->isChecked())
        kind = AnswerKind::Random;

    const CommandWizard::Handover handover = m_wizard.handOver(
        changeMode ? m_wizard.groupName() : group, changeMode ? m_wizard.commandName() : name, overwrite);
    WindowKit::hideInFrame(this);
    if (auto *step2 = m_windows.show<Form14>(QStringLiteral("Form14")))
        step2->showPage(handover, kind);
}
