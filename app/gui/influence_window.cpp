#include "app/gui/influence_window.h"

#include <QAction>
#include <QCoreApplication>
#include <QEvent>
#include <QFrame>
#include <QLabel>
#include <QPlainTextEdit>
#include <QScreen>
#include <QStatusBar>
#include <QTabWidget>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>
#include <array>
#include <exception>

#include "app/gui/application.h"
#include "app/gui/icons.h"
#include "app/gui/printing.h"
#include "app/gui/qt_canvas.h"
#include "app/gui/report_view.h"
#include "app/gui/section_dialog.h"
#include "app/gui/unnamed_files.h"
#include "app/gui/user_dialogs.h"
#include "data/file_names.h"
#include "data/numbers.h"
#include "data/text_file.h"
#include "diagrams/diagrams.h"
#include "diagrams/page_frame.h"
#include "engine/arithmetic.h"
#include "influence/influence.h"
#include "influence/supported_influence.h"
#include "influence/train.h"
#include "influence/train_beam.h"
#include "influence/train_files.h"
#include "influence/train_solver.h"
#include "influence/unit_load_solver.h"

namespace kalvoro {

namespace {

// The picture's size on "Diagrama": the page size of the influence line.
constexpr int ImageWidth = 534;
constexpr int ImageHeight = 288;
constexpr int ClientWidth = 542;
constexpr int ClientHeight = 362;
constexpr int ToolBarHeight = 26;
constexpr int StatusBarHeight = 19;

QLabel* panel(QWidget* parent, int width)
{
    auto* p = new QLabel(parent);
    p->setFixedWidth(width);
    p->setFrameShape(QFrame::Panel);
    p->setFrameShadow(QFrame::Sunken);
    return p;
}

}  // namespace

TLinhaInfluencia::TLinhaInfluencia(InfluenceHost host, QWidget* parent)
    : QDialog(parent), host_(std::move(host))
{
    setObjectName(QStringLiteral("LinhaInfluencia"));
    setWindowTitle(QStringLiteral("Linha de Influencia"));
    setModal(true);
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);

    auto* bar = new QToolBar(this);
    bar->setObjectName(QStringLiteral("ToolBar1"));
    bar->setIconSize(QSize(16, 16));
    bar->setToolButtonStyle(Qt::ToolButtonIconOnly);
    bar->setFixedHeight(ToolBarHeight);
    bar->setContextMenuPolicy(Qt::PreventContextMenu);
    auto tool = [&](const char* name, const char* hint, ToolIcon icon, void (TLinhaInfluencia::*command)()) {
        auto* a = new QAction(toolIcon(icon), QString::fromUtf8(hint), this);
        a->setObjectName(QString::fromLatin1(name));
        a->setToolTip(QString::fromUtf8(hint));
        a->setStatusTip(QString::fromUtf8(hint));
        connect(a, &QAction::triggered, this, [this, command] { guarded([&] { (this->*command)(); }); });
        bar->addAction(a);
        if (QWidget* button = bar->widgetForAction(a)) button->setFixedSize(25, 22);
    };
    tool("SpeedButton2", "Salvar", ToolIcon::Save, &TLinhaInfluencia::SpeedButton2Click);
    tool("SpeedButton1", "Linha de Influência", ToolIcon::Influence, &TLinhaInfluencia::SpeedButton1Click);
    tool("SpeedButton3", "Imprimir", ToolIcon::Print, &TLinhaInfluencia::SpeedButton3Click);

    report_ = new QPlainTextEdit;
    report_->setObjectName(QStringLiteral("RichEdit1"));
    QFont courier(QStringLiteral("Courier New"));
    courier.setStyleHint(QFont::TypeWriter);
    courier.setPixelSize(11);
    report_->setFont(courier);
    report_->setLineWrapMode(QPlainTextEdit::NoWrap);
    report_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    report_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    auto* results = new QWidget;
    results->setObjectName(QStringLiteral("TabSheet1"));
    auto* resultsLayout = new QVBoxLayout(results);
    resultsLayout->setContentsMargins(0, 0, 0, 0);
    resultsLayout->addWidget(report_);

    auto* diagram = new QWidget;
    diagram->setObjectName(QStringLiteral("TabSheet2"));
    diagram->setFixedSize(ImageWidth, ImageHeight);
    image1_ = new QLabel(diagram);
    image1_->setObjectName(QStringLiteral("Image1"));
    image1_->setGeometry(0, 0, ImageWidth, ImageHeight);
    image1_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    image1_->setAutoFillBackground(true);
    QPalette white = image1_->palette();
    white.setColor(QPalette::Window, Qt::white);
    image1_->setPalette(white);

    pages_ = new QTabWidget;
    pages_->setObjectName(QStringLiteral("PageControl1"));
    pages_->addTab(results, QStringLiteral("Resultados"));
    pages_->addTab(diagram, QStringLiteral("Diagrama"));
    pages_->setCurrentWidget(diagram);

    status_ = new QStatusBar;
    status_->setObjectName(QStringLiteral("StatusBar1"));
    status_->setSizeGripEnabled(false);
    status_->setFixedHeight(StatusBarHeight);
    status_->addWidget(panel(status_, 250));
    status_->addWidget(panel(status_, 150));

    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    column->addWidget(bar);
    auto* middle = new QVBoxLayout;
    middle->setContentsMargins(2, 0, 2, 0);
    middle->addWidget(pages_);
    column->addLayout(middle, 1);
    column->addWidget(status_);

    // The picture keeps its size; the window takes what the tool bar, the
    // tabs and the status bar need around it, and no less than its own size.
    const QSize needed = sizeHint();
    setFixedSize(std::max(ClientWidth, needed.width()), std::max(ClientHeight, needed.height()));
    if (const QScreen* s = screen()) move(s->availableGeometry().center() - rect().center());

    clearPages();
}

void TLinhaInfluencia::clearPages()
{
    image_ = QImage(image1_->width(), image1_->height(), QImage::Format_RGB32);
    image_.fill(Qt::white);
    image1_->setPixmap(QPixmap::fromImage(image_));
    drawing_ = Recording{};
    report_->clear();
}

void TLinhaInfluencia::showDrawing(const Recording& page)
{
    drawing_ = page;
    image_ = renderRecording(page);
    image1_->setPixmap(QPixmap::fromImage(image_));
}

bool TLinhaInfluencia::event(QEvent* e)
{
    if (e->type() == QEvent::StatusTip) {
        if (parentWidget()) QCoreApplication::sendEvent(parentWidget(), e);
        return true;
    }
    return QDialog::event(e);
}

void TLinhaInfluencia::SpeedButton1Click()
{
    if (host_.modelFailed && host_.modelFailed()) {
        host_.dialogs->showMessage(QString::fromUtf8(InfluenceFailureMessage));
        return;
    }
    // However the dialog is closed, the computation goes on with its texts.
    if (section_) host_.dialogs->askSection(*section_);
    const std::string trecho = section_ ? section_->trecho().toStdString() : std::string("1");
    const std::string pos = section_ ? section_->posicao().toStdString() : std::string("1");
    const std::string dataFile = host_.dataFile ? host_.dataFile() : std::string();
    DiagramSettings settings = host_.settings ? host_.settings() : DiagramSettings{};
    settings.influenceWidth = image1_->width();
    settings.influenceHeight = image1_->height();

    // An unnamed beam's report goes where its "Temp.dat" goes; its diagram is
    // shown but not saved, so the drawing keeps the empty name.
    const std::string reportBase = dataFile.empty() ? unnamedFolder() : dataFile;

    const SupportedView view = host_.supported ? host_.supported() : SupportedView{};
    Recording page;
    try {
        if (view.beam) {
            computeSupported(view, trecho, pos, reportBase, dataFile, settings, page);
        } else if (!computeModel(trecho, pos, reportBase, dataFile, settings, page)) {
            return;
        }
        showDrawing(page);
    } catch (const std::exception&) {
        // A drawing that is complete but could not be saved is still shown.
        if (page.width > 0) showDrawing(page);
        host_.dialogs->showMessage(QString::fromUtf8(InfluenceFailureMessage));
        return;
    }
    const Train* train = host_.train ? host_.train() : nullptr;
    if (!train) return;
    try {
        const long n = toInt(trecho);
        const double xs = toReal(pos);
        if (view.beam) {
            const SupportedSystem system(*view.beam);
            SupportedTrainBeam lines(system, *view.beam, *view.curves);
            showTrain(lines, FrameOf(*view.beam), *train, n, xs, dataFile, settings);
        } else {
            ModelTrainBeam lines(*host_.model);
            showTrain(lines, FrameOf(*host_.model), *train, n, xs, dataFile, settings);
        }
    } catch (const std::exception& e) {
        host_.dialogs->showMessage(QStringLiteral("Trem-tipo não calculado na seção.\r") +
                                   QString::fromUtf8(e.what()));
    }
}

bool TLinhaInfluencia::computeModel(const std::string& trecho, const std::string& pos,
                                    const std::string& reportBase, const std::string& dataFile,
                                    const DiagramSettings& settings, Recording& page)
{
    SolvedPositions solved;
    ComputeInfluenceReport(*host_.model, trecho, pos, reportBase, &solved);
    loadReport(*report_, derivedName(reportBase, "LIM.sai"));
    const auto say = [this](const std::string& m) { host_.dialogs->showMessage(QString::fromStdString(m)); };
    return DesenhaLinhaInfluencia(*host_.model, settings, trecho, pos, dataFile, say, page, false, &solved);
}

void TLinhaInfluencia::computeSupported(const SupportedView& view, const std::string& trecho,
                                        const std::string& pos, const std::string& reportBase,
                                        const std::string& dataFile, const DiagramSettings& settings,
                                        Recording& page)
{
    const SupportedSystem system(*view.beam);
    writeTextFile(derivedName(reportBase, "LIM.sai"), RelatorioInfluenciaApoiada(system, trecho, pos));
    loadReport(*report_, derivedName(reportBase, "LIM.sai"));
    page =
        DesenhaLinhaInfluenciaApoiada(system, FrameOf(*view.beam), settings, toInt(trecho), toReal(pos), "");
    // Saved apart, so that a page that cannot be saved is still shown.
    SavePage(page, dataFile, "LIM", false);
}

void TLinhaInfluencia::showTrain(TrainBeam& beam, const BeamFrame& frame, const Train& train, long n,
                                 double xs, const std::string& dataFile, const DiagramSettings& settings)
{
    const TrainSection at = TrainAtSection(beam, train, n, xs);
    const std::string text = TrainSectionReport(train, at);
    WriteTrainSectionReport(dataFile, text);
    report_->appendPlainText(QString());
    report_->appendPlainText(QString::fromStdString(text).remove(QLatin1Char('\r')).trimmed());

    // The axles as arrows down onto the axis (row H - rnd(H/2)), mapped as
    // the influence line maps its abscissae.
    const TrainExtreme& e = at.moment.largest;
    const Real sx = EscalaHorizontal(frame, settings);
    const int H = drawing_.height;
    const int axis = H - roundEven(Real(H) / 2);
    Recording shown = drawing_;
    RecordingCanvas overlay(shown.width, H);
    overlay.setPen(colors::Red, 2);
    const long K = beam.spanCount();
    const Real begin = beam.spanStart(1), end = Real(beam.spanStart(K)) + beam.spanLength(K);
    for (const Axle& a : train.axles) {
        const Real X = Real(e.position) + (e.reverse ? -a.a : a.a);
        if (X < begin || X > end) continue;  // off the beam: it counts for nothing
        const int x = roundEven(X * sx + 20);
        for (const auto& [x1, y1, x2, y2] :
             {std::array{0, -40, 0, -3}, std::array{0, -3, -4, -12}, std::array{0, -3, 4, -12}}) {
            overlay.moveTo(x + x1, axis + y1);
            overlay.lineTo(x + x2, axis + y2);
        }
    }
    overlay.setFont(PageFont, 12);
    overlay.textOut(4, H - 16, "Trem-tipo " + train.title + ": eixos na posição do momento máximo");
    const Recording extra = overlay.take();
    shown.ops.insert(shown.ops.end(), extra.ops.begin(), extra.ops.end());
    image_ = renderRecording(shown);
    image1_->setPixmap(QPixmap::fromImage(image_));
}

void TLinhaInfluencia::SpeedButton2Click()
{
    const QString name =
        host_.dialogs->askSaveFileName(QString(), QString(), QString(), QStringLiteral("sai"));
    if (name.isEmpty()) return;
    // A write error is left to the last-resort handler.
    saveReportLines(*report_, name.toStdString());
}

void TLinhaInfluencia::SpeedButton3Click()
{
    printDiagramsAndReport(host_.dataFile ? host_.dataFile() : std::string(), {{"LIM.wmf", UpperDiagramRect}},
                           *report_, "LIM.pdf", *host_.dialogs, host_.notice);
}

}  // namespace kalvoro
