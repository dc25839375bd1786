#include "capture/export_win.h"

#include <cstdint>
#include <utility>
#include <vector>

#include "capture/clipboard_win.h"
#include "capture/export_messages_win.h"
#include "capture/picture_encoders_win.h"
#include "capture/save_dialog_win.h"
#include "platform/dpi_win.h"
#include "platform/files_win.h"
#include "platform/gdi_win.h"

namespace plumbo {

void SavePictureToFile(HWND owner, const std::wstring& path, const Picture& picture, PictureFileFormat format,
                       TwipsPerPixel tpp, const RedrawnParts* parts, std::function<void(bool saved)> done) {
    auto finish = [owner, path, done = std::move(done)](DWORD error) {
        if (error) ReportSaveFailure(owner, path, error);
        if (done) done(error == 0);
    };
    std::vector<uint8_t> bytes;
    DWORD error = 0;
    {
        WindowDc reference(owner);
        error = PictureFileBytes(picture, format, reference.Get(), tpp, bytes, parts);
    }
    if (error) return finish(error);
    ReplaceFileContents(path, bytes, std::move(finish));
}

void CopyViewerPicture(const Viewer& viewer) {
    CopyPictureToClipboard(viewer.hwnd(), viewer.Shown(), viewer.Mode() == ViewerMode::Metafile,
                           WindowTwipsPerPixel(viewer.hwnd()));
}

void SaveViewerPicture(const Viewer& viewer, PictureFileFormat format) {
    HWND owner = viewer.hwnd();
    const std::wstring path = AskPictureFileName(owner, format);
    if (path.empty() || (FileExists(path) && !AskReplaceFile(owner))) return;
    SavePictureToFile(owner, path, viewer.Shown(), format, WindowTwipsPerPixel(owner), viewer.Parts());
}

}  // namespace plumbo
