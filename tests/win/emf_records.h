#pragma once
// Reads an enhanced metafile back as one line per record, so tests can compare what was
// recorded and print all of it when they fail.
#include <windows.h>

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace plumbo::test {

inline std::string Utf8(const wchar_t* s, size_t n) {
    if (n == 0) return {};
    int len = WideCharToMultiByte(CP_UTF8, 0, s, static_cast<int>(n), nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<size_t>(len), '\0');
    WideCharToMultiByte(CP_UTF8, 0, s, static_cast<int>(n), out.data(), len, nullptr, nullptr);
    return out;
}

inline std::string Utf8(const std::wstring& s) { return Utf8(s.data(), s.size()); }

struct EmfRecord {
    DWORD type = 0;
    std::vector<uint8_t> bytes;
    template <typename T>
    const T& As() const {
        return *reinterpret_cast<const T*>(bytes.data());
    }
};

inline std::vector<EmfRecord> ReadRecords(HENHMETAFILE emf) {
    std::vector<EmfRecord> out;
    UINT size = GetEnhMetaFileBits(emf, 0, nullptr);
    std::vector<uint8_t> bits(size);
    GetEnhMetaFileBits(emf, size, bits.data());
    size_t at = 0;
    while (at + sizeof(EMR) <= bits.size()) {
        EMR head;
        std::memcpy(&head, bits.data() + at, sizeof head);
        if (head.nSize < sizeof(EMR) || at + head.nSize > bits.size()) break;
        EmfRecord r;
        r.type = head.iType;
        r.bytes.assign(bits.begin() + static_cast<ptrdiff_t>(at), bits.begin() + static_cast<ptrdiff_t>(at + head.nSize));
        out.push_back(std::move(r));
        at += head.nSize;
    }
    return out;
}

inline std::string Fmt(const char* format, long a = 0, long b = 0, long c = 0, long d = 0) {
    char buf[128];
    std::snprintf(buf, sizeof buf, format, a, b, c, d);
    return buf;
}

inline std::string Handle(DWORD h) { return (h & 0x80000000) ? "stock" : "obj"; }

// One line per record; the handle numbers are left out, they vary with the table's use.
inline std::string Describe(const EmfRecord& r) {
    switch (r.type) {
    case EMR_HEADER: {
        const auto& h = r.As<ENHMETAHEADER>();
        return Fmt("HEADER frame %ld,%ld,%ld,%ld", h.rclFrame.left, h.rclFrame.top, h.rclFrame.right,
                   h.rclFrame.bottom);
    }
    case EMR_EOF: return "EOF";
    case EMR_SETMAPMODE: return Fmt("SETMAPMODE %ld", r.As<EMRSETMAPMODE>().iMode);
    case EMR_SETBKMODE: return Fmt("SETBKMODE %ld", r.As<EMRSETBKMODE>().iMode);
    case EMR_SETTEXTCOLOR: return Fmt("SETTEXTCOLOR %06lx", r.As<EMRSETTEXTCOLOR>().crColor);
    case EMR_SETVIEWPORTORGEX: {
        const auto& p = r.As<EMRSETVIEWPORTORGEX>().ptlOrigin;
        return Fmt("VIEWPORTORG %ld,%ld", p.x, p.y);
    }
    case EMR_SETVIEWPORTEXTEX: {
        const auto& s = r.As<EMRSETVIEWPORTEXTEX>().szlExtent;
        return Fmt("VIEWPORTEXT %ld,%ld", s.cx, s.cy);
    }
    case EMR_SETWINDOWORGEX: {
        const auto& p = r.As<EMRSETWINDOWORGEX>().ptlOrigin;
        return Fmt("WINDOWORG %ld,%ld", p.x, p.y);
    }
    case EMR_SETWINDOWEXTEX: {
        const auto& s = r.As<EMRSETWINDOWEXTEX>().szlExtent;
        return Fmt("WINDOWEXT %ld,%ld", s.cx, s.cy);
    }
    case EMR_CREATEBRUSHINDIRECT: {
        const auto& b = r.As<EMRCREATEBRUSHINDIRECT>().lb;
        return Fmt("BRUSH style %ld hatch %ld color %06lx", b.lbStyle, static_cast<long>(b.lbHatch), b.lbColor);
    }
    case EMR_CREATEPEN: {
        const auto& p = r.As<EMRCREATEPEN>().lopn;
        return Fmt("PEN style %ld width %ld color %06lx", p.lopnStyle, p.lopnWidth.x, p.lopnColor);
    }
    case EMR_SELECTOBJECT: return "SELECT " + Handle(r.As<EMRSELECTOBJECT>().ihObject);
    case EMR_DELETEOBJECT: return "DELETE";
    case EMR_RECTANGLE: {
        const auto& b = r.As<EMRRECTANGLE>().rclBox;
        return Fmt("RECTANGLE %ld,%ld,%ld,%ld", b.left, b.top, b.right, b.bottom);
    }
    case EMR_MOVETOEX: {
        const auto& p = r.As<EMRMOVETOEX>().ptl;
        return Fmt("MOVETO %ld,%ld", p.x, p.y);
    }
    case EMR_LINETO: {
        const auto& p = r.As<EMRLINETO>().ptl;
        return Fmt("LINETO %ld,%ld", p.x, p.y);
    }
    case EMR_EXTCREATEFONTINDIRECTW: {
        const auto& lf = r.As<EMREXTCREATEFONTINDIRECTW>().elfw.elfLogFont;
        return Fmt("FONT height %ld width %ld esc %ld", lf.lfHeight, lf.lfWidth, lf.lfEscapement) + " face '" +
               Utf8(lf.lfFaceName, wcsnlen(lf.lfFaceName, LF_FACESIZE)) + "'";
    }
    case EMR_EXTTEXTOUTW: {
        const auto& t = r.As<EMREXTTEXTOUTW>();
        const auto* chars = reinterpret_cast<const wchar_t*>(r.bytes.data() + t.emrtext.offString);
        return Fmt("TEXT %ld,%ld", t.emrtext.ptlReference.x, t.emrtext.ptlReference.y) + " '" +
               Utf8(chars, t.emrtext.nChars) + "'";
    }
    default: return Fmt("RECORD %ld", static_cast<long>(r.type));
    }
}

inline std::vector<std::string> Describe(const std::vector<EmfRecord>& records) {
    std::vector<std::string> out;
    for (const auto& r : records) out.push_back(Describe(r));
    return out;
}

inline std::string Dump(const std::vector<std::string>& lines) {
    std::string s;
    for (const auto& l : lines) s += "  " + l + "\n";
    return s;
}

}  // namespace plumbo::test
