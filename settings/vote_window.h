#pragma once

#include "settings/featuresetups.h"
#include "settings/featureboxes.h"

#include <QWidget>

class QFrame;
class QLabel;
class QLineEdit;
class QListWidget;
class QPlainTextEdit;
class QPushButton;
class WindowHost;

// The vote window "Голосования": one vote at a time, set up from a question and its
// options, counted in the results window and ended by deleting its files. Editing:
// add, delete and apply enabled; running: results and end enabled.
class Form39 : public QWidget
{
    Q_OBJECT
public:
    static inline const QString SeparatorRefusal =
        QStringLiteral("Вопрос и варианты ответов не могут содержать \":^:\": так в файле разделены поля.");

    explicit Form39(WindowHost &windows, QWidget *parent = nullptr);

    // "Добавить": an input box asks for the option.
    void Command1_Click();
    // "Удалить": the selected option leaves the list; nothing without a selection.
    void Command2_Click();
    // "Применить": writes the vote file; the vote runs.
    void Command3_Click();
    // "Результаты": the results window with every option's votes.
    void Command4_Click();
    // "Закончить голосвание": after a confirmation, every file of the vote goes.
    void Command5_Click();

    QFrame *Shape1 = nullptr;
    QFrame *Shape2 = nullptr;
    QFrame *Line1 = nullptr;
    QLabel *Label1 = nullptr;
    QLineEdit *Text1 = nullptr;
    QLabel *Label2 = nullptr;
    QListWidget *List1 = nullptr;
    QPushButton *Command1 = nullptr;
    QPushButton *Command2 = nullptr;
    QPushButton *Command3 = nullptr;
    QPushButton *Command4 = nullptr;
    QPushButton *Command5 = nullptr;

private:
    void Form_Load();
    void showRunning(bool running);
    QStringList options() const;

    WindowHost &m_windows;
    VoteSetup m_setup;
};

// The results window "Результаты голосваний": one text box that the vote window fills.
class Form40 : public QWidget
{
    Q_OBJECT
public:
    explicit Form40(QWidget *parent = nullptr);

    // The text with CR LF line ends.
    void setText(const QString &text);
    QString text() const;

    QPlainTextEdit *Text1 = nullptr;
};
