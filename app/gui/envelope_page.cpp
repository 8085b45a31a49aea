#include "app/gui/envelope_page.h"

#include <QLabel>
#include <QPixmap>

#include "app/gui/qt_canvas.h"
#include "influence/train_files.h"

namespace kalvoro {

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
    std::vector<TrainSection> envelope = TrainEnvelope(m, *train_);
    const std::string text = TrainEnvelopeReport(*train_, envelope);
    if (!dataFile.empty()) WriteTrainEnvelopeReport(dataFile, text);
    report_.setPlainText(QString::fromStdString(text).remove(QLatin1Char('\r')));
    envelope_ = std::move(envelope);
    redraw(m, s, dataFile);
}

void EnvelopePage::redraw(const AnalysisModel& m, const DiagramSettings& s, const std::string& dataFile)
{
    if (!train_ || envelope_.empty()) return;
    page_ = DesenhaEnvoltoria(m, s, *train_, envelope_, dataFile);
    image_ = renderRecording(page_);
    label_->setPixmap(QPixmap::fromImage(image_));
}

void EnvelopePage::clear(const DiagramSettings& s)
{
    envelope_.clear();
    page_ = Recording{};
    report_.clear();
    image_ = QImage(s.momentWidth, s.momentHeight, QImage::Format_RGB32);
    image_.fill(Qt::white);
    label_->setPixmap(QPixmap::fromImage(image_));
}

}  // namespace kalvoro
