#pragma once

#include "platform/power.h"

#include <QList>

// Test double: records every request and answers `result`. A test emits
// requestFailed() itself to play a refusal.
class RecordingPower : public Power
{
    Q_OBJECT

public:
    enum class Request { PowerOff, Reboot };

    using Power::Power;

    bool powerOff() override
    {
        requests.append(Request::PowerOff);
        return result;
    }
    bool reboot() override
    {
        requests.append(Request::Reboot);
        return result;
    }

    QList<Request> requests;
    bool result = true;
};
