#pragma once
// The main window: the data-entry tables, the results report and the two
// diagrams on its tabs, and the commands of its menu and tool bar.
//
// How a calculation runs: the tables (a toolkit-free TableModel) are written
// to the beam data file, the file is read back through the checking reader
// into the AnalysisModel (which also fills the tables again), the engine runs
// on the model and appends the report to model.ReportFile, the report is
// written beside the data file and loaded into "Saídas", and the diagrams are
// drawn once onto recordings that are replayed onto the two images. The
// engine never sees the tables; the window owns the model, the tables, the
// configuration values and the view state.

#include <QImage>
#include <QMainWindow>
#include <QString>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/gui/unnamed_files.h"
#include "app/gui/user_dialogs.h"
#include "data/extra_loads.h"
#include "data/table_model.h"
#include "diagrams/deflection_diagram.h"
#include "diagrams/diagram_settings.h"
#include "diagrams/page_frame.h"
#include "diagrams/recording.h"
#include "engine/analysis_model.h"
#include "engine/general_deflection.h"

class QAction;
class QLabel;
class QPlainTextEdit;
class QTableWidget;
class QTabWidget;

namespace kalvoro {

// After "A pasta X não permite gravação." or "O arquivo X está protegido contra
// gravação." when Calcular cannot write the beam's files.
inline constexpr const char* SaveElsewhere = " Salve a viga em outro lugar (Arquivo → Salvar).";

class AboutBox;
class CountField;
class EnvelopePage;
class TremDialog;
class GridView;
class TEntradaSecao;
class TForm1;
class TLinhaInfluencia;

// The title (the data file's first line) and the diagram settings: page sizes,
// the view state, and the options as the configuration dialog held them when
// the last file was written or the last drawing made (the dialog's controls
// are the values; they are copied here right before each use).
struct Configuration {
    std::string title{DefaultTitle};
    DiagramSettings diagram;
};

// The open dialog's filter. Salvar's default extension is ".dat", so those
// files are listed beside the ".vig" ones; ".vigx" holds what they cannot.
inline constexpr const char* OpenFilter =
    "Dados da viga (*.vig *.dat);;Viga Kalvoro (*.vigx);;Todos os arquivos (*)";

// The pages, in tab order: the seven of the original layout, then the
// deflected shape, the loads the data file cannot hold and the envelope of a
// load train.
enum class Page {
    Trechos,
    Cargas,
    Apoios,
    Materiais,
    Saidas,
    Momentos,
    Cortantes,
    Deformada,
    CargasAdicionais,
    Envoltoria
};

class MainWindow : public QMainWindow {
    Q_OBJECT
public:
    // Without dialogs the window uses the toolkit's message boxes and file dialogs.
    explicit MainWindow(std::unique_ptr<UserDialogs> dialogs = nullptr, QWidget* parent = nullptr);
    ~MainWindow() override;

    // ---- commands; those without a handler of their own throw to the caller
    void NovaEst();                           // the default beam, unnamed, view reset
    void SpeedButton1Click();                 // "Novo"
    void Abrir2Click();                       // open, with the open dialog
    void openFile(const QString& fileName);   // open a named file (also from the command line)
    void Salvar1Click();                      // save, with the save dialog
    void analisadados1Click();                // check data
    void Calcula1Click();                     // calculate
    void desenhaestrutura1Click();            // draw
    void Sobre1Click();                       // about box
    void Sair1Click();                        // exit
    void SpeedButton7Click();                 // pan left
    void SpeedButton8Click();                 // pan right
    void SpeedButton9Click();                 // zoom out
    void SpeedButton10Click();                // zoom in
    void SpeedButton6Click();                 // configuration dialog, then redraw
    void SpeedButton11Click();                // print both diagrams and the report (the
                                              // deflected shape and the report on its tab)
    void SpeedButton12Click();                // the influence-line window
    void TremTipo1Click();                    // the load train dialog
    void loadTrain(const QString& fileName);  // a .trem file as the train, its message on failure
    // The diagrams again from the model, saved beside ArquivoDados when it is
    // named. Does nothing until a calculation has completed: a model that was
    // never analysed (or whose last read or analysis failed) has no diagram.
    void redraw();

    // ---- state
    const std::string& dataFile() const { return ArquivoDados; }
    TableModel& tables() { return tables_; }
    AnalysisModel& model() { return *model_; }
    Configuration& configuration() { return config_; }
    // The diagram settings with the configuration dialog's current options.
    DiagramSettings diagramSettings();

    // ---- widgets, for the other windows and the tests
    GridView* grid(TableId id) const;
    CountField* countField(TableId id) const;
    QTabWidget* pages() const { return pages_; }
    QWidget* page(Page p) const;
    QPlainTextEdit* reportView() const { return report_; }
    const QImage& momentImage() const { return diagramImage(0); }
    const QImage& shearImage() const { return diagramImage(1); }
    const QImage& deflectionImage() const { return diagramImage(2); }
    // The drawings the two images were replayed from (empty before the first).
    const Recording& momentRecording() const { return momentPage_; }
    const Recording& shearRecording() const { return shearPage_; }
    const Recording& deflectionRecording() const { return deflectionPage_; }
    QLabel* hintPanel() const { return hintPanel_; }
    QLabel* timePanel() const { return timePanel_; }
    AboutBox* aboutBox() const { return about_; }
    TForm1* configDialog() const { return form1_; }
    TLinhaInfluencia* influenceWindow() const { return influence_; }
    TEntradaSecao* sectionDialog() const { return section_; }
    TremDialog* trainDialog() const { return trem_; }
    EnvelopePage& envelopePage() { return *envelope_; }
    UserDialogs& dialogs() { return *dialogs_; }
    // A notice in the first status panel, which it keeps whenever no hint is shown.
    void showNotice(const QString& text);

    // ---- the extended beam file (.vigx) and the "Cargas adicionais" page
    QTableWidget* extraLoadsTable() const { return extraLoads_; }
    std::vector<ExtraLoadRow> extraRows() const;
    void setExtraRows(const std::vector<ExtraLoadRow>& rows);
    void appendExtraRow(const ExtraLoadRow& row);

protected:
    // Status tips (the hint of whatever is under the mouse) go to MostraDica.
    bool event(QEvent* e) override;

private:
    // The hint handler: the first panel of the status bar shows the hint.
    void MostraDica(const QString& hint);
    void buildActions();
    void buildPages();
    QWidget* buildSpansPage();
    QWidget* buildLoadsPage();
    QWidget* buildSupportsPage();
    QWidget* buildMaterialsPage();
    QWidget* buildReportPage();
    QWidget* buildDiagramPage(QLabel*& image);
    void buildStatusBar();
    void connectTables();
    QWidget* buildExtraLoadsPage();

    // The beam of the tables and the extra loads (ConversionError for what
    // they cannot say); a .vigx read into the tables and, when it holds the
    // beam, the model (its status, the refusal shown); Open, Save and
    // Calculate of a .vigx. A beam the data file cannot hold is never written
    // to a .vig.
    ExtendedBeam tablesBeam();
    int readExtended(const std::string& fileName);
    void openExtended(const QString& fileName);
    void saveExtended(const QString& fileName);
    void calculateExtended();

    // Reads the file into the model and, on success, the tables; returns the
    // reader's status (7 when the tables could not take what was read).
    int readBeam(const std::string& fileName);
    void refreshTables();
    void showReport(const std::string& reportFile);
    void showImages();
    void clearImages();
    // A diagram page's image (0 moments, 1 shears, 2 the deflected shape),
    // replayed from its recording when the recording is newer; the shown
    // page's is replayed right after each redraw, the others when their tab
    // is chosen (or their image asked for): a pan replays one page, not three.
    const QImage& diagramImage(int k) const;
    void showCurrentImage();
    void showMessage(const char* text);
    std::string workingName() const;
    // The beam as the data file holds it, title left out: equal keys, one solution.
    std::string beamKey() const;
    void setCaption(const QString& fileName);
    // The end of both roads of Calcular: the report written, the solution
    // marked as the current beam's, the diagrams drawn and the report shown.
    void finishCalculation(const std::string& reportFile);
    // After a write: which typed characters the file could only hold as "?".
    void noticeLostCharacters();
    // Copies the configuration dialog's title and options into config_.
    void syncConfiguration();
    // The frame of the solved beam of the supported road, whose pan and zoom
    // reach further; null for any other.
    const BeamFrame* longFrame() const;
    // The data file beside which the diagrams are saved: the one that holds
    // the solved beam, or none.
    std::string diagramFile() const;

    std::unique_ptr<UserDialogs> dialogs_;
    std::unique_ptr<AnalysisModel> model_;
    TableModel tables_;
    Configuration config_;
    // The current data file name; empty while the beam is unnamed.
    std::string ArquivoDados;
    // True when the last read or calculation failed: the model then holds a
    // half-read beam or a broken solution, and the influence lines refuse it.
    bool failed_ = false;
    // True while the model holds a complete analysis, or nothing at all (at
    // start): only then can the diagrams be drawn from it. A read fills the
    // structure but leaves the previous beam's solution, so it clears this
    // until the next successful calculation.
    bool analysed_ = true;
    // Whose solution the model holds: the key of the beam the last successful
    // calculation solved (empty when none has, or a read has replaced it) and
    // the data file that holds that beam. Diagram files are saved only there.
    std::string solvedBeam_;
    std::string solvedFile_;
    bool refreshing_ = false;
    // The span loads of a beam on the general road, as its last read left them;
    // empty for a beam the data file can hold.
    std::optional<BeamLoads> general_;
    // The springs, settlements and hinges of every node of a beam on the
    // supported road (general_ then holds its loads); empty otherwise. The
    // model holds that beam's structure when it can (up to 24 spans) and is
    // empty otherwise; the diagrams draw from supported_, never from it.
    std::optional<std::vector<NodeSupport>> supports_;
    // The supported road's last solution of this beam, which its diagrams
    // draw whatever its length; empty until one succeeds. The deflected
    // shape is worked out once here: a pan or a zoom only maps it again.
    struct SupportedSolution {
        BeamFrame frame;
        std::vector<SpanCurve> curves;
        std::vector<DeflectionCurve> shape;
        SupportedBeam beam;  // for its influence lines and trains
    };
    std::optional<SupportedSolution> supported_;
    QTableWidget* extraLoads_ = nullptr;

    QTabWidget* pages_ = nullptr;
    QPlainTextEdit* report_ = nullptr;
    QLabel* image1_ = nullptr;
    QLabel* image2_ = nullptr;
    QLabel* image3_ = nullptr;
    mutable QImage momentImage_;
    mutable QImage shearImage_;
    mutable QImage deflectionImage_;
    mutable bool staleImage_[3] = {};
    Recording momentPage_;
    Recording shearPage_;
    Recording deflectionPage_;
    QString notice_;
    QLabel* hintPanel_ = nullptr;
    QLabel* timePanel_ = nullptr;
    GridView* grids_[6] = {};
    CountField* counts_[6] = {};
    AboutBox* about_ = nullptr;
    TForm1* form1_ = nullptr;
    TLinhaInfluencia* influence_ = nullptr;
    TEntradaSecao* section_ = nullptr;
    TremDialog* trem_ = nullptr;
    QLabel* imageEnv_ = nullptr;
    std::unique_ptr<EnvelopePage> envelope_;
};

}  // namespace kalvoro
