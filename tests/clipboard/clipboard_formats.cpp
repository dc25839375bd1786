// Another program reading the clipboard, for the tests to see what Plumbo leaves there for
// others: "clipboardformats.exe REPORT" writes a line per format on offer, in the clipboard's
// order: a registered format's name or a standard one's number, and for a "PNG" file its width
// x height.
#include <windows.h>

#include <cstdio>
#include <cwchar>

int wmain(int argc, wchar_t** argv) {
    // Started once a copy has begun: the copier holds the clipboard until it is done. Wait for
    // it to let go, 5 s at most.
    for (const DWORD start = GetTickCount(); !OpenClipboard(nullptr); Sleep(10))
        if (GetTickCount() - start > 5000) return 1;
    FILE* out = argc == 2 ? _wfopen(argv[1], L"wb") : nullptr;  // lines end in LF alone
    for (UINT format = 0; out && (format = EnumClipboardFormats(format)) != 0; std::fputc('\n', out)) {
        wchar_t name[128] = {};
        if (GetClipboardFormatNameW(format, name, 128)) std::fprintf(out, "%ls", name);
        else std::fprintf(out, "%u", format);
        const auto mem = wcscmp(name, L"PNG") ? nullptr : static_cast<HGLOBAL>(GetClipboardData(format));
        if (const auto* b = mem && GlobalSize(mem) >= 24 ? static_cast<const unsigned char*>(GlobalLock(mem)) : nullptr) {
            auto at = [b](int i) { return static_cast<unsigned long>(b[i]) << 24 | b[i + 1] << 16 | b[i + 2] << 8 | b[i + 3]; };
            std::fprintf(out, " %lux%lu", at(16), at(20));  // from the IHDR chunk
            GlobalUnlock(mem);
        }
    }
    CloseClipboard();
    return out && std::fclose(out) == 0 ? 0 : 1;
}
