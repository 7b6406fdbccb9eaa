#pragma once

#include "core/namedtimer.h"
#include "session/messagestate.h"

#include <QPointer>
#include <QString>

#include <optional>

// What the popup window does for the popup logic; Form20 is the real one.
class PopupView
{
public:
    virtual ~PopupView() = default;
    // Shows the two lines without taking the focus.
    virtual void showPopup(const QString &senderLine, const QString &messageLine) = 0;
    // Above all other windows or not.
    virtual void setTopmost(bool on) = 0;
    virtual void hidePopup() = 0;
};

// The new-message popup: shows who wrote and what when the popup page says so, and
// hides it with Timer2 the display time after the latest message.
class MessagePopup
{
public:
    static constexpr int DefaultTimeMs = 3000;

    struct Settings
    {
        bool show = false;
        bool topmost = false;
        int timeMs = DefaultTimeMs;
    };

    // timer2 is the main window's Timer2 (not owned); this becomes its tick handler.
    // view may be nullptr (no window, the timer still runs).
    // view must outlive this object.
    MessagePopup(NamedTimer &timer2, PopupView *view);
    ~MessagePopup();
    MessagePopup(const MessagePopup &) = delete;
    MessagePopup &operator=(const MessagePopup &) = delete;

    // The popup page's keys; nullopt when the general settings file is missing or empty.
    static std::optional<Settings> settings();

    void ShowMessagePopup(const MessageState &state);
    void Timer2_Timer();

private:
    QPointer<NamedTimer> m_timer2;
    PopupView *m_view;
};
