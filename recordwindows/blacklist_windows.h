#pragma once

#include "records/blacklistbook.h"

#include <QList>
#include <QWidget>

class QLabel;
class QLineEdit;
class QPushButton;
class QTreeView;
class TextRowsModel;
class DatePicker;
class WindowHost;

// "Добавление в чёрный список": adds a user blacklist entry, or changes one when an
// opener has put it into change mode (the button then reads "Изменить").
class Form6 : public QWidget
{
    Q_OBJECT
public:
    Form6(BlacklistBook &blacklist, DatePicker &picker, WindowHost &windows, QWidget *parent = nullptr);

    static inline const QString ChatReason = QStringLiteral("Забанён(а) в чате, администратором.");

    // The blacklist window's "Изменить": the row's values, the number locked.
    void openForChange(const BlacklistBook::Row &row);
    // The chat window's "Перенести в чёрный список": add mode whatever the window
    // showed, the member's number locked, tomorrow's date and the chat reason.
    Q_INVOKABLE void openForChatMember(const QString &number);
    // The date picker's answer.
    void setPickedDate(const QString &dateText);

    void Command1_Click(); // "Добавить" / "Изменить"
    void Command2_Click(); // "Выбрать дату"

    QLabel *Label1 = nullptr;
    QLineEdit *Text1 = nullptr;
    QLabel *Label2 = nullptr;
    QLineEdit *Text2 = nullptr;
    QPushButton *Command2 = nullptr;
    QLabel *Label3 = nullptr;
    QLineEdit *Text3 = nullptr;
    QPushButton *Command1 = nullptr;

private:
    BlacklistBook &m_blacklist;
    DatePicker &m_picker;
    WindowHost &m_windows;
};

// "Чёрный список": the user blacklist and the chat ban list in one list; add, change,
// delete and search. The list refills from both files whenever one of them was saved.
class Form5 : public QWidget
{
    Q_OBJECT
public:
    Form5(BlacklistBook &blacklist, WindowHost &windows, QWidget *parent = nullptr);

    void Command1_Click(); // "Добавить"
    void Command2_Click(); // "Изменить"
    void Command3_Click(); // "Удалить"
    void Command4_Click(); // "Поиск"

    // The rows as listed.
    QList<BlacklistBook::Row> rows() const { return m_rows; }

    QTreeView *ListView1 = nullptr; // over a model: lists of any length open at once
    QLabel *Label1 = nullptr;
    QLineEdit *Text1 = nullptr;
    QPushButton *Command4 = nullptr;
    QPushButton *Command1 = nullptr;
    QPushButton *Command2 = nullptr;
    QPushButton *Command3 = nullptr;

private:
    void refill();
    void updateButtons();
    int selectedRow() const;
    void openForChange(const BlacklistBook::Row &row);

    void selectRow(int row);

    BlacklistBook &m_blacklist;
    WindowHost &m_windows;
    TextRowsModel *m_model = nullptr;
    QList<BlacklistBook::Row> m_rows;
};
