#pragma once

#include <QWidget>

class CommandWizard;
class QComboBox;
class QLabel;
class QListWidget;
class QPushButton;
class WindowHost;

// "Управление группами": the user groups, the numbers of the selected group and the
// names of its commands; the command wizard opens on the selected group. The group
// files are read again on every selection and change.
class Form11 : public QWidget
{
    Q_OBJECT
public:
    static inline const QString GroupTitle = QStringLiteral("Группа");
    static inline const QString NoNameText = QStringLiteral("Вы не ввели название");
    static inline const QString BuiltInText =
        QStringLiteral("Эта группа создана по умолчанию и её нельзя создать или удалить!");
    static inline const QString DuplicateText =
        QStringLiteral("Такая группа уже есть. Попробуйте добавить другую группу.");
    static inline const QString NoSelectionText = QStringLiteral("Выделите группу в списке");
    static inline const QString BadNameText = QStringLiteral("Недопустимое название группы.");
    static inline const QString BadNumberText = QStringLiteral("Номер ICQ должен состоять только из цифр.");

    Form11(CommandWizard &wizard, WindowHost &windows, QWidget *parent = nullptr);

    // The selected group; empty when none.
    QString selectedGroup() const;

    void List1_Click();
    void List2_Click();
    void List3_Click();
    void Command1_Click(); // "Добавить номер"
    void Command2_Click(); // "Удалить номер"
    void Command3_Click(); // "Добавить команду в список"
    void Command4_Click(); // "Удалить команду из списка"
    void Command5_Click(); // "Добавить": a group
    void Command6_Click(); // "Удалить группу"

    QLabel *Label1 = nullptr;
    QListWidget *List1 = nullptr;
    QPushButton *Command5 = nullptr;
    QPushButton *Command6 = nullptr;
    QLabel *Label2 = nullptr;
    QListWidget *List2 = nullptr;
    QPushButton *Command1 = nullptr;
    QPushButton *Command2 = nullptr;
    QLabel *Label3 = nullptr;
    QListWidget *List3 = nullptr;
    QPushButton *Command3 = nullptr;
    QPushButton *Command4 = nullptr;

private:
    void fillGroups();
    void fillNumbers(const QString &group);
    void commandAdded(const QString &group, const QString &name);
    void commandDeleted(const QString &group, const QString &name);

    CommandWizard &m_wizard;
    WindowHost &m_windows;
};

// "Импорт команд": copies single commands between the folders of two groups, each
// "\Команды\<group>\" with its index "Команды.txt" and one file per command.
class Form31 : public QWidget
{
    Q_OBJECT
public:
    static inline const QString Title = QStringLiteral("Импорт команд");
    static inline const QString SameGroupText = QStringLiteral("Нельзя выбирать одинаковые группы.");
    static inline const QString NoSourceText = QStringLiteral("Файл команды не найден.");
    static inline const QString IndexName = QStringLiteral("Команды");

    explicit Form31(QWidget *parent = nullptr);

    // "\Команды\<group>\<name>.txt"; empty when either cannot name a file.
    static QString commandFile(const QString &group, const QString &name);
    static QString indexFile(const QString &group);

    void Combo1_Click();
    void Combo2_Click();
    void Command1_Click(); // ">>>"
    void Command2_Click(); // "<<<"

    QComboBox *Combo1 = nullptr;
    QListWidget *List1 = nullptr;
    QPushButton *Command1 = nullptr;
    QPushButton *Command2 = nullptr;
    QComboBox *Combo2 = nullptr;
    QListWidget *List2 = nullptr;

private:
    struct Side
    {
        QComboBox *combo = nullptr;
        QListWidget *list = nullptr;
        QString listed; // the group whose index the list shows
    };
    void choose(Side &side, const Side &other);
    void copy(Side &from, Side &to);

    Side m_left;
    Side m_right;
};
