#include "commandwindows/command_manager_window.h"

#include "commands/commandeditor.h"
#include "commandwindows/command_wizard_window.h"
#include "commandwindows/windowhelpers.h"
#include "platform/dialogs.h"
#include "platform/windowhost.h"
#include "platform/windowkit.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSortFilterProxyModel>
#include <QStringListModel>
#include <QVBoxLayout>

using namespace CommandWindows;

Form9::Form9(CommandWizard &wizard, WindowHost &windows, QWidget *parent)
    : QWidget(parent)
    , m_wizard(wizard)
    , m_windows(windows)
{
    setWindowTitle(QStringLiteral("Управление командами"));
    buildControls();

    loadOptions();
    Combo1->addItems(CommandEditor::groupNames());
    if (CommandEditor::groupListEmpty())
        Command5->setEnabled(false);
    listGroup(CommandBase::CommonGroup);
    Combo1->setCurrentIndex(0);
    Combo1->setEditText(CommandBase::CommonGroup);

    connect(&m_wizard, &CommandWizard::commandAdded, this, &Form9::commandAdded);
    connect(&m_wizard, &CommandWizard::commandDeleted, this, &Form9::commandDeleted);
    connect(&m_wizard, &CommandWizard::commandChanged, this, &Form9::commandChanged);
    connect(&m_wizard, &CommandWizard::groupListChanged, this,
            [this] { Command5->setEnabled(!CommandEditor::groupListEmpty()); });
}

void Form9::buildControls()
{
    Combo1 = new QComboBox(this);
    Combo1->setEditable(true);
    Combo1->setInsertPolicy(QComboBox::NoInsert);
    m_names = new QStringListModel(this);
    m_filter = new QSortFilterProxyModel(this);
    m_filter->setSourceModel(m_names);
    m_filter->setFilterCaseSensitivity(Qt::CaseInsensitive);
    List1 = new QListView(this);
    List1->setModel(m_filter);
    List1->setUniformItemSizes(true);
    List1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    List1->setSelectionMode(QAbstractItemView::SingleSelection);
    Label1 = new QLabel(QStringLiteral("Поиск команды :"), this);
    Text1 = new QLineEdit(this);
    Label2 = new ClickLabel(QStringLiteral("Расширенный поиск"), this);
    Text2 = new QPlainTextEdit(this);
    Text2->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    Command3 = new QPushButton(QStringLiteral("Сохранить"), this);
    Command1 = new QPushButton(QStringLiteral("Добавить"), this);
    Command2 = new QPushButton(QStringLiteral("Изменить\\удалить"), this);
    Command5 = new QPushButton(QStringLiteral("Импорт команд"), this);
    Check1 = new QCheckBox(QStringLiteral("Не учитывать регистр"), this);
    Option1 = new QRadioButton(QStringLiteral("Совместная обработка групп - команда будет обрабатываться по группе, в "
                                              "которой находится контакт, а так же по \"Общей\" группе"),
                               this);
    Option2 = new QRadioButton(QStringLiteral("Приоритет группы - команда будет обрабатываться  только по группе, в "
                                              "которой находится контакт"),
                               this);
    Check2 = new QCheckBox(QStringLiteral("Игнорировать пробелы и переходы на след. строку в конце команды"), this);
    Command4 = new QPushButton(QStringLiteral("Применить"), this);
    Command3->setEnabled(false);
    Command2->setEnabled(false);

    const std::pair<QWidget *, const char *> names[] = {
        {Combo1, "Combo1"},     {List1, "List1"},       {Label1, "Label1"},     {Text1, "Text1"},
        {Label2, "Label2"},     {Text2, "Text2"},       {Command3, "Command3"}, {Command1, "Command1"},
        {Command2, "Command2"}, {Command5, "Command5"}, {Check1, "Check1"},     {Option1, "Option1"},
        {Option2, "Option2"},   {Check2, "Check2"},     {Command4, "Command4"},
    };
    for (const auto &[widget, name] : names)
        WindowKit::named(widget, name);

    auto *layout = new QGridLayout(this);
    auto *left = new QVBoxLayout;
    left->addWidget(Combo1);
    left->addWidget(List1, 1);
    auto *search = new QHBoxLayout;
    search->addWidget(Label1);
    search->addWidget(Text1, 1);
    left->addLayout(search);
    left->addWidget(Label2);
    auto *right = new QVBoxLayout;
    right->addWidget(Text2, 1);
    auto *buttons = new QHBoxLayout;
    for (QPushButton *button : {Command3, Command1, Command2, Command5})
        buttons->addWidget(button);
    right->addLayout(buttons);
    layout->addLayout(left, 0, 0);
    layout->addLayout(right, 0, 1);
    auto *options = new QVBoxLayout;
    for (QWidget *widget : {static_cast<QWidget *>(Check1), static_cast<QWidget *>(Option1),
                            static_cast<QWidget *>(Option2), static_cast<QWidget *>(Check2),
                            static_cast<QWidget *>(Command4)})
        options->addWidget(widget);
    layout->addLayout(options, 1, 0, 1, 2);
    layout->setColumnStretch(1, 1);

    connect(Combo1, &QComboBox::activated, this, [this] { Combo1_Click(); });
    connect(Combo1->lineEdit(), &QLineEdit::returnPressed, this, [this] { Combo1_Click(); });
    connect(List1->selectionModel(), &QItemSelectionModel::selectionChanged, this, &Form9::selectionChanged);
    connect(Text1, &QLineEdit::textChanged, this, &Form9::Text1_Change);
    connect(Command3, &QPushButton::clicked, this, &Form9::Command3_Click);
    connect(Command1, &QPushButton::clicked, this, &Form9::Command1_Click);
    connect(Command2, &QPushButton::clicked, this, &Form9::Command2_Click);
    connect(Command5, &QPushButton::clicked, this, &Form9::Command5_Click);
    connect(Label2, &ClickLabel::clicked, this, &Form9::Label2_Click);
    connect(Command4, &QPushButton::clicked, this, &Form9::Command4_Click);
}

void Form9::loadOptions()
{
    const CommandOptions options = CommandEditor::loadOptions();
    Check1->setChecked(options.upperCase);
    (options.joint ? Option1 : Option2)->setChecked(true);
    Check2->setChecked(options.trim);
}

QStringList Form9::commandNames() const
{
    return m_names->stringList();
}

QString Form9::selectedCommand() const
{
    const QModelIndexList selected = List1->selectionModel()->selectedIndexes();
    return selected.isEmpty() ? QString() : selected.first().data().toString();
}

bool Form9::listGroup(const QString &group)
{
    CommandEditor::Result failure;
    const std::optional<QString> text = CommandEditor::readGroupText(group, &failure);
    if (!text) {
        showFailure(failure);
        return false;
    }
    m_group = group;
    List1->selectionModel()->clear();
    m_shownCommand.clear();
    Text2->clear();
    m_names->setStringList(CommandEditor::commandNames(*text));
    return true;
}

void Form9::Combo1_Click()
{
    const QString group = Combo1->currentText();
    if (!listGroup(group)) {
        // The list still shows the previous group; so does the box.
        Combo1->setEditText(m_group);
    }
}

void Form9::selectionChanged()
{
    const bool selected = List1->selectionModel()->hasSelection();
    Command3->setEnabled(selected);
    Command2->setEnabled(selected);
    if (selected)
        List1_Click();
    else {
        m_shownCommand.clear();
        Text2->clear();
    }
}

void Form9::List1_Click()
{
    const QString name = selectedCommand();
    CommandEditor::Result failure;
    const std::optional<QString> text = CommandEditor::readGroupText(m_group, &failure);
    if (!text) {
        showFailure(failure);
        return;
    }
    const std::optional<QString> body = CommandEditor::rawBody(*text, name);
    if (!body) {
        m_shownCommand.clear();
        Text2->clear();
        showFailure({CommandEditor::Outcome::NotFound, {}});
        return;
    }
    m_shownCommand = name;
    Text2->setPlainText(CommandEditor::toEditorText(*body));
}

void Form9::Text1_Change()
{
    const QString typed = Text1->text();
    m_filter->setFilterFixedString(typed);
    if (typed.isEmpty())
        return;
    // The entry of that name: exact first, then in any letter case.
    for (const Qt::CaseSensitivity sensitivity : {Qt::CaseSensitive, Qt::CaseInsensitive}) {
        for (int row = 0; row < m_filter->rowCount(); ++row) {
            const QModelIndex index = m_filter->index(row, 0);
            if (index.data().toString().compare(typed, sensitivity) == 0) {
                if (List1->currentIndex() != index || !List1->selectionModel()->isSelected(index))
                    List1->setCurrentIndex(index);
                return;
            }
        }
    }
}

void Form9::Command3_Click()
{
    const QString name = selectedCommand();
    if (!List1->selectionModel()->hasSelection() || name != m_shownCommand)
        return;
    const QString body = CommandEditor::fromEditorText(Text2->toPlainText());
    if (body.contains(CommandBase::Terminator)) {
        showError(CommandWizard::EmptyOrForbiddenText);
        return;
    }
    if (body.contains(CommandBase::HeadPrefix)) {
        showError(CommandWizard::HeadInTextText);
        return;
    }
    const CommandEditor::Result result = CommandEditor::changeCommand(m_group, name, body);
    showFailure(result);
}

void Form9::Command1_Click()
{
    if (CommandEditor::groupListEmpty())
        Command5->setEnabled(false);
    if (auto *wizard = m_windows.show<Form12>(QStringLiteral("Form12")))
        wizard->StartAddCommand(m_group);
}

void Form9::Command2_Click()
{
    if (!List1->selectionModel()->hasSelection())
        return;
    const QString name = selectedCommand();
    if (auto *wizard = m_windows.show<Form12>(QStringLiteral("Form12")))
        wizard->StartChangeCommand(m_group, name);
}

void Form9::Command5_Click()
{
    m_windows.showWindow(QStringLiteral("Form31"));
}

void Form9::Label2_Click()
{
    m_windows.showWindow(QStringLiteral("Form15"));
}

void Form9::Command4_Click()
{
    CommandOptions options;
    options.upperCase = Check1->isChecked();
    options.joint = Option1->isChecked();
    options.trim = Check2->isChecked();
    showFailure(CommandEditor::applyOptions(options));
}

void Form9::commandAdded(const QString &group, const QString &name)
{
    if (group != m_group)
        return;
    const int row = m_names->rowCount();
    m_names->insertRows(row, 1);
    m_names->setData(m_names->index(row, 0), name);
}

void Form9::commandChanged(const QString &group, const QString &name)
{
    // The answer box shows the file again, so "Сохранить" cannot put the old answer back.
    if (group == m_group && !m_shownCommand.isEmpty() && name == m_shownCommand)
        List1_Click();
}

void Form9::commandDeleted(const QString &group, const QString &name)
{
    if (group != m_group)
        return;
    // The first record of the name went, so its first entry goes.
    const QStringList names = m_names->stringList();
    const qsizetype row = names.indexOf(name);
    if (row < 0)
        return;
    m_names->removeRows(int(row), 1);
    // Nothing is selected after a delete, as after a group change.
    List1->selectionModel()->clear();
}
