#include "platform/input_box_win.h"

#include <cstdint>
#include <vector>

#include "platform/modal_win.h"
#include "platform/window_win.h"

namespace plumbo {

namespace {

// Dialog units of the box and its controls.
constexpr short kBoxWidth = 240;
constexpr short kBoxHeight = 84;
constexpr short kButtonWidth = 50;
constexpr short kButtonHeight = 14;

class TemplateWriter {
public:
    void Word(uint16_t w) { data_.push_back(w); }
    void Dword(uint32_t d) {
        Word(static_cast<uint16_t>(d & 0xFFFF));
        Word(static_cast<uint16_t>(d >> 16));
    }
    void Text(std::wstring_view s) {
        for (wchar_t c : s) Word(static_cast<uint16_t>(c));
        Word(0);
    }
    void AlignDword() {
        if (data_.size() % 2) Word(0);
    }
    void Item(DWORD style, short x, short y, short cx, short cy, WORD id, uint16_t classAtom, std::wstring_view text) {
        AlignDword();
        Dword(style | WS_CHILD | WS_VISIBLE);
        Dword(0);  // extended style
        Word(static_cast<uint16_t>(x));
        Word(static_cast<uint16_t>(y));
        Word(static_cast<uint16_t>(cx));
        Word(static_cast<uint16_t>(cy));
        Word(id);
        Word(0xFFFF);
        Word(classAtom);
        Text(text);
        Word(0);  // no creation data
    }
    const uint16_t* Data() const { return data_.data(); }

private:
    std::vector<uint16_t> data_;  // DLGTEMPLATE must start on a DWORD boundary; vector's storage does
};

constexpr uint16_t kButtonAtom = 0x0080;
constexpr uint16_t kEditAtom = 0x0081;
constexpr uint16_t kStaticAtom = 0x0082;

struct BoxState {
    std::wstring_view defaultText;
    std::wstring reply;
};

INT_PTR CALLBACK BoxProc(HWND dlg, UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case WM_INITDIALOG: {
        auto* state = reinterpret_cast<BoxState*>(lp);
        SetWindowLongPtrW(dlg, DWLP_USER, lp);
        HWND edit = GetDlgItem(dlg, kInputBoxEditId);
        SetWindowTextW(edit, std::wstring(state->defaultText).c_str());
        SendMessageW(edit, EM_SETSEL, 0, -1);
        SetFocus(edit);
        SetForegroundWindow(dlg);
        return FALSE;  // focus set here
    }
    case WM_COMMAND:
        if (LOWORD(wp) == IDOK) {
            auto* state = reinterpret_cast<BoxState*>(GetWindowLongPtrW(dlg, DWLP_USER));
            HWND edit = GetDlgItem(dlg, kInputBoxEditId);
            state->reply = ControlText(edit);
            EndDialog(dlg, IDOK);
            return TRUE;
        }
        if (LOWORD(wp) == IDCANCEL) {
            EndDialog(dlg, IDCANCEL);
            return TRUE;
        }
        return FALSE;
    default:
        return FALSE;
    }
}

}  // namespace

std::optional<std::wstring> InputBox(HWND owner, std::wstring_view prompt, std::wstring_view title,
                                     std::wstring_view defaultText, const InputBoxCaptions& captions) {
    TemplateWriter t;
    t.Dword(DS_MODALFRAME | DS_SETFONT | DS_CENTER | WS_POPUP | WS_CAPTION | WS_SYSMENU);
    t.Dword(0);  // extended style
    t.Word(4);   // controls
    t.Word(0);
    t.Word(0);
    t.Word(static_cast<uint16_t>(kBoxWidth));
    t.Word(static_cast<uint16_t>(kBoxHeight));
    t.Word(0);  // no menu
    t.Word(0);  // the standard dialog class
    t.Text(title);
    t.Word(9);  // point size
    t.Text(L"MS Shell Dlg");

    const short buttonX = kBoxWidth - kButtonWidth - 7;
    t.Item(SS_LEFT, 7, 7, buttonX - 14, 44, kInputBoxPromptId, kStaticAtom, prompt);
    t.Item(BS_DEFPUSHBUTTON | WS_TABSTOP | WS_GROUP, buttonX, 7, kButtonWidth, kButtonHeight, IDOK, kButtonAtom,
           captions.ok);
    t.Item(BS_PUSHBUTTON | WS_TABSTOP, buttonX, 25, kButtonWidth, kButtonHeight, IDCANCEL, kButtonAtom,
           captions.cancel);
    t.Item(ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP | WS_GROUP, 7, kBoxHeight - 21, kBoxWidth - 14, 13,
           kInputBoxEditId, kEditAtom, L"");

    // A dialog made from a template follows the DPI of the monitor it comes to by itself on
    // Windows 10 (1703 on) in a per-monitor (v2) program: the system places its controls and
    // makes its font again. Under Wine every monitor has the one DPI, so it never changes.
    BoxState state{defaultText, {}};
    ModalScope scope(nullptr, owner);
    INT_PTR r = DialogBoxIndirectParamW(GetModuleHandleW(nullptr), reinterpret_cast<LPCDLGTEMPLATEW>(t.Data()),
                                        owner, BoxProc, reinterpret_cast<LPARAM>(&state));
    if (r != IDOK) return std::nullopt;
    return state.reply;
}

}  // namespace plumbo
