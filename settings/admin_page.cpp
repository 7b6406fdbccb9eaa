#include "settings/admin_page.h"

#include "platform/passwordfield.h"
#include "settings/pagecontrols.h"
#include "settings/pagemessages.h"

#include <QHBoxLayout>
#include <QVBoxLayout>

using namespace PageControls;

UserControl4::UserControl4(QWidget *parent)
    : LogicPage(parent)
{
    Shape1 = shape("Shape1", this);
    Label1 = title("Label1", Title, Shape1);
    Line1 = line("Line1", Shape1);
    Label2 = label("Label2", QStringLiteral("Введите номер администратора:"), Shape1);
    Text1 = textBox("Text1", Shape1);
    Label3 = label("Label3", QStringLiteral("Пароль:"), Shape1);
    Text2 = textBox("Text2", Shape1);
    maskWithAsterisks(Text2);
    Label4 = label("Label4",
                   QStringLiteral("Если Вы не хотите чтобы программа запрашивала  пароль оставьте поле "
                                  "\"Пароль\" пустым."),
                   Shape1);
    Label5 = label("Label5",
                   QStringLiteral("Если Вы поставили пароль, то в сообщении помимо самой команды должен быть "
                                  "пароль. Указывается после команды и двоеточия."),
                   Shape1);
    Label6 = label("Label6", QStringLiteral("Примеры запросов:"), Shape1);
    Label7 = label("Label7", QStringLiteral("!выключить"), Shape1);
    Label8 = label("Label8", QStringLiteral("!перезагрузить"), Shape1);
    Label9 = label("Label9", QStringLiteral("!выключить: пароль"), Shape1);
    Label10 = label("Label10", QStringLiteral("!перезагрузить: пароль"), Shape1);
    Label11 = label("Label11", QStringLiteral("Пробел после двоеточия указывать не нужно!!!"), Shape1);
    Line2 = line("Line2", Shape1);
    Command1 = button("Command1", QStringLiteral("Применить"), Shape1);

    QVBoxLayout *inner = startColumn(Shape1, Label1, Line1);
    for (QWidget *control : {static_cast<QWidget *>(Label2), static_cast<QWidget *>(Text1),
                             static_cast<QWidget *>(Label3), static_cast<QWidget *>(Text2),
                             static_cast<QWidget *>(Label4), static_cast<QWidget *>(Label5),
                             static_cast<QWidget *>(Label6), static_cast<QWidget *>(Label7),
                             static_cast<QWidget *>(Label8), static_cast<QWidget *>(Label9),
                             static_cast<QWidget *>(Label10), static_cast<QWidget *>(Label11)})
        inner->addWidget(control);
    finishColumn(this, Shape1, inner, Line2, Command1);

    refresh();
    follow({Text1, Text2});
    connect(Command1, &QPushButton::clicked, this, &UserControl4::Command1_Click);
}

void UserControl4::Command1_Click()
{
    apply();
}

void UserControl4::showValues(const Values &values)
{
    Text1->setText(values.number);
    Text2->setText(values.password);
}

void UserControl4::takeValues(Values &values) const
{
    values = AdminSettings::Values{Text1->text(), Text2->text()};
}
