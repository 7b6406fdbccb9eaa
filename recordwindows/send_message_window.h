#pragma once

#include "platform/messagedraft.h"

#include <QWidget>

class OperatorMessage;
class QComboBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class IcqSession;

// "Послать сообщение": a message written by hand goes from the main bot to a number,
// with an optional subject and copies to further numbers.
// Windows of other libraries (support, about) fill the boxes through MessageDraftTarget.
class Form2 : public QWidget, public MessageDraftTarget
{
    Q_OBJECT
    Q_INTERFACES(MessageDraftTarget)
public:
    // %1: the number the message or a copy could not go to.
    static inline const QString SendFailed = QStringLiteral("Сообщение на номер %1 отправить не удалось.");

    explicit Form2(IcqSession &session, QWidget *parent = nullptr);

    // Other windows fill the boxes; the window reads them when the operator sends.
    void setRecipient(const QString &recipient);
    void setSubject(const QString &subject);
    void setMessage(const QString &message);
    QString recipient() const;
    QString subject() const;
    QString message() const;
    // Sets the recipient and subject, and the message when the draft has one.
    void takeDraft(const MessageDraft &draft) override;

    void Command1_Click(); // "Отправить сообщение (я)"

    OperatorMessage &sender() { return *m_sender; }

    QLabel *Label1 = nullptr;
    QComboBox *Combo1 = nullptr;
    QLabel *Label7 = nullptr;
    QLabel *Label2 = nullptr;
    QLineEdit *Text2 = nullptr;
    QLabel *Label3 = nullptr;
    QLabel *Label4 = nullptr;
    QLineEdit *Text3 = nullptr;
    QLabel *Label5 = nullptr;
    QPlainTextEdit *Text4 = nullptr;
    QLabel *Label6 = nullptr;
    QLabel *Label8 = nullptr;
    QLabel *Label9 = nullptr;
    QPushButton *Command1 = nullptr;

private:
    // The recipient as typed, or the whole contact item chosen (an item may be shown cut).
    QString recipientText() const;

    OperatorMessage *m_sender = nullptr;
};
