#pragma once

#include "platform/autostart.h"

#include <QList>

// Test double: keeps the state in memory, records every setEnabled() and
// answers `result` (a failed call leaves the state unchanged).
class RecordingAutostart : public Autostart
{
public:
    bool isEnabled() const override { return enabled; }
    bool setEnabled(bool on) override
    {
        calls.append(on);
        if (result)
            enabled = on;
        return result;
    }

    bool enabled = false;
    QList<bool> calls;
    bool result = true;
};
