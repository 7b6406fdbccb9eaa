#pragma once

#include "chat/chatreference.h"

#include <QList>
#include <QObject>
#include <QString>

// The auto-message page and its add window over the auto-message file
// (files/automessages.h owns its layout). One instance is shared by the two windows:
// changed() tells the page to refill after an add.
class AutoMessagesEditor : public QObject
{
    Q_OBJECT
public:
    static inline const QString DefaultInterval = QStringLiteral("600");
    static inline const QString ForbiddenText =
        QStringLiteral("Вы ввели запрщённые символы '&^' (без кавычек)");

    struct Row
    {
        int id = 0;   // 1 for the first entry line (file line 3)
        QString line; // the entry line as stored
        AutoMessages::Entry entry;
    };
    struct Page
    {
        bool hasText = false; // the file holds any text
        QString interval;     // line 1
        bool random = false;  // line 2 holds the number 1
        QList<Row> rows;      // every line after line 2, empty ones included
    };
    enum class AddResult { Added, Empty, Forbidden, Failed };
    enum class RemoveResult { Removed, Stale, Failed };

    explicit AutoMessagesEditor(QObject *parent = nullptr);

    static Page read();
    // Whole seconds the auto-message tick can use; nullopt otherwise.
    static std::optional<int> acceptedInterval(const QString &typed);

    // Line 1 the interval (the file's own line 1, or the default, when the typed one is
    // not accepted), line 2 the order, then the entries up to the first empty line.
    bool apply(const QString &interval, bool random);
    // Appends "text&^count&^direction" after the entries up to the first empty line.
    // An empty text adds nothing; "&^" in any field is refused.
    AddResult add(const QString &text, const QString &count, const QString &direction);
    // Removes the entry of row id only while the file still holds that line there.
    RemoveResult remove(int id, const QString &shownLine);

Q_SIGNALS:
    void changed();

private:
    static QStringList entriesBeforeGap(const QStringList &entries);
    bool write(const QString &interval, const QString &random, const QStringList &entries);
};
