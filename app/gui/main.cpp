// Kalvoro, the desktop program: `kalvoro [FILE.vig]`.
//
// Start: the application with its title, then the main window, which creates
// the about box, the configuration dialog, the influence-line window and the
// section dialog once for the run. A file named on the command line is opened
// as the Open command would.
//
// `--screenshots DIR` (for development) saves a picture of every page of the
// main window, of the about box and the configuration dialog, of the section
// dialog and of both pages of the influence-line window after a computation
// with the section the dialog holds, and ends. With a named beam it also
// prints both pages (as PDF files beside the beam, whatever the printers).
//
// `--train FILE.trem` sets the load train before the beam is opened, as the
// train dialog would; the screenshots then show the envelope, the train dialog
// and the influence window with the train, and print the envelope too.
//
// `--quit-after-first-paint` (for measuring the start) ends the program as soon
// as the main window has been painted for the first time.

#include <QDir>
#include <QEvent>
#include <QLineEdit>
#include <QStringList>
#include <QTabWidget>
#include <QTimer>

#include "app/gui/about_box.h"
#include "app/gui/application.h"
#include "app/gui/config_dialog.h"
#include "app/gui/envelope_page.h"
#include "app/gui/main_window.h"
#include "app/gui/printing.h"
#include "app/gui/influence_window.h"
#include "app/gui/section_dialog.h"
#include "app/gui/train_dialog.h"

namespace {

// Ends the application right after the first paint of the watched widget.
class QuitAfterFirstPaint : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Paint) QTimer::singleShot(0, qApp, &QCoreApplication::quit);
        return QObject::eventFilter(watched, event);
    }
};

void saveScreenshots(kalvoro::MainWindow& window, const QString& folder)
{
    const QDir dir(folder);
    QDir().mkpath(folder);
    for (int i = 0; i < window.pages()->count(); ++i) {
        window.pages()->setCurrentIndex(i);
        window.grab().save(dir.filePath(QStringLiteral("page%1.png").arg(i + 1)));
    }
    window.aboutBox()->show();
    window.aboutBox()->grab().save(dir.filePath(QStringLiteral("about.png")));
    window.aboutBox()->hide();
    window.configDialog()->show();
    window.configDialog()->grab().save(dir.filePath(QStringLiteral("config.png")));
    window.configDialog()->hide();
    window.trainDialog()->setTrain(window.envelopePage().train());
    window.trainDialog()->show();
    window.trainDialog()->grab().save(dir.filePath(QStringLiteral("train.png")));
    window.trainDialog()->hide();

    kalvoro::TLinhaInfluencia* influence = window.influenceWindow();
    kalvoro::TEntradaSecao* section = window.sectionDialog();
    influence->clearPages();
    influence->show();
    // The section dialog runs modally inside the computation: picture it, then close it.
    QTimer::singleShot(100, section, [section, dir] {
        section->grab().save(dir.filePath(QStringLiteral("section.png")));
        section->accept();
    });
    influence->SpeedButton1Click();
    for (int i = 0; i < influence->PageControl1()->count(); ++i) {
        influence->PageControl1()->setCurrentIndex(i);
        influence->grab().save(dir.filePath(QStringLiteral("influence%1.png").arg(i + 1)));
    }
    if (!window.dataFile().empty()) {
        kalvoro::setPdfPrintingForced(true);
        influence->SpeedButton3Click();
        window.SpeedButton11Click();
        window.pages()->setCurrentWidget(window.page(kalvoro::Page::Envoltoria));
        window.SpeedButton11Click();
    }
    influence->hide();
}

}  // namespace

int main(int argc, char** argv)
{
    kalvoro::Application app(argc, argv);
    kalvoro::MainWindow window;
    window.show();

    QStringList args = QCoreApplication::arguments().mid(1);
    QuitAfterFirstPaint quitter;
    if (args.removeAll(QStringLiteral("--quit-after-first-paint")) > 0) window.installEventFilter(&quitter);
    QString shots;
    if (const qsizetype i = args.indexOf(QStringLiteral("--screenshots")); i >= 0 && i + 1 < args.size()) {
        shots = args.at(i + 1);
        args.remove(i, 2);
    }
    if (const qsizetype i = args.indexOf(QStringLiteral("--train")); i >= 0 && i + 1 < args.size()) {
        const QString train = args.at(i + 1);
        args.remove(i, 2);
        kalvoro::guarded([&] { window.loadTrain(train); });
    }
    if (!args.isEmpty()) {
        const QString file = args.constFirst();
        QTimer::singleShot(0, &window, [&window, file] { kalvoro::guarded([&] { window.openFile(file); }); });
    }
    if (!shots.isEmpty()) {
        QTimer::singleShot(300, &window, [&window, shots] {
            kalvoro::guarded([&] { saveScreenshots(window, shots); });
            QCoreApplication::quit();
        });
    }
    return app.exec();
}
