#pragma once
// Reads an enhanced metafile back as one line per record, so tests can compare what was
// recorded and print all of it when they fail.
#include <windows.h>

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

namespace plumbo::test {

inline std::string Utf8(std::wstring_view s) {
    std::string out(s.size() * 3, '\0');
    int n = s.empty() ? 0
                      : WideCharToMultiByte(CP_UTF8, 0, s.data(), static_cast<int>(s.size()), out.data(),
                                            static_cast<int>(out.size()), nullptr, nullptr);
    out.resize(static_cast<size_t>(n));
    return out;
}

inline std::string Fmt(const char* format, long a = 0, long b = 0, long c = 0, long d = 0) {
    char buf[128];
    std::snprintf(buf, sizeof buf, format, a, b, c, d);
    return buf;
}

struct EmfRecord {
    DWORD type = 0;
    std::vector<uint8_t> bytes;
    template <typename T>
    const T& As() const {
        return *reinterpret_cast<const T*>(bytes.data());
    }
};

inline std::vector<EmfRecord> ReadRecords(HENHMETAFILE emf) {
    std::vector<uint8_t> bits(GetEnhMetaFileBits(emf, 0, nullptr));
    GetEnhMetaFileBits(emf, static_cast<UINT>(bits.size()), bits.data());
    std::vector<EmfRecord> out;
    for (size_t at = 0; at + sizeof(EMR) <= bits.size();) {
        EMR head;
        std::memcpy(&head, bits.data() + at, sizeof head);
        if (head.nSize < sizeof(EMR) || at + head.nSize > bits.size()) break;
        out.push_back({head.iType, {bits.begin() + static_cast<ptrdiff_t>(at),
                                    bits.begin() + static_cast<ptrdiff_t>(at + head.nSize)}});
        at += head.nSize;
    }
    return out;
}

// One line per record; the handle numbers are left out, they vary with the table's use.
inline std::string Describe(const EmfRecord& r) {
    // Origins, extents, MoveTo and LineTo all hold one pair of LONGs after the EMR.
    const auto pair = [&](const char* name) {
        const POINTL& p = r.As<EMRLINETO>().ptl;
        return name + Fmt(" %ld,%ld", p.x, p.y);
    };
    switch (r.type) {
    case EMR_HEADER: {
        const RECTL& f = r.As<ENHMETAHEADER>().rclFrame;
        return Fmt("HEADER frame %ld,%ld,%ld,%ld", f.left, f.top, f.right, f.bottom);
    }
    case EMR_EOF: return "EOF";
    case EMR_DELETEOBJECT: return "DELETE";
    case EMR_SELECTOBJECT: return (r.As<EMRSELECTOBJECT>().ihObject & 0x80000000) ? "SELECT stock" : "SELECT obj";
    case EMR_SETMAPMODE: return Fmt("SETMAPMODE %ld", r.As<EMRSETMAPMODE>().iMode);
    case EMR_SETBKMODE: return Fmt("SETBKMODE %ld", r.As<EMRSETBKMODE>().iMode);
    case EMR_SETTEXTCOLOR: return Fmt("SETTEXTCOLOR %06lx", r.As<EMRSETTEXTCOLOR>().crColor);
    case EMR_SETVIEWPORTORGEX: return pair("VIEWPORTORG");
    case EMR_SETVIEWPORTEXTEX: return pair("VIEWPORTEXT");
    case EMR_SETWINDOWORGEX: return pair("WINDOWORG");
    case EMR_SETWINDOWEXTEX: return pair("WINDOWEXT");
    case EMR_MOVETOEX: return pair("MOVETO");
    case EMR_LINETO: return pair("LINETO");
    case EMR_CREATEBRUSHINDIRECT: {
        const auto& b = r.As<EMRCREATEBRUSHINDIRECT>().lb;
        return Fmt("BRUSH style %ld hatch %ld color %06lx", b.lbStyle, static_cast<long>(b.lbHatch), b.lbColor);
    }
    case EMR_CREATEPEN: {
        const auto& p = r.As<EMRCREATEPEN>().lopn;
        return Fmt("PEN style %ld width %ld color %06lx", p.lopnStyle, p.lopnWidth.x, p.lopnColor);
    }
    case EMR_RECTANGLE: {
        const auto& b = r.As<EMRRECTANGLE>().rclBox;
        return Fmt("RECTANGLE %ld,%ld,%ld,%ld", b.left, b.top, b.right, b.bottom);
    }
    case EMR_EXTCREATEFONTINDIRECTW: {
        const auto& lf = r.As<EMREXTCREATEFONTINDIRECTW>().elfw.elfLogFont;
        return Fmt("FONT height %ld width %ld esc %ld", lf.lfHeight, lf.lfWidth, lf.lfEscapement) + " face '" +
               Utf8({lf.lfFaceName, wcsnlen(lf.lfFaceName, LF_FACESIZE)}) + "'";
    }
    case EMR_EXTTEXTOUTW: {
        const auto& t = r.As<EMREXTTEXTOUTW>().emrtext;
        const auto* chars = reinterpret_cast<const wchar_t*>(r.bytes.data() + t.offString);
        return Fmt("TEXT %ld,%ld", t.ptlReference.x, t.ptlReference.y) + " '" + Utf8({chars, t.nChars}) + "'";
    }
    default: return Fmt("RECORD %ld", static_cast<long>(r.type));
    }
}

inline std::vector<std::string> Describe(HENHMETAFILE emf) {
    std::vector<std::string> out;
    for (const auto& r : ReadRecords(emf)) out.push_back(Describe(r));
    return out;
}

inline std::string Dump(const std::vector<std::string>& lines) {
    std::string s;
    for (const auto& l : lines) s += "  " + l + "\n";
    return s;
}

}  // namespace plumbo::test
