#pragma once

#include "platform/windowkit.h"

#include <QWidget>

class CommandWizard;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QListView;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;
class QSortFilterProxyModel;
class QStringListModel;
class WindowHost;

// The command manager "Управление командами": the commands of one group, the raw
// answer of the selected one, the wizard's entries and the command-base options.
// Every file action uses the group whose commands are listed; a group typed into the
// box counts once it is confirmed with Enter.
class Form9 : public QWidget
{
    Q_OBJECT
public:
    Form9(CommandWizard &wizard, WindowHost &windows, QWidget *parent = nullptr);

    // The group whose commands the list shows.
    QString listedGroup() const { return m_group; }
    // The names in the list model, in file order (the quick search does not hide any).
    QStringList commandNames() const;
    // The selected command; empty when none.
    QString selectedCommand() const;

    // A group picked or confirmed in the group box.
    void Combo1_Click();
    // An entry selected: its answer in Text2.
    void List1_Click();
    // The quick search: filters the list and selects the entry of that name.
    void Text1_Change();
    void Command3_Click(); // "Сохранить"
    void Command1_Click(); // "Добавить"
    void Command2_Click(); // "Изменить\удалить"
    void Command5_Click(); // "Импорт команд"
    void Label2_Click();   // "Расширенный поиск"
    void Command4_Click(); // "Применить"

    QComboBox *Combo1 = nullptr;
    QListView *List1 = nullptr;
    QLabel *Label1 = nullptr;
    QLineEdit *Text1 = nullptr;
    ClickLabel *Label2 = nullptr;
    QPlainTextEdit *Text2 = nullptr;
    QPushButton *Command3 = nullptr;
    QPushButton *Command1 = nullptr;
    QPushButton *Command2 = nullptr;
    QPushButton *Command5 = nullptr;
    QCheckBox *Check1 = nullptr;
    QRadioButton *Option1 = nullptr;
    QRadioButton *Option2 = nullptr;
    QCheckBox *Check2 = nullptr;
    QPushButton *Command4 = nullptr;

private:
    void buildControls();
    void loadOptions();
    // Lists the group's commands; false (and a box) when its file cannot be read.
    bool listGroup(const QString &group);
    void selectionChanged();
    void commandAdded(const QString &group, const QString &name);
    void commandChanged(const QString &group, const QString &name);
    void commandDeleted(const QString &group, const QString &name);

    CommandWizard &m_wizard;
    WindowHost &m_windows;
    QStringListModel *m_names = nullptr;
    QSortFilterProxyModel *m_filter = nullptr;
    QString m_group;
    QString m_shownCommand; // the command whose answer Text2 holds
};
