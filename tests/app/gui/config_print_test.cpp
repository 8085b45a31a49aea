// The configuration dialog, the pan and zoom buttons and printing from the
// main window, with the dialogs replaced by a recorder. Printed pages go to a
// PDF (forced even where a printer exists) read back with poppler-utils.

#include <QAction>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <variant>

#include "app/gui/application.h"
#include "app/gui/config_dialog.h"
#include "app/gui/main_window.h"
#include "app/gui/printing.h"
#include "app/gui/qt_canvas.h"
#include "app/gui/report_view.h"
#include "data/text_file.h"
#include "diagrams/wmf.h"
#include "fake_dialogs.h"
#include "app/gui/influence_window.h"
#include "pdf_tools.h"
#include "window_fixture.h"

namespace kalvoro {

class ConfigPrintTest : public QObject, private WindowFixture {
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void configurationDialogStartsWithItsValues();
    void optionsTakeEffectOnTheNextDrawing();
    void titleIsTheDataFilesFirstLine();
    void viewButtonsRedrawWithoutRecalculating_data();
    void viewButtonsRedrawWithoutRecalculating();
    void printPagePutsPicturesAndLinesInPlace();
    void printWritesOnePagePdfWithDiagramsAndReport();
    void printFromTheDeflectionTabPrintsItsOwnPage();
    void printDoesNothingForAnUnnamedBeam();
    void printFailuresShowOneMessage();

private:
    void openBeam();
    using WindowFixture::action;
    // Runs the configuration dialog from its button; while it is open, edit
    // changes it and then it closes by "Ok" or by its close box.
    void configure(const std::function<void(TForm1&)>& edit, bool byOk);

    QString beam;
};

namespace {

// Two spans (4 and 6) pinned at their three nodes, a uniform load on the
// first and a point load on the second.
const char* TwoSpans =
    "duas vigas\r\n"
    "COORDENADAS DOS NÓS =     3\r\n"
    "    1         0         0\r\n"
    "    2         4         0\r\n"
    "    3        10         0\r\n"
    "INCIDÊNCIAS DAS BARRAS =     2\r\n"
    "         1         1         2         1         1\r\n"
    "         2         2         3         1         1\r\n"
    "PROPRIEDADES ELÁSTICAS =     1\r\n"
    "         1                   1\r\n"
    "PROPRIEDADES SEÇÕES =     1\r\n"
    "         1                   1\r\n"
    "CONDIÇÕES DE CONTORNO =     3\r\n"
    "  1   10\r\n"
    "  2   10\r\n"
    "  3   10\r\n"
    "CARREGAMENTO =     2\r\n"
    "         1           -3.5              0              0\r\n"
    "         2              0             -5              3\r\n";

bool isBlue(QRgb c)
{
    return qBlue(c) > 160 && qRed(c) < 110 && qGreen(c) < 110;
}

bool isDark(QRgb c)
{
    return qGray(c) < 128;
}

QByteArray bytesOf(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

int count(const Recording& page, const std::function<bool(const DrawOp&)>& match)
{
    int n = 0;
    for (const DrawOp& op : page.ops) n += match(op) ? 1 : 0;
    return n;
}

int texts(const Recording& page, const std::string& text)
{
    return count(page, [&](const DrawOp& op) {
        const auto* t = std::get_if<op::Text>(&op);
        return t && t->text == text;
    });
}

// The loads are the page's only black strokes.
int blackPens(const Recording& page)
{
    return count(page, [](const DrawOp& op) {
        const auto* p = std::get_if<op::Pen>(&op);
        return p && p->color == colors::Black;
    });
}

int fonts(const Recording& page, int height)
{
    return count(page, [&](const DrawOp& op) {
        const auto* f = std::get_if<op::Font>(&op);
        return f && f->height == height;
    });
}

}  // namespace

void ConfigPrintTest::init()
{
    openWindow(true);
    QVERIFY(dir->isValid());
    beam = dir->filePath(QStringLiteral("duas.vig"));
}

void ConfigPrintTest::cleanup()
{
    closeWindow();
}

void ConfigPrintTest::openBeam()
{
    writeTextFile(beam.toStdString(), TwoSpans);
    dialogs->openNames << beam;
    action("Abrir2")->trigger();
    QCOMPARE(dialogs->messages, QStringList());
    QVERIFY(QFile::exists(dir->filePath(QStringLiteral("duasM.wmf"))));
}

void ConfigPrintTest::configure(const std::function<void(TForm1&)>& edit, bool byOk)
{
    TForm1* form = w->configDialog();
    bool open = false;
    QTimer::singleShot(0, form, [&] {
        open = QApplication::activeModalWidget() == form;
        edit(*form);
        if (byOk)
            QTest::mouseClick(form->okButton(), Qt::LeftButton);
        else
            form->close();
    });
    action("SpeedButton6")->trigger();
    QVERIFY(open);
    QVERIFY(!form->isVisible());
}

// ---------------------------------------------------------------------------

void ConfigPrintTest::configurationDialogStartsWithItsValues()
{
    TForm1* f = w->configDialog();
    QCOMPARE(f->windowTitle(), QStringLiteral("Configuração"));
    QCOMPARE(f->size(), QSize(374, 276));
    QVERIFY(f->minimumSize() == f->maximumSize());
    QCOMPARE(f->Edit1()->text(), QStringLiteral("digite aqui um título para a sua estrutura..."));

    QLabel* titleLabel = nullptr;
    QStringList labels;
    for (QLabel* l : f->findChildren<QLabel*>()) {
        labels << l->text();
        if (l->text() == QStringLiteral("Título:")) titleLabel = l;
    }
    QVERIFY(titleLabel && titleLabel->font().bold());
    QCOMPARE(labels.count(QStringLiteral("Fonte:")), 2);

    struct Option {
        QCheckBox* check;
        const char* text;
        QSpinBox* spin;
        int value;
    };
    for (const Option& o : {Option{f->CheckBox1(), "Número dos trechos", f->UpDown7(), 15},
                            Option{f->CheckBox2(), "Desenha o carregamento", f->UpDown1(), 20}}) {
        QCOMPARE(o.check->text(), QString::fromUtf8(o.text));
        QVERIFY(o.check->isChecked());
        QCOMPARE(o.spin->value(), o.value);
        QCOMPARE(o.spin->minimum(), 2);
        QCOMPARE(o.spin->maximum(), 100);
    }
    QCOMPARE(f->okButton()->text(), QStringLiteral("Ok"));
}

void ConfigPrintTest::optionsTakeEffectOnTheNextDrawing()
{
    openBeam();
    for (const Recording* page : {&w->momentRecording(), &w->shearRecording()}) {
        QCOMPARE(texts(*page, "1"), 1);
        QCOMPARE(texts(*page, "2"), 1);
        QVERIFY(blackPens(*page) > 0);
        QVERIFY(fonts(*page, 15) > 0 && fonts(*page, 20) > 0);
    }

    // Both unticked, closed by "Ok": no span numbers and no load arrows.
    configure(
        [](TForm1& f) {
            f.CheckBox1()->click();
            f.CheckBox2()->click();
        },
        true);
    for (const Recording* page : {&w->momentRecording(), &w->shearRecording()}) {
        QCOMPARE(texts(*page, "1"), 0);
        QCOMPARE(texts(*page, "2"), 0);
        QCOMPARE(blackPens(*page), 0);
    }
    QCOMPARE(renderRecording(readWmfFile(dir->filePath(QStringLiteral("duasM.wmf")).toStdString())),
             w->momentImage());

    // Ticked again with other font heights, closed by its box.
    configure(
        [](TForm1& f) {
            f.CheckBox1()->click();
            f.CheckBox2()->click();
            f.UpDown7()->setValue(31);
            f.UpDown1()->setValue(9);
        },
        false);
    for (const Recording* page : {&w->momentRecording(), &w->shearRecording()}) {
        QCOMPARE(texts(*page, "2"), 1);
        QVERIFY(blackPens(*page) > 0);
        QVERIFY(fonts(*page, 31) > 0 && fonts(*page, 9) > 0);
        QCOMPARE(fonts(*page, 15) + fonts(*page, 20), 0);
    }

    // The influence line reads the same dialog.
    configure([](TForm1& f) { f.CheckBox1()->click(); }, true);
    dialogs->sections << QStringList{"2", "3"};
    w->influenceWindow()->SpeedButton1Click();
    QCOMPARE(dialogs->messages, QStringList());
    QCOMPARE(texts(w->influenceWindow()->drawing(), "2"), 0);
    QVERIFY(fonts(w->influenceWindow()->drawing(), 31) > 0);
    QCOMPARE(errors, QStringList());
}

void ConfigPrintTest::titleIsTheDataFilesFirstLine()
{
    configure(
        [](TForm1& f) {
            f.Edit1()->selectAll();
            QTest::keyClicks(f.Edit1(), QStringLiteral("Ponte sobre o rio A"));
            f.Edit1()->insert(QStringLiteral("çu"));  // beyond what the key simulation can type
        },
        false);
    const QString saved = dir->filePath(QStringLiteral("ponte.vig"));
    dialogs->saveNames << saved;
    action("Salvar1")->trigger();
    QVERIFY(bytesOf(saved).startsWith("Ponte sobre o rio A\xe7u\r\nCOORDENADAS"));

    // A failed read leaves the field as it was: only a good read sets it.
    QString bad = QString::fromUtf8(TwoSpans);
    bad.replace(QStringLiteral("duas vigas"), QStringLiteral("viga ruim"))
        .replace(QStringLiteral("CARREGAMENTO =     2"), QStringLiteral("CARREGAMENTO =     x"));
    writeTextFile(beam.toStdString(), bad.toStdString());
    dialogs->openNames << beam;
    action("Abrir2")->trigger();
    QCOMPARE(dialogs->messages.size(), 1);
    QCOMPARE(w->configDialog()->Edit1()->text(), QStringLiteral("Ponte sobre o rio Açu"));

    // And the next file written carries the user's title, not the failed file's.
    dialogs->saveNames << saved;
    action("Salvar1")->trigger();
    QVERIFY(bytesOf(saved).startsWith("Ponte sobre o rio A\xe7u\r\n"));

    // A title far longer than a line edit holds by default comes back whole.
    const QString longTitle(100000, QLatin1Char('t'));
    writeTextFile(beam.toStdString(),
                  QString::fromUtf8(TwoSpans).replace(QStringLiteral("duas vigas"), longTitle).toStdString());
    dialogs->openNames << beam;
    action("Abrir2")->trigger();
    QCOMPARE(QString::fromStdString(w->configDialog()->title()), longTitle);
    QVERIFY(bytesOf(beam).startsWith(longTitle.toLatin1() + "\r\nCOORDENADAS"));
}

void ConfigPrintTest::viewButtonsRedrawWithoutRecalculating_data()
{
    QTest::addColumn<QString>("button");
    QTest::addColumn<int>("clicks");  // the last one is past the limit
    QTest::addColumn<int>("pan");
    QTest::addColumn<double>("zoom");
    QTest::newRow("menos zoom down to 0") << "SpeedButton9" << 11 << 0 << 0.0;
    QTest::newRow("mais zoom up to 200") << "SpeedButton10" << 11 << 0 << 200.0;
    QTest::newRow("pan left down to -500") << "SpeedButton7" << 51 << -500 << 100.0;
    QTest::newRow("pan right up to 500") << "SpeedButton8" << 51 << 500 << 100.0;
}

void ConfigPrintTest::viewButtonsRedrawWithoutRecalculating()
{
    QFETCH(QString, button);
    QFETCH(int, clicks);
    QFETCH(int, pan);
    QFETCH(double, zoom);
    openBeam();
    // Without a recalculation the report is not written again.
    const QString report = dir->filePath(QStringLiteral("duas.sai"));
    QVERIFY(QFile::remove(report));
    QAction* a = action(button.toLatin1().constData());
    for (int i = 1; i < clicks; ++i) {
        const Recording before = w->momentRecording();
        a->trigger();
        QVERIFY2(w->momentRecording() != before,
                 qPrintable(QStringLiteral("click %1 did not redraw").arg(i)));
    }
    const Recording atLimit = w->momentRecording();
    const QByteArray metafile = bytesOf(dir->filePath(QStringLiteral("duasM.wmf")));
    a->trigger();
    QCOMPARE(w->momentRecording(), atLimit);
    QCOMPARE(bytesOf(dir->filePath(QStringLiteral("duasM.wmf"))), metafile);
    QCOMPARE(w->configuration().diagram.DeslocamentoDesenho, pan);
    QCOMPARE(w->configuration().diagram.ZoomDesenho, zoom);
    QCOMPARE(readWmfFile(dir->filePath(QStringLiteral("duasC.wmf")).toStdString()), w->shearRecording());
    QCOMPARE(readWmfFile(dir->filePath(QStringLiteral("duasD.wmf")).toStdString()), w->deflectionRecording());
    QVERIFY(!QFile::exists(report));
    QCOMPARE(errors, QStringList());
}

void ConfigPrintTest::printPagePutsPicturesAndLinesInPlace()
{
    // A red page stretched into the upper rectangle and a blue one into the
    // lower; ten lines of "MMMM" with h = -12 start 1227, 1263, ...
    RecordingCanvas red(10, 5), blue(40, 20);
    red.fillRect(0, 0, 11, 6, colors::Red);
    blue.fillRect(0, 0, 41, 21, colors::Blue);
    PrintPage page;
    page.pictures = {{red.recording(), UpperDiagramRect}, {blue.recording(), LowerDiagramRect}};
    for (int i = 0; i < 10; ++i) page.lines << QStringLiteral("MMMM");
    page.h = -12;

    QImage img(2300, 1700, QImage::Format_RGB32);
    const int dotsPerMeter = qRound(PrintResolution / 0.0254);
    img.setDotsPerMeterX(dotsPerMeter);
    img.setDotsPerMeterY(dotsPerMeter);
    img.fill(Qt::white);
    QPainter painter(&img);
    paintPrintPage(painter, page);
    painter.end();

    struct Probe {
        int x, y;
        QRgb colour;
    };
    const QRgb White = qRgb(255, 255, 255), Red = qRgb(255, 0, 0), Blue = qRgb(0, 0, 255);
    for (const Probe& p : {Probe{400, 80, Red}, Probe{2099, 679, Red}, Probe{399, 300, White},
                           Probe{2100, 300, White}, Probe{1000, 79, White}, Probe{400, 680, Blue},
                           Probe{2099, 1279, Blue}, Probe{2100, 1000, White}, Probe{1000, 1280, White}})
        QVERIFY2(img.pixel(p.x, p.y) == p.colour, qPrintable(QStringLiteral("at %1,%2").arg(p.x).arg(p.y)));

    // Each line's ink starts a little below its top, left edge at x = 100.
    for (int i = 0; i < 10; ++i) {
        const int top = 1227 + 36 * i;
        int first = -1, left = -1;
        for (int y = top; y < top + 36 && first < 0; ++y)
            for (int x = 90; x < 400; ++x)
                if (isDark(img.pixel(x, y))) {
                    first = y;
                    break;
                }
        for (int x = 90; x < 400 && left < 0; ++x)
            for (int y = top; y < top + 36; ++y)
                if (isDark(img.pixel(x, y))) {
                    left = x;
                    break;
                }
        QVERIFY2(first >= top && first < top + 12,
                 qPrintable(QStringLiteral("line %1 at %2").arg(i).arg(first)));
        QVERIFY(left >= 100 && left < 106);
    }
}

void ConfigPrintTest::printWritesOnePagePdfWithDiagramsAndReport()
{
    openBeam();
    const QStringList lines = reportLines(*w->reportView());
    const int n = static_cast<int>(lines.size());
    QVERIFY(n > 10);
    printWithUsualUmask(action("SpeedButton11"));
    QCOMPARE(dialogs->messages, QStringList());
    QCOMPARE(errors, QStringList());
    const QString pdfFile = dir->filePath(QStringLiteral("duas.pdf"));
    QVERIFY(QFile::exists(pdfFile));
    expectPdfNotice(pdfFile);

    QString error;
    const int pages = pdf::pageCount(pdfFile, error);
    QVERIFY2(error.isEmpty(), qPrintable(error));
    QCOMPARE(pages, 1);

    // The lines that fall on the A4 page (3508 pixels high), in their order.
    const int onPage = static_cast<int>(std::min<long long>(n, (3508 - 1200 - 3 * (n - 1)) / 36 + 1));
    QVERIFY(onPage > 10);
    const QStringList text = pdf::textLines(pdfFile, error);
    QVERIFY2(error.isEmpty(), qPrintable(error));
    qsizetype at = 0;
    for (int i = 0; i < onPage; ++i) {
        // The reader's layout may change the runs of blanks between words.
        const QString line = lines.at(i).simplified();
        if (line.isEmpty()) continue;
        while (at < text.size() && text.at(at).simplified() != line) ++at;
        QVERIFY2(at < text.size(), qPrintable(QStringLiteral("missing or out of order: ") + line));
        ++at;
    }
    // The first line's top 3 pixels lower for each further line, then 36 apart.
    QVERIFY(!lines.first().trimmed().isEmpty() && !lines.at(1).trimmed().isEmpty());
    const QList<double> tops = pdf::lineTops(pdfFile, error);
    QVERIFY2(error.isEmpty(), qPrintable(error));
    const double pointsPerPixel = 72.0 / PrintResolution;
    qsizetype first = 0;
    while (first < tops.size() && tops.at(first) < 1150 * pointsPerPixel) ++first;
    QVERIFY(first + 1 < tops.size());
    QVERIFY(qAbs(tops.at(first) - (1200 + 3 * (n - 1)) * pointsPerPixel) < 2.0);
    QVERIFY(qAbs(tops.at(first + 1) - tops.at(first) - 36 * pointsPerPixel) < 0.2);

    // Both curves inside their rectangles, nothing blue left of x = 400 or
    // anywhere outside them.
    const QImage page = pdf::render(pdfFile, PrintResolution, error);
    QVERIFY2(error.isEmpty(), qPrintable(error));
    // A4 at 300 pixels per inch, give or take the reader's rounding.
    QVERIFY(qAbs(page.width() - 2480) <= 1 && qAbs(page.height() - 3508) <= 1);
    int upper = 0, lower = 0, outside = 0;
    for (int y = 0; y < page.height(); ++y)
        for (int x = 0; x < page.width(); ++x) {
            if (!isBlue(page.pixel(x, y))) continue;
            if (UpperDiagramRect.contains(x, y))
                ++upper;
            else if (LowerDiagramRect.contains(x, y))
                ++lower;
            else
                ++outside;
        }
    QVERIFY(upper > 1000);
    QVERIFY(lower > 1000);
    QCOMPARE(outside, 0);
}

// The deflected shape in the upper rectangle and the report, on a page of its
// own: the page of the two diagrams is neither printed nor replaced.
void ConfigPrintTest::printFromTheDeflectionTabPrintsItsOwnPage()
{
    openBeam();
    w->pages()->setCurrentWidget(w->page(Page::Deformada));
    action("SpeedButton11")->trigger();
    QCOMPARE(dialogs->messages, QStringList());
    const QString pdfFile = dir->filePath(QStringLiteral("duasD.pdf"));
    QCOMPARE(w->hintPanel()->toolTip(), QStringLiteral("Impresso em PDF: ") + pdfFile);
    QVERIFY(!QFile::exists(dir->filePath(QStringLiteral("duas.pdf"))));

    QString error;
    QCOMPARE(pdf::pageCount(pdfFile, error), 1);
    const QImage page = pdf::render(pdfFile, PrintResolution, error);
    QVERIFY2(error.isEmpty(), qPrintable(error));
    int upper = 0, elsewhere = 0;
    for (int y = 0; y < page.height(); ++y)
        for (int x = 0; x < page.width(); ++x)
            if (isBlue(page.pixel(x, y))) ++(UpperDiagramRect.contains(x, y) ? upper : elsewhere);
    QVERIFY(upper > 1000);
    QCOMPARE(elsewhere, 0);
    QVERIFY(pdf::textLines(pdfFile, error).join(QLatin1Char('\n')).contains(QStringLiteral("Deslocamentos")));

    // Its metafile is read from disk, as the other diagrams' are.
    QVERIFY(QFile::remove(dir->filePath(QStringLiteral("duasD.wmf"))));
    action("SpeedButton11")->trigger();
    QCOMPARE(dialogs->messages, QStringList{QString::fromUtf8(DrawingsNotCreated)});
    QCOMPARE(errors, QStringList());
}

void ConfigPrintTest::printDoesNothingForAnUnnamedBeam()
{
    // Calculated but never saved.
    const QString previous = QDir::currentPath();
    QVERIFY(QDir::setCurrent(dir->path()));
    action("Calcula1")->trigger();
    action("SpeedButton11")->trigger();
    QDir::setCurrent(previous);
    QCOMPARE(dialogs->messages, QStringList());
    QCOMPARE(QDir(dir->path()).entryList({QStringLiteral("*.pdf")}, QDir::Files), QStringList());

    // Opened, then "Novo": the new beam has no name.
    openBeam();
    action("SpeedButton1")->trigger();
    action("SpeedButton11")->trigger();
    QCOMPARE(dialogs->messages, QStringList());
    QCOMPARE(QDir(dir->path()).entryList({QStringLiteral("*.pdf")}, QDir::Files), QStringList());
    QCOMPARE(w->hintPanel()->text(), QString());
    QCOMPARE(errors, QStringList());
}

void ConfigPrintTest::printFailuresShowOneMessage()
{
    openBeam();
    const QString pdfFile = dir->filePath(QStringLiteral("duas.pdf"));
    const QString message = QString::fromUtf8(DrawingsNotCreated);

    // A PDF that cannot take its place (a folder of that name).
    QVERIFY(QDir().mkdir(pdfFile));
    action("SpeedButton11")->trigger();
    QCOMPARE(dialogs->messages, QStringList{message});
    QVERIFY(QDir().rmdir(pdfFile));
    QCOMPARE(QDir(dir->path()).entryList({QStringLiteral("*.pdf")}, QDir::Files | QDir::Hidden),
             QStringList());

    // The metafiles are read from disk: one missing stops the print.
    for (const char* gone : {"duasC.wmf", "duasM.wmf"}) {
        dialogs->messages.clear();
        action("desenhaestrutura1")->trigger();
        QVERIFY(QFile::remove(dir->filePath(QString::fromLatin1(gone))));
        action("SpeedButton11")->trigger();
        QCOMPARE(dialogs->messages, QStringList{message});
        QVERIFY(!QFile::exists(pdfFile));
    }
    QCOMPARE(errors, QStringList());
}

}  // namespace kalvoro

int runConfigPrintTests(int argc, char** argv)
{
    kalvoro::ConfigPrintTest t;
    return QTest::qExec(&t, argc, argv);
}

#include "config_print_test.moc"
