#include "ruler/unit_commands_win.h"
#include "app/commands_win.h"

#include "app/app_win.h"
#include "app/menu_table.h"
#include "app/settings.h"
#include "app/settings_store_win.h"
#include "ruler/ruler_window_win.h"

namespace plumbo {

namespace {

void SetUnit(UINT item, int tani) {
    for (UINT id : {mMenuSetMill, mMenuSetInch1Per8, mMenuSetInch1Per10, mMenuSetPixel}) CheckMenu(id, id == item);
    App& a = TheApp();
    HideScales(a.fHrz->Model(), a.fVer->Model());
    // Drawn at once, shown or hidden, then on every paint in the new unit.
    gTani = tani;
    a.fHrz->RunScale();
    a.fVer->RunScale();
    InvalidateRect(a.fHrz->hwnd(), nullptr, FALSE);
    InvalidateRect(a.fVer->hwnd(), nullptr, FALSE);
}

void SetInside(bool inside) {
    CheckMenu(mMenuSetShowIn, inside);
    CheckMenu(mMenuSetShowOut, !inside);
    gInsideFlg = inside;
    WriteIni(L"SHOW", L"INSIDE", inside ? L"TRUE" : L"FALSE");
}

}  // namespace

void mMenuSetMill_Click() { SetUnit(mMenuSetMill, kTaniMill); }
void mMenuSetInch1Per8_Click() { SetUnit(mMenuSetInch1Per8, kTaniInch8); }
void mMenuSetInch1Per10_Click() { SetUnit(mMenuSetInch1Per10, kTaniInch10); }
void mMenuSetPixel_Click() { SetUnit(mMenuSetPixel, kTaniPixel); }
void mMenuSetShowIn_Click() { SetInside(true); }
void mMenuSetShowOut_Click() { SetInside(false); }

void RegisterUnitCommands() {
    RegisterCommand(mMenuSetMill, &mMenuSetMill_Click);
    RegisterCommand(mMenuSetInch1Per8, &mMenuSetInch1Per8_Click);
    RegisterCommand(mMenuSetInch1Per10, &mMenuSetInch1Per10_Click);
    RegisterCommand(mMenuSetPixel, &mMenuSetPixel_Click);
    RegisterCommand(mMenuSetShowIn, &mMenuSetShowIn_Click);
    RegisterCommand(mMenuSetShowOut, &mMenuSetShowOut_Click);
}

}  // namespace plumbo
