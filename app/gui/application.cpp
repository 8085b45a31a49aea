#include "app/gui/application.h"

#include <QFont>
#include <QLibraryInfo>
#include <QLocale>
#include <QMessageBox>
#include <exception>

#include "app/version.h"
#include "app/gui/user_dialogs.h"

namespace kalvoro {

namespace {

void showErrorBox(const QString& text)
{
    QMessageBox box(QMessageBox::Critical, QString::fromUtf8(ApplicationTitle), fitMessage(text),
                    QMessageBox::Ok, QApplication::activeWindow());
    box.exec();
}

Application::ErrorReporter& reporter()
{
    static Application::ErrorReporter r = showErrorBox;
    return r;
}

}  // namespace

Application::Application(int& argc, char** argv) : QApplication(argc, argv)
{
    // Every text of the program is Portuguese, so the toolkit's dialogs are
    // too, whatever the system's language ("Cancelar", "Examinar:", "Abrir").
    portugueseDialogs_ =
        qtTexts_.load(QStringLiteral("qtbase_pt_BR"), QLibraryInfo::path(QLibraryInfo::TranslationsPath));
    if (portugueseDialogs_) installTranslator(&qtTexts_);
    // The toolkit's own words beside them too: the file dialog's dates, sizes
    // and file types. Numbers never pass through a locale in this program.
    QLocale::setDefault(QLocale(QLocale::Portuguese, QLocale::Brazil));
    setDesktopFileName(QString::fromLatin1(DesktopId));
    // The window is laid out for a small dialog font (11 pixels, the size of
    // the classic 8-point one); the family stays the desktop's default.
    QFont f = font();
    f.setPixelSize(11);
    setFont(f);
}

void Application::setErrorReporter(ErrorReporter r)
{
    reporter() = r ? std::move(r) : showErrorBox;
}

void Application::reportError(const QString& text)
{
    reporter()(text);
}

bool Application::notify(QObject* receiver, QEvent* event)
{
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception& e) {
        reportError(QString::fromUtf8(e.what()));
    } catch (...) {
        reportError(QStringLiteral("Erro desconhecido"));
    }
    return false;
}

}  // namespace kalvoro
