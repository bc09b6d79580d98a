// Qt's own texts (the edit fields' context menu, the standard buttons, the file dialogs) in Russian,
// like every text of the system's own.
#pragma once

// Installs Qt's Russian translations (qtbase_ru from the system's Qt translation folder) into the
// running application unless Qt's texts are already translated (a host did it). False when there
// is no application or the translation file is missing; the texts then stay Qt's English ones.
bool InstallQtTranslations();
