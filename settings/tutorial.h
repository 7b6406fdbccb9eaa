#pragma once

#include "core/textfile.h"

#include <QList>
#include <QString>

// The tutorial's eight steps: the step number, what arriving at a step does to the
// other windows, and the marker "\Обучение.txt" written at its end so the start-up
// does not offer it again.
class Tutorial
{
public:
    static inline const QString MarkerPath = QStringLiteral("\\Обучение.txt");
    static constexpr int LastTextStep = 7; // steps 1 to 7 each show a text of their own
    static constexpr int FinalStep = 8;    // writes the marker and hides the tutorial

    struct WindowAction
    {
        enum class Kind { Show, Hide };
        Kind kind = Kind::Show;
        QString window;
        bool operator==(const WindowAction &other) const = default;
    };

    int step() const { return m_step; }
    bool canGoBack() const { return m_step > 0; }
    bool finished() const { return m_step >= FinalStep; }

    // Back to step 0, as when the window loads.
    void restart() { m_step = 0; }
    // One step on; nothing past the final step. Returns the new step.
    int next();
    // One step back; nothing below step 0. Returns the new step.
    int back();

    // What arriving at a step does, by Next or by Back; empty for steps 0, 2, 4, 5 and 8.
    static QList<WindowAction> arrivalActions(int step);

    // " 1 " CR LF, the form the start-up writes too.
    static TextFile::Result writeMarker();

private:
    int m_step = 0;
};
