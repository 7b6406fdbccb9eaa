#pragma once

#include "platform/webopener.h"

#include <QStringList>

// Test double: records every address and answers `result`.
class RecordingWebOpener : public WebOpener
{
public:
    bool open(const QString &address) override
    {
        opened.append(address);
        return result;
    }

    QStringList opened;
    bool result = true;
};
