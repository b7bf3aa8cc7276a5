#include "ui/menus.h"

#include "ui/application.h"
#include "ui/controls.h"
#include "ui/forms.h"

#include <algorithm>
#include <unordered_set>

namespace ui {

namespace {

HFONT MenuFont() {
    static HFONT font = [] {
        NONCLIENTMETRICSW m{};
        m.cbSize = sizeof(m);
        SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(m), &m, 0);
        return CreateFontIndirectW(&m.lfMenuFont);
    }();
    return font;
}

constexpr int kImageColumn = 26, kItemHeight = 22, kLineHeight = 7;

// The items that exist: drawing messages carry an item pointer as data, and only a live item of
// ours may be used (another owner-drawn menu's data is no TMenuItem).
std::unordered_set<const TMenuItem*>& LiveItems() {
    // Never freed: items owned by the application object go at the very end of the program.
    static auto* items = new std::unordered_set<const TMenuItem*>;
    return *items;
}

TMenuItem* ItemOf(ULONG_PTR Data) {
    auto* item = reinterpret_cast<TMenuItem*>(Data);
    if (!item || !LiveItems().count(item)) return nullptr;
    return item;
}

bool RunningOnWine() {
    static const bool wine =
        GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "wine_get_version") != nullptr;
    return wine;
}

}  // namespace

TMenuItem::TMenuItem(TComponent* AOwner) : TComponent(AOwner) { LiveItems().insert(this); }

TMenuItem::~TMenuItem() {
    LiveItems().erase(this);
    for (TMenuItem* i : FItems) i->FParent = nullptr;
    if (FParent) FParent->Remove(this);
}

void TMenuItem::Add(TMenuItem* Item) { Insert(Count(), Item); }

void TMenuItem::Insert(int Index, TMenuItem* Item) {
    if (!Item || Item->FParent == this) return;
    if (Item->FParent) Item->FParent->Remove(Item);
    Index = std::clamp(Index, 0, Count());
    FItems.insert(FItems.begin() + Index, Item);
    Item->FParent = this;
}

void TMenuItem::Remove(TMenuItem* Item) {
    auto it = std::find(FItems.begin(), FItems.end(), Item);
    if (it == FItems.end()) return;
    FItems.erase(it);
    Item->FParent = nullptr;
}

void TMenuItem::Clear() {
    while (!FItems.empty()) FItems.back()->Free();
}

TPopupMenu* TMenuItem::Menu() const {
    const TMenuItem* i = this;
    while (i->FParent) i = i->FParent;
    return i->FMenu;
}

void TMenuItem::SetChecked(bool Value) {
    Checked = Value;
    if (Value && RadioItem && FParent)
        for (TMenuItem* s : FParent->FItems)
            if (s != this && s->RadioItem && s->GroupIndex == GroupIndex) s->Checked = false;
}

void TMenuItem::Click() {
    if (RadioItem) SetChecked(true);
    if (OnClick) OnClick(this);
}

bool TMenuItem::GetProperty(const std::wstring& PropName, std::wstring& Value) const {
    if (PropName == L"Caption") {
        Value = Caption;
        return true;
    }
    return false;
}

bool TMenuItem::SetProperty(const std::wstring& PropName, const std::wstring& Value) {
    if (PropName == L"Caption") {
        Caption = Value;
        return true;
    }
    return false;
}

bool TMenuItem::MeasureMenuItem(MEASUREITEMSTRUCT& M) {
    TMenuItem* item = ItemOf(M.itemData);
    if (!item || M.itemID != item->FCommand) return false;
    if (item->IsLine()) {
        M.itemWidth = 20;
        M.itemHeight = kLineHeight;
        return true;
    }
    HDC dc = GetDC(nullptr);
    HGDIOBJ old = SelectObject(dc, MenuFont());
    RECT r{0, 0, 0, 0};
    DrawTextW(dc, item->Caption.c_str(), -1, &r, DT_SINGLELINE | DT_CALCRECT);
    SelectObject(dc, old);
    ReleaseDC(nullptr, dc);
    int imgH = 16;
    if (TPopupMenu* m = item->Menu(); m && m->Images) imgH = m->Images->Height();
    M.itemWidth = UINT(kImageColumn + 8 + r.right + 24);
    M.itemHeight = UINT(std::max(kItemHeight, imgH + 6));
    return true;
}

bool TMenuItem::DrawMenuItem(const DRAWITEMSTRUCT& D) {
    TMenuItem* item = ItemOf(D.itemData);
    if (!item || D.itemID != item->FCommand) return false;
    TPopupMenu* menu = item->Menu();
    static TAdvMenuOfficeStyler defaults(nullptr);
    const TAdvMenuOfficeStyler& st = (menu && menu->MenuStyler) ? *menu->MenuStyler : defaults;
    HDC dc = D.hDC;
    RECT r = D.rcItem;
    RECT col{r.left, r.top, r.left + kImageColumn, r.bottom};
    paint::Fill(dc, r, st.Background);
    paint::Gradient(dc, col, st.ImageColumnFrom, st.ImageColumnTo, false);
    if (item->IsLine()) {
        RECT l{r.left + kImageColumn + 4, (r.top + r.bottom) / 2, r.right, (r.top + r.bottom) / 2 + 1};
        paint::Fill(dc, l, st.SeparatorColor);
        return true;
    }
    bool selected = (D.itemState & ODS_SELECTED) && item->Enabled;
    if (selected) {
        RECT s = r;
        InflateRect(&s, -1, -1);
        paint::Gradient(dc, s, st.SelectedFrom, st.SelectedTo);
        paint::Frame(dc, s, st.SelectedBorder);
    }
    int imgW = 16, imgH = 16;
    if (menu && menu->Images) {
        imgW = menu->Images->Width();
        imgH = menu->Images->Height();
    }
    int ix = r.left + (kImageColumn - imgW) / 2, iy = r.top + (r.bottom - r.top - imgH) / 2;
    if (item->Checked) {
        RECT box{r.left + 2, r.top + 2, r.left + kImageColumn - 2, r.bottom - 2};
        paint::Gradient(dc, box, st.SelectedTo, st.SelectedFrom);
        paint::Frame(dc, box, st.SelectedBorder);
        if (item->ImageIndex < 0 || !menu || !menu->Images) {
            RECT mark{box.left + 3, box.top + 3, box.right - 3, box.bottom - 3};
            DrawFrameControl(dc, &mark, DFC_MENU, item->RadioItem ? DFCS_MENUBULLET : DFCS_MENUCHECK);
        }
    }
    if (menu && menu->Images && item->ImageIndex >= 0)
        menu->Images->Draw(dc, ix, iy, item->ImageIndex, item->Enabled);
    RECT t{r.left + kImageColumn + 8, r.top, r.right - 8, r.bottom};
    HGDIOBJ old = SelectObject(dc, MenuFont());
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, ColorToRGB(item->Enabled ? st.TextColor : st.DisabledTextColor));
    UINT flags = DT_SINGLELINE | DT_VCENTER;
    if (D.itemState & ODS_NOACCEL) flags |= DT_HIDEPREFIX;
    DrawTextW(dc, item->Caption.c_str(), -1, &t, flags);
    SelectObject(dc, old);
    return true;
}

TPopupMenu::TPopupMenu(TComponent* AOwner) : TComponent(AOwner) {
    FItems = new TMenuItem(nullptr);
    FItems->FMenu = this;
}

TPopupMenu::~TPopupMenu() { FItems->Free(); }

void TPopupMenu::BuildInto(HMENU Menu, TMenuItem* Parent, UINT& NextId) {
    for (TMenuItem* i : Parent->FItems) {
        if (!i->Visible) continue;
        i->FCommand = NextId++;
        bool owner = MenuStyler != nullptr;
        UINT flags = owner ? MF_OWNERDRAW : MF_STRING;
        if (i->IsLine()) flags = owner ? (MF_OWNERDRAW | MF_DISABLED) : MF_SEPARATOR;
        if (!i->Enabled) flags |= MF_GRAYED;
        if (i->Checked && !owner) flags |= MF_CHECKED;
        if (!i->FItems.empty()) {
            HMENU sub = CreatePopupMenu();
            BuildInto(sub, i, NextId);
            AppendMenuW(Menu, flags | MF_POPUP, UINT_PTR(sub),
                        owner ? reinterpret_cast<LPCWSTR>(i) : i->Caption.c_str());
        } else {
            AppendMenuW(Menu, flags, i->FCommand,
                        owner ? reinterpret_cast<LPCWSTR>(i) : i->Caption.c_str());
        }
        if (owner) {
            // Owner-drawn items get their TMenuItem as item data; the id ties it to this build.
            MENUITEMINFOW mi{};
            mi.cbSize = sizeof(mi);
            mi.fMask = MIIM_DATA | MIIM_ID;
            mi.dwItemData = ULONG_PTR(i);
            mi.wID = i->FCommand;
            SetMenuItemInfoW(Menu, UINT(GetMenuItemCount(Menu) - 1), TRUE, &mi);
        }
        if (i->Checked && !owner && i->RadioItem)
            CheckMenuRadioItem(Menu, i->FCommand, i->FCommand, i->FCommand, MF_BYCOMMAND);
    }
}

HMENU TPopupMenu::BuildMenu() {
    HMENU m = CreatePopupMenu();
    UINT id = 1;
    BuildInto(m, FItems, id);
    return m;
}

TMenuItem* TPopupMenu::FindCommand(UINT Command) const {
    std::vector<TMenuItem*> stack{FItems};
    while (!stack.empty()) {
        TMenuItem* i = stack.back();
        stack.pop_back();
        if (i != FItems && i->FCommand == Command && i->Visible) return i;
        for (TMenuItem* c : i->FItems) stack.push_back(c);
    }
    return nullptr;
}

void TPopupMenu::Popup(int X, int Y) {
    if (OnPopup) OnPopup(this);
    // A menu opened from a mouse press (a drop-down button) would otherwise leave the capture
    // with the pressed control, and the menu would neither paint nor take the mouse.
    if (GetCapture()) ReleaseCapture();
    HMENU m = BuildMenu();
    // The menu's owner window receives the drawing messages: the form of the control it was
    // opened for, else the active or the main form.
    HWND owner = nullptr;
    if (auto* c = dynamic_cast<TControl*>(PopupComponent))
        if (TForm* f = c->ParentForm()) owner = f->Handle();
    if (!owner) owner = GetActiveWindow();
    if (!owner && Application.MainForm()) owner = Application.MainForm()->Handle();
    if (!owner) {
        DestroyMenu(m);
        return;
    }
    SetForegroundWindow(owner);
    // Wine (seen with 8.0 on a display without a window manager) never paints a popup menu while
    // a child window holds the focus, also in plain Win32 programs: there the form itself holds
    // the focus while the menu is open.
    HWND focus = GetFocus();
    bool moveFocus = RunningOnWine() && focus && focus != owner && IsChild(owner, focus);
    if (moveFocus) SetFocus(owner);
    UINT cmd = UINT(TrackPopupMenu(m, TPM_RETURNCMD | TPM_RIGHTBUTTON | TPM_LEFTALIGN, X, Y, 0, owner, nullptr));
    PostMessageW(owner, WM_NULL, 0, 0);
    if (moveFocus && IsWindow(focus) && GetFocus() == owner) SetFocus(focus);
    TMenuItem* chosen = cmd ? FindCommand(cmd) : nullptr;
    DestroyMenu(m);
    if (chosen && chosen->Enabled) chosen->Click();
}

}  // namespace ui
