#pragma once

#include <QString>
#include <QStringView>

#include <initializer_list>

// What a settings page shows and what its file held when the page was loaded or last
// saved: the page has changes while the two differ.
template<typename Values>
class PageValues
{
public:
    const Values &shown() const { return m_shown; }
    Values &shown() { return m_shown; }
    void show(const Values &values) { m_shown = values; }
    // The file's values: shown and stored.
    void loaded(const Values &values) { m_shown = m_stored = values; }
    void saved() { m_stored = m_shown; }
    bool hasChanged() const { return !(m_shown == m_stored); }

private:
    Values m_shown{};
    Values m_stored{};
};

// The part every page's file logic shares: what it shows, reset to the defaults, and
// whether that differs from its file. The logic loads and saves through m_values.
template<typename ValuesType>
class PageLogic
{
public:
    using Values = ValuesType;

    void defaults() { m_values.show(Values()); }
    bool hasChanged() const { return m_values.hasChanged(); }

    const Values &values() const { return m_values.shown(); }
    Values &values() { return m_values.shown(); }

protected:
    PageValues<Values> m_values;
};

// How a page's save went.
struct PageSave
{
    enum class Outcome {
        Saved,
        BadNumber,           // refused: the number is no ICQ number; nothing written
        NotStorable,         // refused: a character the file's code page cannot hold
        LineBreak,           // refused: a one-line value holds CR or LF
        WriteFailed,         // the old file is left as it was
        AutostartRefused,    // the file is written, the autostart entry is not
    };

    Outcome outcome = Outcome::Saved;
    QString error; // why a write failed

    static PageSave saved() { return {}; }
    static PageSave refused(Outcome why) { return {why, QString()}; }
    static PageSave failed(Outcome why, const QString &error) { return {why, error}; }
    explicit operator bool() const { return outcome == Outcome::Saved; }

    // The check every page runs on its text values before it writes anything: each is
    // one line of its file, so a CR or LF in it would end the line there and start a
    // forged one; and the file's code page must hold every character. Saved when all
    // values pass.
    static PageSave checkLines(std::initializer_list<QStringView> values);
};
