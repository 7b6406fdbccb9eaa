#pragma once

#include "commands/commandeditor.h"

#include <QString>

namespace CommandWindows {

// The box of a failed edit; nothing for a success.
void showFailure(const CommandEditor::Result &result);
// An "Ошибка" box with the information icon.
void showError(const QString &text);

} // namespace CommandWindows
