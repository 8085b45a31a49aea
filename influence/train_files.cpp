#include "influence/train_files.h"

#include <algorithm>
#include <cmath>

#include "data/file_names.h"
#include "data/text_file.h"
#include "diagrams/canvas.h"
#include "diagrams/clipping_canvas.h"
#include "diagrams/diagrams.h"
#include "diagrams/page_frame.h"
#include "engine/arithmetic.h"
#include "engine/text_fields.h"

namespace kalvoro {

namespace {

constexpr const char* CrLf = "\r\n";

// The curve colours besides the frame's.
constexpr Color Largest{255, 0, 0};
constexpr Color Smallest{255, 0, 255};

}  // namespace

std::string TrainSectionReport(const Train& t, const TrainSection& s)
{
    // Labels left-aligned in 16 characters (UTF-8 letters counted once).
    const auto label = [](const char* text) {
        std::string l = text;
        const std::size_t chars = static_cast<std::size_t>(std::count_if(
            l.begin(), l.end(), [](char c) { return (static_cast<unsigned char>(c) & 0xC0) != 0x80; }));
        return l + std::string(chars < 16 ? 16 - chars : 1, ' ');
    };
    std::string out = "Trem-tipo " + t.title + " na seção à " + fieldReal(s.xs, 0, 3) + " m do trecho " +
                      fieldInt(s.n, 0) + CrLf;
    const auto line = [&](const char* text, const TrainExtreme& e) {
        return label(text) + fieldReal(e.effect, 14, 4) + fieldReal(e.position, 11, 3) +
               (e.reverse ? " <-" : " ->") + fieldReal(e.total, 14, 4) + CrLf;
    };
    out += line("Momento máximo", s.moment.largest);
    out += line("Momento mínimo", s.moment.smallest);
    out += line("Cortante máximo", s.shear.largest);
    out += line("Cortante mínimo", s.shear.smallest);
    return out;
}

std::string TrainEnvelopeReport(const Train& t, const std::vector<TrainSection>& envelope)
{
    std::string out = "Envoltória de esforços do trem-tipo " + t.title + CrLf;
    out += "Totais com as cargas permanentes; cortante à direita da seção (à esquerda no fim do trecho)" +
           std::string(CrLf);
    out += padText("Trecho", 7) + padText("Posição", 9) + padText("M perm.", 12) + padText("M máx.", 12) +
           padText("M mín.", 12) + padText("V perm.", 12) + padText("V máx.", 12) + padText("V mín.", 12) +
           CrLf;
    for (const TrainSection& s : envelope)
        out += fieldInt(s.n, 7) + fieldReal(s.xs, 9, 2) + fieldReal(s.moment.permanent, 12, 4) +
               fieldReal(s.moment.largest.total, 12, 4) + fieldReal(s.moment.smallest.total, 12, 4) +
               fieldReal(s.shear.permanent, 12, 4) + fieldReal(s.shear.largest.total, 12, 4) +
               fieldReal(s.shear.smallest.total, 12, 4) + CrLf;
    return out;
}

void WriteTrainSectionReport(const std::string& dataFile, const std::string& report)
{
    writeTextFile(derivedName(dataFile, "TREM.sai"), report);
}

void WriteTrainEnvelopeReport(const std::string& dataFile, const std::string& report)
{
    writeTextFile(derivedName(dataFile, "ENV.sai"), report);
}

namespace {

// The page of either road: the frame of the beam and the X of each span's
// left node (span k at [k - 1]).
Recording drawEnvelope(const BeamFrame& frame, const std::vector<double>& spanStarts,
                       const DiagramSettings& s, const Train& t, const std::vector<TrainSection>& envelope,
                       const std::string& dataFile, bool svg)
{
    const int W = s.momentWidth;
    const int H = s.momentHeight;
    Real largest = 0;
    for (const TrainSection& e : envelope)
        for (const double v : {e.moment.permanent, e.moment.largest.total, e.moment.smallest.total})
            largest = std::max(largest, std::fabs(Real(v)));

    PageMapping map;
    map.H = H;
    map.sx = store(Real(EscalaHorizontal(frame, s)) * s.ZoomDesenho / 100);
    // The largest magnitude a third of the page from the axis, which lies
    // across the middle of the page; an envelope that is zero everywhere
    // keeps the moment diagram's fallback scale.
    const Real sy = largest <= 1e-15L ? 100.0L : div(H, largest * 3);
    map.sy = store(sy * VerticalZoom(s) / 100);
    map.x0 = addInt(s.DeslocamentoDesenho, 20);
    map.y0 = roundEven(Real(H) / 2);

    RecordingCanvas recording(W, H);
    ClippingCanvas clipped(recording, W, H);
    Canvas& canvas = frame.clip ? static_cast<Canvas&>(clipped) : recording;
    StartPage(canvas, W, H);
    DrawAxisAndSpanNumbers(canvas, frame, map, s);
    DrawSupports(canvas, frame, map, s);

    using Column = double (*)(const TrainSection&);
    const std::pair<Color, Column> curves[] = {
        {colors::Blue, [](const TrainSection& e) { return e.moment.permanent; }},
        {Largest, [](const TrainSection& e) { return e.moment.largest.total; }},
        {Smallest, [](const TrainSection& e) { return e.moment.smallest.total; }},
    };
    // Each span's curve runs from the axis through its eleven sections and
    // back to the axis, as the moment diagram's does.
    for (const auto& [color, value] : curves) {
        canvas.setPen(color, 1);
        for (std::size_t i = 0; i < envelope.size(); ++i) {
            const TrainSection& e = envelope[i];
            const Real X = Real(spanStarts.at(static_cast<std::size_t>(e.n - 1))) + e.xs;
            const bool first = i == 0 || envelope[i - 1].n != e.n;
            if (first) canvas.moveTo(map.px(X), map.py(0));
            canvas.lineTo(map.px(X), map.py(-Real(value(e))));
            const bool last = i + 1 == envelope.size() || envelope[i + 1].n != e.n;
            if (last) canvas.lineTo(map.px(X), map.py(0));
        }
    }

    // The legend under the title: a short stroke of each colour and its name.
    const char* names[] = {"permanente", "máximo", "mínimo"};
    canvas.setFont(PageFont, 12);
    for (int i = 0; i < 3; ++i) {
        const int y = 24 + 14 * i;
        canvas.setPen(curves[i].first, 2);
        canvas.moveTo(4, y + 7);
        canvas.lineTo(24, y + 7);
        canvas.textOut(28, y, names[i]);
    }
    DrawTitle(canvas, "Envoltória de Momentos Fletores - " + t.title);
    Recording page = recording.take();
    SavePage(page, dataFile, "ENV", svg);
    return page;
}

}  // namespace

Recording DesenhaEnvoltoria(const AnalysisModel& m, const DiagramSettings& s, const Train& t,
                            const std::vector<TrainSection>& envelope, const std::string& dataFile, bool svg)
{
    std::vector<double> starts;
    for (long k = 1; k <= m.LoadRowCount[1]; ++k) starts.push_back(SpanStart(m, k));
    return drawEnvelope(FrameOf(m), starts, s, t, envelope, dataFile, svg);
}

Recording DesenhaEnvoltoria(const BeamFrame& frame, const DiagramSettings& s, const Train& t,
                            const std::vector<TrainSection>& envelope, const std::string& dataFile, bool svg)
{
    std::vector<double> starts;
    for (const BeamFrame::Span& k : frame.spans) starts.push_back(frame.nodes.at(k.start).X);
    return drawEnvelope(frame, starts, s, t, envelope, dataFile, svg);
}

}  // namespace kalvoro
