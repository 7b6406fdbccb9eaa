#pragma once

#include <QtGlobal>

// A check that never stops a running bot: when cond is false it logs
//   SOFT ASSERT: "cond" in file:line
// with qWarning and runs action (return false; continue; or nothing).
//   KORVANE_ASSERT(slot >= 1, return false);
//   KORVANE_ASSERT(!text.isEmpty(), );
// The action runs in the caller's scope, so continue and break act on the caller's loop.
// Because of that the macro is a plain if, not a do-while block: inside an if that has
// an else, put braces around it (the compiler refuses otherwise).
// Tests that provoke one expect it with
//   QTest::ignoreMessage(QtWarningMsg, QRegularExpression("SOFT ASSERT: \"slot >= 1\""));

namespace Korvane::Detail {
inline void softAssertFailed(const char *condition, const char *file, int line)
{
    qWarning("SOFT ASSERT: \"%s\" in %s:%d", condition, file, line);
}
} // namespace Korvane::Detail

#define KORVANE_ASSERT(cond, action)                                                                         \
    if (Q_UNLIKELY(!(cond))) {                                                                               \
        ::Korvane::Detail::softAssertFailed(#cond, __FILE__, __LINE__);                                      \
        action;                                                                                              \
    }                                                                                                        \
    do {                                                                                                     \
    } while (false)
