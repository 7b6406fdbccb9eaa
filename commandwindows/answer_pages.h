#pragma once

#include "commands/commandeditor.h"

#include <QWidget>

class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;

// The answer pages of step 2 of the command wizard. Each shows the values of one kind
// of answer; "Сохранить команду" checks them and has the wizard write the record.
class AnswerPage : public QWidget
{
    Q_OBJECT
public:
    AnswerPage(CommandWizard &wizard, QWidget *parent);

    virtual CommandWizard::Answer answer() const = 0;
    // Shows the values; setAnswer(CommandWizard::Answer()) brings back the design values.
    virtual void setAnswer(const CommandWizard::Answer &answer) = 0;

    // The command this page writes: the one step 1 handed over when it showed the page.
    // A later entry of the wizard does not change it while the page stays open.
    void setHandover(const CommandWizard::Handover &handover) { m_handover = handover; }
    const CommandWizard::Handover &handover() const { return m_handover; }

    // "Сохранить команду": refusal box, or the write; saved() after a write.
    void save();

Q_SIGNALS:
    void saved();

protected:
    QPushButton *saveButton(const char *name);
    CommandWizard &m_wizard;
    CommandWizard::Handover m_handover; // none (no name) until shown: nothing to write
};

// The text answer page.
class add_t : public AnswerPage
{
    Q_OBJECT
public:
    add_t(CommandWizard &wizard, QWidget *parent = nullptr);
    CommandWizard::Answer answer() const override;
    void setAnswer(const CommandWizard::Answer &answer) override;

    QPlainTextEdit *Text1 = nullptr;
    QPushButton *Command1 = nullptr;
};

// The file answer page: the path of a file whose content is the answer.
class add_fr : public AnswerPage
{
    Q_OBJECT
public:
    add_fr(CommandWizard &wizard, QWidget *parent = nullptr);
    CommandWizard::Answer answer() const override;
    void setAnswer(const CommandWizard::Answer &answer) override;

    QLabel *Label1 = nullptr;
    QLineEdit *Text1 = nullptr;
    QPushButton *Command1 = nullptr;
    QLabel *Label2 = nullptr;
    QPushButton *Command2 = nullptr;
};

// The program answer page: what to start, how long to wait, where the answer lands.
class add_frp : public AnswerPage
{
    Q_OBJECT
public:
    add_frp(CommandWizard &wizard, QWidget *parent = nullptr);
    CommandWizard::Answer answer() const override;
    void setAnswer(const CommandWizard::Answer &answer) override;

    QLabel *Label1 = nullptr;
    QLineEdit *Text1 = nullptr;
    QPushButton *Command1 = nullptr;
    QLabel *Label2 = nullptr;
    QLineEdit *Text2 = nullptr;
    QLabel *Label4 = nullptr;
    QLabel *Label3 = nullptr;
    QLineEdit *Text3 = nullptr;
    QPushButton *Command2 = nullptr;
    QPushButton *Command3 = nullptr;
};

// The download answer page: the address of a file whose content is the answer.
class add_rdi : public AnswerPage
{
    Q_OBJECT
public:
    add_rdi(CommandWizard &wizard, QWidget *parent = nullptr);
    CommandWizard::Answer answer() const override;
    void setAnswer(const CommandWizard::Answer &answer) override;

    QLabel *Label1 = nullptr;
    QLineEdit *Text1 = nullptr;
    QLabel *Label2 = nullptr;
    QLabel *Label3 = nullptr;
    QPushButton *Command2 = nullptr;
};

// The random answer page: answers in a file (type 1) or typed in (type 2).
class add_so : public AnswerPage
{
    Q_OBJECT
public:
    add_so(CommandWizard &wizard, QWidget *parent = nullptr);
    CommandWizard::Answer answer() const override;
    void setAnswer(const CommandWizard::Answer &answer) override;

    void Option1_Click();
    void Option2_Click();

    QLabel *SeparatorLabel = nullptr;
    QLineEdit *Text2 = nullptr;
    QLabel *CountLabel = nullptr;
    QLineEdit *Text4 = nullptr;
    QLabel *Label4 = nullptr;
    QRadioButton *Option1 = nullptr;
    QWidget *Picture2 = nullptr;
    QLabel *Label1 = nullptr;
    QLineEdit *Text1 = nullptr;
    QPushButton *Command1 = nullptr;
    QLabel *Label2 = nullptr;
    QRadioButton *Option2 = nullptr;
    QWidget *Picture1 = nullptr;
    QPlainTextEdit *Text3 = nullptr;
    QPushButton *Command2 = nullptr;
};
