#pragma once

#include "platform/dialogs.h"

#include <QString>

class QPlainTextEdit;
class QWidget;

// The caption of the notepad's and the contact's help buttons; two blanks after its second word.
inline const QString EmbedHelpCaption = QStringLiteral("Встроить помощь  по этой функции в команду ...");

// What the feature windows share: their boxes and their multi-line text.
namespace FeatureBoxes {

inline const QString ErrorTitle = QStringLiteral("Ошибка");

// A refusal or a failure of the operator's own action, in an "Ошибка" box.
inline void showError(const QString &text)
{
    Dialogs::instance().message(ErrorTitle, text, Dialogs::Icon::Information);
}
// A file that could not be written: the operator must not take the setting as saved.
inline void showWriteFailure(const QString &error)
{
    showError(QStringLiteral("Не удалось сохранить настройки: ") +
              (error.isEmpty() ? QStringLiteral("ошибка записи") : error));
}

// A multi-line box's text with CR LF line ends, and a file's text put into the box.
QString boxText(const QPlainTextEdit *box);
void setBoxText(QPlainTextEdit *box, const QString &text);

} // namespace FeatureBoxes
