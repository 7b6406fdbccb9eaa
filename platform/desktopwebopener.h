#pragma once

#include "platform/webopener.h"

// Opens web pages with QDesktopServices, which starts the browser and returns.
class DesktopWebOpener : public WebOpener
{
public:
    bool open(const QString &address) override;
};
