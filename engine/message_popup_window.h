#pragma once

#include "engine/messagepopup.h"

#include <QWidget>

class QLabel;

// The popup window: a small top-level window that never takes the focus.
class Form20 : public QWidget, public PopupView
{
    Q_OBJECT
public:
    explicit Form20(QWidget *parent = nullptr);

    void showPopup(const QString &senderLine, const QString &messageLine) override;
    void setTopmost(bool on) override;
    void hidePopup() override;

    QLabel *Label1 = nullptr;
    QLabel *Label2 = nullptr;
    QLabel *Label3 = nullptr;
};
