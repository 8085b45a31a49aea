#pragma once
// The "Envoltória" tab: with a load train set, each calculation also gives
// the train's envelope along the beam, drawn on the moment page's frame with
// the main window's pan and zoom, and saved beside a named data file as
// stem + "ENV.sai" and stem + "ENV.wmf". Redraws (pan, zoom, configuration)
// reuse the envelope of the last calculation. A beam of the supported road
// (springs, settlements, hinges, any length) brings its own solver and its
// frame, which its redraws keep. The envelope of a beam longer than the data
// file holds costs seconds (it grows with the square of the span count): it
// is worked out on a thread of its own while the window goes on, the tab
// saying so, and shown when it is ready.

#include <QImage>
#include <QPlainTextEdit>
#include <QString>
#include <atomic>
#include <exception>
#include <functional>
#include <memory>
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
class QThread;

namespace kalvoro {

// What a failed envelope says; the calculation it follows stands.
QString EnvelopeFailureMessage(const std::exception& e);

class EnvelopePage {
public:
    explicit EnvelopePage(QLabel* image);
    // A run under way is stopped and waited for.
    ~EnvelopePage();
    EnvelopePage(const EnvelopePage&) = delete;
    EnvelopePage& operator=(const EnvelopePage&) = delete;

    // What a run on its own thread calls when it ends: ready once the
    // envelope is set (to draw it with the window's current view), failed
    // with the message of a run that failed.
    void onRunEnd(std::function<void()> ready, std::function<void(const QString&)> failed);
    // Whether a run is under way.
    bool calculating() const { return !runs_.empty() && runs_.back().ticket == ticket_; }

    const std::optional<Train>& train() const { return train_; }
    // A new train (or none) forgets the envelope until the next calculation.
    void setTrain(const std::optional<Train>& t);

    // Writes the envelope's report as stem + "ENV.sai" (nothing without an
    // envelope or a name); IoError on failure.
    void saveReport(const std::string& dataFile) const;

    // The envelope of the analysed model; throws on failure, leaving the tab blank.
    void calculate(AnalysisModel& m, const DiagramSettings& s, const std::string& dataFile);
    // The same for a beam of the supported road and its solution's curves.
    void calculate(const SupportedBeam& beam, const std::vector<SpanCurve>& curves, const DiagramSettings& s,
                   const std::string& dataFile);
    // The last envelope drawn again (nothing without one); a supported beam's
    // over its own frame, m being left aside.
    void redraw(const AnalysisModel& m, const DiagramSettings& s, const std::string& dataFile);
    // A white page and no envelope; a run under way is dropped.
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

    // A run on its own thread: its stop flag, and its number; only the
    // newest run's envelope is ever shown.
    struct Run {
        QThread* thread;
        std::shared_ptr<std::atomic<bool>> stop;
        unsigned ticket;
    };
    void startRun(const SupportedBeam& beam, const std::vector<SpanCurve>& curves);
    // Stops every run under way; none of them will be shown.
    void dropRuns();
    std::vector<Run> runs_;
    unsigned ticket_ = 0;
    std::function<void()> ready_;
    std::function<void(const QString&)> failed_;

    std::vector<TrainSection> envelope_;
    std::optional<BeamFrame> frame_;  // a supported beam's
    Recording page_;
    QImage image_;
    QPlainTextEdit report_;
};

}  // namespace kalvoro
