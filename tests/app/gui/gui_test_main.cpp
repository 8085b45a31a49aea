// Runs the window test classes under the program's own application class (so
// its last-resort handler is the one under test) on the offscreen platform.
// An argument names the one class to run; the others go to QTest.

#include <QTest>
#include <vector>

#include "app/gui/application.h"

int runMainWindowTests(int argc, char** argv);
int runQtCanvasTests(int argc, char** argv);
int runInfluenceWindowTests(int argc, char** argv);
int runConfigPrintTests(int argc, char** argv);
int runPermissionTests(int argc, char** argv);
int runPortugueseDesktopTests(int argc, char** argv);
int runWrongInputTests(int argc, char** argv);

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    kalvoro::Application app(argc, argv);

    QString only;
    std::vector<char*> rest{argv[0]};
    for (int i = 1; i < argc; ++i) {
        const QString a = QString::fromLocal8Bit(argv[i]);
        if (only.isEmpty() && a.endsWith(QLatin1String("Test")) && !a.startsWith(QLatin1Char('-')))
            only = a;
        else
            rest.push_back(argv[i]);
    }
    const int n = static_cast<int>(rest.size());
    int failures = 0;
    if (only.isEmpty() || only == QLatin1String("MainWindowTest"))
        failures += runMainWindowTests(n, rest.data());
    if (only.isEmpty() || only == QLatin1String("QtCanvasTest")) failures += runQtCanvasTests(n, rest.data());
    if (only.isEmpty() || only == QLatin1String("InfluenceWindowTest"))
        failures += runInfluenceWindowTests(n, rest.data());
    if (only.isEmpty() || only == QLatin1String("ConfigPrintTest"))
        failures += runConfigPrintTests(n, rest.data());
    if (only.isEmpty() || only == QLatin1String("PermissionTest"))
        failures += runPermissionTests(n, rest.data());
    if (only.isEmpty() || only == QLatin1String("PortugueseDesktopTest"))
        failures += runPortugueseDesktopTests(n, rest.data());
    if (only.isEmpty() || only == QLatin1String("WrongInputTest"))
        failures += runWrongInputTests(n, rest.data());
    return failures == 0 ? 0 : 1;
}
