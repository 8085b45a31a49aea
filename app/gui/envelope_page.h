#pragma once
// The "Envoltória" tab: with a load train set, each calculation also gives
// the train's envelope along the beam, drawn on the moment page's frame with
// the main window's pan and zoom, and saved beside a named data file as
// stem + "ENV.sai" and stem + "ENV.wmf". Redraws (pan, zoom, configuration)
// reuse the envelope of the last calculation.

#include <QImage>
#include <QPlainTextEdit>
#include <optional>
#include <string>
#include <vector>

#include "data/train_file.h"
#include "diagrams/diagram_settings.h"
#include "diagrams/recording.h"
#include "engine/analysis_model.h"
#include "influence/train.h"

class QLabel;

namespace kalvoro {

class EnvelopePage {
public:
    explicit EnvelopePage(QLabel* image);

    const std::optional<Train>& train() const { return train_; }
    // A new train (or none) forgets the envelope until the next calculation.
    void setTrain(const std::optional<Train>& t);

    // The envelope of the analysed model; throws on failure, leaving the tab blank.
    void calculate(AnalysisModel& m, const DiagramSettings& s, const std::string& dataFile);
    // The last envelope drawn again (nothing without one).
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
    std::vector<TrainSection> envelope_;
    Recording page_;
    QImage image_;
    QPlainTextEdit report_;
};

}  // namespace kalvoro
