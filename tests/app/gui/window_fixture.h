#pragma once
// What every window test starts from: a main window whose dialogs are a
// recorder, a temporary folder, and the texts that reach the last-resort error
// handler.

#include <sys/stat.h>
#include <QAction>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QStringList>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

#include "app/gui/application.h"
#include "app/gui/main_window.h"
#include "app/gui/printing.h"
#include "fake_dialogs.h"

namespace kalvoro {

struct WindowFixture {
    MainWindow* w = nullptr;
    FakeDialogs* dialogs = nullptr;
    QStringList errors;
    std::unique_ptr<QTemporaryDir> dir;

    // Printing goes to a PDF beside the data file when pdf is set.
    void openWindow(bool pdf)
    {
        auto fake = std::make_unique<FakeDialogs>();
        dialogs = fake.get();
        errors.clear();
        Application::setErrorReporter([this](const QString& text) { errors << text; });
        setPdfPrintingForced(pdf);
        w = new MainWindow(std::move(fake));
        w->show();
        dir = std::make_unique<QTemporaryDir>();
    }

    void closeWindow()
    {
        delete w;
        w = nullptr;
        dir.reset();
        setPdfPrintingForced(false);
        Application::setErrorReporter(nullptr);
    }

    // Prints with the usual umask, 022, whatever the test runner's.
    static void printWithUsualUmask(QAction* print)
    {
        const mode_t previous = ::umask(022);
        print->trigger();
        ::umask(previous);
    }

    // A PDF written in place of paper is a plain file, 0644 under umask 022,
    // and the status bar names it: the middle of a long path elided to fit the
    // panel, the whole of it in the tool tip.
    void expectPdfNotice(const QString& pdfFile) const
    {
        struct stat info;
        QVERIFY(::stat(QFile::encodeName(pdfFile).constData(), &info) == 0);
        QCOMPARE(info.st_mode & 07777, mode_t{0644});
        const QString notice = QStringLiteral("Impresso em PDF: ") + pdfFile;
        const QLabel* panel = w->hintPanel();
        QCOMPARE(panel->toolTip(), notice);
        const QString shown = panel->text();
        QVERIFY2(shown == notice || shown.contains(QChar(0x2026)), qPrintable(shown));
        QVERIFY(shown.startsWith(QStringLiteral("Impresso")));
        QVERIFY(shown.endsWith(QFileInfo(pdfFile).fileName()));
        QVERIFY(panel->fontMetrics().horizontalAdvance(shown) <= panel->contentsRect().width());
    }

    QAction* action(const char* name) const
    {
        auto* a = w->findChild<QAction*>(QString::fromLatin1(name));
        if (!a) qFatal("no action %s", name);
        return a;
    }
};

}  // namespace kalvoro
