#pragma once

#include "settings/popupsettings.h"
#include "settings/logicpage.h"

class QCheckBox;
class QFrame;
class QLabel;
class QLineEdit;
class QPushButton;

// The popup page "Всплывающее окно" of the settings window: the new-message popup on or
// off, above all windows or not, and its time on screen. It shows PopupSettings.
class nast_c_v : public LogicPage<PopupSettings>
{
    Q_OBJECT
public:
    static inline const QString Title = QStringLiteral("Всплывающее окно");

    explicit nast_c_v(QWidget *parent = nullptr);

    // "Применить".
    void Command1_Click();

    QLabel *Label1 = nullptr;
    QLabel *Label2 = nullptr;
    QCheckBox *Check1 = nullptr;
    QCheckBox *Check2 = nullptr;
    QLabel *Label3 = nullptr;
    QLineEdit *Text1 = nullptr;
    QLabel *Label4 = nullptr;
    QPushButton *Command1 = nullptr;
    QFrame *Shape1 = nullptr;
    QFrame *Shape2 = nullptr;
    QFrame *Line1 = nullptr;
    QFrame *Line2 = nullptr;

private:
    void showValues(const Values &values) override;
    void takeValues(Values &values) const override;
};
