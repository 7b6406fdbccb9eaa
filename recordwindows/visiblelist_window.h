#pragma once

#include <QWidget>

class QLabel;
class QListWidget;
class QPushButton;

// "Настройки видимого списка": the numbers the bot shows itself to, as the sign-on
// sends them.
class Form25 : public QWidget
{
    Q_OBJECT
public:
    static inline const QString InputTitle = QStringLiteral("Введите номер");
    static inline const QString InputPrompt = QStringLiteral("Введите номер");
    static inline const QString DuplicateTitle = QStringLiteral("Ошибка");
    static inline const QString Duplicate = QStringLiteral("Такой номер уже существует");

    explicit Form25(QWidget *parent = nullptr);

    void Command1_Click(); // "Добавить"
    void Command2_Click(); // "Удалить"

    QLabel *Label1 = nullptr;
    QListWidget *List1 = nullptr;
    QPushButton *Command1 = nullptr;
    QPushButton *Command2 = nullptr;

private:
    void refill();
};
