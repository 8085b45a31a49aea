#pragma once
// What every window test starts from: a main window whose dialogs are a
// recorder, a temporary folder, and the texts that reach the last-resort error
// handler.

#include <QAction>
#include <QStringList>
#include <QTemporaryDir>
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

    QAction* action(const char* name) const
    {
        auto* a = w->findChild<QAction*>(QString::fromLatin1(name));
        if (!a) qFatal("no action %s", name);
        return a;
    }
};

}  // namespace kalvoro
