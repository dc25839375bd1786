#include "vector/parts.h"

#include <algorithm>
#include <limits>
#include <utility>

#include "core/units.h"

namespace plumbo {

namespace {

constexpr size_t kMaxCount = static_cast<size_t>(std::numeric_limits<int32_t>::max());

bool Append(PartList& list, DrawPart part) {
    if (list.parts.size() >= kMaxCount) return false;
    list.parts.push_back(std::move(part));
    return true;
}

// The face of the last text in the list that names one; empty when none does.
std::wstring LastFace(const PartList& list) {
    for (auto part = list.parts.rbegin(); part != list.parts.rend(); ++part) {
        const std::wstring* face = nullptr;
        if (const auto* text = std::get_if<TextPart>(&*part)) face = &text->face;
        if (const auto* text = std::get_if<RectTextPart>(&*part)) face = &text->face;
        if (face && !face->empty()) return *face;
    }
    return {};
}

template <typename Text>
bool AppendText(PartList& list, Text text) {
    if (text.face.empty()) text.face = LastFace(list);
    return Append(list, std::move(text));
}

std::optional<double> TwipsPerUnit(ListUnit unit, double twipsPerPixel) {
    if (unit == ListUnit::Himetric) return TwipsPer(LengthUnit::Himetric);
    if (twipsPerPixel == 0.0) return std::nullopt;
    return twipsPerPixel;
}

}  // namespace

PolylinePart OutlineOf(const RectPart& r) {
    PolylinePart p;
    p.xs = {r.x, r.x + r.width, r.x + r.width, r.x, r.x};
    p.ys = {r.y, r.y, r.y + r.height, r.y + r.height, r.y};
    p.penWidth = std::max(1.0, r.penWidth);
    p.color = r.penColor;
    return p;
}

bool AddPart(PartList& list, const DrawPart& part) {
    struct Adder {
        PartList& list;
        bool operator()(const RectPart& r) const {
            if (r.fill == Fill::None) return Append(list, OutlineOf(r));
            return Append(list, r);
        }
        bool operator()(const TextPart& t) const { return AppendText(list, t); }
        bool operator()(const LinePart& l) const { return Append(list, l); }
        bool operator()(const PolylinePart& p) const { return Append(list, p); }
        bool operator()(const RectTextPart& t) const { return AppendText(list, t); }
        bool operator()(const ImagePart& i) const { return !i.pixels || Append(list, i); }
    };
    return std::visit(Adder{list}, part);
}

RectPart Box(double x, double y, double w, double h, Fill fill) { return {x, y, w, h, 0, kBlack, fill, kWhite}; }

RectPart CoveringBox(double x, double y, double w, double h) {
    RectPart box = Box(x, y, w, h);
    box.hatchOnBackground = true;
    return box;
}

RectTextPart BoxedText(double x, double y, double w, double h, std::wstring text, TextLayout layout) {
    return {x, y, w, h, kDrawerFace, kDrawerTextSize, std::move(text), kBlack, false, layout};
}

TextPart PointText(double x, double y, std::wstring face, std::wstring text, bool opaque) {
    return {x, y, std::move(face), kDrawerTextSize, std::move(text), kBlack, opaque};
}

ImagePart Image(double x, double y, double w, double h, std::shared_ptr<const ScreenPixels> pixels) {
    return {x, y, w, h, std::move(pixels)};
}

LinePart Line(double x1, double y1, double x2, double y2) { return {x1, y1, x2, y2, 1, kBlack}; }

PolylinePart Arrow(double ox, double oy, const double (&dx)[3], const double (&dy)[3]) {
    PolylinePart p;
    p.xs = {ox + dx[0], ox + dx[1], ox + dx[2], ox + dx[0]};
    p.ys = {oy + dy[0], oy + dy[1], oy + dy[2], oy + dy[0]};
    p.penWidth = 1;
    p.color = kBlack;
    return p;
}

std::optional<double> ScaleUnits(double value, ListUnit fromUnit, ListUnit toUnit, double twipsPerPixel) {
    auto from = TwipsPerUnit(fromUnit, twipsPerPixel);
    auto to = TwipsPerUnit(toUnit, twipsPerPixel);
    if (!from || !to) return std::nullopt;
    return value * *from / *to;
}

std::wstring LiteralText(std::wstring_view text) {
    std::wstring out;
    out.reserve(text.size());
    for (wchar_t c : text) {
        out += c;
        if (c == L'&') out += L'&';
    }
    return out;
}

}  // namespace plumbo
