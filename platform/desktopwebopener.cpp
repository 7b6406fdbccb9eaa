#include "platform/desktopwebopener.h"

#include <QDebug>
#include <QDesktopServices>

bool DesktopWebOpener::open(const QString &address)
{
    const QUrl url = webAddress(address);
    if (!url.isValid()) {
        qWarning().noquote() << "not a web page, not opened:" << address;
        return false;
    }
    if (!QDesktopServices::openUrl(url)) {
        qWarning().noquote() << "no browser opened" << url.toString();
        return false;
    }
    return true;
}
