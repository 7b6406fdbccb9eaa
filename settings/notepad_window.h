#pragma once

#include <QString>
#include <QWidget>

#include <functional>

class QCheckBox;
class QComboBox;
class QFrame;
class QLabel;
class QPlainTextEdit;
class QPushButton;

// Shows a window of the frame by its name.
using ShowFeatureWindow = std::function<QWidget *(const QString &name)>;

// The notepad window "Блокнот": the notepad's switch, which acts at once, the notes of
// the users, and the help about the notepad put into a command's answer.
class Form23 : public QWidget
{
    Q_OBJECT
public:
    explicit Form23(ShowFeatureWindow showWindow, QWidget *parent = nullptr);

    // The box was clicked: the switch file is written or deleted.
    void Check1_Click();
    // "Просмотреть": the chosen number's note.
    void Command1_Click();
    // The help embedding window, set to the notepad's help.
    void Command2_Click();

    QLabel *Label1 = nullptr;
    QCheckBox *Check1 = nullptr;
    QFrame *Line1 = nullptr;
    QLabel *Label2 = nullptr;
    QLabel *Label3 = nullptr;
    QLabel *Label4 = nullptr;
    QFrame *Line2 = nullptr;
    QComboBox *Combo1 = nullptr;
    QPushButton *Command1 = nullptr;
    QPlainTextEdit *Text1 = nullptr;
    QPushButton *Command2 = nullptr;

private:
    void Form_Load();

    ShowFeatureWindow m_showWindow;
};

// The help buttons' caption; two blanks after its second word.
inline const QString EmbedHelpCaption = QStringLiteral("Встроить помощь  по этой функции в команду ...");
