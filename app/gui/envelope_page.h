#pragma once
// The "Envoltória" tab: with a load train set, each calculation also gives
// the train's envelope along the beam, drawn on the moment page's frame with
// the main window's pan and zoom, and saved beside a named data file as
// stem + "ENV.sai" and stem + "ENV.wmf". Redraws (pan, zoom, configuration)
// reuse the envelope of the last calculation. A beam of the supported road
// (springs, settlements, hinges, any length) brings its own solver and its
// frame, which its redraws keep.

#include <QImage>
#include <QPlainTextEdit>
#include <QString>
#include <exception>
#include <optional>
#include <string>
#include <vector>

#include "data/train_file.h"
#include "diagrams/diagram_settings.h"
#include "diagrams/page_frame.h"
#include "diagrams/recording.h"
#include "engine/analysis_model.h"
#include "engine/general_road.h"
#include "engine/supported_road.h"
#include "influence/train.h"

class QLabel;

namespace kalvoro {

// What a failed envelope says; the calculation it follows stands.
QString EnvelopeFailureMessage(const std::exception& e);

class EnvelopePage {
public:
    explicit EnvelopePage(QLabel* image);

    const std::optional<Train>& train() const { return train_; }
    // A new train (or none) forgets the envelope until the next calculation.
    void setTrain(const std::optional<Train>& t);

    // The envelope of the analysed model; throws on failure, leaving the tab blank.
    void calculate(AnalysisModel& m, const DiagramSettings& s, const std::string& dataFile);
    // The same for a beam of the supported road and its solution's curves.
    void calculate(const SupportedBeam& beam, const std::vector<SpanCurve>& curves, const DiagramSettings& s,
                   const std::string& dataFile);
    // The last envelope drawn again (nothing without one); a supported beam's
    // over its own frame, m being left aside.
    void redraw(const AnalysisModel& m, const DiagramSettings& s, const std::string& dataFile);
    // A white page and no envelope.
    void clear(const DiagramSettings& s);

    bool hasEnvelope() const { return !envelope_.empty(); }
    const Recording& recording() const { return page_; }
    const QImage& image() const { return image_; }
    // The envelope report, for printing with the diagram.
    const QPlainTextEdit& report() const { return report_; }

private:
    QLabel* label_;
    std::optional<Train> train_;
    // What the envelope was drawn on and shows, before drawing it.
    void show(std::vector<TrainSection> envelope, const std::string& dataFile);
    // The page over the supported beam's frame, or else over m.
    void draw(const AnalysisModel* m, const DiagramSettings& s, const std::string& dataFile);

    std::vector<TrainSection> envelope_;
    std::optional<BeamFrame> frame_;  // a supported beam's
    Recording page_;
    QImage image_;
    QPlainTextEdit report_;
};

}  // namespace kalvoro
