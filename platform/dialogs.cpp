#include "platform/dialogs.h"

#include <QDebug>

namespace {

// Used until the program installs the real boxes: logs and answers like a Cancel.
class LoggingDialogs : public Dialogs
{
public:
    Button message(const QString &title, const QString &text, Icon, Buttons buttons) override
    {
        qWarning().noquote() << "box:" << title << text;
        return buttons == Buttons::Ok ? Button::Ok : Button::Cancel;
    }
    void notify(const QString &title, const QString &text, Icon, const QString &) override
    {
        qWarning().noquote() << "box:" << title << text;
    }
    QString input(const QString &, const QString &, const QString &) override { return {}; }
    QString openFile(const QString &, const QString &, const QString &) override { return {}; }
};

Dialogs *g_dialogs = nullptr;

} // namespace

Dialogs &Dialogs::instance()
{
    static LoggingDialogs fallback;
    return g_dialogs ? *g_dialogs : fallback;
}

void Dialogs::setInstance(Dialogs *dialogs)
{
    g_dialogs = dialogs;
}

QString Dialogs::programTitle()
{
    return QStringLiteral("Korvane");
}
