#pragma once

#include "records/contactbook.h"

#include <QWidget>

class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QTreeWidget;
class WindowHost;

// "Контактная книга": every contact in a table, add, change and delete buttons, and a
// search by ФИО or number.
class Form37 : public QWidget
{
    Q_OBJECT
public:
    static inline const QString SearchTitle = QStringLiteral("Поиск");
    static const QString SearchPrompt;
    static inline const QString NothingMore = QStringLiteral("Дальнейший поиск не дал результатов");

    Form37(ContactBook &book, WindowHost &windows, QWidget *parent = nullptr);

    void ListView1_Click();
    void Command1_Click(); // "Добавить"
    void Command2_Click(); // "Изменить"
    void Command3_Click(); // "Удалить"
    void Command4_Click(); // "Поиск"

    // The list again from the file.
    void refill();

    QLabel *Label1 = nullptr;
    QLineEdit *Text1 = nullptr;
    QRadioButton *Option1 = nullptr;
    QRadioButton *Option2 = nullptr;
    QPushButton *Command4 = nullptr;
    QTreeWidget *ListView1 = nullptr;
    QPushButton *Command1 = nullptr;
    QPushButton *Command2 = nullptr;
    QPushButton *Command3 = nullptr;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    std::optional<ContactEntry> selectedEntry() const;
    void openEntryWindow(const ContactEntry &entry);
    void removeEntry(const ContactEntry &entry);

    ContactBook &m_book;
    WindowHost &m_windows;
};

// "Добалвение контакта": the seven fields of one contact, saved as a new contact or
// over the contact it was opened with.
class Form38 : public QWidget
{
    Q_OBJECT
public:
    static inline const QString AddCaption = QStringLiteral("Добавить");
    static inline const QString ChangeCaption = QStringLiteral("Изменить");
    static inline const QString DuplicateTitle = QStringLiteral("Контакт");
    static inline const QString Duplicate = QStringLiteral("Человек с такими же данными уже есть.");
    static inline const QString InvalidField =
        QStringLiteral("Поля контакта не могут содержать \":^:\", переводы строк и символы, "
                       "которых нет в кодировке Windows-1251.");
    static inline const QString Moved =
        QStringLiteral("Контакт изменён или удалён, пока его редактировали. Изменения не сохранены.");
    static inline const QString NotWritten =
        QStringLiteral("Не удалось записать контактную книгу. Изменения не сохранены.");

    explicit Form38(ContactBook &book, QWidget *parent = nullptr);

    // Empty boxes, the ФИО box open, the button adding.
    void startAdding();
    // The contact's fields, the ФИО box locked, the button changing that line.
    void startChanging(const ContactEntry &entry);

    void Command1_Click(); // save

    QLabel *Label1 = nullptr;
    QLabel *Label2 = nullptr;
    QLabel *Label3 = nullptr;
    QLabel *Label4 = nullptr;
    QLabel *Label7 = nullptr;
    QLabel *Label6 = nullptr;
    QLabel *Label5 = nullptr;
    QLineEdit *Text1 = nullptr;
    QLineEdit *Text2 = nullptr;
    QLineEdit *Text3 = nullptr;
    QLineEdit *Text4 = nullptr;
    QLineEdit *Text5 = nullptr;
    QLineEdit *Text6 = nullptr;
    QLineEdit *Text7 = nullptr;
    QLabel *Label8 = nullptr; // never shown: the line being changed
    QPushButton *Command1 = nullptr;

private:
    Contact boxes() const;
    void setBoxes(const Contact &contact);

    ContactBook &m_book;
    Contact m_original; // what the line held when the change began
};
