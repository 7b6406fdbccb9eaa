#include "session/login_window.h"

#include "platform/dialogs.h"
#include "platform/passwordfield.h"
#include "session/icqsession.h"

#include <QCheckBox>
#include <QEvent>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QPushButton>

fMain::fMain(IcqSession &session, QWidget *parent)
    : QWidget(parent)
    , m_session(session)
    , m_form(session)
{
    setObjectName(QStringLiteral("fMain"));
    setWindowTitle(QStringLiteral("Вход"));

    Label1 = new QLabel(QStringLiteral("Номер  :"), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Text1 = new QLineEdit(this);
    Text1->setObjectName(QStringLiteral("Text1"));
    Label1->setBuddy(Text1);

    Label2 = new QLabel(QStringLiteral("Пароль :"), this);
    Label2->setObjectName(QStringLiteral("Label2"));
    Text2 = new QLineEdit(this);
    Text2->setObjectName(QStringLiteral("Text2"));
    maskWithAsterisks(Text2);
    Label2->setBuddy(Text2);

    Check1 = new QCheckBox(QStringLiteral("Запомнить пароль"), this);
    Check1->setObjectName(QStringLiteral("Check1"));
    Command1 = new QPushButton(QStringLiteral("Войти"), this);
    Command1->setObjectName(QStringLiteral("Command1"));

    auto *layout = new QGridLayout(this);
    layout->addWidget(Label1, 0, 0);
    layout->addWidget(Text1, 0, 1);
    layout->addWidget(Label2, 1, 0);
    layout->addWidget(Text2, 1, 1);
    layout->addWidget(Check1, 2, 0, 1, 2);
    layout->addWidget(Command1, 3, 0, 1, 2, Qt::AlignRight);

    connect(Command1, &QPushButton::clicked, this, &fMain::Command1_Click);
    connect(Text1, &QLineEdit::returnPressed, Command1, &QPushButton::click);
    connect(Text2, &QLineEdit::returnPressed, Command1, &QPushButton::click);

    // Loading the window gives the button its one attempt.
    Command1->setEnabled(true);
}

void fMain::showLogin(const Credentials &credentials, bool locked)
{
    m_locked = locked;
    Text1->setText(credentials.number);
    Text2->setText(credentials.password);
    Text1->setEnabled(!locked);
    Text2->setEnabled(!locked);
    Command1->setEnabled(!locked);
}

void fMain::Form_Activate()
{
    if (m_locked)
        return;
    if (const std::optional<LoginForm::Credentials> login = m_form.rememberedLogin()) {
        Text1->setText(login->number);
        Text2->setText(login->password);
    }
}

void fMain::Command1_Click()
{
    if (!Command1->isEnabled())
        return;
    Command1->setEnabled(false);
    switch (m_form.submit(Text1->text(), Text2->text(), Check1->isChecked())) {
    case LoginForm::Outcome::Started:
        emit loginStarted(m_form.slot());
        break;
    case LoginForm::Outcome::NoDistributionList:
        // The button stays disabled until the window is loaded again.
        Dialogs::instance().message(LoginForm::DistributionTitle, LoginForm::DistributionText,
                                    Dialogs::Icon::Information);
        emit distributionPageRequested();
        break;
    case LoginForm::Outcome::BadNumber:
        Dialogs::instance().message(LoginForm::ErrorTitle, LoginForm::BadNumberText, Dialogs::Icon::Critical);
        Command1->setEnabled(true);
        break;
    }
}

bool fMain::event(QEvent *event)
{
    // A top-level window becomes active.
    if (event->type() == QEvent::WindowActivate && isWindow())
        Form_Activate();
    return QWidget::event(event);
}

void fMain::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    // Inside the main window the MDI frame is the window that becomes active.
    auto *frame = qobject_cast<QMdiSubWindow *>(parentWidget());
    if (frame && frame != m_frame) {
        m_frame = frame;
        connect(frame, &QMdiSubWindow::windowStateChanged, this,
                [this](Qt::WindowStates oldState, Qt::WindowStates newState) {
                    if (newState.testFlag(Qt::WindowActive) && !oldState.testFlag(Qt::WindowActive))
                        Form_Activate();
                });
        if (frame->windowState().testFlag(Qt::WindowActive))
            Form_Activate();
    }
}
