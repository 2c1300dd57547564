#pragma once

class QLocale;

namespace velmora {

/// Loads Qt's own translations for `language`, where the system has them (Debian's
/// qt6-translations-l10n), so that the texts Qt itself shows, the editors' context menus
/// among them, follow the desktop. The bench's own texts, the close question and the error
/// messages are the program's and stay as they are. The windows keep their designed
/// left-to-right layout in every language. Needs the application object.
void LoadQtTranslations(const QLocale& language);

}  // namespace velmora
