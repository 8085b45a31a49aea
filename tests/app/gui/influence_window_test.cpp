// The influence-line window and the section dialog, opened from the real main
// window on a simply supported span of length 10 (supports "10" and "10"),
// with the dialogs replaced by a recorder that types the sections.

#include <QAction>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStatusBar>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolBar>
#include <variant>

#include <QTableWidget>
#include "app/gui/application.h"
#include "app/gui/envelope_page.h"
#include "app/gui/influence_window.h"
#include "app/gui/main_window.h"
#include "app/gui/printing.h"
#include "app/gui/qt_canvas.h"
#include "app/gui/report_view.h"
#include "app/gui/section_dialog.h"
#include "app/gui/train_dialog.h"
#include "app/gui/user_dialogs.h"
#include "data/extended_beam.h"
#include "data/text_file.h"
#include "diagrams/wmf.h"
#include "fake_dialogs.h"
#include "influence/influence.h"
#include "pdf_tools.h"
#include "window_fixture.h"

namespace kalvoro {

class InfluenceWindowTest : public QObject, private WindowFixture {
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void windowsAndTheirControls();
    void openingClearsBothPagesAndShowsTheWindowModally();
    void computeFillsBothPagesAndWritesTheFiles();
    void closingTheSectionDialogByItsBoxStillComputes();
    void failuresShowTheirMessageAndTheWindowGoesOn_data();
    void failuresShowTheirMessageAndTheWindowGoesOn();
    void messageBoxesBreakLinesAtCarriageReturns();
    void saveWritesTheLinesWithCrLf();
    void printWritesOnePagePdfBesideTheBeam();
    void printWithoutDiagramFileOrName();
    void aLoadTrainFillsTheEnvelopeAndTheSectionResults();
    void aSupportedBeamHasItsLinesAndEnvelope();
    void aLongBeamsEnvelopeComesFromItsOwnThread();

private:
    void openSimpleSpan();
    QAction* action(const char* name) const;
    TLinhaInfluencia* window() const { return w->influenceWindow(); }

    QString beam;
};

namespace {

// Span of length 10 on two pinned supports, with its own uniform load.
const char* SimpleSpan =
    "vão simples\r\n"
    "COORDENADAS DOS NÓS =     2\r\n"
    "    1         0         0\r\n"
    "    2        10         0\r\n"
    "INCIDÊNCIAS DAS BARRAS =     1\r\n"
    "         1         1         2         1         1\r\n"
    "PROPRIEDADES ELÁSTICAS =     1\r\n"
    "         1                   1\r\n"
    "PROPRIEDADES SEÇÕES =     1\r\n"
    "         1                   1\r\n"
    "CONDIÇÕES DE CONTORNO =     2\r\n"
    "  1   10\r\n"
    "  2   10\r\n"
    "CARREGAMENTO =     1\r\n"
    "         1             -1              0              0\r\n";

bool allWhite(const QImage& img)
{
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            if (img.pixel(x, y) != qRgb(255, 255, 255)) return false;
    return true;
}

bool isBlue(QRgb c)
{
    return qBlue(c) > 160 && qRed(c) < 110 && qGreen(c) < 110;
}

QByteArray bytesOf(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

bool hasText(const Recording& page, const std::string& text)
{
    for (const DrawOp& op : page.ops)
        if (const auto* t = std::get_if<op::Text>(&op); t && t->text == text) return true;
    return false;
}

}  // namespace

void InfluenceWindowTest::init()
{
    openWindow(true);
    QVERIFY(dir->isValid());
    beam = dir->filePath(QStringLiteral("vao.vig"));
}

void InfluenceWindowTest::cleanup()
{
    closeWindow();
}

QAction* InfluenceWindowTest::action(const char* name) const
{
    auto* a = window()->findChild<QAction*>(QString::fromLatin1(name));
    if (!a) qFatal("no action %s", name);
    return a;
}

void InfluenceWindowTest::openSimpleSpan()
{
    writeTextFile(beam.toStdString(), SimpleSpan);
    dialogs->openNames << beam;
    w->Abrir2Click();
    QCOMPARE(dialogs->messages, QStringList());
    QVERIFY(QFile::exists(dir->filePath(QStringLiteral("vaoM.wmf"))));
}

// ---------------------------------------------------------------------------

void InfluenceWindowTest::windowsAndTheirControls()
{
    // Created once by the main window, after the about box and the configuration
    // dialog; the load train's dialog comes after all of them.
    QStringList order;
    for (QDialog* d : w->findChildren<QDialog*>(Qt::FindDirectChildrenOnly)) order << d->objectName();
    QCOMPARE(order, (QStringList{"AboutBox", "Form1", "LinhaInfluencia", "TremTipo"}));
    QCOMPARE(w->sectionDialog()->parent(), window());

    TLinhaInfluencia* li = window();
    QCOMPARE(li->windowTitle(), QStringLiteral("Linha de Influencia"));
    QVERIFY(li->minimumSize() == li->maximumSize());
    QVERIFY(li->width() >= 542 && li->height() >= 362);
    QCOMPARE(li->Image1()->size(), QSize(534, 288));
    QCOMPARE(li->image().size(), QSize(534, 288));

    QStringList hints;
    for (QAction* a : li->findChild<QToolBar*>()->actions()) {
        QCOMPARE(a->toolTip(), a->statusTip());
        QVERIFY(!a->icon().isNull());
        hints << a->toolTip();
    }
    QCOMPARE(hints, (QStringList{"Salvar", "Linha de Influência", "Imprimir"}));

    QCOMPARE(li->PageControl1()->count(), 2);
    QCOMPARE(li->PageControl1()->tabText(0), QStringLiteral("Resultados"));
    QCOMPARE(li->PageControl1()->tabText(1), QStringLiteral("Diagrama"));
    QCOMPARE(li->PageControl1()->currentIndex(), 1);

    QPlainTextEdit* report = li->RichEdit1();
    QCOMPARE(report->font().family(), QStringLiteral("Courier New"));
    QCOMPARE(report->font().pixelSize(), 11);
    QCOMPARE(report->lineWrapMode(), QPlainTextEdit::NoWrap);
    QCOMPARE(report->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
    QCOMPARE(report->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);

    QList<int> panels;
    for (QLabel* p : li->StatusBar1()->findChildren<QLabel*>()) {
        panels << p->width();
        QVERIFY(p->text().isEmpty());
    }
    QCOMPARE(panels, (QList<int>{250, 150}));

    // The tool bar's hints reach the main window's hint panel.
    QAction* compute = action("SpeedButton1");
    compute->showStatusText(li->findChild<QToolBar*>()->widgetForAction(compute));
    QCOMPARE(w->hintPanel()->text(), QStringLiteral("Linha de Influência"));

    TEntradaSecao* s = w->sectionDialog();
    QCOMPARE(s->windowTitle(), QStringLiteral("Entrada da Seção"));
    QStringList labels;
    for (QLabel* l : s->findChildren<QLabel*>()) labels << l->text();
    QCOMPARE(labels, (QStringList{"Entre com a seção a ser estudada", "Trecho:", "Posição:"}));
    QCOMPARE(s->TrechoEdit()->text(), QStringLiteral("1"));
    QCOMPARE(s->PosEdit()->text(), QStringLiteral("1"));
    QCOMPARE(s->Button1()->text(), QStringLiteral("Ok"));
    QCOMPARE(s->findChildren<QPushButton*>().size(), 1);  // no way to cancel
}

void InfluenceWindowTest::openingClearsBothPagesAndShowsTheWindowModally()
{
    openSimpleSpan();
    dialogs->sections << QStringList{"1", "5"};
    window()->SpeedButton1Click();
    QVERIFY(!allWhite(window()->image()));
    QVERIFY(!window()->RichEdit1()->toPlainText().isEmpty());
    window()->PageControl1()->setCurrentIndex(0);

    bool modal = false, white = false, empty = false;
    int page = -1;
    QTimer::singleShot(0, window(), [&] {
        modal = window()->isVisible() && QApplication::activeModalWidget() == window();
        white = allWhite(window()->image()) && window()->drawing().ops.empty();
        empty = window()->RichEdit1()->toPlainText().isEmpty();
        page = window()->PageControl1()->currentIndex();
        window()->close();
    });
    w->findChild<QAction*>(QStringLiteral("SpeedButton12"))->trigger();
    QVERIFY(modal);
    QVERIFY(white);
    QVERIFY(empty);
    QCOMPARE(page, 0);  // the page last shown stays the active one
    QVERIFY(!window()->isVisible());
}

void InfluenceWindowTest::computeFillsBothPagesAndWritesTheFiles()
{
    openSimpleSpan();
    const QImage userMoments = w->momentImage();
    dialogs->sections << QStringList{"1", "5"};
    action("SpeedButton1")->trigger();
    QCOMPARE(dialogs->sectionRequests, 1);
    QCOMPARE(dialogs->messages, QStringList());
    QCOMPARE(errors, QStringList());

    // The report as written by hand from statics, on disk and on the page.
    const QByteArray expected =
        bytesOf(QStringLiteral(KALVORO_TEST_DATA "/influence/vao-simples-secao-5LIM.sai"));
    QVERIFY(!expected.isEmpty());
    QCOMPARE(bytesOf(dir->filePath(QStringLiteral("vaoLIM.sai"))), expected);
    QString shown = QString::fromStdString(cp1252ToUtf8(expected.toStdString()));
    shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    QCOMPARE(window()->RichEdit1()->toPlainText(), shown);
    QCOMPARE(reportLines(*window()->RichEdit1()).size(), 14);

    // The picture is the page saved as the metafile, with its title and the
    // peak of the line (2.5 at mid-span) 96 pixels below the axis.
    const QString wmf = dir->filePath(QStringLiteral("vaoLIM.wmf"));
    QVERIFY(QFile::exists(wmf));
    QCOMPARE(readWmfFile(wmf.toStdString()), window()->drawing());
    QCOMPARE(renderRecording(window()->drawing()), window()->image());
    QVERIFY(hasText(window()->drawing(), "Linha de Influência (trecho:1 seção:5)"));
    QVERIFY(isBlue(window()->image().pixel(229, 240)));
    QCOMPARE(window()->PageControl1()->currentIndex(), 1);

    // The main window's model holds the user's beam again: a redraw shows it.
    w->redraw();
    QCOMPARE(w->momentImage(), userMoments);
}

void InfluenceWindowTest::closingTheSectionDialogByItsBoxStillComputes()
{
    openSimpleSpan();
    int result = -1;
    dialogs->sectionHandler = [&](QDialog& d) {
        QTimer::singleShot(0, &d, [&d] {
            auto* s = static_cast<TEntradaSecao*>(&d);
            s->TrechoEdit()->setText(QStringLiteral("1"));
            s->PosEdit()->setText(QStringLiteral("2.5"));
            d.close();  // what the close box does
        });
        result = d.exec();
    };
    action("SpeedButton1")->trigger();
    QCOMPARE(result, static_cast<int>(QDialog::Rejected));
    QCOMPARE(dialogs->messages, QStringList());
    QVERIFY(
        window()->RichEdit1()->toPlainText().contains(QStringLiteral("para a seção à 2.500 m do trecho 1")));
    QVERIFY(hasText(window()->drawing(), "Linha de Influência (trecho:1 seção:2.5)"));

    // The fields keep their texts for the next use.
    dialogs->sectionHandler = nullptr;
    action("SpeedButton1")->trigger();
    QCOMPARE(w->sectionDialog()->PosEdit()->text(), QStringLiteral("2.5"));
    QVERIFY(window()->RichEdit1()->toPlainText().contains(QStringLiteral("2.500 m")));
}

void InfluenceWindowTest::failuresShowTheirMessageAndTheWindowGoesOn_data()
{
    QTest::addColumn<QString>("trecho");
    QTest::addColumn<QString>("posicao");
    QTest::addColumn<bool>("reportShown");
    // A pinned end: every load gives a zero moment there, so the line has no scale.
    QTest::newRow("moment zero everywhere") << "1"
                                            << "0" << true;
    QTest::newRow("span not a number") << "um"
                                       << "5" << false;
    QTest::newRow("position with a comma") << "1"
                                           << "2,5" << false;
    QTest::newRow("no such span") << "2"
                                  << "5" << false;
    QTest::newRow("span zero") << "0"
                               << "5" << false;
}

void InfluenceWindowTest::failuresShowTheirMessageAndTheWindowGoesOn()
{
    QFETCH(QString, trecho);
    QFETCH(QString, posicao);
    QFETCH(bool, reportShown);
    openSimpleSpan();
    dialogs->sections << QStringList{trecho, posicao};
    action("SpeedButton1")->trigger();
    QCOMPARE(dialogs->messages, QStringList{QString::fromUtf8(InfluenceFailureMessage)});
    QCOMPARE(errors, QStringList());
    QVERIFY(allWhite(window()->image()));
    QCOMPARE(!window()->RichEdit1()->toPlainText().isEmpty(), reportShown);
    QVERIFY(!QFile::exists(dir->filePath(QStringLiteral("vaoLIM.wmf"))));

    // A good section afterwards works as if nothing had happened.
    dialogs->messages.clear();
    dialogs->sections << QStringList{"1", "5"};
    action("SpeedButton1")->trigger();
    QCOMPARE(dialogs->messages, QStringList());
    QVERIFY(isBlue(window()->image().pixel(229, 240)));
    QVERIFY(QFile::exists(dir->filePath(QStringLiteral("vaoLIM.wmf"))));
}

void InfluenceWindowTest::messageBoxesBreakLinesAtCarriageReturns()
{
    QtUserDialogs real(w);
    QString shown;
    QTimer::singleShot(0, w, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box) return;
        shown = box->text();
        box->accept();
    });
    real.showMessage(QString::fromUtf8(InfluenceFailureMessage));
    QCOMPARE(shown,
             QStringLiteral("Linha de Influência não calculada.\nVerifique seu dados e tente novamente."));
}

void InfluenceWindowTest::saveWritesTheLinesWithCrLf()
{
    // An empty page gives an empty file, replacing what was there.
    const QString empty = dir->filePath(QStringLiteral("vazio.sai"));
    writeTextFile(empty.toStdString(), "antigo\r\n");
    dialogs->saveNames << empty;
    action("SpeedButton2")->trigger();
    QCOMPARE(dialogs->saveRequests.size(), 1);
    QCOMPARE(dialogs->saveRequests.first().defaultSuffix, QStringLiteral("sai"));
    QVERIFY(QFile::exists(empty));
    QCOMPARE(bytesOf(empty), QByteArray());

    // The report comes back byte for byte, in Windows-1252 with CR LF; a line
    // typed on the page is saved like the others.
    openSimpleSpan();
    dialogs->sections << QStringList{"1", "5"};
    action("SpeedButton1")->trigger();
    const QString copy = dir->filePath(QStringLiteral("copia.sai"));
    dialogs->saveNames << copy;
    action("SpeedButton2")->trigger();
    QCOMPARE(bytesOf(copy), bytesOf(dir->filePath(QStringLiteral("vaoLIM.sai"))));

    window()->RichEdit1()->setPlainText(QStringLiteral("Seção à direita\nsem quebra no fim"));
    dialogs->saveNames << copy;
    action("SpeedButton2")->trigger();
    QCOMPARE(bytesOf(copy), QByteArray("Se\xe7\xe3o \xe0 direita\r\nsem quebra no fim\r\n"));

    // Cancelling writes nothing.
    const int files = QDir(dir->path()).entryList(QDir::Files).size();
    action("SpeedButton2")->trigger();
    QCOMPARE(QDir(dir->path()).entryList(QDir::Files).size(), files);
    QCOMPARE(errors, QStringList());
}

void InfluenceWindowTest::printWritesOnePagePdfBesideTheBeam()
{
    openSimpleSpan();
    dialogs->sections << QStringList{"1", "5"};
    action("SpeedButton1")->trigger();
    const QStringList lines = reportLines(*window()->RichEdit1());
    printWithUsualUmask(action("SpeedButton3"));
    QCOMPARE(dialogs->messages, QStringList());
    const QString pdfFile = dir->filePath(QStringLiteral("vaoLIM.pdf"));
    QVERIFY(QFile::exists(pdfFile));
    expectPdfNotice(pdfFile);

    QString error;
    const int pages = pdf::pageCount(pdfFile, error);
    QVERIFY2(error.isEmpty(), qPrintable(error));
    QCOMPARE(pages, 1);
    const QStringList text = pdf::textLines(pdfFile, error);
    QVERIFY2(error.isEmpty(), qPrintable(error));
    // Every report line in its order, below whatever text the diagram has
    // (the reader's layout may change the runs of blanks between words).
    qsizetype at = 0;
    for (const QString& line : lines) {
        while (at < text.size() && text.at(at).simplified() != line.simplified()) ++at;
        QVERIFY2(at < text.size(), qPrintable(QStringLiteral("missing or out of order: ") + line));
        ++at;
    }
    // Lines 33 printer pixels apart (3 x 11), the first at 1200 + 3 x 13.
    const QList<double> tops = pdf::lineTops(pdfFile, error);
    QVERIFY2(error.isEmpty(), qPrintable(error));
    QVERIFY(tops.size() >= lines.size());
    const double pointsPerPixel = 72.0 / PrintResolution;
    const QList<double> reportTops = tops.mid(tops.size() - lines.size());
    QVERIFY(qAbs(reportTops.first() - 1239 * pointsPerPixel) < 3.0);
    for (qsizetype i = 1; i < reportTops.size(); ++i)
        QVERIFY(qAbs(reportTops.at(i) - reportTops.at(i - 1) - 33 * pointsPerPixel) < 0.2);

    // The line itself inside (400, 80)-(2100, 680), nothing blue elsewhere.
    const QImage page = pdf::render(pdfFile, PrintResolution, error);
    QVERIFY2(error.isEmpty(), qPrintable(error));
    int inside = 0, outside = 0;
    for (int y = 0; y < page.height(); ++y)
        for (int x = 0; x < page.width(); ++x)
            if (isBlue(page.pixel(x, y))) ++(UpperDiagramRect.contains(x, y) ? inside : outside);
    QVERIFY(inside > 1000);
    QCOMPARE(outside, 0);
}

void InfluenceWindowTest::printWithoutDiagramFileOrName()
{
    // A beam never saved: nothing at all.
    action("SpeedButton3")->trigger();
    QCOMPARE(dialogs->messages, QStringList());
    QCOMPARE(w->hintPanel()->text(), QString());

    // A named beam whose influence line was never drawn.
    openSimpleSpan();
    action("SpeedButton3")->trigger();
    QCOMPARE(dialogs->messages, QStringList{QString::fromUtf8(DrawingsNotCreated)});
    QVERIFY(!QFile::exists(dir->filePath(QStringLiteral("vaoLIM.pdf"))));
    QCOMPARE(errors, QStringList());
}

// Two axles of 10 at 2 apart on the simple span: the section at 4.5 gets the
// classic 40.5; the envelope fills its tab and files, and prints on its own.
void InfluenceWindowTest::aLoadTrainFillsTheEnvelopeAndTheSectionResults()
{
    openSimpleSpan();
    int tries = 0;
    dialogs->dialogHandler = [&](QDialog& d) {
        auto& t = dynamic_cast<TremDialog&>(d);
        t.titleEdit()->setText(QStringLiteral("dois eixos"));
        t.uniformEdit()->setText(QStringLiteral("0"));
        t.addAxle();
        t.axleTable()->item(1, 0)->setText(QStringLiteral("-10"));
        t.axleTable()->item(0, 0)->setText(QStringLiteral("10"));
        t.accept();  // refused: a load must be positive
        ++tries;
        QVERIFY(t.isVisible() || t.result() != QDialog::Accepted);
        t.axleTable()->item(1, 0)->setText(QStringLiteral("10"));
        t.axleTable()->item(1, 1)->setText(QStringLiteral("2"));
        t.accept();
    };
    w->findChild<QAction*>(QStringLiteral("TremTipo1"))->trigger();
    QCOMPARE(tries, 1);
    QCOMPARE(dialogs->messages, QStringList{QString::fromStdString(
                                    "Trem-tipo, linha 5: " + TrainMessages()[train_status::BadAxleLine])});
    QVERIFY(w->envelopePage().train().has_value());
    dialogs->messages.clear();

    w->Calcula1Click();
    QCOMPARE(dialogs->messages, QStringList());
    QVERIFY(w->envelopePage().hasEnvelope());
    const QString env = dir->filePath(QStringLiteral("vaoENV.wmf"));
    QCOMPARE(readWmfFile(env.toStdString()), w->envelopePage().recording());
    QVERIFY(bytesOf(dir->filePath(QStringLiteral("vaoENV.sai"))).startsWith("Envolt"));
    w->pages()->setCurrentWidget(w->page(Page::Envoltoria));
    w->findChild<QAction*>(QStringLiteral("SpeedButton11"))->trigger();
    QString error;
    QCOMPARE(pdf::pageCount(dir->filePath(QStringLiteral("vaoENV.pdf")), error), 1);

    dialogs->sections << QStringList{"1", "4.5"};
    action("SpeedButton1")->trigger();
    QCOMPARE(dialogs->messages, QStringList());
    const QString text = window()->RichEdit1()->toPlainText();
    QVERIFY2(text.contains(QStringLiteral("Momento máximo         40.5000      4.500 ->")), qPrintable(text));
    QVERIFY(QFile::exists(dir->filePath(QStringLiteral("vaoTREM.sai"))));
    // The metafile is the influence line alone; the axles are drawn on screen only.
    QCOMPARE(readWmfFile(dir->filePath(QStringLiteral("vaoLIM.wmf")).toStdString()), window()->drawing());
    QVERIFY(renderRecording(window()->drawing()) != window()->image());
}

// The example with springs, a settlement and two hinges, on the supported
// road: the envelope follows its calculation, and the window computes the
// suspended span's lines (1 under the unit load at its middle) and the
// train's extremes there (see the batch's test for the figures).
void InfluenceWindowTest::aSupportedBeamHasItsLinesAndEnvelope()
{
    const QString file = dir->filePath(QStringLiteral("gerber.vigx"));
    QVERIFY(QFile::copy(QStringLiteral(KALVORO_EXAMPLES "/apoios-especiais.vigx"), file));
    QVERIFY(QFile::setPermissions(file, QFile::ReadOwner | QFile::WriteOwner));
    w->loadTrain(QStringLiteral(KALVORO_EXAMPLES "/tb450-simplificado.trem"));
    dialogs->openNames << file;
    w->Abrir2Click();
    QCOMPARE(dialogs->messages, QStringList());
    QVERIFY(w->envelopePage().hasEnvelope());
    QCOMPARE(readWmfFile(dir->filePath(QStringLiteral("gerberENV.wmf")).toStdString()),
             w->envelopePage().recording());

    dialogs->sections << QStringList{"3", "2"};
    action("SpeedButton1")->trigger();
    QCOMPARE(dialogs->messages, QStringList());
    const QString text = window()->RichEdit1()->toPlainText();
    for (const char* line : {"      3     2.00      0.500000     -0.500000      1.000000",
                             "Momento máximo        235.0000      8.000 ->      289.0000"})
        QVERIFY2(text.contains(QString::fromUtf8(line)), qPrintable(text));
    QCOMPARE(readWmfFile(dir->filePath(QStringLiteral("gerberLIM.wmf")).toStdString()), window()->drawing());
}

// Beyond 24 spans the envelope is worked out on a thread of its own: the
// calculation ends first, the tab says it is coming, and the envelope is
// shown and saved when it is ready, under the beam's name of then; a new
// calculation or read before then drops the run.
void InfluenceWindowTest::aLongBeamsEnvelopeComesFromItsOwnThread()
{
    ExtendedBeam beam;
    beam.title = "trinta trechos";
    beam.materials = {2.5e7};
    beam.sections = {0.0054};
    for (int i = 0; i <= 30; ++i) beam.nodes.emplace_back(5.0 * i, 10);
    beam.nodes[15].extra.hinge = true;
    beam.nodes[15].support = 0;
    beam.spans.assign(30, ExtendedSpan{1, 1, {{LoadKind::Uniform, -12, 0, 0, 0}}});
    const QString file = dir->filePath(QStringLiteral("trinta.vigx"));
    SalvarVigx(file.toStdString(), beam);
    w->loadTrain(QStringLiteral(KALVORO_EXAMPLES "/tb450-simplificado.trem"));
    dialogs->openNames << file;
    w->Abrir2Click();
    dialogs->openNames << file;
    w->Abrir2Click();
    QCOMPARE(dialogs->messages, QStringList());
    QVERIFY(w->envelopePage().calculating());
    QVERIFY(!w->envelopePage().hasEnvelope());
    QTRY_VERIFY_WITH_TIMEOUT(w->envelopePage().hasEnvelope(), 60000);
    QCOMPARE(dialogs->messages, QStringList());
    QVERIFY(!w->envelopePage().calculating());
    QCOMPARE(readWmfFile(dir->filePath(QStringLiteral("trintaENV.wmf")).toStdString()),
             w->envelopePage().recording());
    const std::string report = readFileBytes(dir->filePath(QStringLiteral("trintaENV.sai")).toStdString());
    QVERIFY(report.find("   30 ") != std::string::npos);

    // A read of the data drops a run under way.
    dialogs->openNames << file;
    w->Abrir2Click();
    QVERIFY(w->envelopePage().calculating());
    w->analisadados1Click();
    QVERIFY(!w->envelopePage().calculating());
    QVERIFY(!w->envelopePage().hasEnvelope());
    dialogs->messages.clear();

    // Saved under a new name while it runs: both of its files take that name.
    dialogs->openNames << file;
    w->Abrir2Click();
    dialogs->saveNames << dir->filePath(QStringLiteral("outra.vigx"));
    w->Salvar1Click();
    QTRY_VERIFY_WITH_TIMEOUT(w->envelopePage().hasEnvelope(), 60000);
    QCOMPARE(dialogs->messages, QStringList());
    for (const char* f : {"outraENV.sai", "outraENV.wmf"})
        QVERIFY2(QFile::exists(dir->filePath(QString::fromLatin1(f))), f);
}

}  // namespace kalvoro

int runInfluenceWindowTests(int argc, char** argv)
{
    kalvoro::InfluenceWindowTest t;
    return QTest::qExec(&t, argc, argv);
}

#include "influence_window_test.moc"
