#include "settings/news_window.h"

#include "settings/infotexts.h"

#include <QPlainTextEdit>
#include <QVBoxLayout>

Form22::Form22(QWidget *parent)
    : QWidget(parent)
{
    setWindowTitle(Caption);
    Text1 = new QPlainTextEdit(this);
    Text1->setObjectName(QStringLiteral("Text1"));
    Text1->setReadOnly(true);
    Text1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    Text1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(Text1);
    resize(480, 360);
    Form_Load();
}

void Form22::Form_Load()
{
    Text1->setPlainText(InfoTexts::takeNews());
}
