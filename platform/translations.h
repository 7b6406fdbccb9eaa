#pragma once

// Qt's own texts (the standard buttons of boxes and dialogs, context menus) in Russian,
// as the rest of the program speaks, whatever the machine's locale. Returns false when
// Qt's Russian translations are not installed; the texts then stay in English.
bool installRussianTranslations();

// The program speaks Russian whatever the machine's locale: month and day names of the
// calendar and date boxes, and Qt's own texts. Call once at start-up, before any window.
bool useRussianLocale();
