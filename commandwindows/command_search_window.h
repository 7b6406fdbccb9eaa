#pragma once

#include <QWidget>

class QLabel;
class QLineEdit;
class QPushButton;
class QTreeWidget;

// The command search "Расширенный поиск команд": in which group a command is stored.
// Each search appends its rows; the window writes nothing.
class Form15 : public QWidget
{
    Q_OBJECT
public:
    explicit Form15(QWidget *parent = nullptr);

    void Command1_Click(); // "Поиск"

    QLabel *Label1 = nullptr;
    QLineEdit *Text1 = nullptr;
    QPushButton *Command1 = nullptr;
    QTreeWidget *ListView1 = nullptr;
};
