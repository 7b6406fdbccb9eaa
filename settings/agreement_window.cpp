#include "settings/agreement_window.h"

#include "platform/dialogs.h"
#include "files/agreement.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QHBoxLayout>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

void defaultEndProgram()
{
    QCoreApplication::exit(0);
    // At start-up the main loop may not run yet: end it as soon as it does.
    if (QCoreApplication *app = QCoreApplication::instance())
        QMetaObject::invokeMethod(
            app, [] { QCoreApplication::exit(0); }, Qt::QueuedConnection);
}

Form48::EndProgram &endProgramHook()
{
    static Form48::EndProgram hook = defaultEndProgram;
    return hook;
}

} // namespace

const QString Form48::LicenceText = QStringLiteral(
    "ЛИЦЕНЗИОННОЕ СОГЛАШЕНИЕ\n"
    "\n"
    "1. Программа Korvane (далее «программа») предоставляется бесплатно, «как есть», без каких-либо "
    "гарантий. Автор не отвечает за убытки, сбои и потерю данных, вызванные её использованием.\n"
    "\n"
    "2. Вы вправе устанавливать программу и пользоваться ею на любом числе компьютеров.\n"
    "\n"
    "3. Вы отвечаете за всё, что бот отправляет от ваших ICQ номеров: запрещается использовать "
    "программу для рассылки спама, оскорблений и сведений, нарушающих закон или права других людей, "
    "а также нарушать правила сети ICQ.\n"
    "\n"
    "4. Пароли ботов хранятся в папке программы. Ограничьте доступ к ней другим пользователям "
    "компьютера.\n"
    "\n"
    "5. Запрещается выдавать программу или её части за свою разработку и распространять её за плату.\n"
    "\n"
    "Нажимая «Принимаю условия», вы подтверждаете, что прочитали соглашение и согласны с ним. Если вы не "
    "согласны, нажмите «НЕ Принимаю условия»: программа будет закрыта.");

Form48::Form48(QWidget *parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("Form48"));
    setWindowTitle(Caption);
    setModal(true);

    Text1 = new QPlainTextEdit(LicenceText, this);
    Text1->setObjectName(QStringLiteral("Text1"));
    Text1->setReadOnly(true);
    Text1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);

    Command1 = new QPushButton(QStringLiteral("Принимаю условия"), this);
    Command1->setObjectName(QStringLiteral("Command1"));
    Command1->setAutoDefault(false);
    Command2 = new QPushButton(QStringLiteral("НЕ Принимаю условия"), this);
    Command2->setObjectName(QStringLiteral("Command2"));
    Command2->setAutoDefault(false);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(Command1);
    buttons->addWidget(Command2);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(Text1, 1);
    layout->addLayout(buttons);

    connect(Command1, &QPushButton::clicked, this, &Form48::Command1_Click);
    connect(Command2, &QPushButton::clicked, this, &Form48::Command2_Click);

    m_agreementAccepted = false;
}

void Form48::Command1_Click()
{
    if (m_ending)
        return;
    const TextFile::Result written = Agreement::writeMarker();
    if (!written) {
        // The program ends as after any answer: the next start asks again.
        Dialogs::instance().message(MarkerFailedTitle, MarkerFailedText.arg(written.error),
                                    Dialogs::Icon::Critical, Dialogs::Buttons::Ok);
        endProgram();
        return;
    }
    // The box of the accepted agreement carries neither title nor text.
    Dialogs::instance().message(QString(), QString(), Dialogs::Icon::Information, Dialogs::Buttons::Ok);
    endProgram();
}

void Form48::Command2_Click()
{
    endProgram();
}

void Form48::setEndProgram(EndProgram endProgram)
{
    endProgramHook() = endProgram ? std::move(endProgram) : EndProgram(defaultEndProgram);
}

void Form48::closeEvent(QCloseEvent *event)
{
    if (!m_agreementAccepted)
        endProgram();
    QDialog::closeEvent(event);
}

void Form48::reject()
{
    endProgram();
    QDialog::reject();
}

void Form48::endProgram()
{
    // Once is enough: closing the window after a button must not end it a second time.
    if (m_ending)
        return;
    m_ending = true;
    endProgramHook()();
}
