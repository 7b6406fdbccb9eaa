#include "commandwindows/command_search_window.h"

#include "commands/commandeditor.h"

#include <QGridLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeWidget>

Form15::Form15(QWidget *parent)
    : QWidget(parent)
{
    setWindowTitle(QStringLiteral("Расширенный поиск команд"));
    Label1 = new QLabel(QStringLiteral("Название команды  :"), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Text1 = new QLineEdit(this);
    Text1->setObjectName(QStringLiteral("Text1"));
    Command1 = new QPushButton(QStringLiteral("Поиск"), this);
    Command1->setObjectName(QStringLiteral("Command1"));
    ListView1 = new QTreeWidget(this);
    ListView1->setObjectName(QStringLiteral("ListView1"));
    ListView1->setColumnCount(2);
    ListView1->setHeaderLabels({QStringLiteral("Группа"), QStringLiteral("Команда")});
    ListView1->setRootIsDecorated(false);
    ListView1->setUniformRowHeights(true);

    auto *layout = new QGridLayout(this);
    layout->addWidget(Label1, 0, 0);
    layout->addWidget(Text1, 0, 1);
    layout->addWidget(Command1, 0, 2);
    layout->addWidget(ListView1, 1, 0, 1, 3);
    connect(Command1, &QPushButton::clicked, this, &Form15::Command1_Click);
    connect(Text1, &QLineEdit::returnPressed, this, &Form15::Command1_Click);
}

void Form15::Command1_Click()
{
    const QList<CommandEditor::SearchRow> rows = CommandEditor::search(Text1->text());
    for (const CommandEditor::SearchRow &row : rows)
        ListView1->addTopLevelItem(new QTreeWidgetItem(QStringList{row.group, row.command}));
}
