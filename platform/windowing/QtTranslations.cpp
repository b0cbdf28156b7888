// Qt's zh_CN catalogue for the application object.

#include "platform/windowing/detail/QtTranslations.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QPointer>
#include <QTranslator>

namespace kelvarn::platform::detail {

void installQtTranslations() {
    // Owned by the application object, so it goes with it; a second start finds it installed.
    static QPointer<QTranslator> installed;
    if (installed || !qApp)
        return;
    const QLocale chinese(QLocale::Chinese, QLocale::China);
    QLocale::setDefault(chinese); // dates and sizes in the dialog's columns too
    auto* translator = new QTranslator(qApp);
    if (!translator->load(chinese, QStringLiteral("qtbase"), QStringLiteral("_"),
                          QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        delete translator;
        return;
    }
    QCoreApplication::installTranslator(translator);
    installed = translator;
}

} // namespace kelvarn::platform::detail
