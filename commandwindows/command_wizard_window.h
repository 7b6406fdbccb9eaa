#pragma once

#include <QWidget>

class CommandWizard;
class QButtonGroup;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class WindowHost;

// Step 1 of the command wizard, "Добавление команды. Шаг 1.": the name, the group and
// the kind of answer; in change mode also the delete. It hands over to step 2 (Form14).
class Form12 : public QWidget
{
    Q_OBJECT
public:
    static inline const QString ContinueCaption = QStringLiteral("Продолжить >>");
    static inline const QString ChangeCaption = QStringLiteral("Изменить");
    static inline const QString DeleteCaption = QStringLiteral("Удалить");

    Form12(CommandWizard &wizard, WindowHost &windows, QWidget *parent = nullptr);

    // The two entries: a new command for the group; the named command of the group.
    // Both read the group list again and clear a delete choice left from before.
    void StartAddCommand(const QString &group);
    void StartChangeCommand(const QString &group, const QString &name);

    void Command1_Click();

    QLabel *Label1 = nullptr;
    QLineEdit *Text1 = nullptr;
    QLabel *Label2 = nullptr;
    QComboBox *Combo1 = nullptr;
    QLabel *Label4 = nullptr;
    QLabel *Label3 = nullptr;
    QRadioButton *Option1 = nullptr;
    QRadioButton *Option2 = nullptr;
    QRadioButton *Option4 = nullptr;
    QRadioButton *Option3 = nullptr;
    QRadioButton *Option8 = nullptr;
    QRadioButton *Option7 = nullptr;
    QPushButton *Command1 = nullptr;

private:
    void fillGroups(const QString &group);
    void clearDeleteChoice();
    void optionChosen(QRadioButton *option);
    // Command1 is enabled exactly while a name, a group and an option are given.
    void updateCommand1();

    CommandWizard &m_wizard;
    WindowHost &m_windows;
    QButtonGroup *m_options = nullptr;
};
