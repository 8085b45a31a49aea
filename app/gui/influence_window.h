#pragma once
// The influence-line window: a tool bar (save, compute, print), the report on
// "Resultados" and the moment influence line on "Diagrama", and a status bar.
//
// Compute asks for the section in the section-entry dialog, writes the
// influence-line report beside the data file (stem + "LIM.sai") and shows it
// as read back from that file, then draws the influence line of the moment,
// which the drawing saves as stem + "LIM.wmf". The computation runs on the
// main window's analysis model; afterwards the model holds the user's beam
// solved again, so the main window's next redraw shows the user's loads.
//
// The window is created once at program start and shown modally by the main
// window, which clears both pages each time it opens it.
//
// A beam of the supported road (springs, settlements, hinges, any length)
// is computed on its own solver instead, from the beam and the solution of
// the main window's last calculation: the same report, page and train.

#include <QDialog>
#include <QImage>
#include <QString>
#include <functional>
#include <string>

#include "data/train_file.h"
#include "diagrams/diagram_settings.h"
#include "diagrams/recording.h"
#include "engine/analysis_model.h"
#include "engine/general_road.h"
#include "engine/supported_road.h"

class QAction;
class QLabel;
class QPlainTextEdit;
class QStatusBar;
class QTabWidget;

namespace kalvoro {

class TEntradaSecao;
class TrainBeam;
class UserDialogs;
struct BeamFrame;

// A beam of the supported road as the main window's last calculation left it.
struct SupportedView {
    const SupportedBeam* beam = nullptr;
    const std::vector<SpanCurve>* curves = nullptr;
};

// What the window uses of the main window.
struct InfluenceHost {
    AnalysisModel* model = nullptr;
    UserDialogs* dialogs = nullptr;
    // The current data file name (empty while the beam is unnamed).
    std::function<std::string()> dataFile;
    // The diagram options as the configuration dialog holds them now.
    std::function<DiagramSettings()> settings;
    // Where a notice goes (the main window's first status panel).
    std::function<void(const QString&)> notice;
    // True when the main window's last read or calculation failed: the model
    // holds a half-read beam, and nothing is computed on it.
    std::function<bool()> modelFailed;
    // The load train set in the main window, or none.
    std::function<const Train*()> train;
    // The beam of the supported road, when the main window holds one (a null
    // beam otherwise, or without the function).
    std::function<SupportedView()> supported;
};

class TLinhaInfluencia : public QDialog {
    Q_OBJECT
public:
    TLinhaInfluencia(InfluenceHost host, QWidget* parent = nullptr);

    // The section dialog is created after this window and handed over here.
    void useSectionDialog(TEntradaSecao* dialog) { section_ = dialog; }

    // What the main window does before showing the window: a white picture
    // and an empty report.
    void clearPages();

    void SpeedButton1Click();  // compute
    void SpeedButton2Click();  // save the report text
    void SpeedButton3Click();  // print the diagram file and the report text

    QTabWidget* PageControl1() const { return pages_; }
    QPlainTextEdit* RichEdit1() const { return report_; }
    QLabel* Image1() const { return image1_; }
    QStatusBar* StatusBar1() const { return status_; }
    // What the picture shows, and the drawing it was replayed from (empty
    // after clearPages).
    const QImage& image() const { return image_; }
    const Recording& drawing() const { return drawing_; }

protected:
    // The tool bar's hints go to the main window's hint handler, as every
    // hint of the program does.
    bool event(QEvent* e) override;

private:
    void showDrawing(const Recording& page);
    // With a train set: its extremes at the section under the report (and in
    // stem + "TREM.sai"), and its axles on the picture where they give the
    // largest moment. The metafile on disk stays the influence line alone.
    void showTrain(TrainBeam& beam, const BeamFrame& frame, const Train& train, long n, double xs,
                   const std::string& dataFile, const DiagramSettings& settings);
    // The report and the page of either road; false when the sink has said why not.
    bool computeModel(const std::string& trecho, const std::string& pos, const std::string& reportBase,
                      const std::string& dataFile, const DiagramSettings& settings, Recording& page);
    void computeSupported(const SupportedView& view, const std::string& trecho, const std::string& pos,
                          const std::string& reportBase, const std::string& dataFile,
                          const DiagramSettings& settings, Recording& page);

    InfluenceHost host_;
    TEntradaSecao* section_ = nullptr;
    QTabWidget* pages_ = nullptr;
    QPlainTextEdit* report_ = nullptr;
    QLabel* image1_ = nullptr;
    QStatusBar* status_ = nullptr;
    QImage image_;
    Recording drawing_;
};

}  // namespace kalvoro
