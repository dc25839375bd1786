#include "capture/clipboard_win.h"

#include <functional>
#include <vector>

#include "capture/export_messages_win.h"
#include "capture/picture_encoders_win.h"
#include "platform/clipboard_text_win.h"
#include "platform/gdi_win.h"
#include "platform/global_memory_win.h"

namespace plumbo {

namespace {

// A handle made for the clipboard, and how to free it unless the clipboard takes it.
struct Offer {
    UINT format;
    HANDLE handle;
    std::function<void()> free;
};

// Why the last call failed; fallback when it did not say.
DWORD Reason(DWORD fallback) {
    const DWORD error = GetLastError();
    return error ? error : fallback;
}

}  // namespace

bool CopyPictureToClipboard(HWND owner, const Picture& picture, bool metafileMode, TwipsPerPixel tpp) {
    Picture wmf;
    {
        WindowDc reference(owner);
        wmf = EmfToWmfPicture(reference.Get(), picture);
    }
    Picture bitmap = PictureToBitmap(picture, tpp);
    std::vector<uint8_t> png;
    if (!bitmap.Empty()) PictureFileBytes(bitmap, PictureFileFormat::Png, nullptr, tpp, png);

    // Made before the clipboard is opened: no other program waits while they are made, and
    // memory that cannot be had leaves the clipboard as it was.
    std::vector<Offer> offers;
    DWORD error = 0;
    HENHMETAFILE emf = metafileMode ? picture.EnhMetafile() : nullptr;
    if (HENHMETAFILE copy = emf ? CopyEnhMetaFileW(emf, nullptr) : nullptr)
        offers.push_back({CF_ENHMETAFILE, copy, [copy] { DeleteEnhMetaFile(copy); }});
    if (HMETAFILE copy = metafileMode && wmf.Metafile() ? CopyMetaFileW(wmf.Metafile(), nullptr) : nullptr) {
        const METAFILEPICT mfp{MM_ANISOTROPIC, wmf.HimetricWidth(), wmf.HimetricHeight(), copy};
        if (HGLOBAL memory = GlobalCopyOf(&mfp, sizeof mfp)) {
            offers.push_back({CF_METAFILEPICT, memory, [=] { GlobalFree(memory), DeleteMetaFile(copy); }});
        } else {
            error = Reason(ERROR_NOT_ENOUGH_MEMORY);
            DeleteMetaFile(copy);
        }
    }
    // The PNG file whole, as programs of today paste a picture without loss of colour.
    if (!png.empty() && !error) {
        if (HGLOBAL memory = GlobalCopyOf(png.data(), png.size()))
            offers.push_back({RegisterClipboardFormatW(L"PNG"), memory, [memory] { GlobalFree(memory); }});
        else
            error = Reason(ERROR_NOT_ENOUGH_MEMORY);
    }
    if (HBITMAP copy = bitmap.Bitmap() ? static_cast<HBITMAP>(CopyImage(bitmap.Bitmap(), IMAGE_BITMAP, 0, 0, 0)) : nullptr)
        offers.push_back({CF_BITMAP, copy, [copy] { DeleteObject(copy); }});

    if (error || !OpenClipboardSoon(owner)) {
        if (!error) error = Reason(ERROR_ACCESS_DENIED);
        for (Offer& offer : offers) offer.free();
        ReportClipboardFailure(owner, error);
        return false;
    }
    EmptyClipboard();
    for (Offer& offer : offers)
        if (!SetClipboardData(offer.format, offer.handle)) offer.free();
    CloseClipboard();
    return true;
}

}  // namespace plumbo
