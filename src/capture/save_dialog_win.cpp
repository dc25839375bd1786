#include "capture/save_dialog_win.h"

#include <commdlg.h>

#include <algorithm>
#include <vector>

#include "core/texts.h"
#include "platform/modal_win.h"

namespace plumbo {

namespace {

// One file name for the five save commands, as the dialog component keeps it.
std::wstring& LastFileName() {
    static std::wstring name;
    return name;
}

const wchar_t* FilterFor(PictureFileFormat format) {
    switch (format) {
    case PictureFileFormat::Bmp: return Texts().saveFilterBmp;
    case PictureFileFormat::Emf: return Texts().saveFilterEmf;
    case PictureFileFormat::Wmf: return Texts().saveFilterWmf;
    case PictureFileFormat::Png: return Texts().saveFilterPng;
    case PictureFileFormat::Svg: return Texts().saveFilterSvg;
    }
    return Texts().saveFilterBmp;
}

// "description|pattern" as the dialog takes it: NUL-separated, ending in an empty entry.
std::wstring FilterForDialog(const wchar_t* filter) {
    std::wstring f = filter;
    std::replace(f.begin(), f.end(), L'|', L'\0');
    f.push_back(L'\0');
    return f;
}

}  // namespace

std::wstring AskPictureFileName(HWND owner, PictureFileFormat format) {
    const std::wstring filterList = FilterForDialog(FilterFor(format));
    std::vector<wchar_t> buffer(32768, L'\0');
    const std::wstring offered = LastFileName().empty() ? L"" : PictureFileName(LastFileName(), format);
    std::copy_n(offered.begin(), std::min(offered.size(), buffer.size() - 1), buffer.begin());

    OPENFILENAMEW ofn{};
    ofn.lStructSize = sizeof ofn;
    ofn.hwndOwner = owner;
    ofn.lpstrFilter = filterList.c_str();
    ofn.nFilterIndex = 1;
    ofn.lpstrFile = buffer.data();
    ofn.nMaxFile = static_cast<DWORD>(buffer.size());
    ofn.lpstrTitle = Texts().saveDialogTitle;
    // No default extension and no overwrite prompt of the dialog's own: a default extension is
    // added only to a name without one ("v1.2" has one), so the name is made here, and the
    // question is asked for the name made.
    ofn.Flags = OFN_EXPLORER | OFN_HIDEREADONLY | OFN_NOCHANGEDIR;
    ModalScope modal;
    if (!GetSaveFileNameW(&ofn)) return {};
    return LastFileName() = PictureFileName(buffer.data(), format);
}

}  // namespace plumbo
