#pragma once

#include "settings/tutorial.h"

#include <QList>
#include <QWidget>

class QFrame;
class QLabel;
class QPushButton;
class WindowHost;

// "Обучение": eight steps through the settings, the commands, the groups and the log-in,
// each with a text and the window it talks about. The last Next writes the tutorial
// marker and hides the window; shown again, it starts over.
class Form26 : public QWidget
{
    Q_OBJECT
public:
    static inline const QString Caption = QStringLiteral("Обучение");
    static inline const QString MarkerFailedTitle = QStringLiteral("Ошибка");
    static inline const QString MarkerFailedText =
        QStringLiteral("Не удалось записать отметку о пройденном обучении (%1). При следующем запуске "
                       "программа снова предложит обучение.");
    static const QList<QString> Texts; // Label1 to Label8

    // windows must outlive the window: it shows and hides the windows the steps talk about.
    explicit Form26(WindowHost &windows, QWidget *parent = nullptr);

    QList<QLabel *> labels;          // Label1 to Label8
    QPushButton *Command1 = nullptr; // "Следующий шаг"
    QPushButton *Command2 = nullptr; // "Назад"
    QFrame *Line1 = nullptr;

    const Tutorial &tutorial() const { return m_tutorial; }

    void Form_Load();
    void Command1_Click();
    void Command2_Click();

protected:
    void showEvent(QShowEvent *event) override;

private:
    void arrive(int step);
    void showLabel(int step);
    void placeBeside(QWidget *window);

    WindowHost &m_windows;
    Tutorial m_tutorial;
};
