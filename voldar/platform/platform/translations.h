#pragma once

// Qt's own texts in the program's language.
namespace platform {

// Puts the texts Qt itself supplies into Russian whatever the system's
// language: the buttons of message and question boxes («Да», «Нет», «Отмена»),
// the file dialogs, the print dialog. They come from Qt's translation
// (qtbase_ru.qm in Qt's translations folder, package qt6-translations-l10n).
// Dialogs are Qt's own rather than the desktop's, whose language would follow
// the system's. Call once the application exists. False when Qt's Russian
// translation is not installed: Qt's texts then stay English.
bool useRussianTexts();

} // namespace platform
