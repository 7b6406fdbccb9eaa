#pragma once

#include "settings/autoopensettings.h"
#include "settings/logicpage.h"

#include <QStringList>

class QCheckBox;
class QFrame;
class QLabel;
class QPushButton;

// The auto-open page "Автооткрытие окон" of the settings window: the windows the next
// start opens by themselves. It shows AutoOpenSettings.
class UserControl2 : public LogicPage<AutoOpenSettings>
{
    Q_OBJECT
public:
    static inline const QString Title = QStringLiteral("Автооткрытие окон");
    // The boxes' captions, in the file's order.
    static const QStringList Captions;

    explicit UserControl2(QWidget *parent = nullptr);

    // "Применить".
    void Command1_Click();

    QLabel *Label1 = nullptr;
    QLabel *Label2 = nullptr;
    // Check1 to Check9.
    QCheckBox *Check[AutoOpenSettings::BoxCount] = {};
    QPushButton *Command1 = nullptr;
    QFrame *Shape1 = nullptr;
    QFrame *Line1 = nullptr;
    QFrame *Line2 = nullptr;

private:
    void showValues(const Values &values) override;
    void takeValues(Values &values) const override;
};
