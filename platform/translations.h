#pragma once

// Qt's own texts (the standard buttons of boxes and dialogs, context menus) in Russian,
// as the rest of the program speaks, whatever the machine's locale. Returns false when
// Qt's Russian translations are not installed; the texts then stay in English.
bool installRussianTranslations();
