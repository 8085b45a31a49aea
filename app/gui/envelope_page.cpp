#include "app/gui/envelope_page.h"

#include <QLabel>
#include <QPixmap>

#include "app/gui/qt_canvas.h"
#include "influence/train_beam.h"
#include "influence/train_files.h"

namespace kalvoro {

QString EnvelopeFailureMessage(const std::exception& e)
{
    return QStringLiteral("Envoltória do trem-tipo não calculada.\r") + QString::fromUtf8(e.what());
}

EnvelopePage::EnvelopePage(QLabel* image) : label_(image) {}

void EnvelopePage::setTrain(const std::optional<Train>& t)
{
    train_ = t;
    envelope_.clear();
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
    const SupportedSystem system(beam);
    SupportedTrainBeam lines(system, beam, curves);
    show(TrainEnvelope(lines, *train_), dataFile);
    frame_ = FrameOf(beam);
    draw(nullptr, s, dataFile);
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
    envelope_.clear();
    frame_.reset();
    page_ = Recording{};
    report_.clear();
    image_ = QImage(s.momentWidth, s.momentHeight, QImage::Format_RGB32);
    image_.fill(Qt::white);
    label_->setPixmap(QPixmap::fromImage(image_));
}

}  // namespace kalvoro
