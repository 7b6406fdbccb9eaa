#pragma once

#include "engine/answerengine.h"
#include "files/notepadfiles.h"

#include <QString>

// One note per user: "!БЛОКНОТ_ЗАПИСЬ" alone on the first line stores the rest of the
// message, "!БЛОКНОТ" brings it back. On while the notepad window's switch file holds 1.
class Notepad
{
public:
    static inline const QString SwitchPath = NotepadFiles::SwitchPath;
    static inline const QString ListPath = NotepadFiles::ListPath;
    static inline const QString WriteWord = QStringLiteral("!БЛОКНОТ_ЗАПИСЬ");
    static inline const QString ReadWord = QStringLiteral("!БЛОКНОТ");
    static inline const QString CreatedText = QStringLiteral("Ваша запись создана");
    static inline const QString ChangedText = QStringLiteral("Ваша запись изменена");
    static inline const QString NoNoteText = QStringLiteral("У вас нет записи в блокноте.");
    static inline const QString NotSavedText =
        QStringLiteral("Не удалось сохранить запись в блокноте, попробуйте позже.");

    explicit Notepad(SendFunction send);

    // "\Блокноты\<uin>.txt"; empty for a number that is not 1 to 15 digits.
    static QString notePath(const QString &uin);

    // Stop when the message was a notepad command (the sender has had his reply).
    StageOutcome HandleNotepad(MessageState &state);

private:
    StageOutcome writeNote(MessageState &state, const QString &notePath);
    StageOutcome readNote(MessageState &state, const QString &notePath);

    SendFunction m_send;
};
