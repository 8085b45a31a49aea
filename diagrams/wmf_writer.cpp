// The placeable WMF of a recording. Layout of the file:
//   placeable header (22 bytes): key, handle 0, frame (0, 0, W, H) in logical units
//     at 96 units per inch, reserved 0, checksum = XOR of the ten words before it;
//   META_HEADER (9 words): memory metafile, version 3.0, Size = words from here to
//     the end, NumberOfObjects = peak of live objects, MaxRecord = largest record;
//   SETMAPMODE anisotropic, SETWINDOWORG 0,0, SETWINDOWEXT W,H, so one logical
//     unit is one pixel of the page;
//   the records of the drawing operations, and EOF.
// Objects take the lowest free slot of the object table, as every reader assumes.
// The brush of the last fill and a null pen stay alive between fills, so a page of
// fills, pens and fonts never has more than five objects at once. A fill selects
// the null pen and then the current pen again; lines after a fill but before the
// first pen get a black hairline PS_INSIDEFRAME pen, the reader's sign for the
// device's own pen, since a metafile cannot select that one back.

#include <algorithm>
#include <cstdint>
#include <optional>
#include <type_traits>
#include <vector>

#include "data/text_file.h"
#include "engine/errors.h"
#include "wmf.h"
#include "wmf_records.h"

namespace kalvoro {

namespace {

std::int16_t int16(int v, const char* what)
{
    if (v < -32768 || v > 32767) throw Error(std::string("WMF: ") + what + " fora do intervalo de 16 bits");
    return static_cast<std::int16_t>(v);
}

class WmfWriter {
public:
    explicit WmfWriter(std::size_t reserve) { out_.reserve(reserve); }

    std::string finish();
    void fillRect(const op::FillRect& f);
    void pen(const op::Pen& p);
    void moveTo(const op::MoveTo& m) { point(wmf::MoveTo, m.x, m.y); }
    void lineTo(const op::LineTo& l);
    void font(const op::Font& f);
    void text(const op::Text& t);
    void start(int width, int height);

private:
    void u8(std::uint8_t v) { out_.push_back(static_cast<char>(v)); }
    void u16(std::uint16_t v)
    {
        out_.push_back(static_cast<char>(v & 0xFF));
        out_.push_back(static_cast<char>(v >> 8));
    }
    void s16(std::int16_t v) { u16(static_cast<std::uint16_t>(v)); }
    void u32(std::uint32_t v)
    {
        u16(static_cast<std::uint16_t>(v & 0xFFFF));
        u16(static_cast<std::uint16_t>(v >> 16));
    }
    void color(Color c)
    {
        u8(c.r);
        u8(c.g);
        u8(c.b);
        u8(0);
    }
    void patch16(std::size_t at, std::uint16_t v)
    {
        out_[at] = static_cast<char>(v & 0xFF);
        out_[at + 1] = static_cast<char>(v >> 8);
    }
    void patch32(std::size_t at, std::uint32_t v)
    {
        patch16(at, static_cast<std::uint16_t>(v & 0xFFFF));
        patch16(at + 2, static_cast<std::uint16_t>(v >> 16));
    }

    // A record is opened with its function and closed once its parameters are
    // written; closing stores its size in words and keeps the largest.
    std::size_t open(wmf::Func f)
    {
        const std::size_t at = out_.size();
        u32(0);
        u16(f);
        return at;
    }
    void close(std::size_t at)
    {
        const auto words = static_cast<std::uint32_t>((out_.size() - at) / 2);
        patch32(at, words);
        maxRecord_ = std::max(maxRecord_, words);
    }
    void record1(wmf::Func f, std::uint16_t a)
    {
        const std::size_t at = open(f);
        u16(a);
        close(at);
    }
    void point(wmf::Func f, int x, int y)
    {
        // The commonest record by far, written in one piece: 5 words, the
        // function, y, x.
        const auto sx = static_cast<std::uint16_t>(int16(x, "coordenada"));
        const auto sy = static_cast<std::uint16_t>(int16(y, "coordenada"));
        const char record[10] = {5,
                                 0,
                                 0,
                                 0,
                                 static_cast<char>(f & 0xFF),
                                 static_cast<char>(f >> 8),
                                 static_cast<char>(sy & 0xFF),
                                 static_cast<char>(sy >> 8),
                                 static_cast<char>(sx & 0xFF),
                                 static_cast<char>(sx >> 8)};
        out_.append(record, sizeof record);
        maxRecord_ = std::max<std::uint32_t>(maxRecord_, 5);
    }

    int create();
    void select(int slot) { record1(wmf::SelectObject, static_cast<std::uint16_t>(slot)); }
    void remove(int slot)
    {
        record1(wmf::DeleteObject, static_cast<std::uint16_t>(slot));
        used_[static_cast<std::size_t>(slot)] = false;
    }
    int createPen(std::uint16_t style, int width, Color c);

    std::string out_;
    std::uint32_t maxRecord_ = 0;
    std::vector<bool> used_;  // the object table: slot i holds a live object
    std::size_t peak_ = 0;
    std::optional<int> brush_, nullPen_, pen_, font_;
    Color brushColor_;
    std::optional<int> selectedPen_;
    bool textColorsSet_ = false;
};

int WmfWriter::create()
{
    auto free = std::find(used_.begin(), used_.end(), false);
    if (free == used_.end()) free = used_.insert(used_.end(), false);
    *free = true;
    const auto slot = static_cast<std::size_t>(free - used_.begin());
    peak_ = std::max(peak_, slot + 1);
    return static_cast<int>(slot);
}

int WmfWriter::createPen(std::uint16_t style, int width, Color c)
{
    if (width < 0) throw Error("WMF: largura de caneta negativa");
    const std::int16_t w = int16(width, "largura de caneta");
    const int slot = create();
    const std::size_t at = open(wmf::CreatePenIndirect);
    u16(style);
    s16(w);
    s16(0);
    color(c);
    close(at);
    return slot;
}

void WmfWriter::start(int width, int height)
{
    if (width < 1 || width > 32767 || height < 1 || height > 32767)
        throw Error("WMF: tamanho de página fora do intervalo de 1 a 32767");
    const auto w = static_cast<std::uint16_t>(width), h = static_cast<std::uint16_t>(height);
    u32(wmf::PlaceableKey);
    u16(0);  // handle
    u16(0);  // frame left, top, right, bottom
    u16(0);
    u16(w);
    u16(h);
    u16(wmf::UnitsPerInch);
    u32(0);  // reserved
    std::uint16_t sum = 0;
    for (std::size_t i = 0; i < 20; i += 2)
        sum ^= static_cast<std::uint16_t>(static_cast<unsigned char>(out_[i]) |
                                          static_cast<unsigned char>(out_[i + 1]) << 8);
    u16(sum);

    u16(wmf::MemoryMetafile);
    u16(wmf::HeaderWords);
    u16(wmf::Version300);
    u32(0);  // Size, MaxRecord and NumberOfObjects are known only at the end
    u16(0);
    u32(0);
    u16(0);  // no members

    record1(wmf::SetMapMode, wmf::MapAnisotropic);
    point(wmf::SetWindowOrg, 0, 0);
    point(wmf::SetWindowExt, width, height);
}

std::string WmfWriter::finish()
{
    close(open(wmf::Eof));
    const std::size_t words = (out_.size() - wmf::PlaceableBytes) / 2;
    if (words > 0xFFFFFFFFu || peak_ > 0xFFFF) throw Error("WMF: página grande demais para um metafile");
    patch32(wmf::PlaceableBytes + 6, static_cast<std::uint32_t>(words));
    patch16(wmf::PlaceableBytes + 10, static_cast<std::uint16_t>(peak_));
    patch32(wmf::PlaceableBytes + 12, maxRecord_);
    return std::move(out_);
}

void WmfWriter::fillRect(const op::FillRect& f)
{
    const std::int16_t l = int16(f.left, "coordenada"), t = int16(f.top, "coordenada"),
                       r = int16(f.right, "coordenada"), b = int16(f.bottom, "coordenada");
    if (!brush_ || brushColor_ != f.color) {
        const int slot = create();
        const std::size_t at = open(wmf::CreateBrushIndirect);
        u16(wmf::BrushSolid);
        color(f.color);
        u16(0);  // hatch
        close(at);
        select(slot);
        if (brush_) remove(*brush_);
        brush_ = slot;
        brushColor_ = f.color;
    }
    if (!nullPen_) nullPen_ = createPen(wmf::PenNull, 0, colors::Black);
    if (selectedPen_ != nullPen_) {
        select(*nullPen_);
        selectedPen_ = nullPen_;
    }

    const std::size_t at = open(wmf::Rectangle);
    s16(b);
    s16(r);
    s16(t);
    s16(l);
    close(at);

    if (pen_) {
        select(*pen_);
        selectedPen_ = pen_;
    }
}

void WmfWriter::pen(const op::Pen& p)
{
    const int slot = createPen(wmf::PenSolid, p.width, p.color);
    select(slot);
    if (pen_) remove(*pen_);
    pen_ = slot;
    selectedPen_ = slot;
}

void WmfWriter::lineTo(const op::LineTo& l)
{
    if (!pen_ && selectedPen_) {
        // A fill before the first pen left the null pen selected, and a metafile
        // cannot select the device's own pen again: write an equal one, a black
        // hairline, marked as PS_INSIDEFRAME (which draws lines exactly as
        // PS_SOLID) so that the reader knows it stands for the device's pen.
        pen_ = createPen(wmf::PenInsideFrame, 0, colors::Black);
        select(*pen_);
        selectedPen_ = pen_;
    }
    point(wmf::LineTo, l.x, l.y);
}

void WmfWriter::font(const op::Font& f)
{
    const std::int16_t height = int16(f.height, "altura de fonte");
    std::string face = utf8ToCp1252(f.face);
    face.resize(wmf::FaceNameBytes - 1 < face.size() ? wmf::FaceNameBytes - 1 : face.size());

    const int slot = create();
    const std::size_t at = open(wmf::CreateFontIndirect);
    s16(height);  // positive: the height of the character cell
    s16(0);       // width, escapement, orientation
    s16(0);
    s16(0);
    s16(wmf::NormalWeight);
    u8(0);  // italic, underline, strikeout
    u8(0);
    u8(0);
    u8(wmf::AnsiCharset);
    u8(0);  // precisions, quality, pitch and family
    u8(0);
    u8(0);
    u8(0);
    out_.append(face);
    out_.append(wmf::FaceNameBytes - face.size(), '\0');
    close(at);
    select(slot);
    if (font_) remove(*font_);
    font_ = slot;
}

void WmfWriter::text(const op::Text& t)
{
    const std::int16_t x = int16(t.x, "coordenada"), y = int16(t.y, "coordenada");
    const std::string bytes = utf8ToCp1252(t.text);
    if (bytes.size() > 32767) throw Error("WMF: texto longo demais");
    if (!textColorsSet_) {
        record1(wmf::SetBkMode, wmf::BkOpaque);
        std::size_t at = open(wmf::SetBkColor);
        color(colors::White);
        close(at);
        at = open(wmf::SetTextColor);
        color(colors::Black);
        close(at);
        textColorsSet_ = true;
    }
    const std::size_t at = open(wmf::TextOut);
    u16(static_cast<std::uint16_t>(bytes.size()));
    out_.append(bytes);
    if (bytes.size() % 2 != 0) u8(0);
    s16(y);
    s16(x);
    close(at);
}

// Bytes of the largest record group each operation can produce, so the buffer
// is allocated once.
std::size_t sizeBound(const Recording& rec)
{
    std::size_t n = 128;
    for (const DrawOp& d : rec.ops) {
        n += 80;
        if (const auto* t = std::get_if<op::Text>(&d)) n += t->text.size();
    }
    return n;
}

}  // namespace

std::string wmfBytes(const Recording& rec)
{
    WmfWriter w(sizeBound(rec));
    w.start(rec.width, rec.height);
    for (const DrawOp& d : rec.ops) {
        std::visit(
            [&w](const auto& o) {
                using T = std::decay_t<decltype(o)>;
                if constexpr (std::is_same_v<T, op::FillRect>)
                    w.fillRect(o);
                else if constexpr (std::is_same_v<T, op::Pen>)
                    w.pen(o);
                else if constexpr (std::is_same_v<T, op::MoveTo>)
                    w.moveTo(o);
                else if constexpr (std::is_same_v<T, op::LineTo>)
                    w.lineTo(o);
                else if constexpr (std::is_same_v<T, op::Font>)
                    w.font(o);
                else
                    w.text(o);
            },
            d);
    }
    return w.finish();
}

void writeWmf(const std::string& path, const Recording& rec)
{
    writeFileAtomically(path, wmfBytes(rec));
}

}  // namespace kalvoro
