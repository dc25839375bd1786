#pragma once
// Reads a part list back as one line per part, in painting order, so expectations can be
// written by hand and a failure shows the whole list.
#include <cstdio>
#include <string>
#include <vector>

#include "vector/parts.h"

namespace plumbo::test {

inline std::string Num(double v) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%.10g", v);
    return buf;
}

// ASCII as is, anything else as \uXXXX.
inline std::string Narrow(const std::wstring& s) {
    std::string out;
    for (wchar_t c : s) {
        if (c >= 0x20 && c < 0x7F) {
            out += static_cast<char>(c);
        } else {
            char buf[16];
            std::snprintf(buf, sizeof buf, "\\u%04X", static_cast<unsigned>(c));
            out += buf;
        }
    }
    return out;
}

inline std::string FaceTag(const std::wstring& face) {
    if (face == kDrawerFace) return "";
    return face.empty() ? " face=''" : " face='" + Narrow(face) + "'";
}

// R x,y wxh h<hatch>           a rectangle (pen field 1, black on white, outline -1 unless noted)
// P (x,y) (x,y) ...            a polyline (pen 1, black unless noted)
// L (x1,y1)-(x2,y2)            a line (pen 1, black)
// B x,y wxh f<format> 'text'   text in a rectangle (drawers' face, size 9, transparent)
// T x,y 'text' op<opaque>      text at a point (size 9)
inline std::string Describe(const PartList& list, const PartOrder& o) {
    switch (o.kind) {
    case kindRect: {
        const RectPart& r = list.rects.at(o.index);
        std::string s = "R " + Num(r.x) + "," + Num(r.y) + " " + Num(r.width) + "x" + Num(r.height) + " h" +
                        std::to_string(r.hatch);
        if (r.penWidth != 1 || r.penStyle != 0 || r.penColor != kBlack || r.fillColor != kWhite || r.outline != -1)
            s += " pen=" + std::to_string(r.penWidth) + "/" + std::to_string(r.penStyle) + "/" +
                 std::to_string(r.penColor) + " fill=" + std::to_string(r.fillColor) + " o" + std::to_string(r.outline);
        return s;
    }
    case kindPolyline: {
        const PolylinePart& p = list.polylines.at(o.index);
        std::string s = "P";
        for (size_t i = 0; i < p.xs.size() || i < p.ys.size(); ++i)
            s += " (" + (i < p.xs.size() ? Num(p.xs[i]) : "?") + "," + (i < p.ys.size() ? Num(p.ys[i]) : "?") + ")";
        if (p.penWidth != 1 || p.color != kBlack)
            s += " pen=" + std::to_string(p.penWidth) + "/" + std::to_string(p.color);
        return s;
    }
    case kindLine: {
        const LinePart& l = list.lines.at(o.index);
        std::string s = "L (" + Num(l.x1) + "," + Num(l.y1) + ")-(" + Num(l.x2) + "," + Num(l.y2) + ")";
        if (l.penWidth != 1 || l.color != kBlack) s += " pen=" + std::to_string(l.penWidth) + "/" + std::to_string(l.color);
        return s;
    }
    case kindRectText: {
        const RectTextPart& t = list.rectTexts.at(o.index);
        std::string s = "B " + Num(t.x) + "," + Num(t.y) + " " + Num(t.width) + "x" + Num(t.height) + " f" +
                        std::to_string(t.format) + " '" + Narrow(t.text) + "'" + FaceTag(t.face);
        if (t.size != 9 || t.opaque != 0 || t.textColor != kBlack) s += " size=" + std::to_string(t.size) + " op" + std::to_string(t.opaque);
        return s;
    }
    case kindText: {
        const TextPart& t = list.texts.at(o.index);
        std::string s = "T " + Num(t.x) + "," + Num(t.y) + " '" + Narrow(t.text) + "' op" + std::to_string(t.opaque) +
                        FaceTag(t.face);
        if (t.size != 9) s += " size=" + std::to_string(t.size);
        return s;
    }
    default: return "? kind " + std::to_string(o.kind);
    }
}

inline std::vector<std::string> Describe(const PartList& list) {
    std::vector<std::string> out;
    for (const PartOrder& o : list.order) out.push_back(Describe(list, o));
    return out;
}

}  // namespace plumbo::test
