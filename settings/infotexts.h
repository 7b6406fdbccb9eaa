#pragma once

#include <QString>

#include <optional>

// The texts of the help and news windows. Neither window writes its file.
namespace InfoTexts {

inline const QString HelpPath = QStringLiteral("\\Помощь.txt");
inline const QString AllNewsPath = QStringLiteral("\\all_news.txt");
inline const QString NewsDownloadPath = QStringLiteral("\\news.txt");

inline const QString HelpMissingText =
    QStringLiteral("Файл помощи \"Помощь.txt\" не найден в папке программы или не читается.");

// The help file whole, its line ends as stored; nullopt when it is missing or unreadable.
std::optional<QString> helpText();

// The news to show: "\all_news.txt" (empty when missing), each CR LF and each lone LF
// one line break ("\n"); the downloaded "\news.txt" is deleted on the way.
QString takeNews();

// CR LF and a lone LF each become "\n"; a lone CR stays.
QString lineBreaks(const QString &text);

} // namespace InfoTexts
