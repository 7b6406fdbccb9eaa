#pragma once

#include <QList>
#include <QString>
#include <QStringList>

// Message boxes, input boxes and the file-open dialog. One instance serves the
// whole program; tests replace it with RecordingDialogs.
class Dialogs
{
public:
    enum class Icon { NoIcon, Information, Question, Warning, Critical };
    enum class Buttons { Ok, OkCancel, YesNo, YesNoCancel };
    enum class Button { Ok, Cancel, Yes, No };

    virtual ~Dialogs() = default;

    // A modal box, for an operator's own action. An empty title shows the program's title.
    virtual Button message(const QString &title, const QString &text, Icon icon = Icon::Information,
                           Buttons buttons = Buttons::Ok) = 0;

    // A box that does not block, for socket events and timer ticks. While a box of
    // the same kind is still open no second one is raised.
    virtual void notify(const QString &title, const QString &text, Icon icon = Icon::Information,
                        const QString &kind = QString()) = 0;

    // A modal input box; empty text on Cancel.
    virtual QString input(const QString &title, const QString &prompt,
                          const QString &defaultText = QString()) = 0;

    // A modal file-open dialog; empty text on Cancel.
    virtual QString openFile(const QString &title, const QString &directory,
                             const QString &filter = QString()) = 0;

    static Dialogs &instance();
    // Replaces the instance (not owned); nullptr restores the logging default.
    static void setInstance(Dialogs *dialogs);

    static QString programTitle();
};
