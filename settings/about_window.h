#pragma once

#include "platform/messagedraft.h"

#include <QWidget>

class ClickLabel;
class QLabel;

// "О программе": the program's name and versions, its web site, thanks, and a contact
// that fills the send-message window.
class Form8 : public QWidget
{
    Q_OBJECT
public:
    static inline const QString Caption = QStringLiteral("О программе");

    explicit Form8(ComposeMessage compose, QWidget *parent = nullptr);

    QLabel *Label1 = nullptr;      // the program's name
    QLabel *Label2 = nullptr;      // "Интеллектуальный бот для вас"
    QLabel *Label3 = nullptr;      // "Версия: 1.9"
    QLabel *Label4 = nullptr;      // "Версия ядра: 1.0"
    ClickLabel *Label8 = nullptr;  // the web site
    QLabel *Label10 = nullptr;     // thanks
    QLabel *Label14 = nullptr;     // "Если вам есть, что предложить ..."
    QLabel *Label15 = nullptr;     // "ICQ       :"
    ClickLabel *Label16 = nullptr; // the contact number
    QLabel *Label18 = nullptr;     // e-mail
    ClickLabel *Label17 = nullptr; // "Закрыть"

    // The contact: recipient and subject into the send-message window.
    void Label16_Click();
    // Hides the window; it stays as it is.
    void Label17_Click();
    // Opens the web site in the operator's browser.
    void Label8_Click();

private:
    ComposeMessage m_compose;
};
