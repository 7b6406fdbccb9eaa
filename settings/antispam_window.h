#pragma once

#include "settings/featuresetups.h"

#include <QWidget>

class QCheckBox;
class QFrame;
class QLabel;
class QPlainTextEdit;
class QPushButton;

// The anti-spam window "Анти-спам": the switch of the question put to every new sender,
// the question, the expected answer and the text of a right answer.
class Form32 : public QWidget
{
    Q_OBJECT
public:
    static inline const QString SeparatorRefusal =
        QStringLiteral("Текст не может содержать \"---\": так в файле разделены вопрос, ответ и сообщение.");

    explicit Form32(QWidget *parent = nullptr);

    // "Применить": writes the anti-spam file.
    void Command1_Click();

    QCheckBox *Check1 = nullptr;
    QFrame *Shape1 = nullptr;
    QFrame *Shape2 = nullptr;
    QFrame *Shape3 = nullptr;
    QFrame *Line1 = nullptr;
    QLabel *Label1 = nullptr;
    QPlainTextEdit *Text1 = nullptr;
    QLabel *Label2 = nullptr;
    QPlainTextEdit *Text2 = nullptr;
    QLabel *Label3 = nullptr;
    QPlainTextEdit *Text3 = nullptr;
    QPushButton *Command1 = nullptr;

private:
    void Form_Load();

    AntiSpamSetup m_setup;
};
