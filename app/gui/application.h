#pragma once
// The GUI application with the last-resort error handler: an exception that
// leaves an event handler or a slot is shown in a message box with its text,
// and the program goes on. The commands catch their own errors first; this
// catches what none of them handles (the toolkit's default error message).

#include <QApplication>
#include <QString>
#include <QTranslator>
#include <functional>

namespace kalvoro {

// The title the application shows in its message boxes. It is not appended to
// the windows' captions: each window has its own.
inline constexpr const char* ApplicationTitle = "Cálculo de Esforços em vigas";

class Application : public QApplication {
public:
    Application(int& argc, char** argv);

    bool notify(QObject* receiver, QEvent* event) override;

    // Where unhandled error texts go; a message box unless replaced (tests).
    using ErrorReporter = std::function<void(const QString&)>;
    static void setErrorReporter(ErrorReporter reporter);
    static void reportError(const QString& text);

    // True when Qt's own Portuguese texts (file dialogs, standard buttons) were loaded.
    bool portugueseDialogs() const { return portugueseDialogs_; }

private:
    QTranslator qtTexts_;
    bool portugueseDialogs_ = false;
};

// Runs f and sends any error it throws to Application::reportError. Every
// slot of ours runs through this, so no exception crosses the toolkit's code.
template <class F>
void guarded(F&& f)
{
    try {
        f();
    } catch (const std::exception& e) {
        Application::reportError(QString::fromUtf8(e.what()));
    } catch (...) {
        Application::reportError(QStringLiteral("Erro desconhecido"));
    }
}

}  // namespace kalvoro
