#pragma once

#include <QString>
#include <QUrl>

// Opens a web page in the operator's browser without waiting. One instance
// serves the whole program; tests replace it with RecordingWebOpener.
class WebOpener
{
public:
    virtual ~WebOpener() = default;

    // True when the address was handed to the browser. Only web pages are
    // opened; an address without a scheme is taken as http.
    virtual bool open(const QString &address) = 0;

    static WebOpener &instance();
    // Replaces the instance (not owned); nullptr restores the logging default.
    static void setInstance(WebOpener *opener);

    // The address as an http or https URL; an invalid URL for anything else, so
    // an address from a file or a feed can never start a local program or file.
    static QUrl webAddress(const QString &address);
};
