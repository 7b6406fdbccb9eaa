#pragma once

#include "platform/dialogs.h"

#include <QString>
#include <QWidget>

// One page of the settings window. A page keeps its file logic in a plain object and
// only shows and forwards; the window drives every page through this contract: it
// loads them all when it is made, follows their changes, and each page's own
// "Применить" saves through apply(), which tells the operator the result.
class SettingsPage : public QWidget
{
    Q_OBJECT
public:
    struct SaveResult
    {
        enum class Outcome {
            Saved,
            Refused, // what the page shows cannot be saved; the file is left as it was
            Failed,  // the write failed; the old file is left as it was
        };

        Outcome outcome = Outcome::Saved;
        // The box apply() shows for this result; none when the text is empty.
        QString title;
        QString text;

        static SaveResult saved(const QString &title = QString(), const QString &text = QString())
        {
            return {Outcome::Saved, title, text};
        }
        static SaveResult refused(const QString &title, const QString &text)
        {
            return {Outcome::Refused, title, text};
        }
        static SaveResult failed(const QString &title, const QString &text)
        {
            return {Outcome::Failed, title, text};
        }

        explicit operator bool() const { return outcome == Outcome::Saved; }
        // A failed write is a warning; a confirmation or a refusal is information.
        Dialogs::Icon icon() const
        {
            return outcome == Outcome::Failed ? Dialogs::Icon::Warning : Dialogs::Icon::Information;
        }
    };

    explicit SettingsPage(QWidget *parent = nullptr);

    // Fills the page from its file; what was shown before is dropped.
    virtual void load() = 0;
    // Writes what the page shows; after a saved result hasChanged() is false.
    virtual SaveResult save() = 0;
    // Shows what the page shows without a file; nothing is written.
    virtual void defaults() = 0;
    // True when the page shows something that load() or the last save() did not leave.
    virtual bool hasChanged() const = 0;

    // The page's "Применить": saves, then shows the result's box, if it has one.
    SaveResult apply();

signals:
    // What the page shows has changed: loaded, edited or reset to the defaults.
    void changed();
};
