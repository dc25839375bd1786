#pragma once
// A part list read back one line per part, so a drawer's output can be compared as text.
#include <cmath>
#include <sstream>
#include <string>
#include <vector>

#include "vector/parts.h"

namespace plumbo {

using Lines = std::vector<std::wstring>;

// R x,y wxh <fill>[ opaque] | P (x,y) ... | L (x1,y1)-(x2,y2) | B x,y wxh <across>[ wrap] 'text' | T x,y 'text' op<opaque>
// | I x,y wxh of <pixels' width>x<height>.
// Pens, colours, faces, sizes and opacity other than the drawers' black-on-white ones are
// appended, so a part drawn any other way shows: every field a part has.
inline Lines Describe(const PartList& list) {
    Lines out;
    for (const DrawPart& part : list.parts) {
        std::wostringstream s;
        if (const auto* r = std::get_if<RectPart>(&part)) {
            constexpr const wchar_t* kFills[] = {L"none", L"solid", L"hatched", L"diagonal", L"caption"};
            s << "R " << r->x << ',' << r->y << ' ' << r->width << 'x' << r->height << ' '
              << kFills[static_cast<int>(r->fill)] << (r->hatchOnBackground ? L" opaque" : L"");
            if (r->penWidth != 0 || r->penColor != kBlack || r->fillColor != kWhite)
                s << " pen=" << r->penWidth << '/' << r->penColor << " fill=" << r->fillColor;
        } else if (const auto* p = std::get_if<PolylinePart>(&part)) {
            // Many points all at one distance from the middle of the first and the one halfway
            // along: a circle, by its centre and radius.
            const size_t n = p->PointCount();
            bool circle = n > 8;
            const double cx = circle ? (p->xs[0] + p->xs[n / 2]) / 2 : 0;
            const double cy = circle ? (p->ys[0] + p->ys[n / 2]) / 2 : 0;
            auto distance = [&](size_t i) { return std::hypot(p->xs[i] - cx, p->ys[i] - cy); };
            for (size_t i = 1; i < n; ++i) circle = circle && std::abs(distance(i) - distance(0)) < 1e-6;
            if (circle) s << "C (" << cx << ',' << cy << ") r" << distance(0);
            else s << 'P';
            for (size_t i = 0; i < n && !circle; ++i) s << " (" << p->xs[i] << ',' << p->ys[i] << ')';
            if (p->penWidth != 1 || p->color != kBlack) s << " pen=" << p->penWidth << '/' << p->color;
        } else if (const auto* l = std::get_if<LinePart>(&part)) {
            s << "L (" << l->x1 << ',' << l->y1 << ")-(" << l->x2 << ',' << l->y2 << ')';
            if (l->penWidth != 1 || l->color != kBlack) s << " pen=" << l->penWidth << '/' << l->color;
        } else if (const auto* t = std::get_if<RectTextPart>(&part)) {
            constexpr const wchar_t* kAcross[] = {L"left", L"centre", L"right"};
            s << "B " << t->x << ',' << t->y << ' ' << t->width << 'x' << t->height << ' '
              << kAcross[static_cast<int>(t->layout.across)] << (t->layout.wrap ? L" wrap" : L"");
            s << " '" << t->text << '\'';
            if (t->face != kDrawerFace || t->size != 9 || t->opaque)
                s << " face='" << t->face << "' size=" << t->size << " op" << t->opaque;
            if (t->textColor != kBlack) s << " colour=" << t->textColor;
        } else if (const auto* t = std::get_if<TextPart>(&part)) {
            s << "T " << t->x << ',' << t->y << " '" << t->text << "' op" << t->opaque;
            if (t->face != kDrawerFace || t->size != 9) s << " face='" << t->face << "' size=" << t->size;
            if (t->textColor != kBlack) s << " colour=" << t->textColor;
        } else if (const auto* i = std::get_if<ImagePart>(&part)) {
            s << "I " << i->x << ',' << i->y << ' ' << i->width << 'x' << i->height;
            s << " of " << i->pixels->width << 'x' << i->pixels->height;
        }
        out.push_back(s.str());
    }
    return out;
}

}  // namespace plumbo
