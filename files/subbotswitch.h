#pragma once

#include "core/textfile.h"

#include <QString>

// The on/off file of one of the answer engine's web sub-bots: "1" CR LF while the
// sub-bot answers, no file while it is off. The switch windows write it; the sub-bots
// read it at every request, the same way the windows show it.
class SubBotSwitch
{
public:
    static inline const QString WeatherPath = QStringLiteral("\\Подпрограммы\\Погода.txt");
    static inline const QString CurrencyPath = QStringLiteral("\\Подпрограммы\\Курс валют.txt");
    static inline const QString QuotationPath = QStringLiteral("\\Подпрограммы\\BASH.txt");
    static inline const QString OnText = QStringLiteral("1\r\n");

    explicit SubBotSwitch(QString programPath)
        : m_path(std::move(programPath))
    {}

    QString path() const { return m_path; }

    // True when the file holds the number 1 (line end and blanks around it allowed).
    bool isOn() const;
    // On writes the one line "1"; off deletes the file (an already missing file is off).
    TextFile::Result setOn(bool on) const;

private:
    QString m_path;
};
