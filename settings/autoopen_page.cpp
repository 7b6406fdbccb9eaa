#include "settings/autoopen_page.h"

#include "settings/pagecontrols.h"
#include "settings/pagemessages.h"

#include <QHBoxLayout>
#include <QVBoxLayout>

using namespace PageControls;

const QStringList UserControl2::Captions = {
    QStringLiteral("Настройка"),
    QStringLiteral("Послать сообщение"),
    QStringLiteral("Чёрный список"),
    QStringLiteral("Статистика"),
    QStringLiteral("Управление командами"),
    QStringLiteral("Управление группами"),
    QStringLiteral("Авторасылка"),
    QStringLiteral("Редикет"),
    QStringLiteral("Окно пользователей"),
};

UserControl2::UserControl2(QWidget *parent)
    : LogicPage(parent)
{
    Shape1 = shape("Shape1", this);
    Label1 = title("Label1", Title, Shape1);
    Line1 = line("Line1", Shape1);
    Label2 = label("Label2",
                   QStringLiteral("Выберите список окон, которые будут открываться при запуске программы"),
                   Shape1);
    Line2 = line("Line2", Shape1);
    Command1 = button("Command1", QStringLiteral("Применить"), Shape1);

    QVBoxLayout *inner = startColumn(Shape1, Label1, Line1);
    inner->addWidget(Label2);
    for (int i = 0; i < AutoOpenSettings::BoxCount; ++i) {
        const QByteArray name = "Check" + QByteArray::number(i + 1);
        Check[i] = checkBox(name.constData(), Captions.at(i), Shape1);
        inner->addWidget(Check[i]);
        follow({Check[i]});
    }
    finishColumn(this, Shape1, inner, Line2, Command1);

    refresh();
    connect(Command1, &QPushButton::clicked, this, &UserControl2::Command1_Click);
}

void UserControl2::Command1_Click()
{
    apply();
}

void UserControl2::showValues(const Values &values)
{
    for (int i = 0; i < AutoOpenSettings::BoxCount; ++i)
        Check[i]->setChecked(values.boxes[i]);
}

void UserControl2::takeValues(Values &values) const
{
    for (int i = 0; i < AutoOpenSettings::BoxCount; ++i)
        values.boxes[i] = Check[i]->isChecked();
}
