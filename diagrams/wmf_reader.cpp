// Reads a placeable WMF back into a recording.
//
// What is accepted: a placeable header (key, handle 0, reserved 0, correct
// checksum, a non-empty frame, units per inch > 0), a memory or disk metafile
// header of 9 words, version 1.0 or 3.0, whose Size matches the file length,
// then records up to exactly one EOF at the very end. Each record must be at
// least 3 words, lie inside the file, be no larger than MaxRecord and carry
// every parameter its function needs (extra words are ignored). The records
// understood are those of our own writer plus the usual alternatives of other
// writers: POLYLINE, EXTTEXTOUT (plain, opaque or clipped; any dx array is
// ignored), PATBLT fills, SETTEXTALIGN with the default alignment and the 4- or
// 5-word SETBKMODE. Any other function is rejected, as are object indices outside
// the table or naming an empty slot, a table smaller than the live objects,
// dashed pens, hatched brushes, rotated fonts, non-ANSI character sets and face
// names without their NUL. What would not fit a metafile again (a page over
// 32767 pixels, a mapped coordinate, pen width or font height outside 16 bits,
// a text over 32767 bytes) is refused too, so every recording returned here can
// be written by wmfBytes and read back to itself.
//
// Coordinates: the frame (right - left) x (bottom - top) at Inch units per inch
// becomes a page of W x H pixels at 96 dpi. Under MM_ANISOTROPIC the window
// (SETWINDOWORG/SETWINDOWEXT, by default the frame) is mapped onto that page;
// under MM_TEXT a logical unit is a frame unit. Our own files map one to one.
// Pen widths and font heights scale with the window, so a 1440-units-per-inch
// file is read at the size it would print.
//
// Drawing state: as in a device context, a file that draws before selecting a
// pen or font uses the device's default (no Pen or Font operation is made up),
// and an unselected brush fills white. A pen or font becomes an operation when a
// different object is selected; reselecting the same object (as our writer does
// after each fill) adds nothing. Before any pen has been selected, a black
// hairline PS_INSIDEFRAME pen stands for the device's default pen (it draws the
// same lines) and makes no operation either: our writer uses it to draw with the
// device's pen after a fill has selected the null pen. Lines drawn with a null
// pen become MoveTo. POLYLINE and RECTANGLE leave GDI's current position where
// it was, so a following LINETO is preceded by a MoveTo to it. Text colour and
// background are not part of the recording: text is always black on an opaque
// white cell, and the opaque rectangle of an EXTTEXTOUT becomes a fill in the
// background colour.
//
// Safety: every read is bounds-checked, memory grows only with the records
// actually present, and each record advances the position by at least 6 bytes.

#include <cstdint>
#include <functional>
#include <optional>
#include <queue>
#include <vector>

#include "data/text_file.h"
#include "engine/arithmetic.h"
#include "engine/errors.h"
#include "wmf.h"
#include "wmf_records.h"

namespace kalvoro {

namespace {

std::string hex4(unsigned v)
{
    static const char digits[] = "0123456789ABCDEF";
    std::string s = "0x0000";
    for (int i = 5; i >= 2; --i, v >>= 4) s[static_cast<std::size_t>(i)] = digits[v & 0xF];
    return s;
}

[[noreturn]] void fail(const std::string& what)
{
    throw Error("WMF inválido: " + what);
}

// Little-endian reads that refuse to leave the buffer.
class Bytes {
public:
    explicit Bytes(std::string_view b) : b_(b) {}
    std::size_t size() const { return b_.size(); }
    std::uint8_t u8(std::size_t at) const
    {
        if (at >= b_.size()) fail("leitura além do fim do arquivo");
        return static_cast<std::uint8_t>(b_[at]);
    }
    std::uint16_t u16(std::size_t at) const
    {
        return static_cast<std::uint16_t>(u8(at) | static_cast<unsigned>(u8(at + 1)) << 8);
    }
    std::int16_t s16(std::size_t at) const { return static_cast<std::int16_t>(u16(at)); }
    std::uint32_t u32(std::size_t at) const
    {
        return u16(at) | static_cast<std::uint32_t>(u16(at + 2)) << 16;
    }
    std::string_view slice(std::size_t at, std::size_t n) const
    {
        if (at > b_.size() || n > b_.size() - at) fail("leitura além do fim do arquivo");
        return b_.substr(at, n);
    }

private:
    std::string_view b_;
};

struct Object {
    enum class Kind { Empty, Brush, Pen, Font } kind = Kind::Empty;
    std::uint32_t serial = 0;  // tells apart two creations that land in the same slot
    bool null = false;         // null pen or hollow brush
    bool insideFrame = false;  // PS_INSIDEFRAME pen
    Color color;
    int width = 0;   // pen width, logical units
    int height = 0;  // font height, logical units (> 0 cell, < 0 character height)
    std::string face;
};

class WmfReader {
public:
    explicit WmfReader(std::string_view bytes) : b_(bytes) {}
    Recording read();

private:
    // Parameters of the current record, by word index.
    std::uint16_t p(std::size_t i) const { return b_.u16(recPos_ + 6 + 2 * i); }
    std::int16_t ps(std::size_t i) const { return b_.s16(recPos_ + 6 + 2 * i); }
    Color colorAt(std::size_t i) const
    {
        const std::size_t at = recPos_ + 6 + 2 * i;
        return Color{b_.u8(at), b_.u8(at + 1), b_.u8(at + 2)};
    }
    void need(std::size_t words) const
    {
        if (recWords_ - 3 < words) failHere("registro curto demais para os seus parâmetros");
    }
    [[noreturn]] void failHere(const std::string& what) const
    {
        fail(what + " (registro " + hex4(recFunc_) + " no byte " + std::to_string(recPos_) + ")");
    }

    void header();
    void record();

    // Page coordinates must fit the 16 bits of a metafile again, so that every
    // recording this reader returns can be written.
    int coord(Real v) const
    {
        const int r = roundEven(v);
        if (r < -32768 || r > 32767) failHere("coordenada fora do intervalo de 16 bits na página");
        return r;
    }
    int mapX(int x) const { return coord((static_cast<Real>(x) - orgX_) * scaleX_); }
    int mapY(int y) const { return coord((static_cast<Real>(y) - orgY_) * scaleY_); }
    void updateMapping();
    int scaled(int v, Real scale) const
    {
        if (v == 0) return 0;
        const int r = coord(v * (scale < 0 ? -scale : scale));
        return r != 0 ? r : (v > 0 ? 1 : -1);
    }

    int create(Object o);
    Object& objectAt(std::uint16_t index);
    void select();
    void remove();
    void createPen();
    void createBrush();
    void createFont();

    bool penVisible() const { return !pen_ || !pen_->null; }
    void lineTo(int x, int y);  // logical
    void moveStaleCursor();
    void fill(int l, int t, int r, int b, Color c);  // page pixels
    void text(int x, int y, std::string_view cp1252);

    Bytes b_;
    Recording rec_;
    int left_ = 0, top_ = 0, frameW_ = 0, frameH_ = 0, inch_ = 96;
    std::size_t maxObjects_ = 0;
    std::uint32_t maxRecord_ = 0;

    std::size_t recPos_ = 0, recWords_ = 0;
    std::uint16_t recFunc_ = 0;

    std::uint16_t mapMode_ = wmf::MapText;
    int winOrgX_ = 0, winOrgY_ = 0, winExtX_ = 0, winExtY_ = 0;
    Real orgX_ = 0, orgY_ = 0, scaleX_ = 1, scaleY_ = 1;

    std::vector<Object> table_;
    std::priority_queue<std::size_t, std::vector<std::size_t>, std::greater<>> freeSlots_;
    std::uint32_t serials_ = 0;
    std::optional<Object> brush_, pen_;  // copies: deleting a selected object leaves them usable
    std::uint32_t emittedPen_ = 0, emittedFont_ = 0;
    Color bkColor_ = colors::White;

    int curX_ = 0, curY_ = 0;   // GDI's current position, logical units
    bool cursorStale_ = false;  // the recording's position differs from GDI's
};

void WmfReader::header()
{
    if (b_.size() < wmf::PlaceableBytes + wmf::HeaderBytes) fail("arquivo curto demais para os cabeçalhos");
    if (b_.u32(0) != wmf::PlaceableKey) fail("chave do cabeçalho posicionável incorreta");
    std::uint16_t sum = 0;
    for (std::size_t i = 0; i < 20; i += 2) sum ^= b_.u16(i);
    if (b_.u16(20) != sum) fail("soma de verificação do cabeçalho posicionável incorreta");
    if (b_.u16(4) != 0) fail("handle do cabeçalho posicionável diferente de 0");
    if (b_.u32(16) != 0) fail("campo reservado do cabeçalho posicionável diferente de 0");
    left_ = b_.s16(6);
    top_ = b_.s16(8);
    frameW_ = b_.s16(10) - left_;
    frameH_ = b_.s16(12) - top_;
    inch_ = b_.u16(14);
    if (frameW_ <= 0 || frameH_ <= 0) fail("moldura vazia ou invertida");
    if (inch_ == 0) fail("unidades por polegada nulas");
    rec_.width = roundEven(static_cast<Real>(frameW_) * wmf::UnitsPerInch / inch_);
    rec_.height = roundEven(static_cast<Real>(frameH_) * wmf::UnitsPerInch / inch_);
    if (rec_.width < 1 || rec_.height < 1) fail("página menor que um pixel");
    if (rec_.width > 32767 || rec_.height > 32767) fail("página maior que 32767 pixels");

    const std::size_t h = wmf::PlaceableBytes;
    const std::uint16_t type = b_.u16(h);
    if (type != wmf::MemoryMetafile && type != wmf::DiskMetafile) fail("tipo de metafile desconhecido");
    if (b_.u16(h + 2) != wmf::HeaderWords) fail("tamanho do cabeçalho do metafile diferente de 9");
    const std::uint16_t version = b_.u16(h + 4);
    if (version != wmf::Version300 && version != wmf::Version100) fail("versão de metafile desconhecida");
    const std::uint64_t words = b_.u32(h + 6);
    if (wmf::PlaceableBytes + 2 * words != b_.size()) fail("tamanho declarado difere do tamanho do arquivo");
    maxObjects_ = b_.u16(h + 10);
    maxRecord_ = b_.u32(h + 12);

    winOrgX_ = left_;
    winOrgY_ = top_;
    winExtX_ = frameW_;
    winExtY_ = frameH_;
    updateMapping();
}

void WmfReader::updateMapping()
{
    if (mapMode_ == wmf::MapText) {
        orgX_ = left_;
        orgY_ = top_;
        scaleX_ = scaleY_ = static_cast<Real>(wmf::UnitsPerInch) / inch_;
    } else {
        orgX_ = winOrgX_;
        orgY_ = winOrgY_;
        scaleX_ = static_cast<Real>(rec_.width) / winExtX_;
        scaleY_ = static_cast<Real>(rec_.height) / winExtY_;
    }
}

Recording WmfReader::read()
{
    header();
    std::size_t pos = wmf::PlaceableBytes + wmf::HeaderBytes;
    for (;;) {
        if (b_.size() - pos < 6) fail("falta o registro de fim");
        recPos_ = pos;
        recWords_ = b_.u32(pos);
        recFunc_ = b_.u16(pos + 4);
        if (recWords_ < 3) failHere("tamanho de registro menor que 3 palavras");
        if (recWords_ > (b_.size() - pos) / 2) failHere("registro ultrapassa o fim do arquivo");
        if (recWords_ > maxRecord_) failHere("registro maior que o MaxRecord do cabeçalho");
        if (recFunc_ == wmf::Eof) {
            if (recWords_ != 3) failHere("registro de fim com tamanho diferente de 3");
            if (pos + 6 != b_.size()) fail("dados depois do registro de fim");
            break;
        }
        record();
        pos += 2 * recWords_;
    }
    return std::move(rec_);
}

void WmfReader::record()
{
    switch (recFunc_) {
        case wmf::SetMapMode:
            need(1);
            if (p(0) != wmf::MapText && p(0) != wmf::MapAnisotropic)
                failHere("modo de mapeamento não suportado");
            mapMode_ = p(0);
            updateMapping();
            break;
        case wmf::SetWindowOrg:
            need(2);
            winOrgY_ = ps(0);
            winOrgX_ = ps(1);
            updateMapping();
            break;
        case wmf::SetWindowExt:
            need(2);
            if (ps(0) == 0 || ps(1) == 0) failHere("extensão de janela nula");
            winExtY_ = ps(0);
            winExtX_ = ps(1);
            updateMapping();
            break;
        case wmf::SetBkMode:
            need(1);
            if (p(0) != wmf::BkTransparent && p(0) != wmf::BkOpaque) failHere("modo de fundo desconhecido");
            break;
        case wmf::SetTextAlign:
            need(1);
            if (p(0) != 0 || (recWords_ > 4 && p(1) != 0)) failHere("alinhamento de texto não suportado");
            break;
        case wmf::SetBkColor:
            need(2);
            bkColor_ = colorAt(0);
            break;
        case wmf::SetTextColor:
            need(2);
            break;
        case wmf::MoveTo:
            need(2);
            curY_ = ps(0);
            curX_ = ps(1);
            rec_.ops.emplace_back(op::MoveTo{mapX(curX_), mapY(curY_)});
            cursorStale_ = false;
            break;
        case wmf::LineTo:
            need(2);
            lineTo(ps(1), ps(0));
            break;
        case wmf::Polyline: {
            need(1);
            if (ps(0) < 0) failHere("número de pontos negativo");
            const std::size_t n = p(0);
            need(1 + 2 * n);
            if (n < 2 || !penVisible()) break;
            rec_.ops.emplace_back(op::MoveTo{mapX(ps(1)), mapY(ps(2))});
            for (std::size_t i = 1; i < n; ++i)
                rec_.ops.emplace_back(op::LineTo{mapX(ps(1 + 2 * i)), mapY(ps(2 + 2 * i))});
            cursorStale_ = true;
            break;
        }
        case wmf::Rectangle: {
            need(4);
            const int b = mapY(ps(0)), r = mapX(ps(1)), t = mapY(ps(2)), l = mapX(ps(3));
            if (!brush_ || !brush_->null) fill(l, t, r, b, brush_ ? brush_->color : colors::White);
            if (penVisible()) {  // the outline lies on the rectangle's last row and column
                const int r1 = coord(r - 1), b1 = coord(b - 1);
                rec_.ops.emplace_back(op::MoveTo{l, t});
                rec_.ops.emplace_back(op::LineTo{r1, t});
                rec_.ops.emplace_back(op::LineTo{r1, b1});
                rec_.ops.emplace_back(op::LineTo{l, b1});
                rec_.ops.emplace_back(op::LineTo{l, t});
                cursorStale_ = true;
            }
            break;
        }
        case wmf::PatBlt: {
            need(6);
            const std::uint32_t rop = p(0) | static_cast<std::uint32_t>(p(1)) << 16;
            const int h = ps(2), w = ps(3), y = ps(4), x = ps(5);
            std::optional<Color> c;
            if (rop == wmf::RopPatCopy) {
                if (!brush_ || !brush_->null) c = brush_ ? brush_->color : colors::White;
            } else if (rop == wmf::RopBlackness) {
                c = colors::Black;
            } else if (rop == wmf::RopWhiteness) {
                c = colors::White;
            } else {
                failHere("operação raster não suportada");
            }
            if (c) fill(mapX(x), mapY(y), mapX(x + w), mapY(y + h), *c);
            break;
        }
        case wmf::TextOut: {
            need(1);
            const std::size_t len = p(0);
            const std::size_t padded = (len + 1) / 2;
            need(1 + padded + 2);
            text(ps(2 + padded), ps(1 + padded), b_.slice(recPos_ + 8, len));
            break;
        }
        case wmf::ExtTextOut: {
            need(4);
            const int y = ps(0), x = ps(1);
            const std::size_t len = p(2);
            const std::uint16_t options = p(3);
            if ((options & ~(wmf::EtoOpaque | wmf::EtoClipped)) != 0)
                failHere("opções de texto não suportadas");
            std::size_t textWord = 4;
            if (options != 0) {
                need(8);
                if ((options & wmf::EtoOpaque) != 0)
                    fill(mapX(ps(4)), mapY(ps(5)), mapX(ps(6)), mapY(ps(7)), bkColor_);
                textWord = 8;
            }
            need(textWord + (len + 1) / 2);
            text(x, y, b_.slice(recPos_ + 6 + 2 * textWord, len));
            break;
        }
        case wmf::CreatePenIndirect:
            createPen();
            break;
        case wmf::CreateBrushIndirect:
            createBrush();
            break;
        case wmf::CreateFontIndirect:
            createFont();
            break;
        case wmf::SelectObject:
            select();
            break;
        case wmf::DeleteObject:
            remove();
            break;
        default:
            failHere("função de registro desconhecida");
    }
}

void WmfReader::lineTo(int x, int y)
{
    if (penVisible()) {
        moveStaleCursor();
        rec_.ops.emplace_back(op::LineTo{mapX(x), mapY(y)});
    } else {
        rec_.ops.emplace_back(op::MoveTo{mapX(x), mapY(y)});
        cursorStale_ = false;
    }
    curX_ = x;
    curY_ = y;
}

void WmfReader::moveStaleCursor()
{
    if (!cursorStale_) return;
    rec_.ops.emplace_back(op::MoveTo{mapX(curX_), mapY(curY_)});
    cursorStale_ = false;
}

void WmfReader::fill(int l, int t, int r, int b, Color c)
{
    rec_.ops.emplace_back(op::FillRect{l, t, r, b, c});
}

void WmfReader::text(int x, int y, std::string_view cp1252)
{
    if (cp1252.size() > 32767) failHere("texto longo demais");
    rec_.ops.emplace_back(op::Text{mapX(x), mapY(y), cp1252ToUtf8(cp1252)});
}

int WmfReader::create(Object o)
{
    std::size_t slot;
    if (!freeSlots_.empty()) {
        slot = freeSlots_.top();
        freeSlots_.pop();
    } else {
        if (table_.size() >= maxObjects_) failHere("NumberOfObjects menor que os objetos vivos");
        slot = table_.size();
        table_.emplace_back();
    }
    o.serial = ++serials_;
    table_[slot] = std::move(o);
    return static_cast<int>(slot);
}

Object& WmfReader::objectAt(std::uint16_t index)
{
    if (index >= table_.size()) failHere("índice de objeto fora da tabela");
    Object& o = table_[index];
    if (o.kind == Object::Kind::Empty) failHere("índice de objeto sem objeto");
    return o;
}

void WmfReader::createPen()
{
    need(5);
    const std::uint16_t style = p(0) & 0xFF;  // the high byte holds end-cap and join flags
    if (style != wmf::PenSolid && style != wmf::PenNull && style != wmf::PenInsideFrame)
        failHere("estilo de caneta não suportado");
    Object o;
    o.kind = Object::Kind::Pen;
    o.null = style == wmf::PenNull;
    o.insideFrame = style == wmf::PenInsideFrame;
    o.width = ps(1) < 0 ? -ps(1) : ps(1);
    o.color = colorAt(3);
    create(std::move(o));
}

void WmfReader::createBrush()
{
    need(4);
    const std::uint16_t style = p(0);
    if (style != wmf::BrushSolid && style != wmf::BrushNull) failHere("estilo de pincel não suportado");
    Object o;
    o.kind = Object::Kind::Brush;
    o.null = style == wmf::BrushNull;
    o.color = colorAt(1);
    create(std::move(o));
}

void WmfReader::createFont()
{
    need(wmf::LogFontBytes / 2);
    const std::size_t at = recPos_ + 6;
    if (ps(2) != 0) failHere("fonte inclinada não suportada");
    const std::uint8_t charset = b_.u8(at + 13);
    if (charset != wmf::AnsiCharset && charset != wmf::DefaultCharset)
        failHere("conjunto de caracteres da fonte não suportado");
    const std::size_t room = 2 * (recWords_ - 3) - wmf::LogFontBytes;
    std::string_view face =
        b_.slice(at + wmf::LogFontBytes, room < wmf::FaceNameBytes ? room : wmf::FaceNameBytes);
    const std::size_t end = face.find('\0');
    if (end == std::string_view::npos) failHere("nome da fonte sem terminador");
    face = face.substr(0, end);
    Object o;
    o.kind = Object::Kind::Font;
    o.height = ps(0);
    o.face = cp1252ToUtf8(face);
    create(std::move(o));
}

void WmfReader::select()
{
    need(1);
    const Object& o = objectAt(p(0));
    switch (o.kind) {
        case Object::Kind::Brush:
            brush_ = o;
            break;
        case Object::Kind::Pen:
            pen_ = o;
            if (!o.null && o.serial != emittedPen_) {
                if (!(emittedPen_ == 0 && o.insideFrame && o.width == 0 && o.color == colors::Black))
                    rec_.ops.emplace_back(op::Pen{o.color, scaled(o.width, scaleX_)});
                emittedPen_ = o.serial;
            }
            break;
        case Object::Kind::Font:
            if (o.serial != emittedFont_) {
                rec_.ops.emplace_back(op::Font{o.face, scaled(o.height, scaleY_)});
                emittedFont_ = o.serial;
            }
            break;
        case Object::Kind::Empty:
            break;
    }
}

void WmfReader::remove()
{
    need(1);
    Object& o = objectAt(p(0));
    o = Object{};
    freeSlots_.push(p(0));
}

}  // namespace

Recording readWmf(std::string_view bytes)
{
    return WmfReader(bytes).read();
}

Recording readWmfFile(const std::string& path)
{
    return readWmf(readFileBytes(path));
}

}  // namespace kalvoro
