// Qt's French translations, loaded once for the whole application.
#include "mainwindow/toolkit/frenchtexts.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>

namespace tarmel::ui {

QLocale FrenchLocale() { return QLocale(QLocale::French, QLocale::France); }

bool UseFrenchToolkitTexts() {
    static QTranslator* translator = nullptr;
    if (translator != nullptr) return true;
    if (QCoreApplication::instance() == nullptr) return false;
    auto* loaded = new QTranslator(QCoreApplication::instance());
    if (!loaded->load(FrenchLocale(), QStringLiteral("qtbase"), QStringLiteral("_"),
                      QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        delete loaded;
        return false;
    }
    QCoreApplication::installTranslator(loaded);
    translator = loaded;
    return true;
}

}  // namespace tarmel::ui
