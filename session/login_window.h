#pragma once

#include "session/loginform.h"

#include <QWidget>

class IcqSession;
class QCheckBox;
class QLabel;
class QLineEdit;
class QMdiSubWindow;
class QPushButton;

// The login window "Вход": the main bot's number and password and the button that
// logs it in. It only shows and forwards; the session lives on without it.
class fMain : public QWidget
{
    Q_OBJECT
public:
    explicit fMain(IcqSession &session, QWidget *parent = nullptr);

    // Shows a log-in in the boxes. Locked: the boxes and the button are off, as for a
    // log-in the program started itself; unlocked: all three are usable. The session's
    // login state is not touched: a log-in starts only from the button or the session.
    void showLogin(const Credentials &credentials, bool locked);
    bool isLocked() const { return m_locked; }

    // Each time the window becomes active: the boxes show the remembered login, unless
    // they show a log-in the program started.
    void Form_Activate();
    // The button: one attempt per load of the window.
    void Command1_Click();

    IcqSession &session() const { return m_session; }

    QLabel *Label1 = nullptr;
    QLineEdit *Text1 = nullptr; // the ICQ number
    QLabel *Label2 = nullptr;
    QLineEdit *Text2 = nullptr; // the password
    QCheckBox *Check1 = nullptr;
    QPushButton *Command1 = nullptr;

signals:
    // The distribution list is empty: the settings window should open on its distribution page.
    void distributionPageRequested();
    // The button started the log-in of the bot on this slot.
    void loginStarted(int slot);

protected:
    bool event(QEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    IcqSession &m_session;
    LoginForm m_form;
    QMdiSubWindow *m_frame = nullptr; // the MDI frame we were activated through, once connected
    bool m_locked = false;
};
