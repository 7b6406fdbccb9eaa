#include "engine/message_popup_window.h"

#include <QGuiApplication>
#include <QLabel>
#include <QScreen>
#include <QVBoxLayout>

Form20::Form20(QWidget *parent)
    : QWidget(parent, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowDoesNotAcceptFocus)
{
    setObjectName(QStringLiteral("Form20"));
    setAttribute(Qt::WA_ShowWithoutActivating);
    setFocusPolicy(Qt::NoFocus);
    setStyleSheet(QStringLiteral("Form20 { background: #fff8dc; border: 1px solid #806020; }"));
    setAttribute(Qt::WA_StyledBackground);

    auto *layout = new QVBoxLayout(this);
    Label1 = new QLabel(QStringLiteral("Korvane"), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    QFont title = Label1->font();
    title.setBold(true);
    Label1->setFont(title);
    Label2 = new QLabel(this);
    Label2->setObjectName(QStringLiteral("Label2"));
    Label3 = new QLabel(this);
    Label3->setObjectName(QStringLiteral("Label3"));
    Label3->setWordWrap(true);
    Label3->setTextFormat(Qt::PlainText);
    Label2->setTextFormat(Qt::PlainText);
    layout->addWidget(Label1);
    layout->addWidget(Label2);
    layout->addWidget(Label3);
    setMinimumWidth(260);
    setMaximumWidth(400);
}

void Form20::showPopup(const QString &senderLine, const QString &messageLine)
{
    Label2->setText(senderLine);
    Label3->setText(messageLine);
    adjustSize();
    if (const QScreen *screen = QGuiApplication::primaryScreen()) {
        const QRect area = screen->availableGeometry();
        move(area.right() - width() - 8, area.bottom() - height() - 8);
    }
    show();
}

void Form20::setTopmost(bool on)
{
    if (windowFlags().testFlag(Qt::WindowStaysOnTopHint) == on)
        return;
    const bool visible = isVisible();
    // Changing the flags hides the window; show it again without activating it.
    setWindowFlag(Qt::WindowStaysOnTopHint, on);
    if (visible)
        show();
}

void Form20::hidePopup()
{
    hide();
}
