#pragma once
// Qt's own texts (the file choosers, the print dialogs, the editors' context
// menus) in Russian, like the rest of the program.
#include <QString>

class QCoreApplication;

// Installs Qt's Russian translations from `folder` (Qt's translations folder
// when empty) on `application`, which owns them from then on, and makes Russian
// the default locale (the choosers' dates and file types). Returns false,
// and changes nothing, when they are not there: Qt's English texts remain.
bool InstallQtTranslations(QCoreApplication& application, const QString& folder = {});
