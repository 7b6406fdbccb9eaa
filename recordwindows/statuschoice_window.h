#pragma once

#include <QWidget>

#include <functional>

class QComboBox;
class QPushButton;

// "Сменить статус": one of six status names, kept in the status file; a name the bot
// can show (online, occupied, invisible) also becomes the bot's status.
class Form3 : public QWidget
{
    Q_OBJECT
public:
    // Sets the bot's status: 1 online, 2 occupied, 3 invisible.
    using SetStatus = std::function<void(int code)>;

    explicit Form3(SetStatus setStatus, QWidget *parent = nullptr);

    void Command1_Click(); // "Сменить статус"

    QComboBox *Combo1 = nullptr;
    QPushButton *Command1 = nullptr;

private:
    SetStatus m_setStatus;
};
