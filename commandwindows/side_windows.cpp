#include "commandwindows/side_windows.h"

#include "commands/commandeditor.h"
#include "commands/sidetexts.h"
#include "commandwindows/windowhelpers.h"
#include "core/cp1251.h"
#include "core/linefilemodel.h"
#include "core/textfile.h"
#include "records/messagerecords.h"
#include "platform/dialogs.h"
#include "platform/windowhost.h"
#include "platform/windowkit.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QListView>
#include <QVBoxLayout>

using WindowKit::named;

// --- Form10 ------------------------------------------------------------------------------

Form10::Form10(QWidget *parent)
    : QWidget(parent)
{
    setWindowTitle(QStringLiteral("Ответ на неизвестную команду"));
    Text1 = named(new QPlainTextEdit(this), "Text1");
    Text1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    Text1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    Text1->setToolTip(
        QStringLiteral("Впишите текст, указывающий что ответа на заданную команду не существует."));
    Command1 = named(new QPushButton(QStringLiteral("Сохранить"), this), "Command1");
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(Text1);
    layout->addWidget(Command1);
    connect(Command1, &QPushButton::clicked, this, &Form10::Command1_Click);

    const std::optional<QString> stored = UnknownReply::load();
    Text1->setPlainText(CommandEditor::toEditorText(stored ? *stored : UnknownReply::DefaultText));
}

void Form10::Command1_Click()
{
    const QString text = CommandEditor::fromEditorText(Text1->toPlainText());
    if (text.isEmpty()) {
        CommandWindows::showError(UnknownReply::EmptyText);
        return;
    }
    if (!Cp1251::canEncode(text)) {
        CommandWindows::showError(CommandEditor::NotEncodableText);
        return;
    }
    UnknownReply::save(text);
}

// --- Form29 ------------------------------------------------------------------------------

Form29::Form29(QWidget *parent)
    : QWidget(parent)
    , m_log(new LineFileModel(this))
{
    setWindowTitle(QStringLiteral("Логи не известных команд"));
    Text1 = named(new QListView(this), "Text1");
    // Rows of one height, laid out a batch per turn: a view that measured every row at
    // once would freeze on a large log.
    Text1->setUniformItemSizes(true);
    Text1->setLayoutMode(QListView::Batched);
    Text1->setBatchSize(20000);
    Text1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    Text1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    Text1->setSelectionMode(QAbstractItemView::ExtendedSelection);
    Text1->setModel(m_log);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(Text1);

    TextFile::ensureFolder(QStringLiteral("\\Логи"));
    m_log->load(Records::UnknownLogPath);
}

// --- Form35 ------------------------------------------------------------------------------

Form35::Form35(QWidget *parent)
    : QWidget(parent)
{
    setWindowTitle(QStringLiteral("Информация о боте"));
    Label1 = named(new QLabel(QStringLiteral("Введите информацию о боте:"), this), "Label1");
    Text1 = named(new QPlainTextEdit(this), "Text1");
    Text1->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    Check1 = named(new QCheckBox(QStringLiteral("Позволять видеть информацию о боте пользователям"), this),
                   "Check1");
    Command1 = named(new QPushButton(QStringLiteral("Сохранить"), this), "Command1");
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(Label1);
    layout->addWidget(Text1);
    layout->addWidget(Check1);
    layout->addWidget(Command1);
    connect(Command1, &QPushButton::clicked, this, &Form35::Command1_Click);

    const BotInfo::Info info = BotInfo::load();
    Check1->setChecked(info.visible);
    Text1->setPlainText(CommandEditor::toEditorText(info.text));
}

void Form35::Command1_Click()
{
    BotInfo::Info info;
    info.visible = Check1->isChecked();
    info.text = CommandEditor::fromEditorText(Text1->toPlainText());
    if (info.visible && info.text.isEmpty()) {
        Dialogs::instance().message(BotInfo::EmptyTitle, BotInfo::EmptyText, Dialogs::Icon::Information,
                                    Dialogs::Buttons::Ok);
        return;
    }
    if (!Cp1251::canEncode(info.text)) {
        CommandWindows::showError(CommandEditor::NotEncodableText);
        return;
    }
    BotInfo::save(info);
}

// --- Form49 ------------------------------------------------------------------------------

Form49::Form49(AdditionalCommandsList &list, WindowHost &windows, QWidget *parent)
    : QWidget(parent)
    , m_windows(windows)
{
    setWindowTitle(QStringLiteral("Добавочные команды"));
    Label1 = named(new QLabel(QStringLiteral("Добавочные команды"), this), "Label1");
    Label2 = named(new QLabel(QStringLiteral("(група - команда)"), this), "Label2");
    List1 = named(new QListWidget(this), "List1");
    Command1 = named(new QPushButton(QStringLiteral("Добавить"), this), "Command1");
    Command2 = named(new QPushButton(QStringLiteral("Справка"), this), "Command2");
    Command3 = named(new QPushButton(QStringLiteral("Удалить"), this), "Command3");
    auto *layout = new QGridLayout(this);
    layout->addWidget(Label1, 0, 0, 1, 3);
    layout->addWidget(Label2, 1, 0, 1, 3);
    layout->addWidget(List1, 2, 0, 1, 3);
    layout->addWidget(Command1, 3, 0);
    layout->addWidget(Command2, 3, 1);
    layout->addWidget(Command3, 3, 2);
    connect(Command1, &QPushButton::clicked, this, &Form49::Command1_Click);
    connect(Command2, &QPushButton::clicked, this, &Form49::Command2_Click);
    connect(Command3, &QPushButton::clicked, this, &Form49::Command3_Click);
    connect(&list, &AdditionalCommandsList::entryAdded, this, [this](const QString &entry) { List1->addItem(entry); });

    List1->addItems(AdditionalCommands::entries());
}

void Form49::Command1_Click()
{
    m_windows.showWindow(QStringLiteral("Form50"));
}

void Form49::Command2_Click()
{
    Dialogs::instance().message(AdditionalCommands::HelpTitle, AdditionalCommands::helpText(),
                                Dialogs::Icon::Information, Dialogs::Buttons::Ok);
}

void Form49::Command3_Click()
{
    // With nothing selected there is nothing to delete.
    const QList<QListWidgetItem *> selected = List1->selectedItems();
    if (selected.isEmpty())
        return;
    const QString entry = selected.first()->text();
    if (!AdditionalCommands::remove(entry))
        return;
    for (int row = List1->count() - 1; row >= 0; --row) {
        if (List1->item(row)->text() == entry)
            delete List1->takeItem(row);
    }
}

// --- the group and command picker --------------------------------------------------------

GroupCommandPicker::GroupCommandPicker(QWidget *parent)
    : QWidget(parent)
{
    Combo1 = named(new QComboBox(this), "Combo1");
    Combo1->setEditable(true);
    Combo1->setInsertPolicy(QComboBox::NoInsert);
    List1 = named(new QListWidget(this), "List1");

    Combo1->addItems(CommandEditor::groupNames());
    // Without user groups there is nothing to choose but the common group.
    Combo1->setEnabled(!CommandEditor::groupListEmpty());
    Combo1->setCurrentIndex(0);
    Combo1->setEditText(CommandBase::CommonGroup);
    listGroup(CommandBase::CommonGroup);
    connect(Combo1, &QComboBox::editTextChanged, this, &GroupCommandPicker::listGroup);
    connect(List1, &QListWidget::itemSelectionChanged, this,
            [this] { Q_EMIT selectionChanged(!selectedCommand().isEmpty()); });
}

QString GroupCommandPicker::group() const
{
    return Combo1->currentText();
}

QString GroupCommandPicker::selectedCommand() const
{
    const QList<QListWidgetItem *> selected = List1->selectedItems();
    return selected.isEmpty() ? QString() : selected.first()->text();
}

void GroupCommandPicker::listGroup(const QString &group)
{
    List1->clear();
    const std::optional<QString> text = CommandEditor::readGroupText(group);
    if (text)
        List1->addItems(CommandEditor::commandNames(*text));
    Q_EMIT selectionChanged(false);
}

// --- Form50 ------------------------------------------------------------------------------

Form50::Form50(AdditionalCommandsList &list, QWidget *parent)
    : GroupCommandPicker(parent)
    , m_list(list)
{
    setWindowTitle(QStringLiteral("Добавить команду в список"));
    // Enabled from the start; a click on a listed command sets it by that command's name,
    // and without a pick it adds nothing.
    Command1 = named(new QPushButton(QStringLiteral("Добавить"), this), "Command1");
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(Combo1);
    layout->addWidget(List1);
    layout->addWidget(Command1);
    connect(List1, &QListWidget::itemClicked, this,
            [this](QListWidgetItem *item) { Command1->setEnabled(!item->text().isEmpty()); });
    connect(Command1, &QPushButton::clicked, this, &Form50::Command1_Click);
}

void Form50::Command1_Click()
{
    const QString command = selectedCommand();
    if (command.isEmpty())
        return;
    if (!AdditionalCommands::usable(group(), command)) {
        CommandWindows::showError(AdditionalCommands::BlankRefusal);
        return;
    }
    m_list.add(group(), command);
}

// --- Form36 ------------------------------------------------------------------------------

Form36::Form36(QWidget *parent)
    : GroupCommandPicker(parent)
{
    setWindowTitle(QStringLiteral("Встроить помощь"));
    Label1 = named(new QLabel(QStringLiteral("Выберете группу:"), this), "Label1");
    Label2 = named(new QLabel(QStringLiteral("Выберете команду:"), this), "Label2");
    Command1 = named(new QPushButton(QStringLiteral("Встроить помощь"), this), "Command1");
    Command1->setEnabled(false);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(Label1);
    layout->addWidget(Combo1);
    layout->addWidget(Label2);
    layout->addWidget(List1);
    layout->addWidget(Command1);
    connect(this, &GroupCommandPicker::selectionChanged, Command1, &QPushButton::setEnabled);
    connect(Command1, &QPushButton::clicked, this, &Form36::Command1_Click);
}

void Form36::Command1_Click()
{
    HelpEmbedding::embed(group(), selectedCommand(), HelpEmbedding::kind());
    HelpEmbedding::setKind(HelpEmbedding::None);
    WindowKit::hideInFrame(this);
}
