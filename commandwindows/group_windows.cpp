#include "commandwindows/group_windows.h"

#include "commands/commandeditor.h"
#include "commandwindows/command_wizard_window.h"
#include "commandwindows/windowhelpers.h"
#include "core/cp1251.h"
#include "core/programfolder.h"
#include "core/textfile.h"
#include "files/groupnumbers.h"
#include "platform/dialogs.h"
#include "platform/windowhost.h"
#include "platform/windowkit.h"

#include <QComboBox>
#include <QDir>
#include <QGridLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>

namespace {

using WindowKit::named;

void box(const QString &title, const QString &text)
{
    Dialogs::instance().message(title, text, Dialogs::Icon::Information, Dialogs::Buttons::Ok);
}

void writeFailed(const QString &programPath)
{
    CommandWindows::showFailure({CommandEditor::Outcome::WriteFailed, TextFile::filePath(programPath)});
}

QString selectedText(const QListWidget *list)
{
    const QList<QListWidgetItem *> selected = list->selectedItems();
    return selected.isEmpty() ? QString() : selected.first()->text();
}

// The lines of the group list that name a group.
QStringList groupLines()
{
    QStringList groups = TextFile::readLines(CommandEditor::GroupListPath);
    groups.removeAll(QString());
    return groups;
}

bool hasControlCharacter(const QString &text)
{
    for (const QChar c : text) {
        if (c.category() == QChar::Other_Control)
            return true;
    }
    return false;
}

// A name that can stand for a file in the commands folder.
bool usableFileName(const QString &name)
{
    return CommandBase::isUsableGroupName(name) && !hasControlCharacter(name);
}

} // namespace

// --- Form11 ------------------------------------------------------------------------------

Form11::Form11(CommandWizard &wizard, WindowHost &windows, QWidget *parent)
    : QWidget(parent)
    , m_wizard(wizard)
    , m_windows(windows)
{
    setWindowTitle(QStringLiteral("Управление группами"));
    Label1 = named(new QLabel(QStringLiteral("Выберите группу"), this), "Label1");
    List1 = named(new QListWidget(this), "List1");
    Command5 = named(new QPushButton(QStringLiteral("Добавить"), this), "Command5");
    Command6 = named(new QPushButton(QStringLiteral("Удалить группу"), this), "Command6");
    Label2 = named(new QLabel(QStringLiteral("Номера ICQ"), this), "Label2");
    List2 = named(new QListWidget(this), "List2");
    Command1 = named(new QPushButton(QStringLiteral("Добавить номер"), this), "Command1");
    Command2 = named(new QPushButton(QStringLiteral("Удалить номер"), this), "Command2");
    Label3 = named(new QLabel(QStringLiteral("Команды"), this), "Label3");
    List3 = named(new QListWidget(this), "List3");
    Command3 = named(new QPushButton(QStringLiteral("Добавить команду в список"), this), "Command3");
    Command4 = named(new QPushButton(QStringLiteral("Удалить команду из списка"), this), "Command4");

    auto *layout = new QGridLayout(this);
    layout->addWidget(Label1, 0, 0);
    layout->addWidget(List1, 1, 0);
    layout->addWidget(Command5, 2, 0);
    layout->addWidget(Command6, 3, 0);
    layout->addWidget(Label2, 0, 1);
    layout->addWidget(List2, 1, 1);
    layout->addWidget(Command1, 2, 1);
    layout->addWidget(Command2, 3, 1);
    layout->addWidget(Label3, 0, 2);
    layout->addWidget(List3, 1, 2);
    layout->addWidget(Command3, 2, 2);
    layout->addWidget(Command4, 3, 2);

    for (QPushButton *button : {Command6, Command1, Command2, Command3, Command4})
        button->setEnabled(false);

    connect(List1, &QListWidget::itemSelectionChanged, this, &Form11::List1_Click);
    connect(List2, &QListWidget::itemSelectionChanged, this, &Form11::List2_Click);
    connect(List3, &QListWidget::itemSelectionChanged, this, &Form11::List3_Click);
    connect(Command1, &QPushButton::clicked, this, &Form11::Command1_Click);
    connect(Command2, &QPushButton::clicked, this, &Form11::Command2_Click);
    connect(Command3, &QPushButton::clicked, this, &Form11::Command3_Click);
    connect(Command4, &QPushButton::clicked, this, &Form11::Command4_Click);
    connect(Command5, &QPushButton::clicked, this, &Form11::Command5_Click);
    connect(Command6, &QPushButton::clicked, this, &Form11::Command6_Click);
    connect(&m_wizard, &CommandWizard::commandAdded, this, &Form11::commandAdded);
    connect(&m_wizard, &CommandWizard::commandDeleted, this, &Form11::commandDeleted);

    fillGroups();
}

QString Form11::selectedGroup() const
{
    return selectedText(List1);
}

void Form11::fillGroups()
{
    const QSignalBlocker blocker(List1);
    List1->clear();
    List1->addItems(groupLines());
}

void Form11::fillNumbers(const QString &group)
{
    const QSignalBlocker blocker(List2);
    List2->clear();
    List2->addItems(GroupNumbers::numbersOf(group));
    Command2->setEnabled(false);
}

void Form11::List1_Click()
{
    for (QPushButton *button : {Command2, Command4, Command1, Command3, Command6})
        button->setEnabled(false);
    {
        const QSignalBlocker numbers(List2);
        const QSignalBlocker commands(List3);
        List2->clear();
        List3->clear();
    }
    const QString group = selectedGroup();
    if (group.isEmpty())
        return;
    for (QPushButton *button : {Command1, Command3, Command6})
        button->setEnabled(true);
    fillNumbers(group);
    const std::optional<QString> text = CommandEditor::readGroupText(group);
    if (text) {
        const QSignalBlocker commands(List3);
        List3->addItems(CommandEditor::commandNames(*text));
    }
}

void Form11::List2_Click()
{
    Command2->setEnabled(!selectedText(List2).isEmpty());
}

void Form11::List3_Click()
{
    Command4->setEnabled(!selectedText(List3).isEmpty());
}

void Form11::Command1_Click()
{
    const QString group = selectedGroup();
    if (group.isEmpty())
        return;
    const QString typed =
        Dialogs::instance().input(QStringLiteral("Добавление номера"), QStringLiteral("Введите номер"));
    if (typed.isEmpty())
        return;
    const QString number = GroupNumbers::normalizedNumber(typed);
    if (number.isEmpty()) {
        box(CommandEditor::ErrorTitle, BadNumberText);
        return;
    }
    if (!GroupNumbers::add(number, group)) {
        writeFailed(GroupNumbers::FilePath);
        return;
    }
    const QSignalBlocker blocker(List2);
    List2->addItem(number);
}

void Form11::Command2_Click()
{
    const QString number = selectedText(List2);
    if (number.isEmpty())
        return;
    if (!GroupNumbers::removeNumber(number))
        writeFailed(GroupNumbers::FilePath);
    fillNumbers(selectedGroup());
}

void Form11::Command3_Click()
{
    const QString group = selectedGroup();
    if (group.isEmpty())
        return;
    if (auto *wizard = m_windows.show<Form12>(QStringLiteral("Form12")))
        wizard->StartAddCommand(group);
}

void Form11::Command4_Click()
{
    const QString group = selectedGroup();
    const QString name = selectedText(List3);
    if (group.isEmpty() || name.isEmpty())
        return;
    if (auto *wizard = m_windows.show<Form12>(QStringLiteral("Form12")))
        wizard->StartChangeCommand(group, name);
}

void Form11::Command5_Click()
{
    const QString name =
        Dialogs::instance().input(QStringLiteral("Добавление группы"), QStringLiteral("Введите название группы"));
    if (name.isEmpty()) {
        box(CommandEditor::ErrorTitle, NoNameText);
        return;
    }
    if (name == CommandBase::CommonGroup) {
        box(GroupTitle, BuiltInText);
        return;
    }
    if (!usableFileName(name)) {
        box(GroupTitle, BadNameText);
        return;
    }
    for (int row = 0; row < List1->count(); ++row) {
        if (List1->item(row)->text() == name) {
            List1->setCurrentRow(row);
            box(GroupTitle, DuplicateText);
            return;
        }
    }
    if (!Cp1251::canEncode(name)) {
        CommandWindows::showError(CommandEditor::NotEncodableText);
        return;
    }
    if (TextFile::readState(CommandEditor::GroupListPath) == TextFile::ReadState::Unreadable) {
        CommandWindows::showFailure(
            {CommandEditor::Outcome::Unreadable, TextFile::filePath(CommandEditor::GroupListPath)});
        return;
    }
    TextFile::ensureFolder(QStringLiteral("\\Группы"));
    TextFile::ensureFolder(CommandBase::Folder);
    if (!TextFile::appendLine(CommandEditor::GroupListPath, name)) {
        writeFailed(CommandEditor::GroupListPath);
        return;
    }
    const QSignalBlocker blocker(List1);
    List1->addItem(name);
    Q_EMIT m_wizard.groupListChanged();
}

void Form11::Command6_Click()
{
    const QString group = selectedGroup();
    if (group.isEmpty()) {
        box(CommandEditor::ErrorTitle, NoSelectionText);
        return;
    }
    if (TextFile::readState(CommandEditor::GroupListPath) == TextFile::ReadState::Unreadable) {
        CommandWindows::showFailure(
            {CommandEditor::Outcome::Unreadable, TextFile::filePath(CommandEditor::GroupListPath)});
        return;
    }
    QStringList kept = TextFile::readLines(CommandEditor::GroupListPath);
    kept.removeAll(group);
    if (kept.isEmpty()) {
        if (TextFile::exists(CommandEditor::GroupListPath) && !TextFile::remove(CommandEditor::GroupListPath)) {
            writeFailed(CommandEditor::GroupListPath);
            return;
        }
        // The folder stays while it holds other files, such as the numbers file.
        QDir().rmdir(ProgramFolder::path(QStringLiteral("\\Группы")));
    } else if (!TextFile::writeLines(CommandEditor::GroupListPath, kept)) {
        writeFailed(CommandEditor::GroupListPath);
        return;
    }
    fillGroups();
    // No group is selected now: nothing can be added to one.
    List1_Click();
    Q_EMIT m_wizard.groupListChanged();
}

void Form11::commandAdded(const QString &group, const QString &name)
{
    if (group == selectedGroup())
        List3->addItem(name);
}

void Form11::commandDeleted(const QString &group, const QString &name)
{
    if (group != selectedGroup())
        return;
    const QList<QListWidgetItem *> found = List3->findItems(name, Qt::MatchExactly | Qt::MatchCaseSensitive);
    if (!found.isEmpty())
        delete found.first();
    Command4->setEnabled(!selectedText(List3).isEmpty());
}

// --- Form31 ------------------------------------------------------------------------------

Form31::Form31(QWidget *parent)
    : QWidget(parent)
{
    setWindowTitle(Title);
    Combo1 = named(new QComboBox(this), "Combo1");
    List1 = named(new QListWidget(this), "List1");
    Command1 = named(new QPushButton(QStringLiteral(">>>"), this), "Command1");
    Command2 = named(new QPushButton(QStringLiteral("<<<"), this), "Command2");
    Combo2 = named(new QComboBox(this), "Combo2");
    List2 = named(new QListWidget(this), "List2");
    for (QComboBox *combo : {Combo1, Combo2}) {
        combo->setEditable(true);
        combo->setInsertPolicy(QComboBox::NoInsert);
        combo->addItem(CommandBase::CommonGroup);
        combo->addItems(groupLines());
        combo->setCurrentIndex(-1);
        combo->setEditText(QString());
    }
    m_left = {Combo1, List1, {}};
    m_right = {Combo2, List2, {}};

    auto *layout = new QGridLayout(this);
    layout->addWidget(Combo1, 0, 0);
    layout->addWidget(List1, 1, 0, 3, 1);
    layout->addWidget(Command1, 1, 1);
    layout->addWidget(Command2, 2, 1);
    layout->addWidget(Combo2, 0, 2);
    layout->addWidget(List2, 1, 2, 3, 1);

    connect(Combo1, &QComboBox::activated, this, &Form31::Combo1_Click);
    connect(Combo2, &QComboBox::activated, this, &Form31::Combo2_Click);
    connect(Command1, &QPushButton::clicked, this, &Form31::Command1_Click);
    connect(Command2, &QPushButton::clicked, this, &Form31::Command2_Click);
}

QString Form31::indexFile(const QString &group)
{
    return commandFile(group, IndexName);
}

QString Form31::commandFile(const QString &group, const QString &name)
{
    if (!usableFileName(group) || !usableFileName(name))
        return {};
    return CommandBase::Folder + QLatin1Char('\\') + group + QLatin1Char('\\') + name + QStringLiteral(".txt");
}

void Form31::Combo1_Click()
{
    choose(m_left, m_right);
}

void Form31::Combo2_Click()
{
    choose(m_right, m_left);
}

void Form31::Command1_Click()
{
    copy(m_left, m_right);
}

void Form31::Command2_Click()
{
    copy(m_right, m_left);
}

void Form31::choose(Side &side, const Side &other)
{
    const QString group = side.combo->currentText();
    if (group == other.combo->currentText()) {
        box(Title, SameGroupText);
        // The box goes back to the group its list shows.
        side.combo->setEditText(side.listed);
        return;
    }
    side.list->clear();
    side.listed = group;
    const QString index = indexFile(group);
    if (!index.isEmpty()) {
        QStringList names = TextFile::readLines(index);
        names.removeAll(QString());
        side.list->addItems(names);
    }
}

void Form31::copy(Side &from, Side &to)
{
    const QString name = selectedText(from.list);
    const QString source = from.combo->currentText();
    const QString target = to.combo->currentText();
    if (name.isEmpty() || source.isEmpty() || target.isEmpty())
        return;
    if (source == target) {
        box(Title, SameGroupText);
        return;
    }
    const QString sourceFile = commandFile(source, name);
    const QString targetFile = commandFile(target, name);
    const QString index = indexFile(target);
    if (sourceFile.isEmpty() || targetFile.isEmpty() || index.isEmpty()
        || TextFile::readState(sourceFile) != TextFile::ReadState::Readable) {
        box(Title, NoSourceText);
        return;
    }
    if (TextFile::readState(index) == TextFile::ReadState::Unreadable) {
        CommandWindows::showFailure({CommandEditor::Outcome::Unreadable, TextFile::filePath(index)});
        return;
    }
    const QByteArray content = TextFile::readBytes(sourceFile);
    if (TextFile::readLines(index).contains(name)) {
        const Dialogs::Button answer =
            Dialogs::instance().message(CommandWizard::OverwriteTitle, CommandWizard::OverwriteText,
                                        Dialogs::Icon::Information, Dialogs::Buttons::YesNo);
        if (answer != Dialogs::Button::Yes)
            return;
        if (!TextFile::writeBytes(targetFile, content))
            writeFailed(targetFile);
        return;
    }
    // The file first: an index line never names a file that is not there.
    if (!TextFile::writeBytes(targetFile, content)) {
        writeFailed(targetFile);
        return;
    }
    if (!TextFile::appendLine(index, name)) {
        writeFailed(index);
        return;
    }
    if (to.listed == target)
        to.list->addItem(name);
}
