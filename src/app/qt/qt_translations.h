// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QLocale>

class QCoreApplication;

namespace tobira {

// Installs Qt's own translations (standard buttons, file dialogs) for `locale`, so that Yes, No
// and "Look in" speak the user's language as the program's own texts do. Returns false when Qt
// has none for it (the package qt6-translations-l10n missing, or an English locale).
bool InstallQtTranslations(QCoreApplication& app, const QLocale& locale = QLocale::system());

} // namespace tobira
