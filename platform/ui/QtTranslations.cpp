#include "QtTranslations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>

bool InstallQtTranslations() {
    QCoreApplication* application = QCoreApplication::instance();
    if (!application)
        return false;
    // One text of the edit fields' menu tells whether some translator already serves Qt's texts.
    if (QCoreApplication::translate("QLineEdit", "&Undo") != QLatin1String("&Undo"))
        return true;
    auto* translator = new QTranslator(application);
    if (!translator->load(QStringLiteral("qtbase_ru"), QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        delete translator;
        return false;
    }
    return QCoreApplication::installTranslator(translator);
}
