#include "settings/subbot_switch_windows.h"

#include "platform/dialogs.h"

#include <QCheckBox>
#include <QFrame>
#include <QSignalBlocker>
#include <QVBoxLayout>

SubBotSwitchWindow::SubBotSwitchWindow(const QString &caption, const QString &checkCaption,
                                       const QString &switchPath, const QList<LabelText> &labelTexts,
                                       QWidget *parent)
    : QWidget(parent)
    , m_switch(switchPath)
{
    setWindowTitle(caption);

    Check1 = new QCheckBox(checkCaption, this);
    Check1->setObjectName(QStringLiteral("Check1"));
    Line1 = new QFrame(this);
    Line1->setObjectName(QStringLiteral("Line1"));
    Line1->setFrameShape(QFrame::HLine);
    Line1->setFrameShadow(QFrame::Sunken);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(Check1);
    layout->addWidget(Line1);
    for (const LabelText &text : labelTexts) {
        auto *label = new QLabel(text.text, this);
        label->setObjectName(QString::fromLatin1(text.name));
        label->setWordWrap(true);
        label->setTextInteractionFlags(Qt::TextSelectableByMouse);
        layout->addWidget(label);
        labels.append(label);
    }
    layout->addStretch();

    // Only the operator's click writes: the box set from the file does not.
    connect(Check1, &QCheckBox::clicked, this, &SubBotSwitchWindow::Check1_Click);
    Form_Load();
}

void SubBotSwitchWindow::Form_Load()
{
    const bool on = m_switch.isOn();
    const QSignalBlocker blocker(Check1);
    Check1->setChecked(on);
    // A checked box writes its file again, in the one form the window writes.
    if (on)
        m_switch.setOn(true);
}

void SubBotSwitchWindow::Check1_Click()
{
    const TextFile::Result written = m_switch.setOn(Check1->isChecked());
    if (written)
        return;
    Dialogs::instance().message(ErrorTitle, written.error, Dialogs::Icon::Warning, Dialogs::Buttons::Ok);
    const QSignalBlocker blocker(Check1);
    Check1->setChecked(m_switch.isOn());
}

Form44::Form44(QWidget *parent)
    : SubBotSwitchWindow(Caption, QStringLiteral("Включить погодного подбота"), SubBotSwitch::WeatherPath,
                         {{"Label1", QStringLiteral("Прогнозы погоды берутся с сервиса Gismeteo.")},
                          {"Label2", QStringLiteral("Пример запроса погоды:")},
                          {"Label3", QStringLiteral("!погода название_города")},
                          {"Label4", QStringLiteral("!погода Санкт-Петербург")}},
                         parent)
{}

Form45::Form45(QWidget *parent)
    : SubBotSwitchWindow(
          Caption, QStringLiteral("Включить подбота курса валют"), SubBotSwitch::CurrencyPath,
          {{"Label2", QStringLiteral("Пример запроса курса валют:")}, {"Label3", QStringLiteral("!кв")}},
          parent)
{}

Form46::Form46(QWidget *parent)
    : SubBotSwitchWindow(
          Caption, QStringLiteral("Включить подбота ") + ServiceName + QStringLiteral(" RSS"),
          SubBotSwitch::QuotationPath,
          {{"Label1", QStringLiteral("Цифра указывает на то, сколько будет показано цитат. Если "
                                     "цифры отсутсвуют, то будет показано 5 цитат.")},
           {"Label2", QStringLiteral("Примеры запроса цитат:")},
           {"Label3", QStringLiteral("!bash")},
           {"Label4", QStringLiteral("!bash 20")},
           {"Label5", QStringLiteral("!баш")},
           {"Label6", QStringLiteral("!баш 20")}},
          parent)
{}
