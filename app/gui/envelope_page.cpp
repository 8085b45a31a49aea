#include "app/gui/envelope_page.h"

#include <QLabel>
#include <QPainter>
#include <QPixmap>
#include <QThread>
#include <algorithm>
#include <stdexcept>

#include "app/gui/qt_canvas.h"
#include "influence/train_beam.h"
#include "influence/train_files.h"

namespace kalvoro {

QString EnvelopeFailureMessage(const std::exception& e)
{
    return QStringLiteral("Envoltória do trem-tipo não calculada.\r") + QString::fromUtf8(e.what());
}

namespace {
// Up to this many spans the envelope takes milliseconds and is worked out at once.
constexpr std::size_t SpansAtOnce = 24;
}  // namespace

EnvelopePage::EnvelopePage(QLabel* image) : label_(image) {}

EnvelopePage::~EnvelopePage()
{
    for (Run& r : runs_) {
        r.stop->store(true);
        QObject::disconnect(r.thread, nullptr, label_, nullptr);
        r.thread->wait();
        delete r.thread;
    }
}

void EnvelopePage::onRunEnd(std::function<void()> ready, std::function<void(const QString&)> failed)
{
    ready_ = std::move(ready);
    failed_ = std::move(failed);
}

void EnvelopePage::setTrain(const std::optional<Train>& t)
{
    train_ = t;
    dropRuns();
    envelope_.clear();
}

void EnvelopePage::dropRuns()
{
    ++ticket_;
    for (Run& r : runs_) r.stop->store(true);
}

void EnvelopePage::calculate(AnalysisModel& m, const DiagramSettings& s, const std::string& dataFile)
{
    clear(s);
    if (!train_) return;
    show(TrainEnvelope(m, *train_), dataFile);
    redraw(m, s, dataFile);
}

void EnvelopePage::calculate(const SupportedBeam& beam, const std::vector<SpanCurve>& curves,
                             const DiagramSettings& s, const std::string& dataFile)
{
    clear(s);
    if (!train_) return;
    if (beam.spans.size() > SpansAtOnce) {
        startRun(beam, curves);
        QImage waiting = image_;
        QPainter painter(&waiting);
        painter.drawText(waiting.rect().adjusted(10, 10, -10, -10), Qt::AlignLeft | Qt::AlignTop,
                         QStringLiteral("Calculando a envoltória do trem-tipo…"));
        painter.end();
        label_->setPixmap(QPixmap::fromImage(waiting));
        return;
    }
    const SupportedSystem system(beam);
    SupportedTrainBeam lines(system, beam, curves);
    show(TrainEnvelope(lines, *train_), dataFile);
    frame_ = FrameOf(beam);
    draw(nullptr, s, dataFile);
}

void EnvelopePage::startRun(const SupportedBeam& beam, const std::vector<SpanCurve>& curves)
{
    struct Outcome {
        std::vector<TrainSection> envelope;
        std::optional<std::string> error;
    };
    auto outcome = std::make_shared<Outcome>();
    auto stop = std::make_shared<std::atomic<bool>>(false);
    // The thread works on its own copies: the window may change them meanwhile.
    QThread* thread = QThread::create([outcome, stop, beam, curves, train = *train_] {
        try {
            const SupportedSystem system(beam);
            SupportedTrainBeam lines(system, beam, curves);
            outcome->envelope = TrainEnvelope(lines, train, stop.get());
        } catch (const std::exception& e) {
            outcome->error = e.what();
        }
    });
    const unsigned ticket = ++ticket_;
    // Its files are written by whoever ready_ is, under the name of that time.
    QObject::connect(thread, &QThread::finished, label_, [this, thread, outcome, ticket, beam] {
        const auto run = std::find_if(runs_.begin(), runs_.end(), [&](const Run& r) { return r.thread == thread; });
        if (run != runs_.end()) runs_.erase(run);
        thread->deleteLater();
        if (ticket != ticket_) return;
        if (outcome->error) {
            label_->setPixmap(QPixmap::fromImage(image_));  // the white page, not "Calculando…"
            if (failed_) failed_(EnvelopeFailureMessage(std::runtime_error(*outcome->error)));
            return;
        }
        show(std::move(outcome->envelope), "");
        frame_ = FrameOf(beam);
        if (ready_) ready_();
    });
    runs_.push_back({thread, stop, ticket});
    thread->start();
}

void EnvelopePage::saveReport(const std::string& dataFile) const
{
    if (!train_ || envelope_.empty() || dataFile.empty()) return;
    WriteTrainEnvelopeReport(dataFile, TrainEnvelopeReport(*train_, envelope_));
}

void EnvelopePage::show(std::vector<TrainSection> envelope, const std::string& dataFile)
{
    const std::string text = TrainEnvelopeReport(*train_, envelope);
    if (!dataFile.empty()) WriteTrainEnvelopeReport(dataFile, text);
    report_.setPlainText(QString::fromStdString(text).remove(QLatin1Char('\r')));
    envelope_ = std::move(envelope);
}

void EnvelopePage::redraw(const AnalysisModel& m, const DiagramSettings& s, const std::string& dataFile)
{
    draw(&m, s, dataFile);
}

void EnvelopePage::draw(const AnalysisModel* m, const DiagramSettings& s, const std::string& dataFile)
{
    if (!train_ || envelope_.empty() || (!frame_ && !m)) return;
    page_ = frame_ ? DesenhaEnvoltoria(*frame_, s, *train_, envelope_, dataFile)
                   : DesenhaEnvoltoria(*m, s, *train_, envelope_, dataFile);
    image_ = renderRecording(page_);
    label_->setPixmap(QPixmap::fromImage(image_));
}

void EnvelopePage::clear(const DiagramSettings& s)
{
    // A run under way is of a beam or train that is no longer shown.
    dropRuns();
    envelope_.clear();
    frame_.reset();
    page_ = Recording{};
    report_.clear();
    image_ = QImage(s.momentWidth, s.momentHeight, QImage::Format_RGB32);
    image_.fill(Qt::white);
    label_->setPixmap(QPixmap::fromImage(image_));
}

}  // namespace kalvoro
