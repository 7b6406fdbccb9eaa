#include "settings/help_window.h"

#include "settings/infotexts.h"

#include <QPlainTextEdit>
#include <QVBoxLayout>

Form27::Form27(QWidget *parent)
    : QWidget(parent)
{
    setWindowTitle(Caption);
    Text1 = new QPlainTextEdit(this);
    Text1->setObjectName(QStringLiteral("Text1"));
    Text1->setReadOnly(true);
    Text1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    Text1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    Text1->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(Text1);
    Form_Load();
}

void Form27::Form_Load()
{
    const std::optional<QString> text = InfoTexts::helpText();
    Text1->setPlainText(InfoTexts::lineBreaks(text.value_or(InfoTexts::HelpMissingText)));
}
