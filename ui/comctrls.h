// Common controls: the report list view, the page control with its tab sheets, and the office
// tab set.
#pragma once

#include "ui/controls.h"
#include "ui/picture.h"

#include <commctrl.h>

#include <deque>
#include <functional>
#include <string>
#include <vector>

namespace ui {

struct TListColumn {
    std::wstring Caption;
    int Width = 50;
};

struct TListItem {
    std::wstring Caption;
    std::vector<std::wstring> SubItems;
    int ImageIndex = -1;
    void* Data = nullptr;
};

using TLVSelectItemEvent = std::function<void(TComponent* Sender, int Item, bool Selected)>;

// The system's list view in report style. The items live here (the window asks for their texts
// when it paints), so they can be filled before the window exists and changed at any time; call
// ItemsChanged after editing an item in place.
class TListView : public TWinControl {
public:
    explicit TListView(TComponent* AOwner);
    ~TListView() override;
    std::wstring ClassName() const override { return L"TListView"; }
    bool HasCaption() const override { return false; }

    int ColumnCount() const { return int(FColumns.size()); }
    const TListColumn& Column(int Index) const { return FColumns[Index]; }
    TListColumn& AddColumn(const std::wstring& Caption, int Width);
    void SetColumnCaption(int Index, const std::wstring& Caption);
    void SetColumnWidth(int Index, int Width);
    void ClearColumns();

    // Items: references stay valid until the item is deleted.
    int ItemCount() const { return int(FItems.size()); }
    TListItem& Item(int Index) { return FItems[Index]; }
    TListItem& AddItem(const std::wstring& Caption = L"", int ImageIndex = -1);
    void DeleteItem(int Index);
    void Clear();
    void ItemsChanged();

    // The selected (first selected) item, or -1; setting selects only that item.
    int ItemIndex() const;
    void SetItemIndex(int Index);
    bool IsSelected(int Index) const;
    std::vector<int> SelectedItems() const;

    TCustomImageList* SmallImages() const { return FSmallImages; }
    void SetSmallImages(TCustomImageList* Images);

    bool RowSelect = true;
    bool ReadOnly = true;
    bool MultiSelect = false;
    bool HideSelection = false;
    bool ShowColumnHeaders = true;
    bool GridLines = false;

    TNotifyEvent OnChange;  // the selection changed
    TLVSelectItemEvent OnSelectItem;

    bool Reflect(UINT Msg, WPARAM WParam, LPARAM LParam, LRESULT& Result) override;

protected:
    void CreateParams(TCreateParams& P) override;
    void InitWnd() override;
    void SaveWndState() override;
    void BuildImageList();

    std::vector<TListColumn> FColumns;
    std::deque<TListItem> FItems;
    std::vector<int> FSelected;  // kept while there is no window
    TCustomImageList* FSmallImages = nullptr;
    HIMAGELIST FImageList = nullptr;
    std::wstring FTextBuffer;
};

// A page of a page control.
class TTabSheet : public TCustomControl {
public:
    explicit TTabSheet(TComponent* AOwner);
    std::wstring ClassName() const override { return L"TTabSheet"; }
    // Whether the page's tab shows in the page control's tab row.
    bool TabVisible() const { return FTabVisible; }
    void SetTabVisible(bool V);
    int ImageIndex = -1;
    class TPageControl* PageControl() const;
    int PageIndex() const;

protected:
    void TextChanged() override;
    bool FTabVisible = true;
};

// Pages on top of each other, one shown at a time. The tab row shows the tabs of pages whose
// TabVisible is on; with all tabs hidden the pages fill the whole control and only code (or a
// separate tab strip) switches them.
class TPageControl : public TCustomControl {
public:
    explicit TPageControl(TComponent* AOwner);
    std::wstring ClassName() const override { return L"TPageControl"; }
    bool HasCaption() const override { return false; }

    // Pages are the TTabSheet children in creation order.
    int PageCount() const;
    TTabSheet* Pages(int Index) const;
    TTabSheet* ActivePage() const { return FActive; }
    void SetActivePage(TTabSheet* Page);
    int ActivePageIndex() const;
    void SetActivePageIndex(int Index);
    TNotifyEvent OnChange;  // the user picked a tab

    void Paint(HDC DC) override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void LayoutPages();
    int TabHeight() const;

protected:
    void AlignControls(RECT& R) override;
    RECT TabRect(int Index) const;
    TTabSheet* FActive = nullptr;
};

struct TOfficeTab {
    std::wstring Caption;
    bool Visible = true;
    intptr_t Tag = 0;
    int ImageIndex = -1;
};

// A row of office-style tabs (the look of a Windows 7 ribbon's tabs). Picking a tab with the
// mouse makes it active and raises OnChange; setting ActiveTabIndex from code raises nothing.
class TAdvOfficeTabSet : public TCustomControl {
public:
    explicit TAdvOfficeTabSet(TComponent* AOwner);
    std::wstring ClassName() const override { return L"TAdvOfficeTabSet"; }
    bool HasCaption() const override { return false; }

    int TabCount() const { return int(FTabs.size()); }
    TOfficeTab& Tab(int Index) { return FTabs[Index]; }
    const TOfficeTab& Tab(int Index) const { return FTabs[Index]; }
    TOfficeTab& AddTab(const std::wstring& Caption);
    void ClearTabs();
    void SetTabCaption(int Index, const std::wstring& Caption);
    // Call after editing tabs in place.
    void TabsChanged();

    int ActiveTabIndex() const { return FActive; }
    void SetActiveTabIndex(int Index);
    int TabHeight = 26;
    TCustomImageList* Images = nullptr;  // drawn left of the caption when set
    TColor TabColor = 0xF6EDE4, TabColorTo = 0xEEDCCB;
    TColor TabColorHot = 0xFCF3EA, TabColorHotTo = 0xF6E5D2;
    TColor TabColorSelected = clWhite, TabColorSelectedTo = clWhite;
    TColor BorderColor = 0xC4A98E;
    TNotifyEvent OnChange;

    // The tab at a client point, or -1.
    int TabAt(int X, int Y) const;
    RECT TabRect(int Index) const;
    void Paint(HDC DC) override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseMove(TShiftState Shift, int X, int Y) override;
    void MouseLeave() override;

protected:
    std::vector<TOfficeTab> FTabs;
    int FActive = -1;
    int FHot = -1;
};

}  // namespace ui
