// The checking reader of the extended beam file.
//
// The whole text is parsed first (a key given twice in one object is refused
// while parsing: the library would otherwise keep one of them silently), then
// walked part by part. Every key is known or refused by name, every number is
// finite and within its limits, and the beam is handed back only when all of
// it has been read.

#include <charconv>
#include <cmath>
#include <string>

#include <nlohmann/json.hpp>

#include "data/extended_beam.h"
#include "data/text_file.h"

namespace kalvoro {

namespace {

using Json = nlohmann::json;

namespace status {
constexpr int General = 1, Nodes = 2, Spans = 3, Materials = 4, Sections = 5, Supports = 6, Loads = 7;
}

struct Refusal {
    int status;
    std::string message;
};

// Shortest text that reads back as the same double.
std::string numberText(double v)
{
    char buffer[32];
    const auto end = std::to_chars(buffer, buffer + sizeof buffer, v).ptr;
    return std::string(buffer, end);
}

// As the Portuguese reader writes a number: decimal comma.
std::string commaText(double v)
{
    std::string s = numberText(v);
    for (char& c : s)
        if (c == '.') c = ',';
    return s;
}

std::string indexText(std::size_t i)
{
    // Appended piece by piece: GCC 12 sees a false overlap in "[" + text + "]".
    std::string s = "[";
    s += std::to_string(i + 1);
    s += ']';
    return s;
}

// Status of a place in the file, from its path: loads, supports, then the
// part it lies in.
int statusOfPath(const std::string& path)
{
    if (path.find(".loads") != std::string::npos) return status::Loads;
    if (path.starts_with("nodes") &&
        (path.ends_with(".support") || path.find(".spring") != std::string::npos ||
         path.find(".settlement") != std::string::npos || path.ends_with(".hinge")))
        return status::Supports;
    if (path.starts_with("nodes")) return status::Nodes;
    if (path.starts_with("spans")) return status::Spans;
    if (path.starts_with("materials")) return status::Materials;
    if (path.starts_with("sections")) return status::Sections;
    return status::General;
}

// Builds the document as the library's own parser does and refuses a key
// given twice in one object, naming its place.
class CheckingSax {
public:
    explicit CheckingSax(Json& root) : dom_(root) {}

    bool null() { return element(), dom_.null(); }
    bool boolean(bool v) { return element(), dom_.boolean(v); }
    bool number_integer(Json::number_integer_t v) { return element(), dom_.number_integer(v); }
    bool number_unsigned(Json::number_unsigned_t v) { return element(), dom_.number_unsigned(v); }
    bool number_float(Json::number_float_t v, const Json::string_t& s)
    {
        return element(), dom_.number_float(v, s);
    }
    bool string(Json::string_t& v) { return element(), dom_.string(v); }
    bool binary(Json::binary_t& v) { return element(), dom_.binary(v); }
    bool start_object(std::size_t n) { return open(false), dom_.start_object(n); }
    bool end_object() { return --depth_, dom_.end_object(); }
    bool start_array(std::size_t n) { return open(true), dom_.start_array(n); }
    bool end_array() { return --depth_, dom_.end_array(); }
    bool key(Json::string_t& k)
    {
        Frame& f = frames_[depth_ - 1];
        for (const std::string& seen : f.keys)
            if (seen == k) {
                const std::string where = path();
                throw Refusal{statusOfPath(where + "." + k),
                              (where.empty() ? "" : where + ": ") + "chave repetida \"" + k + "\""};
            }
        f.keys.push_back(k);
        return dom_.key(k);
    }
    // A template, as the library's: the exception keeps its own type when rethrown.
    template <class Exception>
    bool parse_error(std::size_t position, const std::string& token, const Exception& e)
    {
        return dom_.parse_error(position, token, e);
    }

private:
    struct Frame {
        bool array = false;
        std::size_t count = 0;
        std::vector<std::string> keys;  // a handful per object: a scan beats a set; the last is current
    };

    void element()
    {
        if (depth_ > 0 && frames_[depth_ - 1].array) ++frames_[depth_ - 1].count;
    }

    void open(bool array)
    {
        element();
        if (frames_.size() == depth_) frames_.emplace_back();
        Frame& f = frames_[depth_++];
        f.array = array;
        f.count = 0;
        f.keys.clear();
    }

    // The path of the innermost object, without its own key.
    std::string path() const
    {
        std::string p;
        for (std::size_t i = 0; i + 1 < depth_; ++i) {
            const Frame& f = frames_[i];
            if (f.array)
                p += indexText(f.count - 1);
            else
                p += (p.empty() ? "" : ".") + f.keys.back();
        }
        return p;
    }

    nlohmann::detail::json_sax_dom_parser<Json> dom_;
    std::vector<Frame> frames_;
    std::size_t depth_ = 0;
};

// A place in the file and the status of a refusal there. The path is put
// together only for a refusal: a place is its parent and a key or an index.
class At {
public:
    explicit At(int st) : status_(st) {}
    At key(const char* k, int st) const { return At(this, k, 0, st); }
    At key(const char* k) const { return key(k, status_); }
    At index(std::size_t i) const { return At(this, nullptr, i, status_); }
    [[noreturn]] void refuse(const std::string& why) const
    {
        const std::string where = path();
        throw Refusal{status_, where.empty() ? why : where + ": " + why};
    }
    std::string path() const
    {
        if (!parent_) return {};
        std::string p = parent_->path();
        if (!key_) return p + indexText(index_);
        return p.empty() ? key_ : p + "." + key_;
    }

private:
    At(const At* parent, const char* key, std::size_t index, int st)
        : parent_(parent), key_(key), index_(index), status_(st)
    {
    }
    const At* parent_ = nullptr;
    const char* key_ = nullptr;
    std::size_t index_ = 0;
    int status_;
};

const char* kindOf(const Json& v)
{
    switch (v.type()) {
        case Json::value_t::null:
            return "null";
        case Json::value_t::boolean:
            return "um valor lógico";
        case Json::value_t::string:
            return "um texto";
        case Json::value_t::array:
            return "uma lista";
        case Json::value_t::object:
            return "um objeto";
        default:
            return "um número";
    }
}

// The object at `at`, refusing any key outside `known`.
const Json& object(const Json& v, const At& at, std::initializer_list<const char*> known)
{
    if (!v.is_object()) at.refuse(std::string("deveria ser um objeto, não ") + kindOf(v));
    for (const auto& [key, value] : v.items()) {
        bool ok = false;
        for (const char* k : known) ok = ok || key == k;
        if (!ok) at.refuse("chave desconhecida \"" + key + "\"");
    }
    return v;
}

const Json& member(const Json& object, const char* key, const At& at)
{
    const auto it = object.find(key);
    if (it == object.end()) at.refuse(std::string("falta a chave \"") + key + "\"");
    return *it;
}

const Json& list(const Json& v, const At& at)
{
    if (!v.is_array()) at.refuse(std::string("deveria ser uma lista, não ") + kindOf(v));
    return v;
}

double number(const Json& v, const At& at)
{
    if (!v.is_number()) at.refuse(std::string("deveria ser um número, não ") + kindOf(v));
    const double x = v.get<double>();
    if (!std::isfinite(x)) at.refuse("número grande demais");
    return x;
}

double positive(const Json& v, const At& at)
{
    const double x = number(v, at);
    if (!(x > 0)) at.refuse(numberText(x) + " deveria ser maior que zero");
    return x;
}

std::int32_t counted(const Json& v, const At& at, std::size_t count, const char* what)
{
    if (!v.is_number_integer()) at.refuse(std::string("deveria ser um número inteiro, não ") + kindOf(v));
    const auto n = v.get<std::int64_t>();
    if (n < 1 || static_cast<std::size_t>(n) > count)
        at.refuse(std::to_string(n) + " não existe (" + what + " de 1 a " + std::to_string(count) + ")");
    return static_cast<std::int32_t>(n);
}

std::string text(const Json& v, const At& at)
{
    if (!v.is_string()) at.refuse(std::string("deveria ser um texto, não ") + kindOf(v));
    return v.get<std::string>();
}

const Json& sized(const Json& v, const At& at, std::size_t least, std::size_t most, const char* what)
{
    list(v, at);
    if (v.size() < least || v.size() > most)
        at.refuse(std::to_string(v.size()) + " " + what + "; deveriam ser de " + std::to_string(least) +
                  " a " + std::to_string(most));
    return v;
}

void header(const Json& root, ExtendedBeam& beam)
{
    const At at(status::General);
    const Json& format = member(root, "format", at);
    if (!format.is_string() || format.get<std::string>() != ExtendedFormat)
        at.key("format").refuse(format.dump(-1, ' ', false, Json::error_handler_t::replace) +
                                " não é um arquivo de viga do Kalvoro (\"" + ExtendedFormat + "\")");
    const Json& version = member(root, "version", at);
    if (!version.is_number_integer() || version.get<std::int64_t>() < 1)
        at.key("version").refuse(version.dump() + " não é uma versão (1, 2, ...)");
    if (version.get<std::int64_t>() > ExtendedVersion)
        at.key("version").refuse("versão " + version.dump() + ", mais nova que a que este programa lê (" +
                                 std::to_string(ExtendedVersion) + "); atualize o Kalvoro");
    if (root.contains("title")) beam.title = text(root["title"], at.key("title"));
}

void properties(const Json& root, const char* key, const char* name, int st, std::size_t most,
                std::vector<double>& values)
{
    const At top(status::General);
    const At at = top.key(key, st);
    const Json& rows = sized(member(root, key, at), at, 1, most, key);
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const At row = at.index(i);
        values.push_back(positive(member(object(rows[i], row, {name}), name, row), row.key(name)));
    }
}

// A node's springs, settlements and hinge, each only where its support code
// allows it: a spring on a free direction, a settlement on a restrained one,
// a hinge inside the beam where the rotation is neither held nor sprung.
NodeSupport nodeSupport(const Json& node, const At& row, std::int32_t code, bool end)
{
    const bool heldV = code / 10 != 0, heldR = code % 10 != 0;
    NodeSupport e;
    // An object of "vertical" and/or "rotation"; each value through `read`.
    const auto pair = [&](const char* key, auto read, double& vertical, double& rotation) {
        if (!node.contains(key)) return;
        const At at = row.key(key, status::Supports);
        const Json& v = object(node[key], at, {"vertical", "rotation"});
        if (v.empty()) at.refuse("deveria ter \"vertical\" ou \"rotation\"");
        if (v.contains("vertical")) vertical = read(v["vertical"], at.key("vertical"), heldV);
        if (v.contains("rotation")) rotation = read(v["rotation"], at.key("rotation"), heldR);
    };
    const auto spring = [](const Json& v, const At& at, bool held) {
        if (held) at.refuse("mola numa direção que o apoio já impede");
        return positive(v, at);
    };
    const auto settlement = [](const Json& v, const At& at, bool held) {
        if (!held) at.refuse("recalque numa direção que o apoio deixa livre");
        return number(v, at);
    };
    pair("spring", spring, e.springVertical, e.springRotation);
    pair("settlement", settlement, e.settlementVertical, e.settlementRotation);
    if (node.contains("hinge")) {
        const At at = row.key("hinge", status::Supports);
        if (!node["hinge"].is_boolean())
            at.refuse(std::string("deveria ser true ou false, não ") + kindOf(node["hinge"]));
        e.hinge = node["hinge"].get<bool>();
        if (e.hinge && end) at.refuse("rótula só num nó interno da viga");
        if (e.hinge && heldR) at.refuse("rótula num nó de rotação impedida");
        if (e.hinge && e.springRotation != 0) at.refuse("rótula num nó com mola de rotação");
    }
    return e;
}

void nodes(const Json& root, ExtendedBeam& beam)
{
    const At top(status::General);
    const At at = top.key("nodes", status::Nodes);
    const Json& rows = sized(member(root, "nodes", at), at, 2, MaxExtendedSpans + 1, "nós");
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const At row = at.index(i);
        const Json& node = object(rows[i], row, {"x", "support", "spring", "settlement", "hinge"});
        ExtendedNode n;
        n.x = number(member(node, "x", row), row.key("x"));
        if (i > 0 && !(n.x > beam.nodes.back().x))
            row.key("x").refuse(numberText(n.x) + " deveria ser maior que o x do nó anterior (" +
                                numberText(beam.nodes.back().x) + ")");
        const At sup = row.key("support", status::Supports);
        const std::string code = text(member(node, "support", sup), sup);
        if (code == "00")
            n.support = 0;
        else if (code == "01")
            n.support = 1;
        else if (code == "10")
            n.support = 10;
        else if (code == "11")
            n.support = 11;
        else
            sup.refuse("\"" + code + "\" não é um código de apoio (\"00\", \"01\", \"10\" ou \"11\")");
        n.extra = nodeSupport(node, row, n.support, i == 0 || i + 1 == rows.size());
        beam.nodes.push_back(n);
    }
}

SpanLoad load(const Json& v, const At& at, double L)
{
    if (!v.is_object()) at.refuse(std::string("deveria ser um objeto, não ") + kindOf(v));
    const std::string type = text(member(v, "type", at), at.key("type"));
    SpanLoad l;
    // A position within the span, 0 <= x <= L.
    const auto position = [&](const char* key) {
        const double x = number(member(v, key, at), at.key(key));
        if (!(x >= 0 && x <= L))
            at.key(key).refuse(numberText(x) + " fica fora do trecho (0 a " + commaText(L) + ")");
        return x;
    };
    if (type == "uniform") {
        object(v, at, {"type", "q"});
        l.kind = LoadKind::Uniform;
        l.v1 = number(member(v, "q", at), at.key("q"));
    } else if (type == "point" || type == "moment") {
        const bool point = type == "point";
        const char* value = point ? "P" : "M";
        object(v, at, {"type", value, "a"});
        l.kind = point ? LoadKind::Point : LoadKind::Moment;
        l.v1 = number(member(v, value, at), at.key(value));
        l.a = position("a");
    } else if (type == "linear") {
        object(v, at, {"type", "q1", "q2", "a", "b"});
        l.kind = LoadKind::Linear;
        l.v1 = number(member(v, "q1", at), at.key("q1"));
        l.v2 = number(member(v, "q2", at), at.key("q2"));
        l.a = position("a");
        l.b = position("b");
        if (!(l.b > l.a))
            at.key("b").refuse(numberText(l.b) + " deveria ser maior que a (" + numberText(l.a) + ")");
    } else {
        at.key("type").refuse("tipo de carga desconhecido \"" + type +
                              "\" (\"uniform\", \"point\", \"moment\" ou \"linear\")");
    }
    return l;
}

void spans(const Json& root, ExtendedBeam& beam)
{
    const At top(status::General);
    const At at = top.key("spans", status::Spans);
    const std::size_t count = beam.nodes.size() - 1;
    const Json& rows = sized(member(root, "spans", at), at, count, count, "trechos");
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const At row = at.index(i);
        const Json& span = object(rows[i], row, {"material", "section", "loads"});
        ExtendedSpan s;
        s.material =
            counted(member(span, "material", row), row.key("material"), beam.materials.size(), "materiais");
        s.section = counted(member(span, "section", row), row.key("section"), beam.sections.size(), "seções");
        // The length as the engine takes it: the difference of the two x in
        // extended precision.
        const double L = static_cast<double>(static_cast<long double>(beam.nodes[i + 1].x) - beam.nodes[i].x);
        if (span.contains("loads")) {
            const At loadsAt = row.key("loads", status::Loads);
            const Json& loads = sized(span["loads"], loadsAt, 0, MaxLoadsPerSpan, "cargas");
            for (std::size_t k = 0; k < loads.size(); ++k)
                s.loads.push_back(load(loads[k], loadsAt.index(k), L));
        }
        beam.spans.push_back(std::move(s));
    }
}

}  // namespace

ExtendedRead LeVigx(std::string_view bytes)
{
    ExtendedRead result;
    try {
        Json root;
        try {
            CheckingSax sax(root);
            Json::sax_parse(bytes.begin(), bytes.end(), &sax);
        } catch (const Json::parse_error& e) {
            throw Refusal{status::General,
                          "não é um texto JSON válido (byte " + std::to_string(e.byte) + ")"};
        } catch (const Json::exception&) {
            throw Refusal{status::General, "não é um texto JSON válido (número fora do intervalo dos reais)"};
        }
        const At top(status::General);
        if (!root.is_object()) top.refuse(std::string("deveria ser um objeto JSON, não ") + kindOf(root));
        // Format and version first: a newer file may well have keys this
        // program does not know.
        ExtendedBeam beam;
        header(root, beam);
        object(root, top, {"format", "version", "title", "materials", "sections", "nodes", "spans"});
        properties(root, "materials", "E", status::Materials, capacity::Materials, beam.materials);
        properties(root, "sections", "I", status::Sections, capacity::Sections, beam.sections);
        nodes(root, beam);
        spans(root, beam);
        result.beam = std::move(beam);
    } catch (const Refusal& r) {
        result.status = r.status;
        result.message = r.message;
    }
    return result;
}

ExtendedRead AbrirVigx(const std::string& fileName)
{
    return LeVigx(readFileBytes(fileName));
}

}  // namespace kalvoro
