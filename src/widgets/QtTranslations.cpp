#include "widgets/QtTranslations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

bool InstallQtTranslations(QCoreApplication& application, const QString& folder) {
    const QString from =
        folder.isEmpty() ? QLibraryInfo::path(QLibraryInfo::TranslationsPath) : folder;
    auto* translator = new QTranslator(&application);
    // "qt_ru" gathers the translations of every Qt module that has one.
    const QLocale russian(QLocale::Russian, QLocale::Russia);
    if (!translator->load(russian, QStringLiteral("qt"), QStringLiteral("_"), from) ||
        !QCoreApplication::installTranslator(translator)) {
        delete translator;
        return false;
    }
    // The choosers' dates, sizes and file types follow the default locale.
    QLocale::setDefault(russian);
    return true;
}
