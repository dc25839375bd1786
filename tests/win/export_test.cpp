// Export of the viewer's picture: each file is read back by an independent program (Debian's
// ImageMagick, emf2svg and libwmf, started through Wine's ability to run Unix programs), the
// clipboard is read back format by format, and failed writes must keep the original file.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstring>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "capture/export_win.h"
#include "capture/file_formats.h"
#include "emf_records.h"
#include "platform/gdi_win.h"

namespace plumbo {
namespace {

using test::Utf8;

constexpr TwipsPerPixel k96Dpi{15, 15};
constexpr TwipsPerPixel k120Dpi{12, 12};

// ---- files and folders ----

std::wstring NewTempDir() {
    wchar_t tmp[MAX_PATH];
    GetTempPathW(MAX_PATH, tmp);
    static int counter = 0;
    for (;;) {
        std::wstring dir = std::wstring(tmp) + L"plumbo-export-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
                           std::to_wstring(++counter);
        if (CreateDirectoryW(dir.c_str(), nullptr)) return dir;
        if (GetLastError() != ERROR_ALREADY_EXISTS) return {};
    }
}

std::vector<uint8_t> ReadBytes(const std::wstring& path) {
    std::vector<uint8_t> out;
    HANDLE f = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                           OPEN_EXISTING, 0, nullptr);
    if (f == INVALID_HANDLE_VALUE) return out;
    LARGE_INTEGER size{};
    GetFileSizeEx(f, &size);
    out.resize(static_cast<size_t>(size.QuadPart));
    DWORD read = 0;
    if (!out.empty()) ReadFile(f, out.data(), static_cast<DWORD>(out.size()), &read, nullptr);
    out.resize(read);
    CloseHandle(f);
    return out;
}

bool WriteBytes(const std::wstring& path, const std::string& text) {
    HANDLE f = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (f == INVALID_HANDLE_VALUE) return false;
    DWORD written = 0;
    WriteFile(f, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
    CloseHandle(f);
    return written == text.size();
}

std::vector<std::wstring> FilesIn(const std::wstring& dir) {
    std::vector<std::wstring> names;
    WIN32_FIND_DATAW fd;
    HANDLE h = FindFirstFileW((dir + L"\\*").c_str(), &fd);
    if (h == INVALID_HANDLE_VALUE) return names;
    do {
        if (!(fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) names.push_back(fd.cFileName);
    } while (FindNextFileW(h, &fd));
    FindClose(h);
    return names;
}

// ---- Unix programs, run through Wine ----

std::string UnixPath(const std::wstring& windowsPath) {
    using Fn = char*(CDECL*)(const wchar_t*);
    auto fn = reinterpret_cast<Fn>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "wine_get_unix_file_name")));
    if (!fn) return {};
    char* p = fn(windowsPath.c_str());
    if (!p) return {};
    std::string out = p;
    HeapFree(GetProcessHeap(), 0, p);
    return out;
}

struct UnixRun {
    bool started = false;
    int exitCode = -1;
    std::string output;  // standard output
    std::string errors;  // standard error
};

std::string ReadText(const std::wstring& path) {
    std::vector<uint8_t> b = ReadBytes(path);
    return std::string(b.begin(), b.end());
}

// Runs a command in /bin/sh. Wine starts a Unix program without a process handle and without
// our pipes, so the shell writes its output and then its exit status into files we wait for.
UnixRun RunUnix(const std::string& command) {
    UnixRun run;
    static int counter = 0;
    wchar_t tmp[MAX_PATH];
    GetTempPathW(MAX_PATH, tmp);
    const std::wstring base = std::wstring(tmp) + L"plumbo-unix-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
                              std::to_wstring(++counter);
    const std::wstring out = base + L".out", err = base + L".err", rc = base + L".rc";
    WriteBytes(out, "");
    WriteBytes(err, "");
    const std::string uOut = UnixPath(out), uErr = UnixPath(err), uRc = UnixPath(rc);
    if (uOut.empty()) return run;

    // The command must not contain '"': it is one argument of sh -c.
    std::string script = "{ " + command + "; } >'" + uOut + "' 2>'" + uErr + "'; echo $? >'" + uRc + ".part'; mv '" +
                         uRc + ".part' '" + uRc + "'";
    int n = MultiByteToWideChar(CP_UTF8, 0, script.c_str(), -1, nullptr, 0);
    std::wstring wide(static_cast<size_t>(n), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, script.c_str(), -1, wide.data(), n);
    wide.resize(wcslen(wide.c_str()));
    std::wstring cmdLine = L"sh -c \"" + wide + L"\"";

    STARTUPINFOW si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    run.started = CreateProcessW(L"Z:\\bin\\sh", cmdLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi);
    if (pi.hProcess) CloseHandle(pi.hProcess);
    if (pi.hThread) CloseHandle(pi.hThread);
    if (!run.started) return run;
    for (int i = 0; i < 1200 && GetFileAttributesW(rc.c_str()) == INVALID_FILE_ATTRIBUTES; ++i) Sleep(25);
    if (GetFileAttributesW(rc.c_str()) == INVALID_FILE_ATTRIBUTES) return run;
    run.exitCode = std::atoi(ReadText(rc).c_str());
    run.output = ReadText(out);
    run.errors = ReadText(err);
    DeleteFileW(out.c_str());
    DeleteFileW(err.c_str());
    DeleteFileW(rc.c_str());
    return run;
}

// ---- pictures made here ----

using PixelFn = std::function<COLORREF(int x, int y)>;

Picture DibPicture(int bits, int w, int h, const PixelFn& color) {
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    bi.bmiHeader.biWidth = w;
    bi.bmiHeader.biHeight = h;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = static_cast<WORD>(bits);
    void* px = nullptr;
    HBITMAP bmp = CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &px, nullptr, 0);
    WindowDc screen(nullptr);
    MemoryDc mem(screen.Get());
    {
        SelectGuard sel(mem.Get(), bmp);
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) SetPixel(mem.Get(), x, y, color(x, y));
    }
    PictureKind kind = PictureKind::None;
    return PictureFromHandle(bmp, kind, nullptr, 0, 0);
}

// A four-colour 8-bit picture: the file must carry the colour table.
Picture PalettedPicture(int w, int h, const std::vector<COLORREF>& table, const std::function<int(int, int)>& index) {
    struct {
        BITMAPINFOHEADER header;
        RGBQUAD colors[256];
    } bi{};
    bi.header.biSize = sizeof(BITMAPINFOHEADER);
    bi.header.biWidth = w;
    bi.header.biHeight = -h;  // top-down, so the index rows are easy to fill
    bi.header.biPlanes = 1;
    bi.header.biBitCount = 8;
    bi.header.biClrUsed = static_cast<DWORD>(table.size());
    for (size_t i = 0; i < table.size(); ++i)
        bi.colors[i] = {GetBValue(table[i]), GetGValue(table[i]), GetRValue(table[i]), 0};
    void* px = nullptr;
    HBITMAP bmp = CreateDIBSection(nullptr, reinterpret_cast<BITMAPINFO*>(&bi), DIB_RGB_COLORS, &px, nullptr, 0);
    auto* bytes = static_cast<uint8_t*>(px);
    const int stride = (w + 3) / 4 * 4;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) bytes[y * stride + x] = static_cast<uint8_t>(index(x, y));
    GdiFlush();
    PictureKind kind = PictureKind::None;
    return PictureFromHandle(bmp, kind, nullptr, 0, 0);
}

// An enhanced metafile with a HIMETRIC frame of w x h; a black block fills the right half and a
// red line runs along the top, both placed through the reference DC's pixels per millimetre.
Picture EmfPicture(int himetricW, int himetricH) {
    WindowDc screen(nullptr);
    const double pxPerHimetricX =
        GetDeviceCaps(screen.Get(), HORZRES) / (GetDeviceCaps(screen.Get(), HORZSIZE) * 100.0);
    const double pxPerHimetricY =
        GetDeviceCaps(screen.Get(), VERTRES) / (GetDeviceCaps(screen.Get(), VERTSIZE) * 100.0);
    RECT frame{0, 0, himetricW, himetricH};
    HDC dc = CreateEnhMetaFileW(screen.Get(), nullptr, &frame, nullptr);
    const int w = static_cast<int>(himetricW * pxPerHimetricX);
    const int h = static_cast<int>(himetricH * pxPerHimetricY);
    RECT right{w / 2, 0, w, h};
    FillRect(dc, &right, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    Pen red(CreatePen(PS_SOLID, 1, RGB(255, 0, 0)));
    {
        SelectGuard sel(dc, red.Get());
        MoveToEx(dc, 0, 0, nullptr);
        LineTo(dc, w / 2, 0);
    }
    HENHMETAFILE emf = CloseEnhMetaFile(dc);
    PictureKind kind = PictureKind::None;
    return PictureFromHandle(emf, kind, nullptr, 0, 0);
}

std::vector<uint8_t> EmfBits(HENHMETAFILE emf) {
    std::vector<uint8_t> bits(GetEnhMetaFileBits(emf, 0, nullptr));
    GetEnhMetaFileBits(emf, static_cast<UINT>(bits.size()), bits.data());
    return bits;
}

std::vector<uint8_t> WmfBits(HMETAFILE wmf) {
    std::vector<uint8_t> bits(GetMetaFileBitsEx(wmf, 0, nullptr));
    GetMetaFileBitsEx(wmf, static_cast<UINT>(bits.size()), bits.data());
    return bits;
}

uint16_t Get16(const std::vector<uint8_t>& b, size_t at) { return static_cast<uint16_t>(b[at] | (b[at + 1] << 8)); }
uint32_t Get32(const std::vector<uint8_t>& b, size_t at) { return Get16(b, at) | (uint32_t{Get16(b, at + 2)} << 16); }

// The pixels ImageMagick decodes, as 0x00RRGGBB, row 0 at the top.
std::vector<uint32_t> DecodeWithImageMagick(const std::string& unixFile, int w, int h, std::string* error) {
    UnixRun run = RunUnix("convert '" + unixFile + "' -depth 8 rgb:-");
    if (run.exitCode != 0 || run.output.size() != static_cast<size_t>(w) * h * 3) {
        *error = "convert exit " + std::to_string(run.exitCode) + " " + run.errors + ", " + std::to_string(run.output.size()) + " bytes";
        return {};
    }
    std::vector<uint32_t> px(static_cast<size_t>(w) * h);
    for (size_t i = 0; i < px.size(); ++i) {
        auto c = reinterpret_cast<const uint8_t*>(run.output.data()) + 3 * i;
        px[i] = (uint32_t{c[0]} << 16) | (uint32_t{c[1]} << 8) | c[2];
    }
    return px;
}

uint32_t Rgb(COLORREF c) { return (uint32_t{GetRValue(c)} << 16) | (uint32_t{GetGValue(c)} << 8) | GetBValue(c); }

class ExportFiles : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = NewTempDir();
        ASSERT_FALSE(dir_.empty());
        UnixRun probe = RunUnix("true");
        ASSERT_TRUE(probe.started && probe.exitCode == 0) << "cannot start Unix programs from Wine";
    }
    void TearDown() override { RemoveTree(dir_); }
    static void RemoveTree(const std::wstring& dir) {
        WIN32_FIND_DATAW fd;
        HANDLE h = FindFirstFileW((dir + L"\\*").c_str(), &fd);
        if (h != INVALID_HANDLE_VALUE) {
            do {
                std::wstring name = fd.cFileName;
                if (name == L"." || name == L"..") continue;
                std::wstring full = dir + L"\\" + name;
                SetFileAttributesW(full.c_str(), FILE_ATTRIBUTE_NORMAL);
                if (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) RemoveTree(full);
                else DeleteFileW(full.c_str());
            } while (FindNextFileW(h, &fd));
            FindClose(h);
        }
        RemoveDirectoryW(dir.c_str());
    }
    std::wstring Path(const wchar_t* name) const { return dir_ + L"\\" + name; }
    std::wstring dir_;
};

// ---- bitmap files ----

TEST_F(ExportFiles, TrueColourBitmapsReadBackPixelForPixel) {
    struct Case {
        int bits, w, h;
    };
    // Widths 1 to 5 take every row padding at 24 bits.
    const Case cases[] = {{24, 1, 2}, {24, 2, 3}, {24, 3, 1}, {24, 4, 2}, {24, 5, 3}, {32, 3, 2}, {32, 7, 4}};
    auto color = [](int x, int y) { return RGB(10 + 40 * x, 20 + 60 * y, 5 + 15 * (x + y)); };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.bits << " bits, " << c.w << " x " << c.h);
        Picture pic = DibPicture(c.bits, c.w, c.h, color);
        ASSERT_FALSE(pic.Empty());
        std::wstring file = Path(L"true.bmp");
        ASSERT_TRUE(SavePictureToFile(nullptr, file, pic, PictureFileFormat::Bmp, k96Dpi));

        std::vector<uint8_t> bytes = ReadBytes(file);
        ASSERT_GE(bytes.size(), 54u);
        EXPECT_EQ(Get16(bytes, 28), c.bits) << "saved at its own depth";
        EXPECT_EQ(Get32(bytes, 10), 54u) << "no colour table above 8 bits";

        std::string unixFile = UnixPath(file);
        // BMP3: the Windows 3 layout with the 40-byte info header.
        UnixRun id = RunUnix("identify -format '%m %w %h' '" + unixFile + "'");
        EXPECT_EQ(id.exitCode, 0) << id.output << id.errors;
        EXPECT_EQ(id.output, "BMP3 " + std::to_string(c.w) + " " + std::to_string(c.h));

        std::string error;
        std::vector<uint32_t> px = DecodeWithImageMagick(unixFile, c.w, c.h, &error);
        ASSERT_FALSE(px.empty()) << error;
        for (int y = 0; y < c.h; ++y)
            for (int x = 0; x < c.w; ++x)
                EXPECT_EQ(px[static_cast<size_t>(y) * c.w + x], Rgb(color(x, y))) << "pixel " << x << "," << y;
    }
}

TEST_F(ExportFiles, PalettedBitmapKeepsItsColourTable) {
    const std::vector<COLORREF> table = {RGB(255, 0, 0), RGB(0, 128, 0), RGB(0, 0, 255), RGB(250, 240, 10)};
    auto index = [](int x, int y) { return (x + 2 * y) % 4; };
    Picture pic = PalettedPicture(5, 3, table, index);
    ASSERT_FALSE(pic.Empty());
    std::wstring file = Path(L"paletted.bmp");
    ASSERT_TRUE(SavePictureToFile(nullptr, file, pic, PictureFileFormat::Bmp, k96Dpi));

    std::vector<uint8_t> bytes = ReadBytes(file);
    ASSERT_GE(bytes.size(), 54u + 4 * 256);
    EXPECT_EQ(Get16(bytes, 28), 8);
    for (size_t i = 0; i < table.size(); ++i) EXPECT_EQ(Get32(bytes, 54 + 4 * i), Rgb(table[i])) << "entry " << i;

    std::string error;
    std::vector<uint32_t> px = DecodeWithImageMagick(UnixPath(file), 5, 3, &error);
    ASSERT_FALSE(px.empty()) << error;
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 5; ++x) EXPECT_EQ(px[y * 5 + x], Rgb(table[index(x, y)])) << "pixel " << x << "," << y;
}

TEST_F(ExportFiles, MetafileIsRenderedOnWhiteAtItsHimetricSize) {
    struct Case {
        TwipsPerPixel tpp;
        int w, h;  // 10000 x 5000 HIMETRIC = 5669.29 x 2834.65 twips
    };
    const Case cases[] = {{k96Dpi, 378, 189}, {k120Dpi, 472, 236}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.tpp.x << " twips per pixel");
        Picture pic = EmfPicture(10000, 5000);
        std::wstring file = Path(L"rendered.bmp");
        ASSERT_TRUE(SavePictureToFile(nullptr, file, pic, PictureFileFormat::Bmp, c.tpp));

        std::string unixFile = UnixPath(file);
        UnixRun id = RunUnix("identify -format '%w %h' '" + unixFile + "'");
        ASSERT_EQ(id.output, std::to_string(c.w) + " " + std::to_string(c.h));
        std::string error;
        std::vector<uint32_t> px = DecodeWithImageMagick(unixFile, c.w, c.h, &error);
        ASSERT_FALSE(px.empty()) << error;
        auto at = [&](int x, int y) { return px[static_cast<size_t>(y) * c.w + x]; };
        // Left half white (the outline of the background rectangle lies outside), right half black.
        EXPECT_EQ(at(0, c.h - 1), 0xFFFFFFu);
        EXPECT_EQ(at(c.w / 4, c.h / 2), 0xFFFFFFu);
        EXPECT_EQ(at(c.w / 2 + 5, c.h / 2), 0x000000u);
        EXPECT_EQ(at(c.w - 3, c.h - 3), 0x000000u) << "stretched to the far corner";
        EXPECT_EQ(at(c.w / 4, 0), 0xFF0000u) << "the red line along the top";
    }
}

// ---- metafile files ----

TEST_F(ExportFiles, EnhancedMetafileIsWrittenRecordForRecord) {
    Picture pic = EmfPicture(8000, 6000);
    std::wstring file = Path(L"picture.emf");
    ASSERT_TRUE(SavePictureToFile(nullptr, file, pic, PictureFileFormat::Emf, k96Dpi));

    EXPECT_EQ(ReadBytes(file), EmfBits(pic.EnhMetafile()));
    HENHMETAFILE back = GetEnhMetaFileW(file.c_str());
    ASSERT_TRUE(back);
    auto want = test::ReadRecords(pic.EnhMetafile());
    auto got = test::ReadRecords(back);
    DeleteEnhMetaFile(back);
    ASSERT_EQ(got.size(), want.size());
    for (size_t i = 0; i < got.size(); ++i) EXPECT_EQ(got[i].bytes, want[i].bytes) << "record " << i;

    std::string svg = UnixPath(Path(L"picture-emf.svg"));
    UnixRun conv = RunUnix("emf2svg-conv -i '" + UnixPath(file) + "' -o '" + svg + "' && cat '" + svg + "'");
    EXPECT_EQ(conv.exitCode, 0) << conv.output << conv.errors;
    EXPECT_NE(conv.output.find("<svg"), std::string::npos) << conv.output << conv.errors;
    // Our red line and black block survive the other reader.
    EXPECT_NE(conv.output.find("#FF0000"), std::string::npos) << conv.output << conv.errors;
    EXPECT_NE(conv.output.find("#000000"), std::string::npos) << conv.output << conv.errors;
}

TEST_F(ExportFiles, WindowsMetafileCarriesAPlaceableHeaderOfTheTrueExtent) {
    struct Case {
        int w, h;
        int16_t right, bottom;
        uint16_t inch;
    };
    // Up to 32767 the box is in HIMETRIC; beyond, in a coarser unit of the same extent.
    const Case cases[] = {{10000, 5000, 10000, 5000, 2540}, {40000, 20000, 20000, 10000, 1270}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.w << " x " << c.h);
        Picture pic = EmfPicture(c.w, c.h);
        WindowDc reference(nullptr);
        Picture wmf = EmfToWmfPicture(reference.Get(), pic);
        ASSERT_EQ(wmf.Kind(), PictureKind::Metafile);
        EXPECT_EQ(wmf.HimetricWidth(), c.w) << "not the twips figure";
        EXPECT_EQ(wmf.HimetricHeight(), c.h);

        std::wstring file = Path(L"picture.wmf");
        ASSERT_TRUE(SavePictureToFile(nullptr, file, pic, PictureFileFormat::Wmf, k96Dpi));
        std::vector<uint8_t> bytes = ReadBytes(file);
        ASSERT_GT(bytes.size(), 22u);
        EXPECT_EQ(Get32(bytes, 0), 0x9AC6CDD7u);
        EXPECT_EQ(Get16(bytes, 4), 0);
        EXPECT_EQ(Get16(bytes, 6), 0);
        EXPECT_EQ(Get16(bytes, 8), 0);
        EXPECT_EQ(static_cast<int16_t>(Get16(bytes, 10)), c.right);
        EXPECT_EQ(static_cast<int16_t>(Get16(bytes, 12)), c.bottom);
        EXPECT_EQ(Get16(bytes, 14), c.inch);
        EXPECT_EQ(Get32(bytes, 16), 0u);
        uint16_t sum = 0;
        for (size_t i = 0; i < 20; i += 2) sum ^= Get16(bytes, i);
        EXPECT_EQ(Get16(bytes, 20), sum);
        std::vector<uint8_t> body(bytes.begin() + 22, bytes.end());
        EXPECT_EQ(body, WmfBits(wmf.Metafile())) << "the metafile follows the header as it is";

        std::string svg = UnixPath(Path(L"picture-wmf.svg"));
        UnixRun conv = RunUnix("wmf2svg -o '" + svg + "' '" + UnixPath(file) + "' && cat '" + svg + "'");
        EXPECT_EQ(conv.exitCode, 0) << conv.output << conv.errors;
        // libwmf places the picture by the header's box: the red line along the top-left half
        // must end halfway across, and the picture keeps its 2:1 shape.
        double width = 0, height = 0, x2 = 0;
        size_t svgAt = conv.output.find("<svg width=");
        size_t lineAt = conv.output.find("x2=");
        ASSERT_NE(svgAt, std::string::npos) << conv.output << conv.errors;
        ASSERT_NE(lineAt, std::string::npos) << conv.output;
        std::sscanf(conv.output.c_str() + svgAt, "<svg width=\"%lf\" height=\"%lf\"", &width, &height);
        std::sscanf(conv.output.c_str() + lineAt, "x2=\"%lf\"", &x2);
        ASSERT_GT(width, 0);
        EXPECT_NEAR(height / width, 0.5, 0.01);
        EXPECT_NEAR(x2 / width, 0.5, 0.01) << conv.output;
    }
}

// ---- clipboard ----

std::vector<UINT> ClipboardFormats() {
    std::vector<UINT> formats;
    if (!OpenClipboard(nullptr)) return formats;
    for (UINT f = EnumClipboardFormats(0); f; f = EnumClipboardFormats(f)) formats.push_back(f);
    CloseClipboard();
    return formats;
}

bool Has(const std::vector<UINT>& v, UINT f) { return std::find(v.begin(), v.end(), f) != v.end(); }

// Besides what we put, the system may offer a device-independent copy of the bitmap; nothing
// else is allowed.
void ExpectOnlySynthesisedExtras(const std::vector<UINT>& formats, std::initializer_list<UINT> ours) {
    for (UINT f : formats) {
        bool allowed = f == CF_DIB || f == CF_DIBV5;
        for (UINT o : ours) allowed = allowed || f == o;
        EXPECT_TRUE(allowed) << "unexpected clipboard format " << f;
    }
}

struct ClipboardBitmapInfo {
    int w = 0, h = 0;
    COLORREF topLeft = CLR_INVALID;
};

ClipboardBitmapInfo ClipboardBitmap() {
    ClipboardBitmapInfo out;
    if (!OpenClipboard(nullptr)) return out;
    if (auto bmp = static_cast<HBITMAP>(GetClipboardData(CF_BITMAP))) {
        BITMAP bm{};
        GetObjectW(bmp, sizeof bm, &bm);
        out.w = bm.bmWidth;
        out.h = bm.bmHeight;
        WindowDc screen(nullptr);
        MemoryDc mem(screen.Get());
        SelectGuard sel(mem.Get(), bmp);
        out.topLeft = GetPixel(mem.Get(), 0, 0);
    }
    CloseClipboard();
    return out;
}

TEST(ExportClipboard, MetafileModeOffersEnhancedMetafileWindowsMetafileAndBitmap) {
    Picture pic = EmfPicture(10000, 5000);
    ASSERT_TRUE(CopyPictureToClipboard(nullptr, pic, true, k96Dpi));

    std::vector<UINT> formats = ClipboardFormats();
    EXPECT_TRUE(Has(formats, CF_ENHMETAFILE));
    EXPECT_TRUE(Has(formats, CF_METAFILEPICT));
    EXPECT_TRUE(Has(formats, CF_BITMAP));
    ExpectOnlySynthesisedExtras(formats, {CF_ENHMETAFILE, CF_METAFILEPICT, CF_BITMAP});

    ASSERT_TRUE(OpenClipboard(nullptr));
    auto emf = static_cast<HENHMETAFILE>(GetClipboardData(CF_ENHMETAFILE));
    ASSERT_TRUE(emf);
    EXPECT_EQ(EmfBits(emf), EmfBits(pic.EnhMetafile()));
    auto mem = static_cast<HGLOBAL>(GetClipboardData(CF_METAFILEPICT));
    ASSERT_TRUE(mem);
    auto* mfp = static_cast<METAFILEPICT*>(GlobalLock(mem));
    ASSERT_TRUE(mfp);
    EXPECT_EQ(mfp->mm, MM_ANISOTROPIC);
    EXPECT_EQ(mfp->xExt, 10000) << "the true HIMETRIC width";
    EXPECT_EQ(mfp->yExt, 5000);
    EXPECT_GT(GetMetaFileBitsEx(mfp->hMF, 0, nullptr), 0u);
    GlobalUnlock(mem);
    CloseClipboard();

    ClipboardBitmapInfo bmp = ClipboardBitmap();
    EXPECT_EQ(bmp.w, 378);
    EXPECT_EQ(bmp.h, 189);
    EXPECT_EQ(bmp.topLeft, RGB(255, 0, 0)) << "the red line on the rendered picture";
}

TEST(ExportClipboard, RasterModeOffersTheBitmapOnly) {
    auto color = [](int x, int y) { return RGB(x * 20, 100, y * 30); };
    Picture pic = DibPicture(24, 6, 4, color);
    ASSERT_TRUE(CopyPictureToClipboard(nullptr, pic, false, k96Dpi));

    std::vector<UINT> formats = ClipboardFormats();
    EXPECT_TRUE(Has(formats, CF_BITMAP));
    EXPECT_FALSE(Has(formats, CF_ENHMETAFILE));
    EXPECT_FALSE(Has(formats, CF_METAFILEPICT));
    ExpectOnlySynthesisedExtras(formats, {CF_BITMAP});

    ClipboardBitmapInfo bmp = ClipboardBitmap();
    EXPECT_EQ(bmp.w, 6);
    EXPECT_EQ(bmp.h, 4);
    EXPECT_EQ(bmp.topLeft, color(0, 0));
    EXPECT_FALSE(pic.Empty()) << "the viewer keeps its picture";
}

// ---- failed writes ----

// Closes the first message box of ours that appears and remembers its text.
class MessageBoxWatcher {
public:
    MessageBoxWatcher() : thread_([this] { Run(); }) {}
    ~MessageBoxWatcher() {
        stop_ = true;
        if (thread_.joinable()) thread_.join();
    }
    std::string Text() {
        stop_ = true;
        if (thread_.joinable()) thread_.join();
        return text_;
    }
    std::string title;

private:
    void Run() {
        for (int i = 0; i < 400 && !stop_; ++i) {
            HWND box = nullptr;
            EnumWindows(
                [](HWND h, LPARAM lp) -> BOOL {
                    DWORD pid = 0;
                    GetWindowThreadProcessId(h, &pid);
                    wchar_t cls[16] = {};
                    GetClassNameW(h, cls, 16);
                    if (pid == GetCurrentProcessId() && wcscmp(cls, L"#32770") == 0 && IsWindowVisible(h)) {
                        *reinterpret_cast<HWND*>(lp) = h;
                        return FALSE;
                    }
                    return TRUE;
                },
                reinterpret_cast<LPARAM>(&box));
            if (box) {
                wchar_t buf[1024] = {};
                GetWindowTextW(box, buf, 1024);
                title = Utf8(buf, wcslen(buf));
                GetDlgItemTextW(box, 0xFFFF, buf, 1024);
                text_ = Utf8(buf, wcslen(buf));
                PostMessageW(box, WM_COMMAND, IDOK, 0);
                return;
            }
            Sleep(25);
        }
    }
    std::atomic<bool> stop_{false};
    std::string text_;
    std::thread thread_;
};

TEST_F(ExportFiles, FailedWriteIsReportedAndKeepsTheExistingFile) {
    const std::string original = "the file the user had before";
    struct Case {
        const char* name;
        std::function<std::wstring(const std::wstring& dir)> prepare;  // returns the target
        std::function<void()> cleanup;
    };
    HANDLE held = INVALID_HANDLE_VALUE;
    std::wstring readOnly;
    const Case cases[] = {
        {"folder does not exist", [&](const std::wstring& dir) { return dir + L"\\missing\\out.bmp"; }, [] {}},
        {"file is read-only",
         [&](const std::wstring& dir) {
             readOnly = dir + L"\\readonly.bmp";
             WriteBytes(readOnly, original);
             SetFileAttributesW(readOnly.c_str(), FILE_ATTRIBUTE_READONLY);
             return readOnly;
         },
         [&] { SetFileAttributesW(readOnly.c_str(), FILE_ATTRIBUTE_NORMAL); }},
        {"file is held open without sharing",
         [&](const std::wstring& dir) {
             std::wstring f = dir + L"\\held.bmp";
             WriteBytes(f, original);
             held = CreateFileW(f.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
             return f;
         },
         [&] {
             CloseHandle(held);
             held = INVALID_HANDLE_VALUE;
         }},
    };
    Picture pic = DibPicture(24, 4, 4, [](int, int) { return RGB(1, 2, 3); });
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::wstring sub = dir_ + L"\\" + std::to_wstring(&c - cases);
        ASSERT_TRUE(CreateDirectoryW(sub.c_str(), nullptr));
        std::wstring target = c.prepare(sub);
        bool existed = GetFileAttributesW(target.c_str()) != INVALID_FILE_ATTRIBUTES;

        bool ok;
        std::string text, title;
        {
            MessageBoxWatcher watcher;
            ok = SavePictureToFile(nullptr, target, pic, PictureFileFormat::Bmp, k96Dpi);
            text = watcher.Text();
            title = watcher.title;
        }
        c.cleanup();
        EXPECT_FALSE(ok);
        EXPECT_EQ(title, "Plumbo!!");
        EXPECT_NE(text.find(Utf8(target)), std::string::npos) << "names the file: " << text;
        EXPECT_GT(text.size(), Utf8(target).size() + 20) << "and gives a reason: " << text;
        if (existed) {
            std::vector<uint8_t> now = ReadBytes(target);
            EXPECT_EQ(std::string(now.begin(), now.end()), original);
        }
        std::vector<std::wstring> left = FilesIn(sub);
        EXPECT_EQ(left.size(), existed ? 1u : 0u) << "no temporary file is left behind";
    }
}

TEST_F(ExportFiles, SuccessfulWriteReplacesTheFileAndLeavesNoTemporaryFile) {
    std::wstring target = Path(L"replace.emf");
    ASSERT_TRUE(WriteBytes(target, "old contents"));
    Picture pic = EmfPicture(3000, 2000);
    ASSERT_TRUE(SavePictureToFile(nullptr, target, pic, PictureFileFormat::Emf, k96Dpi));
    EXPECT_EQ(ReadBytes(target), EmfBits(pic.EnhMetafile()));
    EXPECT_EQ(FilesIn(dir_), std::vector<std::wstring>{L"replace.emf"});

    // A name without an extension stays without one.
    std::wstring bare = Path(L"noextension");
    ASSERT_TRUE(SavePictureToFile(nullptr, bare, pic, PictureFileFormat::Emf, k96Dpi));
    EXPECT_EQ(GetFileAttributesW(bare.c_str()) != INVALID_FILE_ATTRIBUTES, true);
}

TEST(ExportConversions, OnlyMatchingKindsConvert) {
    Picture bitmap = DibPicture(24, 2, 2, [](int, int) { return RGB(0, 0, 0); });
    WindowDc reference(nullptr);
    EXPECT_TRUE(EmfToWmfPicture(reference.Get(), bitmap).Empty()) << "a bitmap has no Windows metafile";
    EXPECT_FALSE(PictureFileBytes(bitmap, PictureFileFormat::Emf, reference.Get(), k96Dpi));
    EXPECT_TRUE(PictureToBitmap(Picture{}, k96Dpi).Empty());

    Picture copy = PictureToBitmap(bitmap, k96Dpi);
    ASSERT_EQ(copy.Kind(), PictureKind::Bitmap);
    EXPECT_NE(copy.Bitmap(), bitmap.Bitmap()) << "its own handle, the viewer keeps the original";
}

}  // namespace
}  // namespace plumbo
