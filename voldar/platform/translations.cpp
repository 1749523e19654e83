#include "platform/translations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace platform {

bool useRussianTexts()
{
    QCoreApplication* const application = QCoreApplication::instance();
    if (!application)
        return false;
    // A desktop's own file dialog speaks the system's language, not ours.
    QCoreApplication::setAttribute(Qt::AA_DontUseNativeDialogs);

    // Owned by the application, which consults it for as long as it runs.
    auto* const translator = new QTranslator(application);
    const bool loaded =
        translator->load(QLocale(QLocale::Russian, QLocale::Russia), QStringLiteral("qtbase"),
                         QStringLiteral("_"), QLibraryInfo::path(QLibraryInfo::TranslationsPath));
    if (!loaded || !QCoreApplication::installTranslator(translator)) {
        delete translator;
        return false;
    }
    return true;
}

} // namespace platform
