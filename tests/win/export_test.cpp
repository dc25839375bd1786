// Export of the viewer's picture: each file is read back by an independent program (Debian's
// ImageMagick, emf2svg and libwmf, started through Wine's ability to run Unix programs), the
// clipboard is read back format by format, and failed writes must keep the original file.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "capture/export_win.h"
#include "capture/file_formats.h"
#include "core/texts.h"
#include "emf_records.h"
#include "test_pictures.h"
#include "platform/gdi_win.h"

namespace plumbo {
namespace {

namespace fs = std::filesystem;
using test::Utf8;

constexpr TwipsPerPixel k96Dpi{15, 15};
constexpr TwipsPerPixel k120Dpi{12, 12};

// ---- files and Unix programs ----

std::string ReadBytes(const std::wstring& path) {
    std::ifstream f(fs::path(path), std::ios::binary);
    return {std::istreambuf_iterator<char>(f), {}};
}

bool WriteBytes(const std::wstring& path, const std::string& bytes) {
    std::ofstream f(fs::path(path), std::ios::binary);
    return static_cast<bool>(f << bytes);
}

std::vector<std::wstring> FilesIn(const std::wstring& dir) {
    std::vector<std::wstring> names;
    for (const auto& e : fs::directory_iterator(dir)) names.push_back(e.path().filename().wstring());
    return names;
}

std::string UnixPath(const std::wstring& windowsPath) {
    using Fn = char*(CDECL*)(const wchar_t*);
    auto fn = reinterpret_cast<Fn>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "wine_get_unix_file_name")));
    char* p = fn ? fn(windowsPath.c_str()) : nullptr;
    if (!p) return {};
    std::string out = p;
    HeapFree(GetProcessHeap(), 0, p);
    return out;
}

struct UnixRun {
    int exitCode = -1;  // -1: not run or not finished
    std::string output, errors;  // standard output and standard error
};

// Runs a command in /bin/sh. Wine starts a Unix program without a process handle and without
// our pipes, so the shell writes its output and then its exit status into files we wait for.
UnixRun RunUnix(const std::string& command) {
    static int counter = 0;
    UnixRun run;
    const std::wstring base = (fs::temp_directory_path() / (L"plumbo-unix-" + std::to_wstring(GetCurrentProcessId()) +
                                                            L"-" + std::to_wstring(++counter)))
                                  .wstring();
    const std::wstring out = base + L".out", err = base + L".err", rc = base + L".rc";
    const std::string uOut = UnixPath(out), uErr = UnixPath(err), uRc = UnixPath(rc);
    if (uOut.empty()) return run;
    // The command must not contain '"': it is one argument of sh -c.
    const std::string script = "{ " + command + "; } >'" + uOut + "' 2>'" + uErr + "'; echo $? >'" + uRc +
                               ".part'; mv '" + uRc + ".part' '" + uRc + "'";
    std::wstring cmdLine = L"sh -c \"" + fs::path(std::u8string(script.begin(), script.end())).wstring() + L"\"";
    STARTUPINFOW si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    if (!CreateProcessW(L"Z:\\bin\\sh", cmdLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi))
        return run;
    CloseHandle(pi.hProcess);
    CloseHandle(pi.hThread);
    for (int i = 0; i < 1200 && GetFileAttributesW(rc.c_str()) == INVALID_FILE_ATTRIBUTES; ++i) Sleep(25);
    if (GetFileAttributesW(rc.c_str()) == INVALID_FILE_ATTRIBUTES) return run;
    run.exitCode = std::atoi(ReadBytes(rc).c_str());
    run.output = ReadBytes(out);
    run.errors = ReadBytes(err);
    for (const auto& f : {out, err, rc}) DeleteFileW(f.c_str());
    return run;
}

// ---- pictures made here ----

Picture Adopt(HANDLE handle) {
    PictureKind kind = PictureKind::None;
    return PictureFromHandle(handle, kind, nullptr, 0, 0);
}

// A DIB of the given depth, coloured pixel by pixel; at 8 bits it gets the colour table given.
Picture DibPicture(int bits, int w, int h, const std::function<COLORREF(int x, int y)>& color,
                   const std::vector<COLORREF>& table = {}) {
    struct {
        BITMAPINFOHEADER header;
        RGBQUAD colors[256];
    } bi{};
    bi.header = {sizeof(BITMAPINFOHEADER), w, h, 1, static_cast<WORD>(bits), BI_RGB, 0, 0, 0,
                 static_cast<DWORD>(table.size()), 0};
    for (size_t i = 0; i < table.size(); ++i)
        bi.colors[i] = {GetBValue(table[i]), GetGValue(table[i]), GetRValue(table[i]), 0};
    void* px = nullptr;
    HBITMAP bmp = CreateDIBSection(nullptr, reinterpret_cast<BITMAPINFO*>(&bi), DIB_RGB_COLORS, &px, nullptr, 0);
    WindowDc screen(nullptr);
    MemoryDc mem(screen.Get());
    {
        SelectGuard sel(mem.Get(), bmp);
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) SetPixel(mem.Get(), x, y, color(x, y));
    }
    return Adopt(bmp);
}

// A metafile a few bytes long whose rendering at 96 dpi would need a bitmap file past the
// format's 4 GiB even at one bit per pixel; nothing of that size may ever be allocated.
Picture HugeMetafile() {
    constexpr int32_t kHimetric = 5300000;  // 53 m, about 200315 pixels at 96 dpi
    std::optional<RenderedBitmapSize> px = MetafileBitmapSize(kHimetric, kHimetric, k96Dpi);
    EXPECT_TRUE(px && !BmpFileSize(px->width, px->height, 1, 2)) << "the case must be beyond the format";
    return test::HalfBlackMetafile(kHimetric, kHimetric);
}

std::string EmfBits(HENHMETAFILE emf) {
    std::string bits(GetEnhMetaFileBits(emf, 0, nullptr), '\0');
    GetEnhMetaFileBits(emf, static_cast<UINT>(bits.size()), reinterpret_cast<BYTE*>(bits.data()));
    return bits;
}

std::string WmfBits(HMETAFILE wmf) {
    std::string bits(GetMetaFileBitsEx(wmf, 0, nullptr), '\0');
    GetMetaFileBitsEx(wmf, static_cast<UINT>(bits.size()), bits.data());
    return bits;
}

uint16_t Get16(const std::string& b, size_t at) {
    return static_cast<uint16_t>(static_cast<uint8_t>(b[at]) | (static_cast<uint8_t>(b[at + 1]) << 8));
}
uint32_t Get32(const std::string& b, size_t at) { return Get16(b, at) | (uint32_t{Get16(b, at + 2)} << 16); }
uint32_t Rgb(COLORREF c) { return (uint32_t{GetRValue(c)} << 16) | (uint32_t{GetGValue(c)} << 8) | GetBValue(c); }

// The pixels ImageMagick decodes, as 0x00RRGGBB, row 0 at the top; empty with *error on failure.
std::vector<uint32_t> DecodeWithImageMagick(const std::string& unixFile, int w, int h, std::string* error) {
    UnixRun run = RunUnix("convert '" + unixFile + "' -depth 8 rgb:-");
    if (run.exitCode != 0 || run.output.size() != static_cast<size_t>(w) * h * 3) {
        *error = "convert exit " + std::to_string(run.exitCode) + " " + run.errors + ", " +
                 std::to_string(run.output.size()) + " bytes";
        return {};
    }
    std::vector<uint32_t> px(static_cast<size_t>(w) * h);
    for (size_t i = 0; i < px.size(); ++i) {
        auto c = reinterpret_cast<const uint8_t*>(run.output.data()) + 3 * i;
        px[i] = (uint32_t{c[0]} << 16) | (uint32_t{c[1]} << 8) | c[2];
    }
    return px;
}

class ExportFiles : public ::testing::Test {
protected:
    void SetUp() override {
        static int counter = 0;
        dir_ = (fs::temp_directory_path() / (L"plumbo-export-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
                                             std::to_wstring(GetTickCount()) + L"-" + std::to_wstring(++counter)))
                   .wstring();
        ASSERT_TRUE(fs::create_directory(dir_));
        ASSERT_EQ(RunUnix("true").exitCode, 0) << "cannot start Unix programs from Wine";
    }
    void TearDown() override {
        std::error_code ignored;
        fs::remove_all(dir_, ignored);
    }
    std::wstring Path(const wchar_t* name) const { return dir_ + L"\\" + name; }
    std::wstring dir_;
};

// ---- bitmap files ----

TEST_F(ExportFiles, BitmapsAreSavedAtTheirOwnDepthAndReadBackPixelForPixel) {
    // A small colour table for the 8-bit picture, which the file must carry.
    const std::vector<COLORREF> table = {RGB(255, 0, 0), RGB(0, 128, 0), RGB(0, 0, 255), RGB(250, 240, 10)};
    auto trueColour = [](int x, int y) { return RGB(10 + 40 * x, 20 + 60 * y, 5 + 15 * (x + y)); };
    auto paletted = [&](int x, int y) { return table[(x + 2 * y) % 4]; };
    struct Case {
        int bits, w, h;
    };
    // Widths 1 to 4 take every row padding at 24 bits; 32-bit rows need none.
    for (Case c : {Case{24, 1, 2}, Case{24, 2, 3}, Case{24, 3, 1}, Case{24, 4, 2}, Case{32, 3, 2}, Case{8, 5, 3}}) {
        SCOPED_TRACE(testing::Message() << c.bits << " bits, " << c.w << " x " << c.h);
        auto color = c.bits == 8 ? std::function<COLORREF(int, int)>(paletted) : trueColour;
        Picture pic = DibPicture(c.bits, c.w, c.h, color, c.bits == 8 ? table : std::vector<COLORREF>{});
        ASSERT_FALSE(pic.Empty());
        std::wstring file = Path(L"picture.bmp");
        ASSERT_TRUE(SavePictureToFile(nullptr, file, pic, PictureFileFormat::Bmp, k96Dpi));
        std::string bytes = ReadBytes(file);
        ASSERT_GE(bytes.size(), 54u);
        EXPECT_EQ(Get16(bytes, 28), c.bits) << "saved at its own depth";
        ASSERT_EQ(Get32(bytes, 10), c.bits == 8 ? 54u + 4 * 256 : 54u) << "a colour table only at 8 bits";
        for (size_t i = 0; c.bits == 8 && i < table.size(); ++i)
            EXPECT_EQ(Get32(bytes, 54 + 4 * i), Rgb(table[i])) << "entry " << i;

        // BMP3: the Windows 3 layout with the 40-byte info header.
        UnixRun id = RunUnix("identify -format '%m %w %h' '" + UnixPath(file) + "'");
        EXPECT_EQ(id.output, "BMP3 " + std::to_string(c.w) + " " + std::to_string(c.h)) << id.errors;
        std::string error;
        std::vector<uint32_t> px = DecodeWithImageMagick(UnixPath(file), c.w, c.h, &error);
        ASSERT_FALSE(px.empty()) << error;
        for (int y = 0; y < c.h; ++y)
            for (int x = 0; x < c.w; ++x)
                EXPECT_EQ(px[static_cast<size_t>(y) * c.w + x], Rgb(color(x, y))) << "pixel " << x << "," << y;
    }
}

TEST_F(ExportFiles, MetafileIsRenderedOnWhiteAtItsHimetricSize) {
    struct Case {
        TwipsPerPixel tpp;
        int w, h;  // 10000 x 5000 HIMETRIC = 5669.29 x 2834.65 twips
    };
    for (const Case& c : {Case{k96Dpi, 378, 189}, Case{k120Dpi, 472, 236}}) {
        SCOPED_TRACE(testing::Message() << c.tpp.x << " twips per pixel");
        std::wstring file = Path(L"rendered.bmp");
        ASSERT_TRUE(SavePictureToFile(nullptr, file, test::HalfBlackMetafile(10000, 5000), PictureFileFormat::Bmp, c.tpp));
        std::string error;  // also when the size is not w x h
        std::vector<uint32_t> px = DecodeWithImageMagick(UnixPath(file), c.w, c.h, &error);
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

TEST_F(ExportFiles, EnhancedMetafileIsWrittenAsItsOwnBits) {
    Picture pic = test::HalfBlackMetafile(8000, 6000);
    std::wstring file = Path(L"picture.emf");
    ASSERT_TRUE(SavePictureToFile(nullptr, file, pic, PictureFileFormat::Emf, k96Dpi));
    EXPECT_EQ(ReadBytes(file), EmfBits(pic.EnhMetafile()));

    std::string svg = UnixPath(Path(L"picture-emf.svg"));
    UnixRun conv = RunUnix("emf2svg-conv -i '" + UnixPath(file) + "' -o '" + svg + "' && cat '" + svg + "'");
    EXPECT_EQ(conv.exitCode, 0) << conv.output << conv.errors;
    // Our red line and black block survive the other reader.
    for (const char* part : {"<svg", "#FF0000", "#000000"})
        EXPECT_NE(conv.output.find(part), std::string::npos) << part << "\n" << conv.output << conv.errors;
}

TEST_F(ExportFiles, WindowsMetafileCarriesAPlaceableHeaderOfTheTrueExtent) {
    Picture pic = test::HalfBlackMetafile(10000, 5000);
    WindowDc reference(nullptr);
    Picture wmf = EmfToWmfPicture(reference.Get(), pic);
    ASSERT_EQ(wmf.Kind(), PictureKind::Metafile);
    EXPECT_EQ(wmf.HimetricWidth(), 10000) << "not the twips figure";
    EXPECT_EQ(wmf.HimetricHeight(), 5000);

    std::wstring file = Path(L"picture.wmf");
    ASSERT_TRUE(SavePictureToFile(nullptr, file, pic, PictureFileFormat::Wmf, k96Dpi));
    std::string bytes = ReadBytes(file);
    ASSERT_GT(bytes.size(), 22u);
    // Key, no handle, the box (0, 0)-(10000, 5000) in HIMETRIC, 2540 to the inch, reserved, checksum.
    std::vector<uint16_t> want = {0xCDD7, 0x9AC6, 0, 0, 0, 10000, 5000, 2540, 0, 0, 0};
    for (size_t i = 0; i < 10; ++i) want[10] ^= want[i];
    std::vector<uint16_t> got;
    for (size_t i = 0; i < 22; i += 2) got.push_back(Get16(bytes, i));
    EXPECT_EQ(got, want);
    EXPECT_EQ(bytes.substr(22), WmfBits(wmf.Metafile())) << "the metafile follows the header as it is";

    std::string svg = UnixPath(Path(L"picture-wmf.svg"));
    UnixRun conv = RunUnix("wmf2svg -o '" + svg + "' '" + UnixPath(file) + "' && cat '" + svg + "'");
    EXPECT_EQ(conv.exitCode, 0) << conv.output << conv.errors;
    // libwmf places the picture by the header's box: the red line along the top-left half
    // must end halfway across, and the picture keeps its 2:1 shape.
    double width = 0, height = 0, x2 = 0;
    size_t svgAt = conv.output.find("<svg width="), lineAt = conv.output.find("x2=");
    ASSERT_TRUE(svgAt != std::string::npos && lineAt != std::string::npos) << conv.output << conv.errors;
    std::sscanf(conv.output.c_str() + svgAt, "<svg width=\"%lf\" height=\"%lf\"", &width, &height);
    std::sscanf(conv.output.c_str() + lineAt, "x2=\"%lf\"", &x2);
    ASSERT_GT(width, 0);
    EXPECT_NEAR(height / width, 0.5, 0.01);
    EXPECT_NEAR(x2 / width, 0.5, 0.01) << conv.output;
}

// ---- clipboard ----

// Exactly our formats, besides a device-independent copy of the bitmap the system may offer.
void ExpectClipboardFormats(std::vector<UINT> ours) {
    std::vector<UINT> got;
    ASSERT_TRUE(OpenClipboard(nullptr));
    for (UINT f = EnumClipboardFormats(0); f; f = EnumClipboardFormats(f))
        if (f != CF_DIB && f != CF_DIBV5) got.push_back(f);
    CloseClipboard();
    std::sort(got.begin(), got.end());
    std::sort(ours.begin(), ours.end());
    EXPECT_EQ(got, ours);
}

// The clipboard bitmap's width, height and top-left pixel.
std::vector<long> ClipboardBitmap() {
    std::vector<long> out;
    if (!OpenClipboard(nullptr)) return out;
    if (auto bmp = static_cast<HBITMAP>(GetClipboardData(CF_BITMAP))) {
        BITMAP bm{};
        GetObjectW(bmp, sizeof bm, &bm);
        WindowDc screen(nullptr);
        MemoryDc mem(screen.Get());
        SelectGuard sel(mem.Get(), bmp);
        out = {bm.bmWidth, bm.bmHeight, static_cast<long>(GetPixel(mem.Get(), 0, 0))};
    }
    CloseClipboard();
    return out;
}

TEST(ExportClipboard, MetafileModeOffersEnhancedMetafileWindowsMetafileAndBitmap) {
    Picture pic = test::HalfBlackMetafile(10000, 5000);
    ASSERT_TRUE(CopyPictureToClipboard(nullptr, pic, true, k96Dpi));
    ExpectClipboardFormats({CF_ENHMETAFILE, CF_METAFILEPICT, CF_BITMAP});

    ASSERT_TRUE(OpenClipboard(nullptr));
    auto emf = static_cast<HENHMETAFILE>(GetClipboardData(CF_ENHMETAFILE));
    ASSERT_TRUE(emf);
    EXPECT_EQ(EmfBits(emf), EmfBits(pic.EnhMetafile()));
    auto mem = static_cast<HGLOBAL>(GetClipboardData(CF_METAFILEPICT));
    auto* mfp = mem ? static_cast<METAFILEPICT*>(GlobalLock(mem)) : nullptr;
    ASSERT_TRUE(mfp);
    EXPECT_EQ(mfp->mm, MM_ANISOTROPIC);
    EXPECT_EQ(mfp->xExt, 10000) << "the true HIMETRIC width";
    EXPECT_EQ(mfp->yExt, 5000);
    EXPECT_GT(GetMetaFileBitsEx(mfp->hMF, 0, nullptr), 0u);
    GlobalUnlock(mem);
    CloseClipboard();
    // 10000 x 5000 HIMETRIC at 15 twips per pixel; the red line on the rendered picture.
    EXPECT_EQ(ClipboardBitmap(), (std::vector<long>{378, 189, static_cast<long>(RGB(255, 0, 0))}));
}

TEST(ExportClipboard, RasterModeOffersTheBitmapOnly) {
    auto color = [](int x, int y) { return RGB(x * 20, 100, y * 30); };
    Picture pic = DibPicture(24, 6, 4, color);
    ASSERT_TRUE(CopyPictureToClipboard(nullptr, pic, false, k96Dpi));
    ExpectClipboardFormats({CF_BITMAP});
    EXPECT_EQ(ClipboardBitmap(), (std::vector<long>{6, 4, static_cast<long>(color(0, 0))}));
    EXPECT_FALSE(pic.Empty()) << "the viewer keeps its picture";
}

// Holds the clipboard open from a window of another thread for as long as it lives.
class ClipboardHolder {
public:
    ClipboardHolder() {
        thread_ = std::thread([this] {
            HWND window = CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
            holds_ = window && OpenClipboard(window);
            SetEvent(opened_);
            WaitForSingleObject(release_, 30000);
            if (holds_) CloseClipboard();
            if (window) DestroyWindow(window);
        });
        WaitForSingleObject(opened_, 30000);
    }
    ~ClipboardHolder() {
        SetEvent(release_);
        thread_.join();
        CloseHandle(opened_);
        CloseHandle(release_);
    }
    bool Holds() const { return holds_; }

private:
    HANDLE opened_ = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    HANDLE release_ = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    bool holds_ = false;
    std::thread thread_;
};

TEST(ExportClipboard, HeldByAnotherWindowIsAFailureThatLeavesTheClipboardAlone) {
    auto color = [](int x, int y) { return RGB(x * 20, 100, y * 30); };
    Picture earlier = DibPicture(24, 6, 4, color);
    ASSERT_TRUE(CopyPictureToClipboard(nullptr, earlier, false, k96Dpi));
    Picture pic = DibPicture(24, 2, 2, [](int, int) { return RGB(0, 0, 0); });
    {
        ClipboardHolder holder;
        ASSERT_TRUE(holder.Holds());
        DWORD error = 0;
        EXPECT_FALSE(CopyPictureToClipboard(nullptr, pic, false, k96Dpi, &error));
        EXPECT_NE(error, 0u) << "a reason for the message";
    }
    EXPECT_EQ(ClipboardBitmap(), (std::vector<long>{6, 4, static_cast<long>(color(0, 0))}))
        << "what was on the clipboard is still there";
    // Released, the same copy goes through.
    EXPECT_TRUE(CopyPictureToClipboard(nullptr, pic, false, k96Dpi));
    EXPECT_EQ(ClipboardBitmap(), (std::vector<long>{2, 2, 0}));
}

// ---- writes ----

// Runs act() while a helper thread closes the first message box (the only dialog in this
// desktop is ours); gives its title and text.
std::pair<std::string, std::string> CloseMessageBoxDuring(const std::function<void()>& act) {
    std::atomic<bool> stop{false};
    std::string title, text;
    std::thread watcher([&] {
        for (int i = 0; i < 400 && !stop; ++i, Sleep(25)) {
            HWND box = FindWindowW(L"#32770", nullptr);
            if (!box || !IsWindowVisible(box)) continue;
            wchar_t buf[1024] = {};
            GetWindowTextW(box, buf, 1024);
            title = Utf8(buf);
            GetDlgItemTextW(box, 0xFFFF, buf, 1024);
            text = Utf8(buf);
            PostMessageW(box, WM_COMMAND, IDOK, 0);
            return;
        }
    });
    act();
    stop = true;
    watcher.join();
    return {title, text};
}

TEST_F(ExportFiles, FailedWriteIsReportedAndKeepsTheExistingFile) {
    const std::string original = "the file the user had before";
    Picture small = DibPicture(24, 4, 4, [](int, int) { return RGB(1, 2, 3); });
    Picture huge = HugeMetafile();
    struct Case {
        const char* name;
        const wchar_t* file;  // in a folder of its own
        bool exists, readOnly, heldOpen;
        const Picture& pic;
    };
    const Case cases[] = {
        {"folder does not exist", L"missing\\out.bmp", false, false, false, small},
        {"file is read-only", L"readonly.bmp", true, true, false, small},
        {"file is held open without sharing", L"held.bmp", true, false, true, small},
        {"picture too large for a bitmap file", L"huge.bmp", true, false, false, huge},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::wstring sub = dir_ + L"\\" + std::to_wstring(&c - cases);
        ASSERT_TRUE(CreateDirectoryW(sub.c_str(), nullptr));
        const std::wstring target = sub + L"\\" + c.file;
        if (c.exists) WriteBytes(target, original);
        if (c.readOnly) SetFileAttributesW(target.c_str(), FILE_ATTRIBUTE_READONLY);
        HANDLE held = c.heldOpen ? CreateFileW(target.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr)
                                 : INVALID_HANDLE_VALUE;
        bool ok = true;
        auto [title, text] = CloseMessageBoxDuring(
            [&] { ok = SavePictureToFile(nullptr, target, c.pic, PictureFileFormat::Bmp, k96Dpi); });
        if (held != INVALID_HANDLE_VALUE) CloseHandle(held);
        SetFileAttributesW(target.c_str(), FILE_ATTRIBUTE_NORMAL);
        EXPECT_FALSE(ok);
        EXPECT_EQ(title, "Plumbo!!");
        EXPECT_NE(text.find(Utf8(target)), std::string::npos) << "names the file: " << text;
        EXPECT_GT(text.size(), Utf8(target).size() + 20) << "and gives a reason: " << text;
        if (c.exists) {
            EXPECT_EQ(ReadBytes(target), original);
        }
        EXPECT_EQ(FilesIn(sub).size(), c.exists ? 1u : 0u) << "no temporary file is left behind";
    }
}

TEST(ExportClipboard, FailureIsReportedWithTheSystemsReason) {
    auto [title, text] = CloseMessageBoxDuring([] { ReportClipboardFailure(nullptr, ERROR_ACCESS_DENIED); });
    EXPECT_EQ(title, "Plumbo!!");
    const std::string fixed = Utf8(Texts().clipboardFailed);
    const std::string lead = fixed.substr(0, fixed.find("%s"));
    EXPECT_EQ(text.substr(0, lead.size()), lead) << text;
    EXPECT_EQ(text.find("%s"), std::string::npos) << "the reason filled in: " << text;
    EXPECT_GT(text.size(), lead.size() + 2) << "and not empty: " << text;
}

TEST_F(ExportFiles, SuccessfulWriteReplacesTheFileAndLeavesNoTemporaryFile) {
    std::wstring target = Path(L"replace.emf");
    ASSERT_TRUE(WriteBytes(target, "old contents"));
    Picture pic = test::HalfBlackMetafile(3000, 2000);
    ASSERT_TRUE(SavePictureToFile(nullptr, target, pic, PictureFileFormat::Emf, k96Dpi));
    EXPECT_EQ(ReadBytes(target), EmfBits(pic.EnhMetafile()));
    EXPECT_EQ(FilesIn(dir_), std::vector<std::wstring>{L"replace.emf"});

    // A name without an extension stays without one.
    std::wstring bare = Path(L"noextension");
    ASSERT_TRUE(SavePictureToFile(nullptr, bare, pic, PictureFileFormat::Emf, k96Dpi));
    EXPECT_NE(GetFileAttributesW(bare.c_str()), INVALID_FILE_ATTRIBUTES);
}

TEST(ExportConversions, FileBytesSayWhyThereIsNoFile) {
    Picture bitmap = DibPicture(24, 2, 2, [](int, int) { return RGB(0, 0, 0); });
    Picture emf = test::HalfBlackMetafile(3000, 2000);
    Picture huge = HugeMetafile();
    Picture none;
    WindowDc reference(nullptr);
    struct Case {
        const char* name;
        const Picture& pic;
        PictureFileFormat format;
        DWORD error;
    };
    const Case cases[] = {
        {"a bitmap has no enhanced metafile", bitmap, PictureFileFormat::Emf, ERROR_INVALID_DATA},
        {"nor a Windows metafile", bitmap, PictureFileFormat::Wmf, ERROR_INVALID_DATA},
        {"no picture at all", none, PictureFileFormat::Bmp, ERROR_INVALID_DATA},
        {"a metafile whose rendering passes the format's 4 GiB", huge, PictureFileFormat::Bmp, ERROR_FILE_TOO_LARGE},
        {"that metafile is fine as itself", huge, PictureFileFormat::Emf, 0},
        {"a metafile of ordinary size renders", emf, PictureFileFormat::Bmp, 0},
        {"a bitmap", bitmap, PictureFileFormat::Bmp, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<uint8_t> bytes = {1, 2, 3};  // whatever the caller's vector held
        EXPECT_EQ(PictureFileBytes(c.pic, c.format, reference.Get(), k96Dpi, bytes), c.error);
        EXPECT_EQ(bytes.empty(), c.error != 0);
    }
}

TEST(ExportConversions, OnlyMatchingKindsConvert) {
    Picture bitmap = DibPicture(24, 2, 2, [](int, int) { return RGB(0, 0, 0); });
    WindowDc reference(nullptr);
    EXPECT_TRUE(EmfToWmfPicture(reference.Get(), bitmap).Empty()) << "a bitmap has no Windows metafile";
    EXPECT_TRUE(PictureToBitmap(Picture{}, k96Dpi).Empty());
    Picture copy = PictureToBitmap(bitmap, k96Dpi);
    ASSERT_EQ(copy.Kind(), PictureKind::Bitmap);
    EXPECT_NE(copy.Bitmap(), bitmap.Bitmap()) << "its own handle, the viewer keeps the original";
}

}  // namespace
}  // namespace plumbo
