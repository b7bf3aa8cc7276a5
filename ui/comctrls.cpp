#include "ui/comctrls.h"

#include <algorithm>

namespace ui {

// ---------------------------------------------------------------------------------------------
// TListView

TListView::TListView(TComponent* AOwner) : TWinControl(AOwner) {
    FWidth = 250;
    FHeight = 150;
    TabStop = true;
    FParentColor = false;
    FColor = clWindow;
}

TListView::~TListView() {
    DestroyHandle();
    if (FImageList) ImageList_Destroy(FImageList);
}

void TListView::CreateParams(TCreateParams& P) {
    TWinControl::CreateParams(P);
    P.WinClass = WC_LISTVIEWW;
    P.Style |= LVS_REPORT | LVS_OWNERDATA | LVS_SHAREIMAGELISTS;
    if (!HideSelection) P.Style |= LVS_SHOWSELALWAYS;
    if (!MultiSelect) P.Style |= LVS_SINGLESEL;
    if (!ReadOnly) P.Style |= LVS_EDITLABELS;
    if (!ShowColumnHeaders) P.Style |= LVS_NOCOLUMNHEADER;
    P.ExStyle = WS_EX_CLIENTEDGE;
}

void TListView::BuildImageList() {
    if (FImageList) {
        if (FHandle) ListView_SetImageList(FHandle, nullptr, LVSIL_SMALL);
        ImageList_Destroy(FImageList);
        FImageList = nullptr;
    }
    if (!FSmallImages) return;
    int w = FSmallImages->Width(), h = FSmallImages->Height();
    FImageList = ImageList_Create(w, h, ILC_COLOR32, FSmallImages->Count(), 1);
    HDC dc = CreateCompatibleDC(nullptr);
    for (int i = 0; i < FSmallImages->Count(); ++i) {
        TPicture p;
        p.CreateBlank(w, h);
        HGDIOBJ old = SelectObject(dc, p.Bitmap());
        FSmallImages->Draw(dc, 0, 0, i, true);
        SelectObject(dc, old);
        GdiFlush();
        ImageList_Add(FImageList, p.Bitmap(), nullptr);
    }
    DeleteDC(dc);
    if (FHandle) ListView_SetImageList(FHandle, FImageList, LVSIL_SMALL);
}

void TListView::SetSmallImages(TCustomImageList* Images) {
    FSmallImages = Images;
    BuildImageList();
}

void TListView::InitWnd() {
    DWORD ex = LVS_EX_DOUBLEBUFFER | (RowSelect ? LVS_EX_FULLROWSELECT : 0) | (GridLines ? LVS_EX_GRIDLINES : 0);
    ListView_SetExtendedListViewStyle(FHandle, ex);
    for (int i = 0; i < ColumnCount(); ++i) {
        LVCOLUMNW c{};
        c.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM;
        c.pszText = const_cast<wchar_t*>(FColumns[i].Caption.c_str());
        c.cx = FColumns[i].Width;
        c.iSubItem = i;
        SendMessageW(FHandle, LVM_INSERTCOLUMNW, WPARAM(i), LPARAM(&c));
    }
    if (FImageList) ListView_SetImageList(FHandle, FImageList, LVSIL_SMALL);
    ListView_SetItemCountEx(FHandle, ItemCount(), LVSICF_NOSCROLL);
    for (int i : FSelected) ListView_SetItemState(FHandle, i, LVIS_SELECTED, LVIS_SELECTED);
}

void TListView::SaveWndState() { FSelected = SelectedItems(); }

TListColumn& TListView::AddColumn(const std::wstring& Caption, int Width) {
    FColumns.push_back({Caption, Width});
    if (FHandle) {
        int i = ColumnCount() - 1;
        LVCOLUMNW c{};
        c.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM;
        c.pszText = const_cast<wchar_t*>(FColumns[i].Caption.c_str());
        c.cx = Width;
        c.iSubItem = i;
        SendMessageW(FHandle, LVM_INSERTCOLUMNW, WPARAM(i), LPARAM(&c));
    }
    return FColumns.back();
}

void TListView::SetColumnCaption(int Index, const std::wstring& Caption) {
    if (Index < 0 || Index >= ColumnCount()) return;
    FColumns[Index].Caption = Caption;
    if (FHandle) {
        LVCOLUMNW c{};
        c.mask = LVCF_TEXT;
        c.pszText = const_cast<wchar_t*>(FColumns[Index].Caption.c_str());
        SendMessageW(FHandle, LVM_SETCOLUMNW, WPARAM(Index), LPARAM(&c));
    }
}

void TListView::SetColumnWidth(int Index, int Width) {
    if (Index < 0 || Index >= ColumnCount()) return;
    FColumns[Index].Width = Width;
    if (FHandle) ListView_SetColumnWidth(FHandle, Index, Width);
}

void TListView::ClearColumns() {
    if (FHandle)
        for (int i = ColumnCount() - 1; i >= 0; --i) ListView_DeleteColumn(FHandle, i);
    FColumns.clear();
}

TListItem& TListView::AddItem(const std::wstring& Caption, int ImageIndex) {
    FItems.push_back(TListItem{Caption, {}, ImageIndex, nullptr});
    ItemsChanged();
    return FItems.back();
}

void TListView::DeleteItem(int Index) {
    if (Index < 0 || Index >= ItemCount()) return;
    std::vector<int> sel = SelectedItems();
    FItems.erase(FItems.begin() + Index);
    // Selections after the deleted row move up with their rows.
    std::vector<int> kept;
    for (int s : sel)
        if (s != Index) kept.push_back(s > Index ? s - 1 : s);
    FSelected = kept;
    if (FHandle) {
        ListView_SetItemState(FHandle, -1, 0, LVIS_SELECTED);
        ListView_SetItemCountEx(FHandle, ItemCount(), LVSICF_NOSCROLL);
        for (int s : kept) ListView_SetItemState(FHandle, s, LVIS_SELECTED, LVIS_SELECTED);
        InvalidateRect(FHandle, nullptr, FALSE);
    }
}

void TListView::Clear() {
    FItems.clear();
    FSelected.clear();
    if (FHandle) {
        ListView_SetItemState(FHandle, -1, 0, LVIS_SELECTED);
        ListView_SetItemCountEx(FHandle, 0, 0);
    }
}

void TListView::ItemsChanged() {
    if (!FHandle) return;
    ListView_SetItemCountEx(FHandle, ItemCount(), LVSICF_NOSCROLL | LVSICF_NOINVALIDATEALL);
    InvalidateRect(FHandle, nullptr, FALSE);
}

std::vector<int> TListView::SelectedItems() const {
    if (!FHandle) return FSelected;
    std::vector<int> out;
    int i = -1;
    while ((i = ListView_GetNextItem(FHandle, i, LVNI_SELECTED)) >= 0) out.push_back(i);
    return out;
}

int TListView::ItemIndex() const {
    std::vector<int> s = SelectedItems();
    return s.empty() ? -1 : s.front();
}

bool TListView::IsSelected(int Index) const {
    std::vector<int> s = SelectedItems();
    return std::find(s.begin(), s.end(), Index) != s.end();
}

void TListView::SetItemIndex(int Index) {
    if (Index >= ItemCount()) Index = -1;
    if (!FHandle) {
        FSelected.clear();
        if (Index >= 0) FSelected.push_back(Index);
        if (OnChange) OnChange(this);
        return;
    }
    ListView_SetItemState(FHandle, -1, 0, LVIS_SELECTED | LVIS_FOCUSED);
    if (Index >= 0) {
        ListView_SetItemState(FHandle, Index, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
        ListView_EnsureVisible(FHandle, Index, FALSE);
    }
}

bool TListView::Reflect(UINT Msg, WPARAM, LPARAM LParam, LRESULT& Result) {
    if (Msg != WM_NOTIFY) return false;
    auto* h = reinterpret_cast<NMHDR*>(LParam);
    switch (h->code) {
        case LVN_GETDISPINFOW: {
            auto* d = reinterpret_cast<NMLVDISPINFOW*>(LParam);
            int i = d->item.iItem;
            if (i < 0 || i >= ItemCount()) return true;
            const TListItem& it = FItems[i];
            if ((d->item.mask & LVIF_TEXT) && d->item.pszText && d->item.cchTextMax > 0) {
                int sub = d->item.iSubItem;
                const std::wstring* s = nullptr;
                if (sub == 0) s = &it.Caption;
                else if (sub - 1 < int(it.SubItems.size())) s = &it.SubItems[sub - 1];
                lstrcpynW(d->item.pszText, s ? s->c_str() : L"", d->item.cchTextMax);
            }
            if (d->item.mask & LVIF_IMAGE) d->item.iImage = it.ImageIndex;
            Result = 0;
            return true;
        }
        case LVN_ITEMCHANGED: {
            auto* n = reinterpret_cast<NMLISTVIEW*>(LParam);
            if ((n->uChanged & LVIF_STATE) && ((n->uOldState ^ n->uNewState) & LVIS_SELECTED)) {
                if (OnSelectItem) OnSelectItem(this, n->iItem, (n->uNewState & LVIS_SELECTED) != 0);
                if (OnChange) OnChange(this);
            }
            return true;
        }
        case LVN_ODSTATECHANGED:
            if (OnChange) OnChange(this);
            return true;
        case NM_CLICK:
            Click();
            return true;
        case NM_DBLCLK:
            DblClick();
            return true;
    }
    return false;
}

// ---------------------------------------------------------------------------------------------
// TTabSheet and TPageControl

TTabSheet::TTabSheet(TComponent* AOwner) : TCustomControl(AOwner) {
    FAlign = alClient;
    FWidth = 100;
    FHeight = 100;
}

TPageControl* TTabSheet::PageControl() const { return dynamic_cast<TPageControl*>(FParent); }

int TTabSheet::PageIndex() const {
    TPageControl* pc = PageControl();
    if (!pc) return -1;
    for (int i = 0; i < pc->PageCount(); ++i)
        if (pc->Pages(i) == this) return i;
    return -1;
}

void TTabSheet::SetTabVisible(bool V) {
    if (V == FTabVisible) return;
    FTabVisible = V;
    if (TPageControl* pc = PageControl()) {
        pc->Realign();
        pc->Invalidate();
    }
}

void TTabSheet::TextChanged() {
    TCustomControl::TextChanged();
    if (FParent) FParent->Invalidate();
}

TPageControl::TPageControl(TComponent* AOwner) : TCustomControl(AOwner) {
    FWidth = 289;
    FHeight = 193;
}

int TPageControl::PageCount() const {
    int n = 0;
    for (TControl* c : FControls)
        if (dynamic_cast<TTabSheet*>(c)) ++n;
    return n;
}

TTabSheet* TPageControl::Pages(int Index) const {
    for (TControl* c : FControls)
        if (auto* t = dynamic_cast<TTabSheet*>(c))
            if (Index-- == 0) return t;
    return nullptr;
}

int TPageControl::ActivePageIndex() const { return FActive ? FActive->PageIndex() : -1; }

void TPageControl::SetActivePageIndex(int Index) {
    if (TTabSheet* p = Pages(Index)) SetActivePage(p);
}

void TPageControl::SetActivePage(TTabSheet* Page) {
    if (Page && Page->Parent() != this) return;
    FActive = Page;
    for (int i = 0; i < PageCount(); ++i) Pages(i)->SetVisible(Pages(i) == Page);
    Realign();
    Invalidate();
}

int TPageControl::TabHeight() const {
    for (int i = 0; i < PageCount(); ++i)
        if (Pages(i)->TabVisible()) return paint::TextExtent(FFont, L"Ag").cy + 8;
    return 0;
}

RECT TPageControl::TabRect(int Index) const {
    int x = 2, th = TabHeight();
    for (int i = 0; i < PageCount(); ++i) {
        TTabSheet* p = Pages(i);
        if (!p->TabVisible()) continue;
        int w = paint::TextExtent(FFont, p->Caption()).cx + 16;
        if (i == Index) return RECT{x, 0, x + w, th};
        x += w;
    }
    return RECT{0, 0, 0, 0};
}

void TPageControl::AlignControls(RECT& R) {
    LayoutPages();
    int th = TabHeight();
    if (th > 0) R = RECT{4, th + 4, ClientWidth() - 4, ClientHeight() - 4};
    TCustomControl::AlignControls(R);
}

void TPageControl::LayoutPages() {
    if (!FActive && PageCount() > 0) FActive = Pages(0);
    for (int i = 0; i < PageCount(); ++i) {
        TTabSheet* p = Pages(i);
        if ((p == FActive) != p->Visible()) p->SetVisible(p == FActive);
    }
}

void TPageControl::Paint(HDC DC) {
    int th = TabHeight();
    if (th == 0) return;
    RECT body{0, th - 1, FWidth, FHeight};
    paint::Frame(DC, body, clBtnShadow);
    for (int i = 0; i < PageCount(); ++i) {
        TTabSheet* p = Pages(i);
        if (!p->TabVisible()) continue;
        RECT r = TabRect(i);
        bool active = p == FActive;
        if (!active) r.top += 2;
        paint::Fill(DC, r, active ? Color() : clBtnFace);
        paint::Frame(DC, r, clBtnShadow);
        if (active) paint::Fill(DC, RECT{r.left + 1, r.bottom - 1, r.right - 1, r.bottom}, Color());
        paint::Text(DC, p->Caption(), r, FFont, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    }
}

void TPageControl::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
    TCustomControl::MouseDown(Button, Shift, X, Y);
    if (Button != mbLeft) return;
    for (int i = 0; i < PageCount(); ++i) {
        RECT r = TabRect(i);
        if (Pages(i)->TabVisible() && X >= r.left && X < r.right && Y >= r.top && Y < r.bottom) {
            if (Pages(i) != FActive) {
                SetActivePage(Pages(i));
                if (OnChange) OnChange(this);
            }
            return;
        }
    }
}

// ---------------------------------------------------------------------------------------------
// TAdvOfficeTabSet

TAdvOfficeTabSet::TAdvOfficeTabSet(TComponent* AOwner) : TCustomControl(AOwner) {
    FWidth = 400;
    FHeight = 26;
}

TOfficeTab& TAdvOfficeTabSet::AddTab(const std::wstring& Caption) {
    FTabs.push_back(TOfficeTab{Caption});
    if (FActive < 0) FActive = 0;
    Invalidate();
    return FTabs.back();
}

void TAdvOfficeTabSet::ClearTabs() {
    FTabs.clear();
    FActive = -1;
    FHot = -1;
    Invalidate();
}

void TAdvOfficeTabSet::SetTabCaption(int Index, const std::wstring& Caption) {
    if (Index < 0 || Index >= TabCount()) return;
    FTabs[Index].Caption = Caption;
    Invalidate();
}

void TAdvOfficeTabSet::TabsChanged() {
    if (FActive >= TabCount()) FActive = TabCount() - 1;
    Invalidate();
}

void TAdvOfficeTabSet::SetActiveTabIndex(int Index) {
    if (Index < -1 || Index >= TabCount()) return;
    FActive = Index;
    Invalidate();
}

RECT TAdvOfficeTabSet::TabRect(int Index) const {
    int x = 4;
    int top = std::max(0, FHeight - TabHeight);
    for (int i = 0; i < TabCount(); ++i) {
        if (!FTabs[i].Visible) continue;
        int w = paint::TextExtent(FFont, FTabs[i].Caption).cx + 28;
        if (Images && FTabs[i].ImageIndex >= 0) w += Images->Width() + 4;
        if (i == Index) return RECT{x, top, x + w, FHeight};
        x += w + 2;
    }
    return RECT{0, 0, 0, 0};
}

int TAdvOfficeTabSet::TabAt(int X, int Y) const {
    for (int i = 0; i < TabCount(); ++i) {
        if (!FTabs[i].Visible) continue;
        RECT r = TabRect(i);
        if (X >= r.left && X < r.right && Y >= r.top && Y < r.bottom) return i;
    }
    return -1;
}

void TAdvOfficeTabSet::Paint(HDC DC) {
    RECT line{0, FHeight - 1, FWidth, FHeight};
    paint::Fill(DC, line, BorderColor);
    for (int i = 0; i < TabCount(); ++i) {
        if (!FTabs[i].Visible) continue;
        RECT r = TabRect(i);
        bool active = i == FActive, hot = i == FHot;
        if (active || hot) {
            // Rounded top corners, open towards the pages below.
            HRGN rgn = CreateRoundRectRgn(r.left, r.top, r.right + 1, r.bottom + 6, 6, 6);
            SelectClipRgn(DC, nullptr);
            int saved = SaveDC(DC);
            POINT org;
            GetViewportOrgEx(DC, &org);
            OffsetRgn(rgn, org.x, org.y);
            ExtSelectClipRgn(DC, rgn, RGN_AND);
            if (active)
                paint::Gradient(DC, r, TabColorSelected, TabColorSelectedTo);
            else
                paint::Gradient(DC, r, TabColorHot, TabColorHotTo);
            RestoreDC(DC, saved);
            DeleteObject(rgn);
            HPEN pen = CreatePen(PS_SOLID, 1, ColorToRGB(BorderColor));
            HGDIOBJ op = SelectObject(DC, pen);
            HGDIOBJ ob = SelectObject(DC, GetStockObject(NULL_BRUSH));
            RoundRect(DC, r.left, r.top, r.right, r.bottom + 6, 6, 6);
            SelectObject(DC, ob);
            SelectObject(DC, op);
            DeleteObject(pen);
            if (active) paint::Fill(DC, RECT{r.left + 1, r.bottom - 1, r.right - 1, r.bottom}, TabColorSelectedTo);
        }
        RECT t = r;
        if (Images && FTabs[i].ImageIndex >= 0) {
            Images->Draw(DC, t.left + 8, t.top + (t.bottom - t.top - Images->Height()) / 2, FTabs[i].ImageIndex, FEnabled);
            t.left += Images->Width() + 4;
        }
        paint::Text(DC, FTabs[i].Caption, t, FFont, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX,
                    FEnabled ? clDefault : clGrayText);
    }
}

void TAdvOfficeTabSet::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
    TCustomControl::MouseDown(Button, Shift, X, Y);
    if (Button != mbLeft) return;
    int i = TabAt(X, Y);
    if (i >= 0 && i != FActive) {
        FActive = i;
        Invalidate();
        if (OnChange) OnChange(this);
    }
}

void TAdvOfficeTabSet::MouseMove(TShiftState Shift, int X, int Y) {
    int h = TabAt(X, Y);
    if (h != FHot) {
        FHot = h;
        Invalidate();
    }
    TCustomControl::MouseMove(Shift, X, Y);
}

void TAdvOfficeTabSet::MouseLeave() {
    if (FHot != -1) {
        FHot = -1;
        Invalidate();
    }
    TCustomControl::MouseLeave();
}

}  // namespace ui
