#include "app/gui/main_window.h"

#include <QAction>
#include <QDir>
#include <QEvent>
#include <QFileInfo>
#include <QFrame>
#include <QLabel>
#include <QLocale>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QProxyStyle>
#include <QScreen>
#include <QStatusBar>
#include <QStatusTipEvent>
#include <QTabBar>
#include <QTabWidget>
#include <QTime>
#include <QToolBar>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>

#include "app/gui/about_box.h"
#include "app/gui/application.h"
#include "app/gui/config_dialog.h"
#include "app/gui/count_field.h"
#include "app/gui/envelope_page.h"
#include "app/gui/grid_view.h"
#include "app/gui/icons.h"
#include "app/gui/influence_window.h"
#include "app/gui/printing.h"
#include "app/gui/qt_canvas.h"
#include "app/gui/report_view.h"
#include "app/gui/section_dialog.h"
#include "app/gui/train_dialog.h"
#include "data/beam_file.h"
#include "data/file_names.h"
#include "data/support_columns.h"
#include "data/table_check.h"
#include "data/text_file.h"
#include "diagrams/deflection_diagram.h"
#include "diagrams/diagrams.h"
#include "diagrams/general_diagrams.h"
#include "engine/engine.h"
#include "engine/errors.h"
#include "engine/general_road.h"
#include "engine/report.h"

namespace kalvoro {

namespace {

constexpr const char* CalculationFailed = "Dados incorretos. Cálculo não efetuado";
constexpr const char* DrawingFailed = "Dados incorretos. Estrutura não desenhada";

// Inside the tab frame: the diagram panels are 503 x 280 and every page the same.
constexpr int PageWidth = 503;
constexpr int PageHeight = 280;
constexpr int ClientWidth = 511;

std::size_t slot(TableId id)
{
    return static_cast<std::size_t>(id);
}

QLabel* label(const QString& text, QWidget* parent, int x, int y)
{
    auto* l = new QLabel(text, parent);
    l->adjustSize();
    l->move(x, y);
    return l;
}

// A count field just right of its label.
void placeAfter(QWidget* field, const QLabel* label)
{
    field->adjustSize();
    field->move(label->geometry().right() + 6, label->geometry().center().y() - 11);
}

// Help texts beside a table, one label per line, word-wrapped within width.
QWidget* helpColumn(QWidget* parent, const QRect& where, const QStringList& lines,
                    const QStringList& headings = {})
{
    auto* box = new QWidget(parent);
    box->setGeometry(where);
    auto* column = new QVBoxLayout(box);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(3);
    for (const QString& line : lines) {
        auto* l = new QLabel(line, box);
        l->setWordWrap(true);
        if (headings.contains(line)) l->setStyleSheet(QStringLiteral("color: #800000; font-weight: bold;"));
        column->addWidget(l);
    }
    column->addStretch();
    return box;
}

// Tabs with less padding around their texts, so that the seven of them fit the window.
class CompactTabStyle : public QProxyStyle {
public:
    using QProxyStyle::QProxyStyle;
    int pixelMetric(PixelMetric metric, const QStyleOption* option, const QWidget* widget) const override
    {
        if (metric == PM_TabBarTabHSpace) return 10;
        return QProxyStyle::pixelMetric(metric, option, widget);
    }
};

// Tables that cannot be written as they stand: their first fault is shown
// and the command stops before anything is written or calculated.
bool refused(const TableModel& tables, UserDialogs& dialogs)
{
    const std::string fault = firstTableError(tables);
    if (!fault.empty()) dialogs.showMessage(QString::fromStdString(fault));
    return !fault.empty();
}

// Windows-1252 has no room for some characters that can be typed (an arrow,
// a Greek letter); the file holds "?" in their place, and the user is told which.
QString lostCharactersNotice(const std::string& title, const TableModel& tables)
{
    const QString lost = QString::fromStdString(lostInCp1252(BeamFileText(title, tables.texts())));
    if (lost.isEmpty()) return {};
    QStringList each;
    for (const char32_t c : lost.toUcs4()) each << QString::fromUcs4(&c, 1);
    return QStringLiteral("Gravados como \"?\" (fora do Windows-1252): ") + each.join(QLatin1Char(' '));
}

}  // namespace

MainWindow::MainWindow(std::unique_ptr<UserDialogs> dialogs, QWidget* parent)
    : QMainWindow(parent),
      dialogs_(dialogs ? std::move(dialogs) : std::make_unique<QtUserDialogs>(this)),
      model_(std::make_unique<AnalysisModel>())
{
    setObjectName(QStringLiteral("Form2"));
    setWindowTitle(QStringLiteral("Kalvoro"));
    setWindowIcon(QIcon(beamPicture(32)));
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);

    buildActions();
    buildPages();
    buildStatusBar();
    connectTables();

    // The window's size follows from its fixed pages; it cannot be resized.
    adjustSize();
    setFixedSize(ClientWidth, sizeHint().height());
    if (const QScreen* s = screen()) move(s->availableGeometry().center() - rect().center());

    timePanel_->setText(QLocale::system().toString(QTime::currentTime(), QLocale::LongFormat));
    NovaEst();

    // The other windows, once for the run, in this order.
    about_ = new AboutBox(this);
    form1_ = new TForm1(this);
    InfluenceHost host;
    host.model = model_.get();
    host.dialogs = dialogs_.get();
    host.dataFile = [this] { return ArquivoDados; };
    host.settings = [this] { return diagramSettings(); };
    host.notice = [this](const QString& text) { showNotice(text); };
    // A beam of the supported road is drawn from its own solution; any other
    // from the model, which a beam longer than it holds leaves empty.
    host.modelFailed = [this] { return failed_ || (supports_ ? !supported_ : model_->ElementCount == 0); };
    host.train = [this] { return envelope_->train() ? &*envelope_->train() : nullptr; };
    host.supported = [this] {
        return supports_ && supported_ ? SupportedView{&supported_->beam, &supported_->curves}
                                       : SupportedView{};
    };
    influence_ = new TLinhaInfluencia(std::move(host), this);
    section_ = new TEntradaSecao(influence_);
    influence_->useSectionDialog(section_);
    trem_ = new TremDialog(*dialogs_, this);
}

MainWindow::~MainWindow() = default;

// ------------------------------------------------------------------ building

void MainWindow::buildActions()
{
    auto make = [this](const char* name, const QString& text, const QString& hint,
                       void (MainWindow::*command)()) {
        auto* a = new QAction(text, this);
        a->setObjectName(QString::fromLatin1(name));
        a->setToolTip(hint);
        a->setStatusTip(hint);
        if (command)
            connect(a, &QAction::triggered, this, [this, command] { guarded([&] { (this->*command)(); }); });
        return a;
    };

    QMenu* file = menuBar()->addMenu(QStringLiteral("Arquivo"));
    file->addAction(
        make("Abrir2", QStringLiteral("Abrir"), QStringLiteral("Abrir"), &MainWindow::Abrir2Click));
    file->addAction(
        make("Salvar1", QStringLiteral("Salvar"), QStringLiteral("Salvar"), &MainWindow::Salvar1Click));
    file->addAction(make("Sair1", QStringLiteral("Sair"), QStringLiteral("Sair"), &MainWindow::Sair1Click));
    QMenu* tools = menuBar()->addMenu(QStringLiteral("Ferramentas"));
    tools->addAction(make("analisadados1", QStringLiteral("analisa dados"), QStringLiteral("analisa dados"),
                          &MainWindow::analisadados1Click));
    tools->addAction(make("desenhaestrutura1", QStringLiteral("desenha estrutura"),
                          QStringLiteral("desenha estrutura"), &MainWindow::desenhaestrutura1Click));
    tools->addAction(
        make("Calcula1", QStringLiteral("Calcula"), QStringLiteral("Calcula"), &MainWindow::Calcula1Click));
    tools->addAction(make("TremTipo1", QStringLiteral("Trem-tipo…"), QStringLiteral("Trem-tipo"),
                          &MainWindow::TremTipo1Click));
    QMenu* help = menuBar()->addMenu(QStringLiteral("Ajuda"));
    help->addAction(
        make("Sobre1", QStringLiteral("Sobre"), QStringLiteral("Sobre"), &MainWindow::Sobre1Click));

    auto* bar = addToolBar(QStringLiteral("Ferramentas"));
    bar->setObjectName(QStringLiteral("ToolBar"));
    bar->setMovable(false);
    bar->setFloatable(false);
    bar->setIconSize(QSize(16, 16));
    bar->setToolButtonStyle(Qt::ToolButtonIconOnly);
    bar->setContextMenuPolicy(Qt::PreventContextMenu);
    auto tool = [&](const char* name, const char* hint, ToolIcon icon, void (MainWindow::*command)()) {
        QAction* a = make(name, QString::fromUtf8(hint), QString::fromUtf8(hint), command);
        a->setIcon(toolIcon(icon));
        bar->addAction(a);
        return a;
    };
    tool("SpeedButton1", "Novo", ToolIcon::New, &MainWindow::SpeedButton1Click);
    tool("SpeedButton2", "Abrir", ToolIcon::Open, &MainWindow::Abrir2Click);
    tool("SpeedButton3", "Salvar", ToolIcon::Save, &MainWindow::Salvar1Click);
    tool("SpeedButton11", "Imprimir", ToolIcon::Print, &MainWindow::SpeedButton11Click);
    bar->addSeparator();
    tool("SpeedButton6", "Configuração", ToolIcon::Configure, &MainWindow::SpeedButton6Click);
    bar->addSeparator();
    tool("SpeedButton4", "Calcular", ToolIcon::Calculate, &MainWindow::Calcula1Click);
    tool("SpeedButton12", "Linha de Influência", ToolIcon::Influence, &MainWindow::SpeedButton12Click);
    tool("SpeedButton5", "Desenhar", ToolIcon::Draw, &MainWindow::desenhaestrutura1Click);
    bar->addSeparator();
    tool("SpeedButton7", "Move desenho para esquerda", ToolIcon::PanLeft, &MainWindow::SpeedButton7Click);
    tool("SpeedButton8", "Move desenho para direita", ToolIcon::PanRight, &MainWindow::SpeedButton8Click);
    tool("SpeedButton9", "menos zoom", ToolIcon::ZoomOut, &MainWindow::SpeedButton9Click);
    tool("SpeedButton10", "mais zoom", ToolIcon::ZoomIn, &MainWindow::SpeedButton10Click);
}

void MainWindow::buildPages()
{
    pages_ = new QTabWidget(this);
    pages_->setObjectName(QStringLiteral("PageControl1"));
    // The seven original tabs fill the window's width; those added after them
    // are reached with the tab bar's arrows.
    pages_->setUsesScrollButtons(true);
    auto* tabStyle = new CompactTabStyle;
    tabStyle->setParent(pages_);
    pages_->tabBar()->setStyle(tabStyle);
    pages_->setElideMode(Qt::ElideNone);
    pages_->addTab(buildSpansPage(), QStringLiteral("Trechos"));
    pages_->addTab(buildLoadsPage(), QStringLiteral("Cargas"));
    pages_->addTab(buildSupportsPage(), QStringLiteral("Apoios"));
    pages_->addTab(buildMaterialsPage(), QStringLiteral("Materiais e seções"));
    pages_->addTab(buildReportPage(), QStringLiteral("Saídas"));
    pages_->addTab(buildDiagramPage(image1_), QStringLiteral("Diag. Momentos"));
    pages_->addTab(buildDiagramPage(image2_), QStringLiteral("Diag. Cortantes"));
    pages_->addTab(buildDiagramPage(image3_), QStringLiteral("Deformada"));
    pages_->addTab(buildExtraLoadsPage(), QStringLiteral("Cargas adicionais"));
    image1_->setObjectName(QStringLiteral("Image1"));
    image2_->setObjectName(QStringLiteral("Image2"));
    image3_->setObjectName(QStringLiteral("Image3"));
    pages_->addTab(buildDiagramPage(imageEnv_), QStringLiteral("Envoltória"));
    connect(pages_, &QTabWidget::currentChanged, this, [this] { showCurrentImage(); });
    imageEnv_->setObjectName(QStringLiteral("ImageEnvoltoria"));
    envelope_ = std::make_unique<EnvelopePage>(imageEnv_);
    // A long beam's envelope, ready: its report beside the file of the solved
    // beam as it is named now, its page with the view of now.
    envelope_->onRunEnd(
        [this] {
            try {
                envelope_->saveReport(diagramFile());
            } catch (const IoError& e) {
                dialogs_->showMessage(QString::fromUtf8(e.what()));
            }
            redraw();
        },
        [this](const QString& message) { dialogs_->showMessage(message); });

    auto* central = new QWidget(this);
    auto* layout = new QVBoxLayout(central);
    layout->setContentsMargins(1, 2, 1, 0);
    layout->addWidget(pages_);
    setCentralWidget(central);
}

QWidget* MainWindow::buildSpansPage()
{
    auto* page = new QWidget;
    page->setFixedSize(PageWidth, PageHeight);
    const QLabel* spansLabel = label(QStringLiteral("Número de trechos:"), page, 8, 12);
    counts_[slot(TableId::Spans)] = new CountField(true, page);
    placeAfter(counts_[slot(TableId::Spans)], spansLabel);
    counts_[slot(TableId::Spans)]->edit()->setObjectName(QStringLiteral("Edit5"));

    auto* spans = new GridView(tables_, TableId::Spans, page);
    spans->setObjectName(QStringLiteral("StringGrid4"));
    spans->setGeometry(QRect(QPoint(8, 36), QSize(spans->sizeForRows(1).width(), PageHeight - 44)));
    grids_[slot(TableId::Spans)] = spans;

    // The node table and its count follow the spans and are never shown.
    auto* nodesLabel = label(QStringLiteral("Coordenadas dos nós:"), page, 320, 150);
    nodesLabel->hide();
    counts_[slot(TableId::Nodes)] = new CountField(false, page);
    counts_[slot(TableId::Nodes)]->edit()->setObjectName(QStringLiteral("Edit4"));
    counts_[slot(TableId::Nodes)]->hide();
    auto* nodes = new GridView(tables_, TableId::Nodes, page);
    nodes->setObjectName(QStringLiteral("StringGrid3"));
    nodes->hide();
    grids_[slot(TableId::Nodes)] = nodes;

    helpColumn(page,
               QRect(spans->geometry().right() + 14, 40, PageWidth - spans->geometry().right() - 18, 80),
               {QStringLiteral("Entre com a dimensão,"), QStringLiteral("o tipo de seção e material  para"),
                QStringLiteral("cada um dos trechos")});

    auto* beta = new QLabel(QStringLiteral("Versão Beta teste 2.07.13"), page);
    beta->setObjectName(QStringLiteral("BetaLabel"));
    QFont small = beta->font();
    small.setPixelSize(10);
    beta->setFont(small);
    beta->setStyleSheet(QStringLiteral("color: red;"));
    beta->adjustSize();
    beta->move(PageWidth - beta->width() - 6, PageHeight - beta->height() - 4);
    return page;
}

QWidget* MainWindow::buildLoadsPage()
{
    auto* page = new QWidget;
    page->setFixedSize(PageWidth, PageHeight);
    const QLabel* loadsLabel = label(QStringLiteral("Trechos carregados:"), page, 8, 12);
    auto* count = new CountField(false, page);
    count->edit()->setObjectName(QStringLiteral("Edit7"));
    count->edit()->setReadOnly(true);
    placeAfter(count, loadsLabel);
    count->hide();
    counts_[slot(TableId::Loads)] = count;

    auto* loads = new GridView(tables_, TableId::Loads, page);
    loads->setObjectName(QStringLiteral("StringGrid6"));
    loads->setGeometry(QRect(QPoint(8, 36), QSize(loads->sizeForRows(1).width(), PageHeight - 44)));
    grids_[slot(TableId::Loads)] = loads;

    helpColumn(page,
               QRect(loads->geometry().right() + 14, 40, PageWidth - loads->geometry().right() - 20, 120),
               {QStringLiteral("q- carga distribuída retangular"), QStringLiteral("P- Carga concentrada"),
                QStringLiteral("d- distância do nó mais a esquerda")});
    return page;
}

QWidget* MainWindow::buildSupportsPage()
{
    auto* page = new QWidget;
    page->setFixedSize(PageWidth, PageHeight);
    const QLabel* supportsLabel = label(QStringLiteral("Nós restringidos::"), page, 8, 12);
    auto* count = new CountField(false, page);
    count->edit()->setObjectName(QStringLiteral("Edit6"));
    count->edit()->setReadOnly(true);
    placeAfter(count, supportsLabel);
    count->hide();
    counts_[slot(TableId::Supports)] = count;

    // The grid takes the page's width for the spring, settlement and hinge
    // columns after the code; the codes' help goes under it.
    auto* supports = new GridView(tables_, TableId::Supports, page);
    supports->setObjectName(QStringLiteral("StringGrid5"));
    constexpr int supportsHeight = 118;
    supports->setGeometry(QRect(8, 8, PageWidth - 16, supportsHeight));
    grids_[slot(TableId::Supports)] = supports;

    const QString codes = QStringLiteral("Código para as restrições de apoio:");
    const QString examples = QStringLiteral("Exemplos:");
    const int top = supports->geometry().bottom() + 6;
    helpColumn(page, QRect(8, top, PageWidth - 16, PageHeight - top - 2),
               {codes, QStringLiteral("0 - (zero) - para deslocamento nodal livre"),
                QStringLiteral("1 - (um) - para deslocamento nodal impedido"), examples,
                QStringLiteral("10 - nó impedido de deslocar na vertical e livre para rotacionar."),
                QStringLiteral("11 - nó impedido de deslocar na vertical e impedido de rotacionar"),
                QStringLiteral("00 - nó livre para deslocar na vertical e livre para rotacionar"),
                QStringLiteral("Molas (> 0) nas direções livres, recalques nas impedidas, \"sim\" em "
                               "\"Rótula\" num nó interno de rotação livre: a viga vai para um .vigx.")},
               {codes, examples});
    return page;
}

QWidget* MainWindow::buildMaterialsPage()
{
    auto* page = new QWidget;
    page->setFixedSize(PageWidth, PageHeight);
    const int gridHeight = 170;

    const QLabel* matLabel = label(QStringLiteral("materiais:"), page, 8, 12);
    auto* matCount = new CountField(true, page);
    matCount->edit()->setObjectName(QStringLiteral("Edit2"));
    placeAfter(matCount, matLabel);
    counts_[slot(TableId::Materials)] = matCount;
    auto* materials = new GridView(tables_, TableId::Materials, page);
    materials->setObjectName(QStringLiteral("StringGrid1"));
    materials->setGeometry(QRect(QPoint(8, 36), QSize(materials->sizeForRows(1).width(), gridHeight)));
    grids_[slot(TableId::Materials)] = materials;

    const int x2 = materials->geometry().right() + 24;
    const QLabel* secLabel = label(QStringLiteral("seções:"), page, x2, 12);
    auto* secCount = new CountField(true, page);
    secCount->edit()->setObjectName(QStringLiteral("Edit3"));
    placeAfter(secCount, secLabel);
    counts_[slot(TableId::Sections)] = secCount;
    auto* sections = new GridView(tables_, TableId::Sections, page);
    sections->setObjectName(QStringLiteral("StringGrid2"));
    sections->setGeometry(QRect(QPoint(x2, 36), QSize(sections->sizeForRows(1).width(), gridHeight)));
    grids_[slot(TableId::Sections)] = sections;

    helpColumn(page, QRect(8, 36 + gridHeight + 12, PageWidth - 16, 50),
               {QStringLiteral("E-Módulo de Elasticidade"),
                QStringLiteral("I- Momento de inércia da seção transversal")});
    return page;
}

QWidget* MainWindow::buildReportPage()
{
    auto* page = new QWidget;
    page->setFixedSize(PageWidth, PageHeight);
    report_ = new QPlainTextEdit(page);
    report_->setObjectName(QStringLiteral("RichEdit1"));
    QFont courier(QStringLiteral("Courier New"));
    courier.setStyleHint(QFont::TypeWriter);
    courier.setPixelSize(12);
    report_->setFont(courier);
    report_->setLineWrapMode(QPlainTextEdit::NoWrap);
    report_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    report_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    auto* layout = new QVBoxLayout(page);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(report_);
    return page;
}

QWidget* MainWindow::buildDiagramPage(QLabel*& image)
{
    auto* page = new QWidget;
    page->setFixedSize(PageWidth, PageHeight);
    auto* panel = new QFrame(page);
    panel->setFrameShape(QFrame::Panel);
    panel->setFrameShadow(QFrame::Sunken);
    panel->setLineWidth(1);
    panel->setGeometry(0, 0, PageWidth, PageHeight);
    image = new QLabel(panel);
    image->setScaledContents(true);
    image->setGeometry(panel->contentsRect());
    image->setAutoFillBackground(true);
    QPalette white = image->palette();
    white.setColor(QPalette::Window, Qt::white);
    image->setPalette(white);
    return page;
}

void MainWindow::buildStatusBar()
{
    QStatusBar* bar = statusBar();
    bar->setSizeGripEnabled(false);
    hintPanel_ = new QLabel(bar);
    hintPanel_->setObjectName(QStringLiteral("HintPanel"));
    hintPanel_->setFixedWidth(250);
    hintPanel_->setFrameShape(QFrame::Panel);
    hintPanel_->setFrameShadow(QFrame::Sunken);
    timePanel_ = new QLabel(bar);
    timePanel_->setObjectName(QStringLiteral("TimePanel"));
    timePanel_->setFixedWidth(150);
    timePanel_->setFrameShape(QFrame::Panel);
    timePanel_->setFrameShadow(QFrame::Sunken);
    bar->addWidget(hintPanel_);
    bar->addWidget(timePanel_);
}

void MainWindow::connectTables()
{
    auto afterRule = [this] { refreshTables(); };
    for (TableId id : {TableId::Spans, TableId::Materials, TableId::Sections}) {
        CountField* f = counts_[slot(id)];
        connect(f, &CountField::edited, this, [this, id, afterRule](const QString& text) {
            guarded([&] { tables_.setCountText(id, text.toStdString()); });
            afterRule();
        });
        connect(f, &CountField::stepped, this, [this, id, afterRule](int delta) {
            guarded([&] { tables_.stepSpinner(id, delta); });
            afterRule();
        });
    }
    // Choosing a cell of the span table, by mouse or keyboard, recomputes the
    // node coordinates from the lengths.
    connect(grids_[slot(TableId::Spans)], &QTableWidget::currentCellChanged, this,
            [this](int, int, int, int) {
                if (refreshing_) return;  // the program's own row changes are no choice of the user's
                guarded([&] { tables_.AtualizaCoordenadas(); });
                refreshTables();
            });
}

// ------------------------------------------------------------------ helpers

GridView* MainWindow::grid(TableId id) const
{
    return grids_[slot(id)];
}
CountField* MainWindow::countField(TableId id) const
{
    return counts_[slot(id)];
}
QWidget* MainWindow::page(Page p) const
{
    return pages_->widget(static_cast<int>(p));
}

bool MainWindow::event(QEvent* e)
{
    if (e->type() == QEvent::StatusTip) {
        MostraDica(static_cast<QStatusTipEvent*>(e)->tip());
        return true;
    }
    return QMainWindow::event(e);
}

void MainWindow::MostraDica(const QString& hint)
{
    if (hint.isEmpty())
        showNotice(notice_);
    else
        hintPanel_->setText(hint);
}

void MainWindow::showNotice(const QString& text)
{
    // A path rarely fits the panel: its middle gives way, so that both the
    // folder's start and the file's name stay in sight; the tool tip has it all.
    notice_ = text;
    const int room = hintPanel_->contentsRect().width() - 2 * hintPanel_->margin() - 4;
    hintPanel_->setText(hintPanel_->fontMetrics().elidedText(text, Qt::ElideMiddle, room));
    hintPanel_->setToolTip(text);
}

void MainWindow::noticeLostCharacters()
{
    if (const QString notice = lostCharactersNotice(config_.title, tables_); !notice.isEmpty())
        showNotice(notice);
}

void MainWindow::syncConfiguration()
{
    if (!form1_) return;
    config_.title = form1_->title();
    form1_->copyOptionsTo(config_.diagram);
}

DiagramSettings MainWindow::diagramSettings()
{
    syncConfiguration();
    return config_.diagram;
}

void MainWindow::refreshTables()
{
    const bool outer = !refreshing_;
    refreshing_ = true;
    for (GridView* g : grids_) g->refresh();
    for (std::size_t i = 0; i < 6; ++i)
        counts_[i]->showText(QString::fromStdString(tables_.countText(static_cast<TableId>(i))));
    if (outer) refreshing_ = false;
}

void MainWindow::showMessage(const char* text)
{
    dialogs_->showMessage(QString::fromUtf8(text));
}

void MainWindow::setCaption(const QString& fileName)
{
    setWindowTitle(fileName);
}

std::string MainWindow::beamKey() const
{
    TableModel beam(tables_);
    beam.AtualizaCoordenadas();
    std::string key = BeamFileText("", beam.texts());
    for (const ExtraLoadRow& r : extraRows())
        for (const std::string* cell : {&r.span, &r.type, &r.value, &r.endValue, &r.a, &r.b})
            key += '\t' + *cell;
    // The supports' columns that the data file does not hold.
    const Grid& supports = tables_.grid(TableId::Supports);
    for (int r = 1; r <= supports.dataRowCount(); ++r)
        for (int c = SupportCodeColumns; c < supports.columnCount(); ++c) key += '\n' + supports.cell(r, c);
    return key;
}

std::string MainWindow::workingName() const
{
    return ArquivoDados.empty() ? temporaryDataFile() : ArquivoDados;
}

int MainWindow::readBeam(const std::string& fileName)
{
    analysed_ = false;
    // The envelope was the last solution's, and a run under way is dropped.
    envelope_->clear(config_.diagram);
    failed_ = true;
    const ReadResult r = Abrir(fileName, *model_, [this](const std::string& m) {
        dialogs_->showMessage(QString::fromStdString(m));
    });
    solvedBeam_.clear();
    if (r.status != 0) return r.status;
    try {
        tables_.fill(r.tables);
    } catch (const Error&) {
        return 7;  // the filling belongs to the read's last step
    }
    // The title only with the rest: a failed read leaves the beam as it was,
    // so that no later command writes a failed file's title into the user's.
    config_.title = r.title;
    if (form1_) form1_->setTitle(r.title);
    refreshTables();
    // A data file holds no extra loads, springs, settlements or hinges.
    general_.reset();
    supports_.reset();
    supported_.reset();
    setExtraRows({});
    failed_ = false;
    return 0;
}

void MainWindow::finishCalculation(const std::string& reportFile)
{
    writeTextFile(reportFile, model_->ReportFile);
    analysed_ = true;
    solvedBeam_ = beamKey();
    solvedFile_ = ArquivoDados;
    redraw();
    failed_ = false;
    showReport(reportFile);
}

void MainWindow::showReport(const std::string& reportFile)
{
    loadReport(*report_, reportFile);
    pages_->setCurrentWidget(page(Page::Saidas));
}

const QImage& MainWindow::diagramImage(int k) const
{
    QImage* const images[] = {&momentImage_, &shearImage_, &deflectionImage_};
    const Recording* const recordings[] = {&momentPage_, &shearPage_, &deflectionPage_};
    QLabel* const labels[] = {image1_, image2_, image3_};
    const auto i = static_cast<std::size_t>(k);
    if (staleImage_[i]) {
        *images[i] = renderRecording(*recordings[i]);
        labels[i]->setPixmap(QPixmap::fromImage(*images[i]));
        staleImage_[i] = false;
    }
    return *images[i];
}

void MainWindow::showCurrentImage()
{
    const Page shown[] = {Page::Momentos, Page::Cortantes, Page::Deformada};
    for (int k = 0; k < 3; ++k)
        if (pages_->currentWidget() == page(shown[k])) diagramImage(k);
}

void MainWindow::showImages()
{
    image1_->setPixmap(QPixmap::fromImage(momentImage_));
    image2_->setPixmap(QPixmap::fromImage(shearImage_));
    image3_->setPixmap(QPixmap::fromImage(deflectionImage_));
}

void MainWindow::clearImages()
{
    // The deflected shape is drawn on a page of the moment page's size.
    for (QImage* img : {&momentImage_, &shearImage_, &deflectionImage_}) {
        const bool moment = img != &shearImage_;
        const int w = moment ? config_.diagram.momentWidth : config_.diagram.shearWidth;
        const int h = moment ? config_.diagram.momentHeight : config_.diagram.shearHeight;
        *img = QImage(w, h, QImage::Format_RGB32);
        img->fill(Qt::white);
    }
    for (bool& stale : staleImage_) stale = false;
    showImages();
}

std::string MainWindow::diagramFile() const
{
    return !solvedBeam_.empty() && solvedFile_ == ArquivoDados ? ArquivoDados : "";
}

void MainWindow::redraw()
{
    if (!analysed_) return;
    syncConfiguration();
    // A view that only a long beam can have (zoomed past 200 %, panned past
    // 500 pixels) is no view of another beam: it goes back to the start's.
    DiagramSettings& view = config_.diagram;
    if (!longFrame() && (view.ZoomDesenho > FullZoom || std::abs(view.DeslocamentoDesenho) > 500)) {
        view.ZoomDesenho = 100.0;
        view.DeslocamentoDesenho = 0;
    }
    // Metafiles only beside the data file that holds the solved beam: a file
    // name never gets another beam's diagrams, nor a new window's empty pages.
    const std::string saveAs = diagramFile();
    // Each page is recorded once and replayed here; the same recording is what
    // the diagrams saved as a metafile.
    const std::vector<SpanCurve> curves =
        general_ && !supports_ ? CurvasDaViga(*model_, *general_) : std::vector<SpanCurve>{};
    const SupportedSolution* sup = supports_ && supported_ ? &*supported_ : nullptr;
    momentPage_ = sup        ? DesenhaMomentosApoiados(sup->frame, *general_, sup->curves, config_.diagram, saveAs)
                  : general_ ? DesenhaMomentosGeral(*model_, *general_, curves, config_.diagram, saveAs)
                             : DesenhaMomentos(*model_, config_.diagram, saveAs);
    staleImage_[0] = true;
    shearPage_ = sup        ? DesenhaCortantesApoiados(sup->frame, *general_, sup->curves, config_.diagram, saveAs)
                 : general_ ? DesenhaCortantesGeral(*model_, *general_, curves, config_.diagram, saveAs)
                            : DesenhaCortantes(*model_, config_.diagram, saveAs);
    staleImage_[1] = true;
    deflectionPage_ = sup ? DesenhaDeformadaGeral(sup->frame, *general_, sup->shape, sup->curves,
                                                  config_.diagram, saveAs)
                      : general_ ? DesenhaDeformadaGeral(*model_, *general_, curves, config_.diagram, saveAs)
                                 : DesenhaDeformada(*model_, config_.diagram, saveAs);
    staleImage_[2] = true;
    showCurrentImage();
    envelope_->redraw(*model_, config_.diagram, saveAs);
}

// ------------------------------------------------------------------ commands

void MainWindow::NovaEst()
{
    ArquivoDados.clear();
    setCaption(QStringLiteral("Kalvoro"));
    config_.diagram.DeslocamentoDesenho = 0;
    config_.diagram.ZoomDesenho = 100.0;
    tables_.NovaEst();
    for (GridView* g : grids_) g->applyColumnWidths();
    refreshTables();
    general_.reset();
    supports_.reset();
    supported_.reset();
    if (extraLoads_) setExtraRows({});
}

void MainWindow::SpeedButton1Click()
{
    NovaEst();
    pages_->setCurrentWidget(page(Page::Momentos));
    pages_->setCurrentWidget(page(Page::Cortantes));
    clearImages();
    envelope_->clear(config_.diagram);
    report_->clear();
    pages_->setCurrentWidget(page(Page::Trechos));
}

void MainWindow::Calcula1Click()
{
    if (refused(tables_, *dialogs_)) return;
    // A beam longer than the data file holds is solved on the supported road,
    // from a .vigx, whatever its supports.
    if (ArquivoDados.ends_with(".vigx") || !extraRows().empty() || TemApoiosEspeciais(tables_) ||
        BeamFileLimit(tables_.texts())) {
        calculateExtended();
        return;
    }
    const std::string work = workingName();
    try {
        syncConfiguration();
        tables_.save(work, config_.title);
        noticeLostCharacters();
        const int status = readBeam(work);
        if (status != 0) {
            // The previous report would otherwise stay on screen as if it were this one's.
            dialogs_->showMessage(
                QString::fromStdString(ReaderMessages().at(static_cast<std::size_t>(status))));
            return;
        }
        const std::string reportFile = derivedName(work, ".sai");
        failed_ = true;  // until the solution and its drawings are complete
        model_->ReportFile.clear();
        ColunasAltura(*model_);
        MontaRigidez(*model_);
        MontaCargas(*model_);
        AplicaApoios(*model_);
        ResolveSistema(*model_);
        Resultados(*model_);
        finishCalculation(reportFile);
    } catch (const NotWritableError& e) {
        dialogs_->showMessage(QString::fromUtf8(e.what()) + QString::fromUtf8(SaveElsewhere));
    } catch (const CapacityError& e) {
        dialogs_->showMessage(QString::fromUtf8(e.what()));
    } catch (const std::exception&) {
        // A solution that cannot be drawn is no analysis to pan or zoom: every
        // later redraw would fail the same way.
        if (failed_) analysed_ = false;
        showMessage(CalculationFailed);
        return;
    }
    // The train's envelope is an addition: its failure leaves the
    // calculation standing and says so on its own.
    try {
        envelope_->calculate(*model_, config_.diagram, ArquivoDados);
    } catch (const std::exception& e) {
        dialogs_->showMessage(EnvelopeFailureMessage(e));
    }
}

void MainWindow::desenhaestrutura1Click()
{
    Calcula1Click();
    try {
        redraw();
    } catch (const std::exception&) {
        showMessage(DrawingFailed);
    }
}

void MainWindow::Abrir2Click()
{
    const QString name = dialogs_->askOpenFileName(QString::fromUtf8(OpenFilter));
    if (!name.isEmpty()) openFile(name);
}

void MainWindow::openFile(const QString& fileName)
{
    if (fileName.endsWith(QStringLiteral(".vigx"))) {
        openExtended(fileName);
        return;
    }
    const std::string previous = ArquivoDados;
    const QString previousCaption = windowTitle();
    ArquivoDados = QFileInfo(fileName).absoluteFilePath().toStdString();
    setCaption(QString::fromStdString(ArquivoDados));
    // A file that fails to read leaves the tables with the previous beam: the
    // name goes back with them, so that no later command writes that beam over
    // the file that failed.
    auto restore = [&] {
        ArquivoDados = previous;
        setCaption(previousCaption);
    };
    int status = 0;
    try {
        status = readBeam(ArquivoDados);
    } catch (...) {
        restore();
        throw;
    }
    if (status != 0) {
        restore();
        dialogs_->showMessage(QString::fromStdString(ReaderMessages().at(static_cast<std::size_t>(status))));
        return;
    }
    Calcula1Click();
    // A calculation that failed has said why; drawing would only say it again.
    if (analysed_) desenhaestrutura1Click();
}

void MainWindow::Salvar1Click()
{
    if (refused(tables_, *dialogs_)) return;
    const QString name =
        dialogs_->askSaveFileName(QStringLiteral("Digite um nome para o novo arquivo"),
                                  QStringLiteral("Arquivos de dados (*.vig);;Viga Kalvoro (*.vigx)"),
                                  QStringLiteral("teste"), QStringLiteral("dat"));
    if (name.isEmpty()) {
        // A cancelled dialog leaves the beam unnamed, and the caption says so.
        ArquivoDados.clear();
        setCaption(QStringLiteral("Kalvoro"));
        return;
    }
    if (name.endsWith(QStringLiteral(".vigx")) || !extraRows().empty() || TemApoiosEspeciais(tables_)) {
        saveExtended(name);
        return;
    }
    // The name changes only once the file is written: a save that fails
    // leaves the beam under its earlier name, caption and all.
    tables_.AtualizaCoordenadas();
    refreshTables();
    syncConfiguration();
    tables_.save(name.toStdString(), config_.title);
    ArquivoDados = name.toStdString();
    noticeLostCharacters();
    setCaption(name);
    // The solution goes with the new name only when it is this beam's.
    solvedFile_ = !solvedBeam_.empty() && beamKey() == solvedBeam_ ? ArquivoDados : std::string();
    redraw();
}

void MainWindow::analisadados1Click()
{
    // An unnamed beam has no file to check: the user picks one.
    if (ArquivoDados.empty()) {
        const QString name = dialogs_->askOpenFileName(QString::fromUtf8(OpenFilter));
        if (name.isEmpty()) return;
        const std::string chosen = QFileInfo(name).absoluteFilePath().toStdString();
        const int status = readBeam(chosen);
        if (status == 0) {
            ArquivoDados = chosen;
            setCaption(QString::fromStdString(chosen));
        }
        dialogs_->showMessage(QString::fromStdString(ReaderMessages().at(static_cast<std::size_t>(status))));
        return;
    }
    if (ArquivoDados.ends_with(".vigx")) {
        if (readExtended(ArquivoDados) == 0)
            dialogs_->showMessage(QString::fromStdString(ReaderMessages()[0]));
        return;
    }
    const int status = readBeam(ArquivoDados);
    dialogs_->showMessage(QString::fromStdString(ReaderMessages().at(static_cast<std::size_t>(status))));
}

void MainWindow::Sobre1Click()
{
    about_->exec();
}

void MainWindow::Sair1Click()
{
    close();
}

// Pan and zoom as the data file's beams have them: 10 pixels a click within
// +-500, 10 % a click within 0..200 %. A beam of the supported road may be a
// thousand spans long, which at 200 % still gives each span under a pixel:
// beyond 200 % its zoom doubles at each click (stretching it lengthwise
// only, see VerticalZoom), up to where its longest span fills the page,
// keeping the middle of the page where it is, and its pan steps half a page
// at a time across the whole drawing.
namespace {

struct ViewLimits {
    double zoomMax = FullZoom;
    int panMin = -500, panMax = 500, panStep = 10;
};

ViewLimits viewLimits(const BeamFrame* frame, const DiagramSettings& s)
{
    ViewLimits v;
    if (!frame || s.ZoomDesenho < FullZoom) return v;
    double longest = 0;
    for (const BeamFrame::Span& k : frame->spans)
        longest = std::max(longest, std::fabs(frame->nodes[k.end].X - frame->nodes[k.start].X));
    const double total = frame->largestX();
    if (longest > 0 && total > 0) v.zoomMax = std::max(FullZoom, 100 * total / longest);
    const double drawn = s.momentWidth / 1.2 * s.ZoomDesenho / 100;
    v.panMin = -static_cast<int>(std::min(drawn, 1e9));
    v.panMin = std::min(v.panMin, -500);
    if (s.ZoomDesenho > FullZoom) v.panStep = std::max(10, s.momentWidth / 2);
    return v;
}

// A new zoom beyond 200 % with the point at the middle of the page kept there.
void zoomAboutMiddle(DiagramSettings& s, double zoom)
{
    const double middle = s.momentWidth / 2.0, margin = 20;
    const double from = middle - s.DeslocamentoDesenho - margin;
    const double pan = middle - from * zoom / s.ZoomDesenho - margin;
    s.ZoomDesenho = zoom;
    s.DeslocamentoDesenho = static_cast<int>(std::lround(std::clamp(pan, -1e9, 1e9)));
}

}  // namespace

const BeamFrame* MainWindow::longFrame() const
{
    return supports_ && supported_ ? &supported_->frame : nullptr;
}

void MainWindow::SpeedButton7Click()
{
    const ViewLimits v = viewLimits(longFrame(), config_.diagram);
    if (config_.diagram.DeslocamentoDesenho > v.panMin) {
        config_.diagram.DeslocamentoDesenho = std::max(v.panMin, config_.diagram.DeslocamentoDesenho - v.panStep);
        redraw();
    }
}

void MainWindow::SpeedButton8Click()
{
    const ViewLimits v = viewLimits(longFrame(), config_.diagram);
    if (config_.diagram.DeslocamentoDesenho < v.panMax) {
        config_.diagram.DeslocamentoDesenho = std::min(v.panMax, config_.diagram.DeslocamentoDesenho + v.panStep);
        redraw();
    }
}

void MainWindow::SpeedButton9Click()
{
    DiagramSettings& s = config_.diagram;
    if (s.ZoomDesenho > FullZoom)
        zoomAboutMiddle(s, std::max(FullZoom, s.ZoomDesenho / 2));
    else if (s.ZoomDesenho > 0)
        s.ZoomDesenho -= 10;
    else
        return;
    // Back within what the new zoom allows, so that both pan buttons work.
    const ViewLimits v = viewLimits(longFrame(), s);
    s.DeslocamentoDesenho = std::clamp(s.DeslocamentoDesenho, v.panMin, v.panMax);
    redraw();
}

void MainWindow::SpeedButton10Click()
{
    DiagramSettings& s = config_.diagram;
    if (s.ZoomDesenho < FullZoom) {
        s.ZoomDesenho += 10;
        redraw();
        return;
    }
    const ViewLimits v = viewLimits(longFrame(), s);
    if (longFrame() && s.ZoomDesenho < v.zoomMax) {
        zoomAboutMiddle(s, std::min(v.zoomMax, s.ZoomDesenho * 2));
        const ViewLimits after = viewLimits(longFrame(), s);
        s.DeslocamentoDesenho = std::clamp(s.DeslocamentoDesenho, after.panMin, after.panMax);
        redraw();
    }
}

void MainWindow::SpeedButton6Click()
{
    // Ok or the close box: either way the drawings take the new values.
    form1_->exec();
    redraw();
}

void MainWindow::SpeedButton11Click()
{
    // The deflected shape prints on a page of its own, in the moment diagram's
    // place, so that the page of the two diagrams stays as it always was.
    if (pages_->currentWidget() == page(Page::Deformada)) {
        printDiagramsAndReport(ArquivoDados, {{"D.wmf", UpperDiagramRect}}, *report_, "D.pdf", *dialogs_,
                               [this](const QString& text) { showNotice(text); });
        return;
    }
    // On the envelope's tab the envelope is printed with its report.
    if (pages_->currentWidget() == page(Page::Envoltoria) && envelope_->hasEnvelope()) {
        printDiagramsAndReport(ArquivoDados, {{"ENV.wmf", UpperDiagramRect}}, envelope_->report(), "ENV.pdf",
                               *dialogs_, [this](const QString& text) { showNotice(text); });
        return;
    }
    printDiagramsAndReport(ArquivoDados, {{"M.wmf", UpperDiagramRect}, {"C.wmf", LowerDiagramRect}}, *report_,
                           ".pdf", *dialogs_, [this](const QString& text) { showNotice(text); });
}

void MainWindow::TremTipo1Click()
{
    trem_->setTrain(envelope_->train());
    trem_->setResult(QDialog::Rejected);
    dialogs_->runDialog(*trem_);
    if (trem_->result() != QDialog::Accepted) return;
    envelope_->setTrain(trem_->train());
    envelope_->clear(config_.diagram);
}

void MainWindow::loadTrain(const QString& fileName)
{
    const TrainRead r = LeTrem(fileName.toStdString());
    if (r.status != 0) {
        dialogs_->showMessage(QString::fromStdString(r.message));
        return;
    }
    envelope_->setTrain(r.train);
    envelope_->clear(config_.diagram);
}

void MainWindow::SpeedButton12Click()
{
    influence_->clearPages();
    influence_->exec();
    // The influence lines leave the model solved for its load rows, which
    // carry none of a general beam's loads: its own solution comes back. A
    // beam of the supported road is computed on its own solver.
    if (general_ && !supports_) {
        try {
            ResolveGeral(*model_, *general_);
        } catch (const Error&) {
            analysed_ = false;
        }
    }
}

}  // namespace kalvoro
