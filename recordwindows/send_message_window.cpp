#include "recordwindows/send_message_window.h"

#include "core/textrowsmodel.h"
#include "platform/dialogs.h"
#include "platform/windowkit.h"
#include "records/operatormessage.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPlainTextEdit>
#include <QPushButton>

using WindowKit::named;

Form2::Form2(IcqSession &session, QWidget *parent)
    : QWidget(parent)
    , m_sender(new OperatorMessage(session, this))
{
    setWindowTitle(QStringLiteral("Послать сообщение"));
    Label1 = named(new QLabel(QStringLiteral("Введите номер ICQ   :"), this), "Label1");
    Combo1 = named(new QComboBox(this), "Combo1");
    Combo1->setEditable(true);
    Combo1->setInsertPolicy(QComboBox::NoInsert);
    Label7 = named(new QLabel(QStringLiteral("*"), this), "Label7");
    Label2 = named(new QLabel(QStringLiteral("Копии :"), this), "Label2");
    Text2 = named(new QLineEdit(this), "Text2");
    Label3 = named(new QLabel(QStringLiteral("Номера указывайте через символ \";\""), this), "Label3");
    Label4 = named(new QLabel(QStringLiteral("Тема сообщения :"), this), "Label4");
    Text3 = named(new QLineEdit(this), "Text3");
    Label5 = named(new QLabel(QStringLiteral("Сообщение   :"), this), "Label5");
    Text4 = named(new QPlainTextEdit(this), "Text4");
    Text4->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    Label6 = named(new QLabel(QStringLiteral("*"), this), "Label6");
    Label8 = named(new QLabel(QStringLiteral("*"), this), "Label8");
    Label9 = named(new QLabel(QStringLiteral("- обязательные для заполнения"), this), "Label9");
    Command1 = named(new QPushButton(QStringLiteral("Отправить сообщение (я)"), this), "Command1");

    auto *grid = new QGridLayout(this);
    grid->addWidget(Label1, 0, 0);
    grid->addWidget(Combo1, 0, 1);
    grid->addWidget(Label7, 0, 2);
    grid->addWidget(Label2, 1, 0);
    grid->addWidget(Text2, 1, 1);
    grid->addWidget(Label3, 2, 1);
    grid->addWidget(Label4, 3, 0);
    grid->addWidget(Text3, 3, 1);
    grid->addWidget(Label5, 4, 0, Qt::AlignTop);
    grid->addWidget(Text4, 4, 1);
    grid->addWidget(Label6, 4, 2, Qt::AlignTop);
    auto *legend = new QHBoxLayout;
    legend->addWidget(Label8);
    legend->addWidget(Label9);
    legend->addStretch(1);
    grid->addLayout(legend, 5, 0, 1, 2);
    grid->addWidget(Command1, 6, 0, 1, 3);
    grid->setRowStretch(4, 1);

    // A contact book of any length or line length opens at once: its items are laid out
    // only when the list drops down, and the box is not sized to the longest one.
    auto *contacts = new TextRowsModel({}, Combo1);
    contacts->setTexts(OperatorMessage::contactItems());
    Combo1->setModel(contacts);
    if (auto *list = qobject_cast<QListView *>(Combo1->view()))
        list->setUniformItemSizes(true);
    Combo1->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    Combo1->setMinimumContentsLength(24);
    Combo1->setCurrentIndex(-1);
    Combo1->setEditText(QString());

    connect(Command1, &QPushButton::clicked, this, &Form2::Command1_Click);
    // A message that could not go (the bot offline) is told without stopping anything.
    connect(m_sender, &OperatorMessage::sent, this, [](const QString &number, bool ok) {
        if (!ok)
            Dialogs::instance().notify(QString(), SendFailed.arg(number), Dialogs::Icon::Warning,
                                       QStringLiteral("send message"));
    });
}

void Form2::setRecipient(const QString &recipient)
{
    Combo1->setEditText(recipient);
}

void Form2::setSubject(const QString &subject)
{
    Text3->setText(subject);
}

void Form2::setMessage(const QString &message)
{
    Text4->setPlainText(message);
}

void Form2::takeDraft(const MessageDraft &draft)
{
    setRecipient(draft.recipient);
    setSubject(draft.subject);
    if (draft.message)
        setMessage(*draft.message);
}

QString Form2::recipient() const
{
    return recipientText();
}

QString Form2::recipientText() const
{
    const QString typed = Combo1->currentText();
    const int chosen = Combo1->currentIndex();
    if (chosen >= 0 && typed == Combo1->itemText(chosen))
        return Combo1->itemData(chosen, TextRowsModel::FullTextRole).toString();
    return typed;
}

QString Form2::subject() const
{
    return Text3->text();
}

QString Form2::message() const
{
    return Text4->toPlainText();
}

void Form2::Command1_Click()
{
    const QString message = Text4->toPlainText().replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
    const QString recipient = recipientText();
    if (recipient.isEmpty() || message.isEmpty())
        return;
    m_sender->send(recipient, Text2->text(), Text3->text(), message);
    Text2->setText(OperatorMessage::closedCopies(Text2->text()));
}
