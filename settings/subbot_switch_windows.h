#pragma once

#include "files/subbotswitch.h"

#include <QLabel>
#include <QList>
#include <QString>
#include <QWidget>

class QCheckBox;
class QFrame;

// One window of the sub-bot switch family: a check box that mirrors the sub-bot's
// switch file and a few labels with example requests. The file is read when the window
// opens and written at every click; nothing else is kept.
class SubBotSwitchWindow : public QWidget
{
    Q_OBJECT
public:
    static inline const QString ErrorTitle = QStringLiteral("Ошибка");

    struct LabelText
    {
        const char *name;
        QString text;
    };

    QCheckBox *Check1 = nullptr;
    QFrame *Line1 = nullptr;
    QList<QLabel *> labels;

    const SubBotSwitch &switchFile() const { return m_switch; }

    // Form_Load: the box shows the file's state.
    void Form_Load();
    // The operator's click: the file follows the box. A failed write is told, and the
    // box goes back to what the file holds.
    void Check1_Click();

protected:
    SubBotSwitchWindow(const QString &caption, const QString &checkCaption, const QString &switchPath,
                       const QList<LabelText> &labelTexts, QWidget *parent);

private:
    SubBotSwitch m_switch;
};

// "Погодный бот": the weather forecasts.
class Form44 : public SubBotSwitchWindow
{
    Q_OBJECT
public:
    static inline const QString Caption = QStringLiteral("Погодный бот");
    explicit Form44(QWidget *parent = nullptr);
};

// "Подбот курса валют": the currency rates.
class Form45 : public SubBotSwitchWindow
{
    Q_OBJECT
public:
    static inline const QString Caption = QStringLiteral("Подбот курса валют");
    explicit Form45(QWidget *parent = nullptr);
};

// The quotations taken from the quotation service's RSS feed.
class Form46 : public SubBotSwitchWindow
{
    Q_OBJECT
public:
    static inline const QString ServiceName = QStringLiteral("BASH");
    static inline const QString Caption = QStringLiteral("Подбот ") + ServiceName + QStringLiteral(" RSS");
    explicit Form46(QWidget *parent = nullptr);
};
