#pragma once

#include "platform/messagedraft.h"

#include <QList>
#include <QWidget>

class ClickLabel;
class QLabel;

// "Тех. поддержка": the support contacts and four topics; a click on a topic fills the
// send-message window to the support with the topic's subject and message template.
class Form4 : public QWidget
{
    Q_OBJECT
public:
    static inline const QString Caption = QStringLiteral("Тех. поддержка");

    explicit Form4(ComposeMessage compose, QWidget *parent = nullptr);

    QLabel *Label1 = nullptr; // the invitation
    QLabel *Label2 = nullptr; // ICQ
    QLabel *Label3 = nullptr; // forum
    QLabel *Label4 = nullptr; // e-mail
    QLabel *Label9 = nullptr; // "Щёлкните ..."
    ClickLabel *Label5 = nullptr;
    ClickLabel *Label6 = nullptr;
    ClickLabel *Label7 = nullptr;
    ClickLabel *Label8 = nullptr;

    void Label5_Click() { topicClicked(0); }
    void Label6_Click() { topicClicked(1); }
    void Label7_Click() { topicClicked(2); }
    void Label8_Click() { topicClicked(3); }

private:
    void topicClicked(int topic);

    ComposeMessage m_compose;
};
