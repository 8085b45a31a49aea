// Kalvoro, the desktop program: `kalvoro [FILE.vig]`.
//
// Start: the application with its title, then the main window (which starts
// the default beam) and the about box, created once and kept for the run.
// A file named on the command line is opened as the Open command would.
// `--screenshots DIR` (for development) saves a picture of every page and ends.

#include <QDir>
#include <QStringList>
#include <QTabWidget>
#include <QTimer>

#include "app/gui/about_box.h"
#include "app/gui/application.h"
#include "app/gui/main_window.h"

int main(int argc, char** argv)
{
    kalvoro::Application app(argc, argv);
    kalvoro::MainWindow window;
    window.show();

    QStringList args = QCoreApplication::arguments().mid(1);
    QString shots;
    if (const qsizetype i = args.indexOf(QStringLiteral("--screenshots")); i >= 0 && i + 1 < args.size()) {
        shots = args.at(i + 1);
        args.remove(i, 2);
    }
    if (!args.isEmpty()) {
        const QString file = args.constFirst();
        QTimer::singleShot(0, &window, [&window, file] { kalvoro::guarded([&] { window.openFile(file); }); });
    }
    if (!shots.isEmpty()) {
        QTimer::singleShot(300, &window, [&window, shots] {
            QDir().mkpath(shots);
            for (int i = 0; i < window.pages()->count(); ++i) {
                window.pages()->setCurrentIndex(i);
                window.grab().save(QDir(shots).filePath(QStringLiteral("page%1.png").arg(i + 1)));
            }
            window.aboutBox()->show();
            window.aboutBox()->grab().save(QDir(shots).filePath(QStringLiteral("about.png")));
            QCoreApplication::quit();
        });
    }
    return app.exec();
}
