// The main window's part of the extended beam file (.vigx): the "Cargas
// adicionais" page and the Open, Save and Calculate roads of a beam whose
// spans carry loads, or whose nodes springs, settlements or hinges, that the
// data file cannot hold (the latter solved on the supported road). Such a
// beam is never written to a .vig: Calculate asks for a .vigx name first,
// Save refuses a .vig name.

#include <QComboBox>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QPushButton>
#include <QStyledItemDelegate>
#include <QTableWidget>
#include <QVBoxLayout>

#include "app/gui/config_dialog.h"
#include "app/gui/envelope_page.h"
#include "app/gui/main_window.h"
#include "data/beam_tables.h"
#include "data/file_names.h"
#include "data/support_columns.h"
#include "data/text_file.h"
#include "engine/engine.h"
#include "engine/errors.h"
#include "engine/general_road.h"
#include "engine/report.h"
#include "engine/supported_road.h"

namespace kalvoro {

namespace {

constexpr int TypeColumn = 1;
constexpr const char* ExtendedFilter = "Viga Kalvoro (*.vigx)";
constexpr const char* NeedsExtendedFile =
    "Esta viga tem cargas ou apoios que o arquivo de dados (.vig) não guarda\n"
    "(páginas \"Cargas adicionais\" e \"Apoios\": molas, recalques, rótulas).\n"
    "Salve-a como Viga Kalvoro (.vigx) para calculá-la.";

QString text(const std::string& s)
{
    return QString::fromStdString(s);
}

// Why the beam goes to a .vigx: too long for the data file (its own count
// message), or loads and supports it does not hold.
QString needsExtendedFile(const TableModel& tables)
{
    if (const auto limit = BeamFileLimit(tables.texts()))
        return text(*limit + "\nSalve-a como Viga Kalvoro (.vigx) para calculá-la.");
    return QString::fromUtf8(NeedsExtendedFile);
}

// The "Tipo" column: the cell holds the type's name, picked from the list of
// the three when edited. A list box in every row would cost a widget a load,
// thousands of them for a long beam; the editor exists only while it is open.
class LoadTypeDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem&, const QModelIndex&) const override
    {
        auto* types = new QComboBox(parent);
        types->addItems(
            {QString::fromUtf8(ExtraPoint), QString::fromUtf8(ExtraMoment), QString::fromUtf8(ExtraSpread)});
        return types;
    }
    void setEditorData(QWidget* editor, const QModelIndex& index) const override
    {
        static_cast<QComboBox*>(editor)->setCurrentText(index.data().toString());
    }
    void setModelData(QWidget* editor, QAbstractItemModel* model, const QModelIndex& index) const override
    {
        model->setData(index, static_cast<QComboBox*>(editor)->currentText());
    }
};

}  // namespace

QWidget* MainWindow::buildExtraLoadsPage()
{
    auto* page = new QWidget;
    auto* layout = new QVBoxLayout(page);
    extraLoads_ = new QTableWidget(0, 6, page);
    extraLoads_->setObjectName(QStringLiteral("CargasAdicionais"));
    extraLoads_->setHorizontalHeaderLabels({QStringLiteral("Trecho"), QStringLiteral("Tipo"),
                                            QStringLiteral("Valor"), QStringLiteral("Valor final"),
                                            QStringLiteral("a"), QStringLiteral("b")});
    extraLoads_->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    extraLoads_->setItemDelegateForColumn(TypeColumn, new LoadTypeDelegate(extraLoads_));
    extraLoads_->setEditTriggers(extraLoads_->editTriggers() | QAbstractItemView::SelectedClicked);
    layout->addWidget(extraLoads_);
    auto* buttons = new QHBoxLayout;
    auto* add = new QPushButton(QStringLiteral("Incluir carga"), page);
    auto* remove = new QPushButton(QStringLiteral("Excluir carga"), page);
    add->setStatusTip(QStringLiteral("Inclui uma carga concentrada, um momento ou uma carga distribuída"));
    remove->setStatusTip(QStringLiteral("Exclui a carga da linha selecionada"));
    connect(add, &QPushButton::clicked, this, [this] {
        appendExtraRow({"1", ExtraPoint, "-1", "", "0", ""});
    });
    connect(remove, &QPushButton::clicked, this, [this] {
        const int row = extraLoads_->currentRow();
        if (row >= 0) extraLoads_->removeRow(row);
    });
    buttons->addWidget(add);
    buttons->addWidget(remove);
    buttons->addStretch();
    layout->addLayout(buttons);
    return page;
}

void MainWindow::appendExtraRow(const ExtraLoadRow& row)
{
    const int r = extraLoads_->rowCount();
    extraLoads_->insertRow(r);
    const std::string* cells[] = {&row.span, &row.type, &row.value, &row.endValue, &row.a, &row.b};
    for (int c = 0; c < 6; ++c) extraLoads_->setItem(r, c, new QTableWidgetItem(text(*cells[c])));
}

std::vector<ExtraLoadRow> MainWindow::extraRows() const
{
    std::vector<ExtraLoadRow> rows;
    for (int r = 0; r < extraLoads_->rowCount(); ++r) {
        const auto cell = [&](int c) {
            const QTableWidgetItem* item = extraLoads_->item(r, c);
            return item ? item->text().trimmed().toStdString() : std::string();
        };
        rows.push_back({cell(0), cell(TypeColumn), cell(2), cell(3), cell(4), cell(5)});
    }
    return rows;
}

void MainWindow::setExtraRows(const std::vector<ExtraLoadRow>& rows)
{
    extraLoads_->setRowCount(0);
    extraLoads_->setUpdatesEnabled(false);
    for (const ExtraLoadRow& row : rows) appendExtraRow(row);
    extraLoads_->setUpdatesEnabled(true);
}

ExtendedBeam MainWindow::tablesBeam()
{
    syncConfiguration();
    tables_.AtualizaCoordenadas();
    refreshTables();
    ExtendedBeam beam = VigaDasTabelas(config_.title, tables_.texts(), extraRows());
    const std::vector<NodeSupport> extras = ApoiosDasTabelas(tables_);
    for (std::size_t i = 0; i < beam.nodes.size() && i < extras.size(); ++i) beam.nodes[i].extra = extras[i];
    return beam;
}

int MainWindow::readExtended(const std::string& fileName)
{
    analysed_ = false;
    // The envelope was the last solution's, and a run under way is dropped.
    envelope_->clear(config_.diagram);
    const ExtendedRead read = AbrirVigx(fileName);
    failed_ = read.status != 0;
    if (read.status != 0) {
        dialogs_->showMessage(
            text(ReaderMessages().at(static_cast<std::size_t>(read.status)) + "\n" + read.message));
        return read.status;
    }
    // The tables take the first uniform and concentrated load of each span,
    // the page of extra loads the rest; the model takes them all.
    // The supports' own columns take the springs, settlements and hinges.
    ExtendedBeam base = read.beam;
    for (ExtendedNode& n : base.nodes) n.extra = {};
    const std::vector<ExtraLoadRow> rows = SeparaCargasAdicionais(base);
    try {
        tables_.fill(TabelasDaViga(base));
        // A beam longer than the analysis model holds is solved on the
        // supported road alone; the model is emptied, so that nothing that
        // reads it finds the previous beam there.
        if (CabeNoModelo(read.beam))
            PreencheModelo(read.beam, *model_);
        else
            *model_ = *std::make_unique<AnalysisModel>();
    } catch (const Error&) {
        return 7;
    }
    PreencheApoiosEspeciais(tables_, read.beam.nodes);
    refreshTables();
    setExtraRows(rows);
    config_.title = read.beam.title;
    if (configDialog()) configDialog()->setTitle(read.beam.title);
    supports_.reset();
    supported_.reset();
    if (PrecisaApoiosEspeciais(read.beam)) {
        supports_.emplace();
        for (const ExtendedNode& n : read.beam.nodes) supports_->push_back(n.extra);
    }
    if (CabeNoVig(read.beam) && !supports_)
        general_.reset();
    else
        general_ = CargasDaViga(read.beam);
    return 0;
}

void MainWindow::openExtended(const QString& fileName)
{
    const std::string name = QFileInfo(fileName).absoluteFilePath().toStdString();
    if (readExtended(name) != 0) return;
    ArquivoDados = name;
    setCaption(text(name));
    Calcula1Click();
}

void MainWindow::saveExtended(const QString& fileName)
{
    if (!fileName.endsWith(QStringLiteral(".vigx"))) {
        dialogs_->showMessage(needsExtendedFile(tables_));
        return;
    }
    try {
        SalvarVigx(fileName.toStdString(), tablesBeam());
    } catch (const ConversionError& e) {
        dialogs_->showMessage(QString::fromUtf8(e.what()));
        return;
    }
    ArquivoDados = fileName.toStdString();
    setCaption(fileName);
    // The solution goes with the new name only when it is this beam's.
    solvedFile_ = !solvedBeam_.empty() && beamKey() == solvedBeam_ ? ArquivoDados : std::string();
    redraw();
}

void MainWindow::calculateExtended()
{
    try {
        const ExtendedBeam beam = tablesBeam();
        if (!ArquivoDados.ends_with(".vigx")) {
            dialogs_->showMessage(needsExtendedFile(tables_));
            QString name =
                dialogs_->askSaveFileName(QStringLiteral("Salvar como"), QString::fromUtf8(ExtendedFilter),
                                          QStringLiteral("viga"), QStringLiteral("vigx"));
            if (name.isEmpty()) return;
            if (!name.endsWith(QStringLiteral(".vigx"))) name += QStringLiteral(".vigx");
            ArquivoDados = name.toStdString();
            setCaption(name);
        }
        SalvarVigx(ArquivoDados, beam);
        // The train's permanent values on the analysis model know one uniform
        // and one point load per span: only the supported road, which takes
        // them from its own solution, shows an envelope.
        envelope_->clear(config_.diagram);
        if (readExtended(ArquivoDados) != 0) return;
        const std::string reportFile = derivedName(ArquivoDados, ".sai");
        failed_ = true;  // until the solution and its drawings are complete
        model_->ReportFile.clear();
        if (supports_) {
            // As the batch program solves it: the supported road's report,
            // its curves and deflections for the diagrams.
            const SupportedBeam supported = VigaApoiada(beam);
            SupportedResult r = SupportedSystem(supported).solve(*general_);
            model_->ReportFile = RelatorioApoiado(r);
            BeamFrame frame = FrameOf(supported);
            std::vector<DeflectionCurve> shape =
                CurvasDeformadas(frame, DeflectionsOf(supported, r, *general_), r.curves);
            supported_ = SupportedSolution{std::move(frame), std::move(r.curves), std::move(shape), supported};
        } else if (general_) {
            ResolveGeral(*model_, *general_);
            ResultadosGeral(*model_, *general_);
        } else {
            SolveBeam(*model_);
            Resultados(*model_);
        }
        finishCalculation(reportFile);
        if (supports_) {
            try {
                envelope_->calculate(supported_->beam, supported_->curves, config_.diagram, ArquivoDados);
            } catch (const std::exception& e) {
                dialogs_->showMessage(EnvelopeFailureMessage(e));
            }
        }
    } catch (const ConversionError& e) {
        dialogs_->showMessage(QString::fromUtf8(e.what()));
    } catch (const NotWritableError& e) {
        // As for a data file: the folder or the file refuses the beam's files.
        dialogs_->showMessage(QString::fromUtf8(e.what()) + QString::fromUtf8(SaveElsewhere));
    } catch (const IoError& e) {
        dialogs_->showMessage(QString::fromUtf8(e.what()));
    } catch (const EngineError& e) {
        // On the supported road a mechanism names the hinge that makes it.
        QString message = QStringLiteral("Dados incorretos. Cálculo não efetuado");
        if (supports_) message += QStringLiteral("\n") + QString::fromUtf8(e.what());
        dialogs_->showMessage(message);
    } catch (const std::exception&) {
        dialogs_->showMessage(QStringLiteral("Dados incorretos. Cálculo não efetuado"));
    }
}

}  // namespace kalvoro
