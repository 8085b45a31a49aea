// Kalvoro, the desktop program: `kalvoro [FILE.vig]`, `kalvoro --help`,
// `kalvoro --version` (see command_line.h).
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
// prints the pages of both windows and the deflected shape's (as PDF files
// beside the beam, whatever the printers).
// It also pictures the open dialog and a message box, as they appear. It never
// waits for the user: the messages a command would show in a box go to the
// standard error output.
//
// `--train FILE.trem` sets the load train before the beam is opened, as the
// train dialog would; the screenshots then show the envelope, the train dialog
// and the influence window with the train, and print the envelope too.
//
// `--quit-after-first-paint` (for measuring the start) ends the program as soon
// as the main window has been painted for the first time.

#include <QDir>
#include <QEvent>
#include <QEventLoop>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QStringList>
#include <QTabWidget>
#include <QTimer>
#include <iostream>
#include <string>
#include <vector>

#include "app/gui/about_box.h"
#include "app/gui/application.h"
#include "app/gui/command_line.h"
#include "app/gui/config_dialog.h"
#include "app/gui/envelope_page.h"
#include "app/gui/influence_window.h"
#include "app/gui/main_window.h"
#include "app/gui/printing.h"
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

// For a run that no one watches: a message box would wait for ever.
class UnattendedDialogs : public kalvoro::QtUserDialogs {
public:
    UnattendedDialogs() : QtUserDialogs(nullptr) {}
    void showMessage(const QString& text) override { printMessage(text); }
    static void printMessage(const QString& text)
    {
        QString line = text;
        line.replace(QStringLiteral("\r\n"), QStringLiteral("\n"))
            .replace(QLatin1Char('\r'), QLatin1Char('\n'));
        std::cerr << "kalvoro: " << line.toStdString() << '\n';
    }
};

void saveDialogPictures(kalvoro::MainWindow& window, const QDir& dir)
{
    QFileDialog open(&window);
    kalvoro::setUpOpenDialog(open, QString::fromUtf8(kalvoro::OpenFilter));
    open.setDirectory(QDir::current());
    open.show();
    // The dialog lists the folder in the background: give it a moment.
    QEventLoop listing;
    QTimer::singleShot(500, &listing, &QEventLoop::quit);
    listing.exec();
    open.grab().save(dir.filePath(QStringLiteral("open.png")));
    open.hide();
    QMessageBox box(&window);
    kalvoro::setUpMessageBox(box, QString::fromUtf8(kalvoro::DrawingsNotCreated));
    box.show();
    box.grab().save(dir.filePath(QStringLiteral("message.png")));
    box.hide();
}

void saveScreenshots(kalvoro::MainWindow& window, const QString& folder)
{
    const QDir dir(folder);
    QDir().mkpath(folder);
    saveDialogPictures(window, dir);
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
        // The print command prints the page of the tab it is given from.
        window.pages()->setCurrentWidget(window.page(kalvoro::Page::Momentos));
        window.SpeedButton11Click();
        window.pages()->setCurrentWidget(window.page(kalvoro::Page::Deformada));
        window.SpeedButton11Click();
        window.pages()->setCurrentWidget(window.page(kalvoro::Page::Envoltoria));
        window.SpeedButton11Click();
    }
    influence->hide();
}

}  // namespace

int main(int argc, char** argv)
{
    // --help and --version are answered before the toolkit starts, so they
    // work without a display.
    const kalvoro::CommandLine early =
        kalvoro::parseCommandLine(std::vector<std::string>(argv + 1, argv + argc));
    if (early.help || early.version) {
        kalvoro::printCommandLineAnswer(early, std::cout);
        return std::cout.flush() ? 0 : 1;
    }

    kalvoro::Application app(argc, argv);
    // Now without the toolkit's own options (-platform, -style, ...).
    std::vector<std::string> args;
    for (const QString& a : QCoreApplication::arguments().mid(1)) args.push_back(a.toStdString());
    const kalvoro::CommandLine line = kalvoro::parseCommandLine(args);
    if (!line.error.empty()) {
        std::cerr << "kalvoro: " << line.error << "\nUse kalvoro --help para ver as opções.\n";
        return kalvoro::CommandLineError;
    }

    const QString shots = QString::fromStdString(line.screenshots);
    std::unique_ptr<kalvoro::UserDialogs> dialogs;
    if (!shots.isEmpty()) {
        dialogs = std::make_unique<UnattendedDialogs>();
        kalvoro::Application::setErrorReporter(&UnattendedDialogs::printMessage);
    }
    kalvoro::MainWindow window(std::move(dialogs));
    window.show();

    QuitAfterFirstPaint quitter;
    if (line.quitAfterFirstPaint) window.installEventFilter(&quitter);
    if (!line.train.empty()) {
        const QString train = QString::fromStdString(line.train);
        kalvoro::guarded([&] { window.loadTrain(train); });
    }
    if (!line.file.empty()) {
        const QString file = QString::fromStdString(line.file);
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
