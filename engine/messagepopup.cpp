#include "engine/messagepopup.h"

#include "core/generalsettings.h"
#include "core/namedtimer.h"


MessagePopup::MessagePopup(NamedTimer &timer2, PopupView *view)
    : m_timer2(&timer2)
    , m_view(view)
{
    m_timer2->setHandler([this] { Timer2_Timer(); });
}

MessagePopup::~MessagePopup()
{
    if (m_timer2)
        m_timer2->setHandler({});
}

std::optional<MessagePopup::Settings> MessagePopup::settings()
{
    const ::Settings file = ::Settings::read();
    if (file.isEmpty())
        return std::nullopt;
    Settings found;
    found.show = file.popupOn();
    found.topmost = file.popupTopmost();
    found.timeMs = file.popupTimeMs();
    return found;
}

void MessagePopup::ShowMessagePopup(const MessageState &state)
{
    const std::optional<Settings> popup = settings();
    if (!popup)
        return;
    if (m_view) {
        m_view->setTopmost(popup->topmost);
        if (popup->show)
            m_view->showPopup(QStringLiteral("От кого : ") + state.SenderUin,
                              QStringLiteral("Сообщение : ") + state.MessageText);
    }
    if (!m_timer2)
        return;
    m_timer2->setInterval(popup->timeMs);
    m_timer2->setEnabled(true);
}

void MessagePopup::Timer2_Timer()
{
    if (m_view)
        m_view->hidePopup();
    if (m_timer2)
        m_timer2->setEnabled(false);
}
