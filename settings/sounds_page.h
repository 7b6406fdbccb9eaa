#pragma once

#include "settings/logicpage.h"
#include "settings/soundsettings.h"

class QCheckBox;
class QFrame;
class QLabel;
class QLineEdit;
class QPushButton;

// The sounds page "Звуки" of the settings window: sounds off or on and the sound files of
// a new message and of the start. It shows SoundSettings; each "..." browses for its own
// row's file, "Применить" stores the page.
class nast_b_v : public LogicPage<SoundSettings>
{
    Q_OBJECT
public:
    static inline const QString Title = QStringLiteral("Звуки");

    explicit nast_b_v(QWidget *parent = nullptr);

    // "..." of the new-message sound.
    void Command1_Click();
    // "..." of the start-up sound.
    void Command2_Click();
    // "Применить".
    void Command3_Click();

    QLabel *Label1 = nullptr;
    QLabel *Label2 = nullptr;
    QCheckBox *Check1 = nullptr;
    QLabel *Label4 = nullptr;
    QLineEdit *Text1 = nullptr;
    QPushButton *Command1 = nullptr;
    QLabel *Label3 = nullptr;
    QLineEdit *Text2 = nullptr;
    QPushButton *Command2 = nullptr;
    QPushButton *Command3 = nullptr;
    QFrame *Shape1 = nullptr;
    QFrame *Line1 = nullptr;
    QFrame *Line2 = nullptr;

private:
    void browse(QLineEdit *box);
    void showValues(const Values &values) override;
    void takeValues(Values &values) const override;
};
