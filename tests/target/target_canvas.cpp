// "/canvas": a window with no child windows that paints a form itself and tells what it shows
// only through an IAccessible of its own, answered from WM_GETOBJECT, as browsers and the newer
// toolkits do. "/stall" as well: the element halfway down answers its name 3 s late. "/many N":
// N push buttons instead of the form, for the benchmark.
#include "shown_texts.h"

#include <oleacc.h>

namespace {

struct Element {
    int parent;  // index, -1 for the client area's own children
    LONG role;
    std::wstring name;
    const wchar_t* value;
    LONG state;
    RECT rect;  // client pixels
};

// The form on show, each element before its children, or for a benchmark as many push buttons as
// asked for. Texts a person sees are names, or values where the role shows a value.
std::vector<Element> form = {
    {-1, ROLE_SYSTEM_PUSHBUTTON, L"OK", nullptr, 0, {16, 16, 96, 40}}, {-1, ROLE_SYSTEM_PUSHBUTTON, L"キャンセル", nullptr, 0, {104, 16, 184, 40}},
    {-1, ROLE_SYSTEM_CHECKBUTTON, L"Remember me", nullptr, STATE_SYSTEM_CHECKED, {16, 52, 184, 72}},
    {-1, ROLE_SYSTEM_CHECKBUTTON, L"Newsletter", nullptr, 0, {16, 76, 184, 96}},
    {-1, ROLE_SYSTEM_RADIOBUTTON, L"Small", nullptr, STATE_SYSTEM_CHECKED, {16, 100, 184, 120}},
    {-1, ROLE_SYSTEM_RADIOBUTTON, L"Large", nullptr, 0, {16, 124, 184, 144}},
    {-1, ROLE_SYSTEM_TEXT, L"Mail", L"someone@example.com", 0, {200, 16, 400, 40}},
    {-1, ROLE_SYSTEM_TEXT, L"Name", L"日本語の値", 0, {200, 48, 400, 72}},
    {-1, ROLE_SYSTEM_COMBOBOX, L"City", L"Tokyo", 0, {200, 80, 400, 104}},
    {-1, ROLE_SYSTEM_GROUPING, L"Options", nullptr, 0, {420, 16, 620, 120}},
    {9, ROLE_SYSTEM_STATICTEXT, L"Inside the group", nullptr, 0, {432, 40, 608, 60}},
    {-1, ROLE_SYSTEM_LIST, L"Fruit", nullptr, 0, {16, 160, 196, 260}},
    {11, ROLE_SYSTEM_LISTITEM, L"Apple", nullptr, 0, {18, 162, 194, 182}}, {11, ROLE_SYSTEM_LISTITEM, L"Banana", nullptr, STATE_SYSTEM_SELECTED, {18, 182, 194, 202}},
    {11, ROLE_SYSTEM_LISTITEM, L"Cherry", nullptr, 0, {18, 202, 194, 222}},
    {-1, ROLE_SYSTEM_PAGETABLIST, L"", nullptr, 0, {210, 160, 410, 184}},
    {15, ROLE_SYSTEM_PAGETAB, L"General", nullptr, STATE_SYSTEM_SELECTED, {212, 162, 300, 184}}, {15, ROLE_SYSTEM_PAGETAB, L"Advanced", nullptr, 0, {300, 162, 400, 184}},
    {-1, ROLE_SYSTEM_OUTLINE, L"Tree", nullptr, 0, {420, 140, 620, 260}},
    {18, ROLE_SYSTEM_OUTLINEITEM, L"Root", nullptr, 0, {424, 144, 616, 164}},
    {19, ROLE_SYSTEM_OUTLINEITEM, L"Child one", nullptr, 0, {440, 164, 616, 184}}, {19, ROLE_SYSTEM_OUTLINEITEM, L"Child two", nullptr, 0, {440, 184, 616, 204}},
    {-1, ROLE_SYSTEM_SLIDER, L"Volume", L"40", 0, {16, 280, 196, 300}},
    {-1, ROLE_SYSTEM_LINK, L"Open the help", nullptr, 0, {210, 280, 400, 300}},
    {-1, ROLE_SYSTEM_STATICTEXT, L"A static label", nullptr, 0, {420, 280, 620, 300}},
    {-1, ROLE_SYSTEM_STATICTEXT, L"Hidden text", nullptr, STATE_SYSTEM_INVISIBLE, {420, 310, 620, 330}},
};

HWND canvas = nullptr;
bool stall = false;
WNDPROC baseProc = nullptr;

// A list, a tree, a tab row or a slider shows its items or its thumb, not its own name.
const wchar_t* ShownText(const Element& e) {
    if (e.role == ROLE_SYSTEM_TEXT || e.role == ROLE_SYSTEM_COMBOBOX) return e.value;
    const bool silent = e.role == ROLE_SYSTEM_LIST || e.role == ROLE_SYSTEM_OUTLINE || e.role == ROLE_SYSTEM_PAGETABLIST || e.role == ROLE_SYSTEM_SLIDER;
    return silent ? nullptr : e.name.c_str();
}

// One element of the form (or, at -1, the client area), each an accessible object of its own.
class Node final : public IAccessible {
public:
    explicit Node(int index) : index_(index) {}
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID id, void** out) override {
        if (id != IID_IUnknown && id != IID_IDispatch && id != __uuidof(IAccessible)) return *out = nullptr, E_NOINTERFACE;
        AddRef();
        return *out = static_cast<IAccessible*>(this), S_OK;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return InterlockedIncrement(&refs_); }
    ULONG STDMETHODCALLTYPE Release() override {
        const LONG n = InterlockedDecrement(&refs_);
        if (n == 0) delete this;
        return n;
    }
    // What a reader asks: the rest is never asked, and says so.
#define NOT_ASKED(name, ...) HRESULT STDMETHODCALLTYPE name(__VA_ARGS__) override { return E_NOTIMPL; }
    NOT_ASKED(GetTypeInfoCount, UINT*) NOT_ASKED(GetTypeInfo, UINT, LCID, ITypeInfo**) NOT_ASKED(GetIDsOfNames, REFIID, LPOLESTR*, UINT, LCID, DISPID*)
    NOT_ASKED(Invoke, DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) NOT_ASKED(get_accParent, IDispatch**)
    NOT_ASKED(get_accDescription, VARIANT, BSTR*) NOT_ASKED(get_accHelp, VARIANT, BSTR*) NOT_ASKED(get_accHelpTopic, BSTR*, VARIANT, long*)
    NOT_ASKED(get_accKeyboardShortcut, VARIANT, BSTR*) NOT_ASKED(get_accFocus, VARIANT*) NOT_ASKED(get_accSelection, VARIANT*)
    NOT_ASKED(get_accDefaultAction, VARIANT, BSTR*) NOT_ASKED(accSelect, long, VARIANT) NOT_ASKED(accNavigate, long, VARIANT, VARIANT*)
    NOT_ASKED(accHitTest, long, long, VARIANT*) NOT_ASKED(accDoDefaultAction, VARIANT) NOT_ASKED(put_accName, VARIANT, BSTR)
    NOT_ASKED(put_accValue, VARIANT, BSTR)
#undef NOT_ASKED
    HRESULT STDMETHODCALLTYPE get_accChildCount(long* n) override {
        *n = 0;
        for (const Element& e : form) *n += e.parent == index_;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_accChild(VARIANT id, IDispatch** child) override {
        *child = nullptr;
        for (int i = 0, n = 0; i < static_cast<int>(form.size()); ++i)
            if (form[i].parent == index_ && id.vt == VT_I4 && ++n == id.lVal) return *child = new Node(i), S_OK;
        return E_INVALIDARG;
    }
    HRESULT STDMETHODCALLTYPE get_accName(VARIANT, BSTR* s) override {
        if (stall && index_ == static_cast<int>(form.size()) / 2) Sleep(3000);
        return Text(index_ < 0 ? L"Canvas" : form[index_].name.c_str(), s);
    }
    HRESULT STDMETHODCALLTYPE get_accValue(VARIANT, BSTR* s) override { return Text(index_ < 0 ? nullptr : form[index_].value, s); }
    HRESULT STDMETHODCALLTYPE get_accRole(VARIANT, VARIANT* v) override { return Long(index_ < 0 ? ROLE_SYSTEM_CLIENT : form[index_].role, v); }
    HRESULT STDMETHODCALLTYPE get_accState(VARIANT, VARIANT* v) override { return Long(index_ < 0 ? 0 : form[index_].state, v); }
    HRESULT STDMETHODCALLTYPE accLocation(long* x, long* y, long* w, long* h, VARIANT) override {
        RECT r = index_ < 0 ? RECT{} : form[index_].rect;
        if (index_ < 0) GetClientRect(canvas, &r);
        MapWindowPoints(canvas, nullptr, reinterpret_cast<POINT*>(&r), 2);
        *x = r.left;
        *y = r.top;
        *w = r.right - r.left;
        *h = r.bottom - r.top;
        return S_OK;
    }

private:
    static HRESULT Text(const wchar_t* text, BSTR* out) {
        *out = text && *text ? SysAllocString(text) : nullptr;
        return *out ? S_OK : S_FALSE;
    }
    static HRESULT Long(LONG value, VARIANT* out) { return out->vt = VT_I4, out->lVal = value, S_OK; }
    int index_;
    LONG refs_ = 1;
};

LRESULT CALLBACK CanvasProc(HWND h, UINT m, WPARAM w, LPARAM l) {
    if (m == WM_GETOBJECT && static_cast<LONG>(l) == OBJID_CLIENT) {
        Node* root = new Node(-1);
        const LRESULT r = LresultFromObject(__uuidof(IAccessible), w, root);
        root->Release();
        return r;
    }
    if (m == WM_PAINT && !GetParent(h)) {  // the canvas itself, not a list telling its rows
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(h, &ps);
        SelectObject(dc, GetStockObject(DEFAULT_GUI_FONT));
        SetBkMode(dc, TRANSPARENT);
        for (const Element& e : form) {
            RECT r = e.rect;
            if (e.state & STATE_SYSTEM_INVISIBLE) continue;
            if (e.role != ROLE_SYSTEM_STATICTEXT && e.role != ROLE_SYSTEM_LINK) FrameRect(dc, &r, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
            if (const wchar_t* text = ShownText(e)) DrawTextW(dc, text, -1, &r, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | (e.role == ROLE_SYSTEM_PUSHBUTTON ? DT_CENTER : 0));
        }
        EndPaint(h, &ps);
        return 0;
    }
    return CallWindowProcW(baseProc, h, m, w, l);
}

}  // namespace

// Windows tells a list box's rows to assistive technology: the list answers for its client area
// with them, each a list item, through the canvas's tree (a target shows one or the other), and
// paints itself.
void TellRows(HWND list, const wchar_t* const* names, int count) {
    form.assign(count, {-1, ROLE_SYSTEM_LISTITEM, L"", nullptr, 0, {}});
    for (int i = 0; i < count; ++i) {
        form[i].name = names[i];
        Ask(list, LB_GETITEMRECT, i, &form[i].rect);
    }
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    canvas = list;
    baseProc = SubclassWindow(list, CanvasProc);
}

// With "/stall" also given the form stalls halfway; with "/many N" it is N push buttons.
void FillWithCanvas(HWND w) {
    const std::wstring line = GetCommandLineW();
    const size_t many = line.find(L" /many ");
    const int buttons = many == std::wstring::npos ? 0 : std::stoi(line.substr(many + 7));
    // In rows of 40, 18 x 16 pixels each: 1,000 fill 720 x 400.
    if (buttons > 0) form.clear();
    for (int i = 0; i < buttons; ++i) {
        const int x = 4 + i % 40 * 18, y = 4 + i / 40 * 16;
        form.push_back({-1, ROLE_SYSTEM_PUSHBUTTON, std::to_wstring(i), nullptr, 0, {x, y, x + 18, y + 16}});
    }
    stall = line.find(L" /stall") != std::wstring::npos;
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    canvas = w;
    baseProc = SubclassWindow(w, CanvasProc);
    ReportWhenShown(w, [](HWND window) {
        for (const Element& e : form) {
            RECT r = e.rect;
            MapWindowPoints(window, nullptr, reinterpret_cast<POINT*>(&r), 2);
            if (!(e.state & STATE_SYSTEM_INVISIBLE) && ShownText(e)) AddShown(L"line", ShownText(e), r);
        }
    });
}
