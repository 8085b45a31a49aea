// The real main window, driven through its widgets and actions, with the
// dialogs replaced by a recorder that supplies file names.

#include <QAction>
#include <QDir>
#include <QElapsedTimer>
#include <QRegularExpression>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStatusTipEvent>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <functional>

#include "app/gui/about_box.h"
#include "app/gui/application.h"
#include "app/gui/count_field.h"
#include "app/gui/grid_view.h"
#include "app/gui/influence_window.h"
#include "app/gui/main_window.h"
#include "app/gui/qt_canvas.h"
#include "data/beam_file.h"
#include "data/extra_loads.h"
#include "data/text_file.h"
#include "diagrams/wmf.h"
#include "engine/errors.h"
#include "fake_dialogs.h"
#include "window_fixture.h"

namespace kalvoro {
class MainWindowTest;
}
Q_DECLARE_METATYPE(std::function<void(kalvoro::MainWindowTest*)>)

namespace kalvoro {

class MainWindowTest : public QObject, private WindowFixture {
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void startUpShowsTheDefaultBeam();
    void hintsGoToTheFirstStatusPanel();
    void spanSpinnerFromOneToTwo();
    void lengthsTypedInTheTableGiveTheCoordinates();
    void shrinkingFromThreeSpansResetsTheLastRows();
    void countThatIsNotANumberKeepsTheRows();
    void unnamedCalculateWritesTempFilesAndNoMetafile();
    void temporaryFileFallsBackToTheTempFolder();
    void saveThenCalculateWritesReportAndMetafiles();
    void openFillsTablesAndShowsResults();
    void openOfABadFileChangesNothing();
    void checkDataReportsTheStatus();
    void calculationFailuresShowOneMessageAndGoOn_data();
    void calculationFailuresShowOneMessageAndGoOn();
    void calculateShowsTheReadersMessage();
    void beamsTheFileCannotHoldAreRefused();
    void failedSaveKeepsTheName_data();
    void failedSaveKeepsTheName();
    void saveWritesOnlyItsOwnBeamsDiagrams();
    void newClearsReportAndDiagrams();
    void panAndZoomStayInRange();
    void aboutBox();
    void errorsOutsideTheCommandsReachTheLastResortHandler();
    void extraLoadsAreSavedAsVigxAndNeverAsVig();
    void supportedBeamIsCalculatedAndKeepsItsSupports();
    void beamsOfAThousandSpansAreCalculatedAndPanned();

private:
    using WindowFixture::action;
    QStringList row(TableId id, int r) const;
    void typeCount(TableId id, const QString& text);
    void setCell(TableId id, int r, int c, const QString& text);
    QString writeBeamFile(const QString& name, const QString& utf8Text);
    void enterTemporaryFolder();

    QString previousFolder;
};

namespace {

// Two spans of lengths 3 and 2: fixed at node 1, pinned at node 2, free at node 3.
const char* GoodBeam =
    "viga de teste\r\n"
    "COORDENADAS DOS NÓS =     3\r\n"
    "    1         0         0\r\n"
    "    2         3         0\r\n"
    "    3         5         0\r\n"
    "INCIDÊNCIAS DAS BARRAS =     2\r\n"
    "         1         1         2         1         1\r\n"
    "         2         2         3         1         1\r\n"
    "PROPRIEDADES ELÁSTICAS =     1\r\n"
    "         1                 200\r\n"
    "PROPRIEDADES SEÇÕES =     1\r\n"
    "         1                 0.5\r\n"
    "CONDIÇÕES DE CONTORNO =     3\r\n"
    "  1   11\r\n"
    "  2   10\r\n"
    "  3    0\r\n"
    "CARREGAMENTO =     2\r\n"
    "         1             -2              0              0\r\n"
    "         2              0             -4              1\r\n";

bool allWhite(const QImage& img)
{
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            if (img.pixel(x, y) != qRgb(255, 255, 255)) return false;
    return true;
}

QString reportFileText(const QString& path)
{
    QString text = QString::fromStdString(cp1252ToUtf8(readFileBytes(path.toStdString())));
    return text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
}

QByteArray bytesOf(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

QString message(int status)
{
    return QString::fromStdString(ReaderMessages().at(static_cast<std::size_t>(status)));
}

}  // namespace

void MainWindowTest::init()
{
    openWindow(false);
    QVERIFY(dir->isValid());
    previousFolder.clear();
}

void MainWindowTest::cleanup()
{
    if (!previousFolder.isEmpty()) QDir::setCurrent(previousFolder);
    closeWindow();
}

QStringList MainWindowTest::row(TableId id, int r) const
{
    QStringList out;
    GridView* g = w->grid(id);
    for (int c = 0; c < g->columnCount(); ++c)
        out << (g->item(r - 1, c) ? g->item(r - 1, c)->text() : QString());
    // The supports' columns after the code are empty in every case here.
    if (id == TableId::Supports) {
        [&] { QCOMPARE(out.mid(SupportCodeColumns), QStringList(5)); }();
        out.resize(SupportCodeColumns);
    }
    return out;
}

void MainWindowTest::typeCount(TableId id, const QString& text)
{
    QLineEdit* edit = w->countField(id)->edit();
    edit->selectAll();
    if (text.isEmpty())
        QTest::keyClick(edit, Qt::Key_Backspace);
    else
        QTest::keyClicks(edit, text);
}

void MainWindowTest::setCell(TableId id, int r, int c, const QString& text)
{
    w->grid(id)->item(r - 1, c)->setText(text);
}

QString MainWindowTest::writeBeamFile(const QString& name, const QString& utf8Text)
{
    const QString path = dir->filePath(name);
    writeTextFile(path.toStdString(), utf8Text.toStdString());
    return path;
}

void MainWindowTest::enterTemporaryFolder()
{
    previousFolder = QDir::currentPath();
    QVERIFY(QDir::setCurrent(dir->path()));
}

// ---------------------------------------------------------------------------

void MainWindowTest::startUpShowsTheDefaultBeam()
{
    QCOMPARE(w->windowTitle(), QStringLiteral("Kalvoro"));
    QCOMPARE(w->width(), 511);
    QVERIFY(w->minimumSize() == w->maximumSize());
    QVERIFY(!w->timePanel()->text().isEmpty());
    QCOMPARE(w->hintPanel()->width(), 250);
    QCOMPARE(w->timePanel()->width(), 150);

    QStringList tabs;
    for (int i = 0; i < w->pages()->count(); ++i) tabs << w->pages()->tabText(i);
    QCOMPARE(tabs,
             (QStringList{"Trechos", "Cargas", "Apoios", "Materiais e seções", "Saídas", "Diag. Momentos",
                          "Diag. Cortantes", "Deformada", "Cargas adicionais", "Envoltória"}));

    QStringList menus;
    for (QAction* m : w->menuBar()->actions()) {
        menus << m->text();
        for (QAction* item : m->menu()->actions()) menus << QStringLiteral("  ") + item->text();
    }
    QCOMPARE(menus, (QStringList{"Arquivo", "  Abrir", "  Salvar", "  Sair", "Ferramentas", "  analisa dados",
                                 "  desenha estrutura", "  Calcula", "  Trem-tipo…", "Ajuda", "  Sobre"}));

    QStringList hints;
    for (QAction* a : w->findChild<QToolBar*>()->actions()) {
        if (a->isSeparator()) {
            hints << QStringLiteral("|");
            continue;
        }
        QCOMPARE(a->toolTip(), a->statusTip());
        QVERIFY(!a->icon().isNull());
        hints << a->toolTip();
    }
    QCOMPARE(hints, (QStringList{"Novo", "Abrir", "Salvar", "Imprimir", "|", "Configuração", "|", "Calcular",
                                 "Linha de Influência", "Desenhar", "|", "Move desenho para esquerda",
                                 "Move desenho para direita", "menos zoom", "mais zoom"}));

    struct Expect {
        TableId id;
        QString count;
        bool countShown;
        QStringList headings;
        QList<int> widths;
        QList<QStringList> rows;
    };
    const QList<Expect> tables = {
        {TableId::Spans,
         "1",
         true,
         {"Trecho", "comprimento", "seção", "Material"},
         {50, 90, 70, 70},
         {{"1", "1.00", "1", "1"}}},
        {TableId::Loads,
         "1",
         false,
         {"Trecho", "q", "P", "d"},
         {50, 70, 70, 70},
         {{"1", "-1.00", "0.00", "0.00"}}},
        {TableId::Supports,
         "1",
         false,
         {"Nó", "Restrições", "Mola vertical", "Mola rotação", "Recalque vertical", "Recalque rotação",
          "Rótula"},
         {30, 80, 85, 85, 105, 105, 50},
         {{"1", "10"}, {"2", "10"}}},
        {TableId::Materials, "1", true, {"N.", "E(Elast.)"}, {25, 80}, {{"1", "1.00"}}},
        {TableId::Sections, "1", true, {"N.", "I(Inércia)"}, {25, 70}, {{"1", "1.00"}}},
        {TableId::Nodes, "2", false, {"Nó", "X", "Y"}, {25, 70, 70}, {{"1", "0.00", "0.00"}, {"2", "", ""}}},
    };
    for (const Expect& e : tables) {
        GridView* g = w->grid(e.id);
        QStringList headings;
        for (int c = 0; c < g->columnCount(); ++c) {
            headings << g->horizontalHeaderItem(c)->text();
            QCOMPARE(g->columnWidth(c), e.widths.at(c));
        }
        QCOMPARE(headings, e.headings);
        QCOMPARE(g->rowCount(), static_cast<int>(e.rows.size()));
        for (int r = 1; r <= e.rows.size(); ++r) QCOMPARE(row(e.id, r), e.rows.at(r - 1));
        QVERIFY(!(g->item(0, 0)->flags() & Qt::ItemIsEditable));
        QVERIFY(g->item(0, 1)->flags() & Qt::ItemIsEditable);
        QCOMPARE(w->countField(e.id)->edit()->text(), e.count);
        QCOMPARE(!w->countField(e.id)->isHidden(), e.countShown);
        QCOMPARE(w->countField(e.id)->upButton() != nullptr, e.countShown);
    }
    QVERIFY(w->grid(TableId::Nodes)->isHidden());

    auto* beta = w->findChild<QLabel*>(QStringLiteral("BetaLabel"));
    QVERIFY(beta && beta->text() == QStringLiteral("Versão Beta teste 2.07.13"));

    QPlainTextEdit* report = w->reportView();
    QCOMPARE(report->font().family(), QStringLiteral("Courier New"));
    QCOMPARE(report->font().pixelSize(), 12);
    QCOMPARE(report->lineWrapMode(), QPlainTextEdit::NoWrap);
    QVERIFY(!report->isReadOnly());

    // The diagram panels hold their whole picture.
    for (const char* name : {"Image1", "Image2"}) {
        auto* image = w->findChild<QLabel*>(QString::fromLatin1(name));
        QCOMPARE(image->size(), QSize(501, 278));
        QVERIFY(image->hasScaledContents());
    }
}

void MainWindowTest::hintsGoToTheFirstStatusPanel()
{
    auto* bar = w->findChild<QToolBar*>();
    for (const char* name : {"SpeedButton4", "SpeedButton12", "SpeedButton9"}) {
        QAction* a = action(name);
        a->showStatusText(bar->widgetForAction(a));
        QCOMPARE(w->hintPanel()->text(), a->statusTip());
    }
    QStatusTipEvent leave{QString()};
    QApplication::sendEvent(w, &leave);
    QCOMPARE(w->hintPanel()->text(), QString());
}

void MainWindowTest::spanSpinnerFromOneToTwo()
{
    QTest::mouseClick(w->countField(TableId::Spans)->upButton(), Qt::LeftButton);
    QCOMPARE(w->countField(TableId::Spans)->edit()->text(), QStringLiteral("2"));
    QCOMPARE(w->grid(TableId::Spans)->rowCount(), 2);
    QCOMPARE(row(TableId::Spans, 2), (QStringList{"2", "1.00", "1", "1"}));
    QCOMPARE(row(TableId::Loads, 2), (QStringList{"2", "-1.00", "0.00", "0.00"}));
    QCOMPARE(w->grid(TableId::Supports)->rowCount(), 3);
    QCOMPARE(row(TableId::Supports, 3), (QStringList{"3", "10"}));
    QCOMPARE(w->grid(TableId::Nodes)->rowCount(), 3);
    QCOMPARE(row(TableId::Nodes, 1), (QStringList{"1", "0.00", "0.00"}));
    QCOMPARE(row(TableId::Nodes, 2), (QStringList{"2", "1", "0.00"}));
    QCOMPARE(row(TableId::Nodes, 3), (QStringList{"3", "2", "0.00"}));
    QCOMPARE(w->countField(TableId::Supports)->edit()->text(), QStringLiteral("3"));
    QCOMPARE(w->countField(TableId::Loads)->edit()->text(), QStringLiteral("2"));
    QVERIFY(errors.isEmpty());
}

void MainWindowTest::lengthsTypedInTheTableGiveTheCoordinates()
{
    typeCount(TableId::Spans, QStringLiteral("2"));
    GridView* spans = w->grid(TableId::Spans);
    setCell(TableId::Spans, 1, 1, QStringLiteral("2.5"));

    // The second length is typed into the cell editor and is in the tables
    // at once, before the editor closes.
    spans->editItem(spans->item(1, 1));
    auto* editor = spans->viewport()->findChild<QLineEdit*>();
    QVERIFY(editor);
    editor->selectAll();
    QTest::keyClicks(editor, QStringLiteral("1.5"));
    QCOMPARE(w->tables().grid(TableId::Spans).cell(2, 1), std::string("1.5"));

    QTest::mouseClick(spans->viewport(), Qt::LeftButton, {},
                      spans->visualItemRect(spans->item(0, 2)).center());
    QCOMPARE(row(TableId::Nodes, 1).mid(1), (QStringList{"0.00", "0.00"}));
    QCOMPARE(row(TableId::Nodes, 2).mid(1), (QStringList{"2.5", "0.00"}));
    QCOMPARE(row(TableId::Nodes, 3).mid(1), (QStringList{"4", "0.00"}));

    // An emptied length leaves the coordinates as they were.
    setCell(TableId::Spans, 2, 1, QString());
    QTest::mouseClick(spans->viewport(), Qt::LeftButton, {},
                      spans->visualItemRect(spans->item(0, 2)).center());
    QCOMPARE(row(TableId::Nodes, 3).at(1), QStringLiteral("4"));
    QVERIFY(errors.isEmpty());
}

void MainWindowTest::shrinkingFromThreeSpansResetsTheLastRows()
{
    typeCount(TableId::Spans, QStringLiteral("3"));
    setCell(TableId::Spans, 2, 1, QStringLiteral("7"));
    setCell(TableId::Spans, 3, 1, QStringLiteral("8"));
    setCell(TableId::Loads, 2, 1, QStringLiteral("-5"));
    setCell(TableId::Supports, 3, 1, QStringLiteral("11"));

    QTest::mouseClick(w->countField(TableId::Spans)->downButton(), Qt::LeftButton);
    QCOMPARE(w->grid(TableId::Spans)->rowCount(), 2);
    QCOMPARE(row(TableId::Spans, 2), (QStringList{"2", "1.00", "1", "1"}));
    QCOMPARE(row(TableId::Loads, 2), (QStringList{"2", "-1.00", "0.00", "0.00"}));
    QCOMPARE(row(TableId::Supports, 3), (QStringList{"3", "10"}));
    QCOMPARE(w->grid(TableId::Supports)->rowCount(), 3);

    typeCount(TableId::Spans, QStringLiteral("4"));
    QCOMPARE(row(TableId::Spans, 3), (QStringList{"3", "8", "1", "1"}));  // hidden, not erased
    QCOMPARE(row(TableId::Spans, 4), (QStringList{"4", "1.00", "1", "1"}));
}

void MainWindowTest::countThatIsNotANumberKeepsTheRows()
{
    typeCount(TableId::Spans, QStringLiteral("2"));
    typeCount(TableId::Spans, QStringLiteral("x"));
    QCOMPARE(errors.size(), 1);  // the conversion error's own text
    QVERIFY(errors.first().contains(QLatin1Char('x')));
    QCOMPARE(w->grid(TableId::Spans)->rowCount(), 2);
    QCOMPARE(w->countField(TableId::Spans)->edit()->text(), QStringLiteral("x"));
    QVERIFY(w->isVisible());
}

void MainWindowTest::unnamedCalculateWritesTempFilesAndNoMetafile()
{
    enterTemporaryFolder();
    action("SpeedButton4")->trigger();
    QCOMPARE(dialogs->messages, QStringList());
    QCOMPARE(errors, QStringList());
    QDir here(dir->path());
    QVERIFY(here.exists(QStringLiteral("Temp.dat")));
    QVERIFY(here.exists(QStringLiteral("Temp.sai")));
    QCOMPARE(here.entryList({QStringLiteral("*.wmf")}, QDir::Files), QStringList());
    QVERIFY(w->dataFile().empty());
    QCOMPARE(w->windowTitle(), QStringLiteral("Kalvoro"));

    QCOMPARE(w->pages()->currentWidget(), w->page(Page::Saidas));
    QCOMPARE(w->reportView()->toPlainText().trimmed(),
             reportFileText(here.filePath(QStringLiteral("Temp.sai"))).trimmed());
    QCOMPARE(w->momentImage().size(), QSize(501, 278));
    QCOMPARE(w->shearImage().size(), QSize(501, 278));
    QVERIFY(!allWhite(w->momentImage()));
    QVERIFY(!allWhite(w->shearImage()));
    QVERIFY(w->momentImage() != w->shearImage());
}

void MainWindowTest::temporaryFileFallsBackToTheTempFolder()
{
    enterTemporaryFolder();
    QCOMPARE(temporaryDataFile(), std::string("Temp.dat"));
    // A current folder that no longer exists cannot take the file.
    const QString gone = dir->filePath(QStringLiteral("gone"));
    QVERIFY(QDir().mkdir(gone));
    QVERIFY(QDir::setCurrent(gone));
    QVERIFY(QDir().rmdir(gone));
    QCOMPARE(QString::fromStdString(temporaryDataFile()),
             QDir(QDir::tempPath()).filePath(QStringLiteral("Temp.dat")));

    // Calculate and the influence lines of the unnamed beam both go there.
    const QByteArray tmp = qgetenv("TMPDIR");
    qputenv("TMPDIR", dir->path().toLocal8Bit());
    action("Calcula1")->trigger();
    dialogs->sections << QStringList{"1", "0.5"};
    w->influenceWindow()->SpeedButton1Click();
    qputenv("TMPDIR", tmp);
    QCOMPARE(dialogs->messages, QStringList());
    for (const char* file : {"Temp.dat", "Temp.sai", "LIM.sai"})
        QVERIFY2(QFile::exists(dir->filePath(QString::fromLatin1(file))), file);
}

void MainWindowTest::saveThenCalculateWritesReportAndMetafiles()
{
    const QString name = dir->filePath(QStringLiteral("stem.vig"));
    dialogs->saveNames << name;
    action("SpeedButton3")->trigger();
    QCOMPARE(dialogs->saveRequests.size(), 1);
    const SaveRequest& req = dialogs->saveRequests.first();
    QCOMPARE(req.title, QStringLiteral("Digite um nome para o novo arquivo"));
    QCOMPARE(req.filter, QStringLiteral("Arquivos de dados (*.vig);;Viga Kalvoro (*.vigx)"));
    QCOMPARE(req.proposedName, QStringLiteral("teste"));
    QCOMPARE(req.defaultSuffix, QStringLiteral("dat"));
    QCOMPARE(w->windowTitle(), name);
    QCOMPARE(QString::fromStdString(w->dataFile()), name);
    const std::string written = readFileBytes(name.toStdString());
    QCOMPARE(cp1252ToUtf8(written), BeamFileText(std::string(DefaultTitle), w->tables().texts()));
    // With nothing analysed yet there are no diagrams to save under the name.
    QCOMPARE(QDir(dir->path()).entryList({QStringLiteral("*.wmf")}, QDir::Files), QStringList());

    action("Calcula1")->trigger();
    QCOMPARE(dialogs->messages, QStringList());
    QCOMPARE(errors, QStringList());
    for (const char* file : {"stem.sai", "stemM.wmf", "stemC.wmf"})
        QVERIFY2(QFile::exists(dir->filePath(QString::fromLatin1(file))), file);

    // What the window shows is the page it saved, replayed.
    QCOMPARE(renderRecording(readWmfFile(dir->filePath(QStringLiteral("stemM.wmf")).toStdString())),
             w->momentImage());
    QCOMPARE(renderRecording(readWmfFile(dir->filePath(QStringLiteral("stemC.wmf")).toStdString())),
             w->shearImage());

    // Saving again and cancelling leaves the beam unnamed.
    action("Salvar1")->trigger();
    QVERIFY(w->dataFile().empty());
}

void MainWindowTest::openFillsTablesAndShowsResults()
{
    const QString file = writeBeamFile(QStringLiteral("boa.vig"), QString::fromUtf8(GoodBeam));
    dialogs->openNames << file;
    action("SpeedButton2")->trigger();
    QCOMPARE(dialogs->openFilters, QStringList{QString::fromUtf8(OpenFilter)});
    QCOMPARE(dialogs->messages, QStringList());
    QCOMPARE(errors, QStringList());
    QCOMPARE(w->windowTitle(), file);
    QCOMPARE(w->configuration().title, std::string("viga de teste"));

    QCOMPARE(w->countField(TableId::Spans)->edit()->text(), QStringLiteral("2"));
    QCOMPARE(row(TableId::Spans, 1), (QStringList{"1", "3", "1", "1"}));
    QCOMPARE(row(TableId::Spans, 2), (QStringList{"2", "2", "1", "1"}));
    QCOMPARE(row(TableId::Supports, 1), (QStringList{"1", "11"}));
    QCOMPARE(row(TableId::Supports, 3), (QStringList{"3", "00"}));
    QCOMPARE(row(TableId::Loads, 2), (QStringList{"2", "0", "-4", "1"}));
    QCOMPARE(row(TableId::Materials, 1), (QStringList{"1", "200"}));

    QCOMPARE(w->pages()->currentWidget(), w->page(Page::Saidas));
    QCOMPARE(w->reportView()->toPlainText().trimmed(),
             reportFileText(dir->filePath(QStringLiteral("boa.sai"))).trimmed());
    QVERIFY(!allWhite(w->momentImage()));
    QVERIFY(QFile::exists(dir->filePath(QStringLiteral("boaM.wmf"))));
    QVERIFY(QFile::exists(dir->filePath(QStringLiteral("boaC.wmf"))));

    // The file is now in the program's own form: coordinates from the lengths,
    // the support codes as the tables show them.
    const std::string rewritten =
        "viga de teste\r\n"
        "COORDENADAS DOS NÓS =     3\r\n"
        "    1      0.00      0.00\r\n"
        "    2         3      0.00\r\n"
        "    3         5      0.00\r\n"
        "INCIDÊNCIAS DAS BARRAS =     2\r\n"
        "         1         1         2         1         1\r\n"
        "         2         2         3         1         1\r\n"
        "PROPRIEDADES ELÁSTICAS =     1\r\n"
        "         1                 200\r\n"
        "PROPRIEDADES SEÇÕES =     1\r\n"
        "         1                 0.5\r\n"
        "CONDIÇÕES DE CONTORNO =     3\r\n"
        "  1   11\r\n"
        "  2   10\r\n"
        "  3   00\r\n"
        "CARREGAMENTO =     2\r\n"
        "         1             -2              0              0\r\n"
        "         2              0             -4              1\r\n";
    QCOMPARE(cp1252ToUtf8(readFileBytes(file.toStdString())), rewritten);
}

void MainWindowTest::openOfABadFileChangesNothing()
{
    typeCount(TableId::Spans, QStringLiteral("2"));
    const BeamTexts before = w->tables().texts();
    QString bad = QString::fromUtf8(GoodBeam);
    bad.replace(QStringLiteral("COORDENADAS DOS NÓS =     3"), QStringLiteral("COORDENADAS DOS NÓS =     x"));
    const QString file = writeBeamFile(QStringLiteral("ruim.vig"), bad);
    const QByteArray onDisk = bytesOf(file);

    dialogs->openNames << file;
    action("Abrir2")->trigger();
    QCOMPARE(dialogs->messages, QStringList{message(2)});
    QCOMPARE(errors, QStringList());
    QCOMPARE(w->tables().texts().spans.rows, before.spans.rows);
    QCOMPARE(w->tables().texts().supports.rows, before.supports.rows);
    QCOMPARE(row(TableId::Spans, 2), (QStringList{"2", "1.00", "1", "1"}));
    QCOMPARE(bytesOf(file), onDisk);
    QVERIFY(w->dataFile().empty());
    QCOMPARE(w->windowTitle(), QStringLiteral("Kalvoro"));
    QCOMPARE(QDir(dir->path()).entryList({QStringLiteral("ruim*")}, QDir::Files), QStringList{"ruim.vig"});

    // A cancelled open dialog does nothing at all.
    action("Abrir2")->trigger();
    QCOMPARE(dialogs->messages.size(), 1);
}

void MainWindowTest::checkDataReportsTheStatus()
{
    // Unnamed: the user is asked which file to check; cancelling does nothing.
    action("analisadados1")->trigger();
    QCOMPARE(dialogs->openFilters.size(), 1);
    QCOMPARE(dialogs->messages, QStringList());

    const QString file = writeBeamFile(QStringLiteral("boa.vig"), QString::fromUtf8(GoodBeam));
    dialogs->openNames << file;
    action("analisadados1")->trigger();
    QCOMPARE(dialogs->messages, QStringList{QStringLiteral(" Nenhum erro encontrado ")});
    QCOMPARE(row(TableId::Spans, 1), (QStringList{"1", "3", "1", "1"}));  // a good check fills the tables
    QCOMPARE(QString::fromStdString(w->dataFile()), file);
    QVERIFY(!QFile::exists(dir->filePath(QStringLiteral("boa.sai"))));  // nothing calculated

    // Named: the file as it is on disk, not the tables.
    QString bad = QString::fromUtf8(GoodBeam);
    bad.replace(QStringLiteral("CARREGAMENTO =     2"), QStringLiteral("CARREGAMENTO =     3"));
    writeBeamFile(QStringLiteral("boa.vig"), bad);
    action("analisadados1")->trigger();
    QCOMPARE(dialogs->messages.size(), 2);
    QCOMPARE(dialogs->messages.last(), message(7));
    QCOMPARE(dialogs->openFilters.size(), 2);

    // A header without its keyword is reported by the reader, which goes on.
    QString misspelt = QString::fromUtf8(GoodBeam);
    misspelt.replace(QStringLiteral("INCIDÊNCIAS"), QStringLiteral("INCIDENCIAS"));
    writeBeamFile(QStringLiteral("boa.vig"), misspelt);
    dialogs->messages.clear();
    action("analisadados1")->trigger();
    QCOMPARE(dialogs->messages,
             (QStringList{QStringLiteral("Erro nas incidências das barras INCIDENCIAS DAS BARRAS =     2"),
                          message(0)}));
}

void MainWindowTest::calculationFailuresShowOneMessageAndGoOn_data()
{
    QTest::addColumn<std::function<void(MainWindowTest*)>>("spoil");
    QTest::addColumn<QString>("command");
    QTest::addColumn<QString>("message");
    // A cell that is no number is refused before anything is written, by name.
    const QString comma =
        QStringLiteral("Aba \"Trechos\", linha 1, coluna \"comprimento\": \"2,5\" não é um número.");
    const QString failed = QStringLiteral("Dados incorretos. Cálculo não efetuado");
    auto commaLength = [](MainWindowTest* t) { t->setCell(TableId::Spans, 1, 1, QStringLiteral("2,5")); };
    auto mechanism = [](MainWindowTest* t) {
        t->setCell(TableId::Supports, 1, 1, QStringLiteral("00"));
        t->setCell(TableId::Supports, 2, 1, QStringLiteral("00"));
    };
    QTest::newRow("length 2,5, calculate")
        << std::function<void(MainWindowTest*)>(commaLength) << "Calcula1" << comma;
    QTest::newRow("length 2,5, draw")
        << std::function<void(MainWindowTest*)>(commaLength) << "desenhaestrutura1" << comma;
    QTest::newRow("unstable beam, calculate")
        << std::function<void(MainWindowTest*)>(mechanism) << "SpeedButton4" << failed;
    QTest::newRow("unstable beam, draw")
        << std::function<void(MainWindowTest*)>(mechanism) << "SpeedButton5" << failed;
}

void MainWindowTest::calculationFailuresShowOneMessageAndGoOn()
{
    QFETCH(std::function<void(MainWindowTest*)>, spoil);
    QFETCH(QString, command);
    QFETCH(QString, message);
    enterTemporaryFolder();
    action("Calcula1")->trigger();  // a good beam first: its report and diagrams stay
    const QString report = w->reportView()->toPlainText();
    const QImage moment = w->momentImage();
    QVERIFY(!report.isEmpty());

    spoil(this);
    action(command.toLatin1().constData())->trigger();
    QCOMPARE(dialogs->messages, QStringList{message});
    QCOMPARE(errors, QStringList());
    QCOMPARE(w->reportView()->toPlainText(), report);
    QVERIFY(w->isVisible());

    // The program goes on: a repaired beam calculates again.
    dialogs->messages.clear();
    w->SpeedButton1Click();
    action(command.toLatin1().constData())->trigger();
    QCOMPARE(dialogs->messages, QStringList());
    QCOMPARE(w->momentImage(), moment);
}

void MainWindowTest::calculateShowsTheReadersMessage()
{
    // A second span of 1e-13: the tables take it, but node 3 is written with
    // 12 digits on node 2, and the loaded span of no length does not read
    // back; the calculation says why instead of stopping silently.
    enterTemporaryFolder();
    typeCount(TableId::Spans, QStringLiteral("2"));
    setCell(TableId::Spans, 2, 1, QStringLiteral("1e-13"));
    action("Calcula1")->trigger();
    QCOMPARE(dialogs->messages, QStringList{message(7)});
    QVERIFY(w->reportView()->toPlainText().isEmpty());
    QVERIFY(!QFile::exists(QStringLiteral("Temp.sai")));
}

void MainWindowTest::beamsTheFileCannotHoldAreRefused()
{
    const QString file = dir->filePath(QStringLiteral("vinte-e-quatro.vig"));
    QVERIFY(QFile::copy(QStringLiteral(KALVORO_EXAMPLES "/vinte-e-quatro-trechos.vig"), file));
    w->openFile(file);
    QCOMPARE(dialogs->messages, QStringList());
    const QByteArray onDisk = bytesOf(file);

    QTest::mouseClick(w->countField(TableId::Spans)->upButton(), Qt::LeftButton);
    const QString refusal = QStringLiteral("A viga tem 25 trechos; o arquivo de dados admite no máximo 24.");
    // Calcular takes it to a .vigx, and asks for its name: none is given.
    action("Calcula1")->trigger();
    QCOMPARE(dialogs->messages,
             QStringList{refusal + QStringLiteral("\nSalve-a como Viga Kalvoro (.vigx) para calculá-la.")});
    dialogs->saveNames << dir->filePath(QStringLiteral("outra.vig"));
    action("Salvar1")->trigger();
    QCOMPARE(errors, QStringList{refusal});
    QCOMPARE(bytesOf(file), onDisk);
    QCOMPARE(QString::fromStdString(w->dataFile()), file);
    QVERIFY(!QFile::exists(dir->filePath(QStringLiteral("outra.vig"))));
}

void MainWindowTest::failedSaveKeepsTheName_data()
{
    QTest::addColumn<QString>("length");
    QTest::addColumn<QString>("saveAs");
    QTest::newRow("length 2,5") << "2,5"
                                << "outra.vig";
    QTest::newRow("a folder that cannot take the file") << "2.5"
                                                        << "no/such/folder/x.vig";
}

void MainWindowTest::failedSaveKeepsTheName()
{
    QFETCH(QString, length);
    QFETCH(QString, saveAs);
    enterTemporaryFolder();
    const QString file = dir->filePath(QStringLiteral("minha.vig"));
    dialogs->saveNames << file;
    action("Salvar1")->trigger();

    setCell(TableId::Spans, 1, 1, length);
    dialogs->saveNames << dir->filePath(saveAs);
    action("Salvar1")->trigger();
    // A cell the tables refuse stops Salvar before its dialog; a folder that
    // takes no file fails the write itself.
    QCOMPARE(errors.size() + dialogs->messages.size(), 1);
    dialogs->messages.clear();
    QCOMPARE(QString::fromStdString(w->dataFile()), file);
    QCOMPARE(w->windowTitle(), file);

    // The next calculation writes the user's file, not "Temp.dat".
    setCell(TableId::Spans, 1, 1, QStringLiteral("2.5"));
    action("Calcula1")->trigger();
    QCOMPARE(dialogs->messages, QStringList());
    QVERIFY(bytesOf(file).contains("2.5"));
    QVERIFY(!QFile::exists(dir->filePath(QStringLiteral("Temp.dat"))));

    action("SpeedButton1")->trigger();
    QCOMPARE(w->windowTitle(), QStringLiteral("Kalvoro"));
}

void MainWindowTest::saveWritesOnlyItsOwnBeamsDiagrams()
{
    enterTemporaryFolder();
    action("Calcula1")->trigger();
    dialogs->saveNames << dir->filePath(QStringLiteral("calculada.vig"));
    action("Salvar1")->trigger();
    QCOMPARE(renderRecording(readWmfFile(dir->filePath(QStringLiteral("calculadaM.wmf")).toStdString())),
             w->momentImage());

    // An edit that was not calculated: the solution on hand is another beam's.
    setCell(TableId::Loads, 1, 1, QStringLiteral("-7"));
    dialogs->saveNames << dir->filePath(QStringLiteral("editada.vig"));
    action("Salvar1")->trigger();
    action("SpeedButton7")->trigger();
    QCOMPARE(QDir(dir->path()).entryList({QStringLiteral("editada*")}, QDir::Files),
             QStringList{"editada.vig"});
    QCOMPARE(errors, QStringList());
}

void MainWindowTest::newClearsReportAndDiagrams()
{
    enterTemporaryFolder();
    typeCount(TableId::Spans, QStringLiteral("2"));
    action("SpeedButton4")->trigger();
    QVERIFY(!w->reportView()->toPlainText().isEmpty());
    QVERIFY(!allWhite(w->momentImage()));

    action("SpeedButton1")->trigger();
    QVERIFY(w->reportView()->toPlainText().isEmpty());
    QVERIFY(allWhite(w->momentImage()));
    QVERIFY(allWhite(w->shearImage()));
    QCOMPARE(w->momentImage().size(), QSize(501, 278));
    QCOMPARE(w->pages()->currentWidget(), w->page(Page::Trechos));
    QCOMPARE(w->grid(TableId::Spans)->rowCount(), 1);
    QCOMPARE(row(TableId::Spans, 1), (QStringList{"1", "1.00", "1", "1"}));
    QCOMPARE(dialogs->messages, QStringList());
}

void MainWindowTest::panAndZoomStayInRange()
{
    DiagramSettings& s = w->configuration().diagram;
    for (int i = 0; i < 11; ++i) action("SpeedButton9")->trigger();
    QCOMPARE(s.ZoomDesenho, 0.0);
    action("SpeedButton10")->trigger();
    QCOMPARE(s.ZoomDesenho, 10.0);
    for (int i = 0; i < 51; ++i) action("SpeedButton7")->trigger();
    QCOMPARE(s.DeslocamentoDesenho, -500);
    for (int i = 0; i < 101; ++i) action("SpeedButton8")->trigger();
    QCOMPARE(s.DeslocamentoDesenho, 500);
    action("SpeedButton1")->trigger();  // a new structure resets the view
    QCOMPARE(s.DeslocamentoDesenho, 0);
    QCOMPARE(s.ZoomDesenho, 100.0);
    QCOMPARE(errors, QStringList());
}

void MainWindowTest::aboutBox()
{
    AboutBox* about = w->aboutBox();
    QCOMPARE(about->windowTitle(), QStringLiteral("Sobre"));
    QStringList texts;
    for (QLabel* l : about->findChildren<QLabel*>()) texts << l->text();
    for (const char* t : {"Kalvoro (vigas)", "Versão Beta teste 020407", "Abril de 2002"})
        QVERIFY2(texts.contains(QString::fromUtf8(t)), t);
    QVERIFY(about->okButton()->isDefault());
    QCOMPARE(about->okButton()->text(), QStringLiteral("OK"));

    // Shown modally by "Sobre" and closed by its OK button.
    bool shown = false;
    QTimer::singleShot(0, about, [&] {
        shown = about->isVisible();
        about->okButton()->click();
    });
    action("Sobre1")->trigger();
    QVERIFY(shown);
    QVERIFY(!about->isVisible());
}

void MainWindowTest::errorsOutsideTheCommandsReachTheLastResortHandler()
{
    // Saving into a folder that does not exist: the command has no handler of
    // its own, the error's text is shown and the program goes on.
    dialogs->saveNames << dir->filePath(QStringLiteral("no/such/folder/x.vig"));
    action("Salvar1")->trigger();
    QCOMPARE(errors.size(), 1);
    QVERIFY(w->isVisible());

    // An error thrown out of any event handler lands in the same place.
    QTimer::singleShot(0, w, [] { throw IoError("falha de teste"); });
    QTest::qWait(20);
    QCOMPARE(errors.size(), 2);
    QCOMPARE(errors.last(), QStringLiteral("falha de teste"));
}

// A .vig beam given a second concentrated load cannot stay a .vig: Calculate
// says why and asks for a .vigx name, the .vig keeps its bytes, and the .vigx
// opens again with the extra load on its page.
void MainWindowTest::extraLoadsAreSavedAsVigxAndNeverAsVig()
{
    const QString vig = writeBeamFile(QStringLiteral("boa.vig"), QString::fromUtf8(GoodBeam));
    dialogs->openNames << vig;
    action("SpeedButton2")->trigger();
    const QByteArray before = bytesOf(vig);
    const ExtraLoadRow extra{"2", ExtraPoint, "-3", "", "0.5", ""};
    w->appendExtraRow(extra);

    const QString vigx = dir->filePath(QStringLiteral("boa.vigx"));
    dialogs->saveNames << vigx;
    dialogs->messages.clear();
    action("Calcula1")->trigger();
    QCOMPARE(dialogs->messages.size(), 1);
    QVERIFY(dialogs->messages.first().startsWith(QStringLiteral("Esta viga tem cargas")));
    QCOMPARE(dialogs->saveRequests.last().filter, QStringLiteral("Viga Kalvoro (*.vigx)"));
    QCOMPARE(QString::fromStdString(w->dataFile()), vigx);
    QCOMPARE(bytesOf(vig), before);
    for (const char* file : {"boa.vigx", "boa.sai", "boaM.wmf", "boaC.wmf"})
        QVERIFY2(QFile::exists(dir->filePath(QString::fromLatin1(file))), file);
    QCOMPARE(errors, QStringList());

    action("SpeedButton1")->trigger();
    QVERIFY(w->extraRows().empty());
    dialogs->openNames << vigx;
    action("SpeedButton2")->trigger();
    QCOMPARE(w->extraRows(), std::vector<ExtraLoadRow>{extra});
    QCOMPARE(row(TableId::Loads, 2).mid(1),
             (QStringList{QStringLiteral("0"), QStringLiteral("-4"), QStringLiteral("1")}));
}

// The example with a rotational spring, a settlement, two hinges and a
// vertical spring: opening it fills the supports' columns and calculates it
// on the supported road (the spring at node 5 carries 105), and Salvar
// writes every field back, an edited one included.
void MainWindowTest::supportedBeamIsCalculatedAndKeepsItsSupports()
{
    const QString file = dir->filePath(QStringLiteral("gerber.vigx"));
    QVERIFY(QFile::copy(QStringLiteral(KALVORO_EXAMPLES "/apoios-especiais.vigx"), file));
    QVERIFY(QFile::setPermissions(file, QFile::ReadOwner | QFile::WriteOwner));
    dialogs->messages.clear();
    dialogs->openNames << file;
    action("SpeedButton2")->trigger();
    QCOMPARE(dialogs->messages, QStringList());
    QCOMPARE(errors, QStringList());

    const auto cell = [&](int r, int c) { return w->grid(TableId::Supports)->item(r - 1, c)->text(); };
    QCOMPARE(cell(1, SpringRotationColumn), QStringLiteral("50000"));
    QCOMPARE(cell(2, SettlementVerticalColumn), QStringLiteral("-0.005"));
    QCOMPARE(cell(3, HingeColumn), QStringLiteral("sim"));
    QCOMPARE(cell(4, HingeColumn), QStringLiteral("sim"));
    QCOMPARE(cell(5, SpringVerticalColumn), QStringLiteral("20000"));
    QCOMPARE(cell(6, HingeColumn), QString());

    const QString report = w->reportView()->toPlainText();
    QVERIFY2(report.contains(QStringLiteral("   5   -0.00525000    0.00114167   105.0000     0.0000")),
             qPrintable(report));
    QCOMPARE(w->pages()->currentWidget(), w->page(Page::Saidas));
    for (const char* name : {"gerberM.wmf", "gerberC.wmf"})
        QVERIFY2(QFile::exists(dir->filePath(QString::fromLatin1(name))), name);
    QVERIFY(!w->momentRecording().ops.empty());

    ExtendedBeam expected = AbrirVigx(file.toStdString()).beam;
    expected.nodes[4].extra.springVertical = 25000.123456789012;
    setCell(TableId::Supports, 5, SpringVerticalColumn, QStringLiteral("25000.123456789012"));
    dialogs->saveNames << file;
    action("Salvar1")->trigger();
    QCOMPARE(dialogs->messages, QStringList());
    const ExtendedRead saved = AbrirVigx(file.toStdString());
    QCOMPARE(saved.status, 0);
    QVERIFY(saved.beam == expected);

    // Opened again and saved elsewhere: the cells kept every digit.
    dialogs->openNames << file;
    action("SpeedButton2")->trigger();
    const QString copy = dir->filePath(QStringLiteral("copia.vigx"));
    dialogs->saveNames << copy;
    action("Salvar1")->trigger();
    QCOMPARE(dialogs->messages, QStringList());
    QVERIFY(AbrirVigx(copy.toStdString()).beam == expected);
}


// A thousand equal spans of 5 m under 10 kN/m, every node pinned: far from
// the first support the beam is the semi-infinite one, whose end reaction is
// qL (1/2 - (3 - sqrt 3)/12) = 19.7169. Opened from a .vigx and typed in the
// tables alike, it is calculated on the supported road and drawn, pans, and
// is never written to a .vig; its influence lines come from its own solver. The
// times are printed, not checked.
void MainWindowTest::beamsOfAThousandSpansAreCalculatedAndPanned()
{
    const auto lastNode = [&](const char* reaction) {
        const QRegularExpression line(QStringLiteral("^1001 +0\\.00000000 +\\S+ +%1 +0\\.0000$")
                                          .arg(QString::fromLatin1(reaction)),
                                      QRegularExpression::MultilineOption);
        return line.match(w->reportView()->toPlainText()).hasMatch();
    };
    ExtendedBeam beam;
    beam.title = "mil trechos";
    beam.materials = {2e7};
    beam.sections = {0.004};
    for (std::size_t i = 0; i <= MaxExtendedSpans; ++i) beam.nodes.emplace_back(5.0 * static_cast<double>(i), 10);
    beam.spans.assign(MaxExtendedSpans, ExtendedSpan{1, 1, {{LoadKind::Uniform, -10, 0, 0, 0}}});
    const QString file = dir->filePath(QStringLiteral("mil.vigx"));
    SalvarVigx(file.toStdString(), beam);

    QElapsedTimer clock;
    clock.start();
    w->openFile(file);
    qInfo("open and calculate of 1000 spans: %lld ms", clock.restart());
    QCOMPARE(dialogs->messages, QStringList());
    QCOMPARE(errors, QStringList());
    QCOMPARE(w->grid(TableId::Supports)->rowCount(), 1001);
    QVERIFY2(lastNode("19\\.7169"), qPrintable(w->reportView()->toPlainText().right(300)));
    QVERIFY(!w->momentRecording().ops.empty());
    const QImage before = w->momentImage();
    w->pages()->setCurrentWidget(w->page(Page::Momentos));
    clock.restart();
    action("SpeedButton8")->trigger();
    qInfo("pan step: %lld ms", clock.restart());
    action("SpeedButton10")->trigger();
    qInfo("zoom step: %lld ms", clock.restart());
    QVERIFY(w->momentImage() != before);
    QCOMPARE(errors, QStringList());

    // Zoomed in as far as it goes, a span or two fill the page, and the page
    // and its metafile hold only what lies near it.
    for (int i = 0; i < 40; ++i) action("SpeedButton10")->trigger();
    QCOMPARE(errors, QStringList());
    QCOMPARE(dialogs->messages, QStringList());
    int spanNumbers = 0;
    for (const DrawOp& d : w->momentRecording().ops)
        if (const auto* t = std::get_if<op::Text>(&d))
            if (QRegularExpression(QStringLiteral("^[0-9]+$")).match(QString::fromStdString(t->text)).hasMatch())
                ++spanNumbers;
    QVERIFY2(spanNumbers >= 1 && spanNumbers <= 12, qPrintable(QString::number(spanNumbers)));
    const QFileInfo metafile(dir->filePath(QStringLiteral("milM.wmf")));
    QVERIFY2(metafile.exists() && metafile.size() < 20000, qPrintable(QString::number(metafile.size())));
    for (int i = 0; i < 40; ++i) action("SpeedButton9")->trigger();
    QCOMPARE(errors, QStringList());

    // The influence lines come from the supported road's own solver.
    dialogs->sections << QStringList{"1000", "2.5"};
    clock.restart();
    w->influenceWindow()->SpeedButton1Click();
    qInfo("influence lines of a section: %lld ms", clock.restart());
    QCOMPARE(dialogs->messages, QStringList());
    QVERIFY(w->influenceWindow()->RichEdit1()->toPlainText().contains(QStringLiteral("   1000     2.50")));

    // Typed: the default span stepped up to a thousand of 1.00 under -1.00.
    // Calcular asks for a .vigx name; Salvar refuses a .vig.
    action("SpeedButton1")->trigger();
    for (std::size_t i = 1; i < MaxExtendedSpans; ++i) w->tables().stepSpinner(TableId::Spans, 1);
    const QString typed = dir->filePath(QStringLiteral("digitada.vigx"));
    dialogs->saveNames << typed;
    clock.restart();
    action("Calcula1")->trigger();
    qInfo("calculate of 1000 typed spans: %lld ms", clock.restart());
    QCOMPARE(dialogs->messages.size(), 1);
    QVERIFY(dialogs->messages.takeFirst().startsWith(
        QStringLiteral("A viga tem 1000 trechos; o arquivo de dados admite no máximo 24.")));
    QCOMPARE(QString::fromStdString(w->dataFile()), typed);
    QVERIFY(lastNode("0\\.3943"));
    QCOMPARE(AbrirVigx(typed.toStdString()).beam.spans.size(), MaxExtendedSpans);
    dialogs->saveNames << dir->filePath(QStringLiteral("digitada.vig"));
    action("Salvar1")->trigger();
    QCOMPARE(errors, QStringList{QStringLiteral("A viga tem 1000 trechos; o arquivo de dados admite no máximo 24.")});
    QVERIFY(!QFile::exists(dir->filePath(QStringLiteral("digitada.vig"))));

    // Saved as a .vigx first, it is calculated without a question.
    errors.clear();
    action("SpeedButton1")->trigger();
    for (std::size_t i = 1; i < MaxExtendedSpans; ++i) w->tables().stepSpinner(TableId::Spans, 1);
    dialogs->saveNames << dir->filePath(QStringLiteral("salva.vigx"));
    action("Salvar1")->trigger();
    action("Calcula1")->trigger();
    QCOMPARE(dialogs->messages, QStringList());
    QCOMPARE(errors, QStringList());
    QVERIFY(QFile::exists(dir->filePath(QStringLiteral("salva.sai"))));
    QVERIFY(lastNode("0\\.3943"));

    // Zoomed past 200 %, then a data file's beam: it gets the start's view,
    // is calculated and drawn, its metafiles written.
    for (int i = 0; i < 40; ++i) action("SpeedButton10")->trigger();
    QVERIFY(w->configuration().diagram.ZoomDesenho > 200);
    const QString small = writeBeamFile(QStringLiteral("pequena.vig"), QString::fromUtf8(GoodBeam));
    w->openFile(small);
    QCOMPARE(dialogs->messages, QStringList());
    QCOMPARE(errors, QStringList());
    QCOMPARE(w->configuration().diagram.ZoomDesenho, 100.0);
    QCOMPARE(w->configuration().diagram.DeslocamentoDesenho, 0);
    QVERIFY(QFile::exists(dir->filePath(QStringLiteral("pequenaM.wmf"))));
}

}  // namespace kalvoro

int runMainWindowTests(int argc, char** argv)
{
    kalvoro::MainWindowTest t;
    return QTest::qExec(&t, argc, argv);
}

#include "main_window_test.moc"
