// Popup menus and their items. A menu with a styler is drawn by the layer in the Office look
// (image column, gradient highlight); without one the system draws it.
#pragma once

#include "ui/component.h"
#include "ui/picture.h"
#include "ui/types.h"

#include <string>
#include <vector>

namespace ui {

class TPopupMenu;

class TMenuItem : public TComponent {
public:
    explicit TMenuItem(TComponent* AOwner);
    ~TMenuItem() override;
    std::wstring ClassName() const override { return L"TMenuItem"; }

    std::wstring Caption;  // "-" makes a separator
    int ImageIndex = -1;
    bool Enabled = true;
    bool Visible = true;
    bool Checked = false;
    bool RadioItem = false;  // checked shows a bullet; checking unchecks its group
    int GroupIndex = 0;
    intptr_t HelpContext = 0;
    bool Default = false;
    TNotifyEvent OnClick;

    bool IsLine() const { return Caption == L"-"; }
    // Sub-items, in menu order.
    int Count() const { return int(FItems.size()); }
    TMenuItem* Items(int Index) const { return FItems[Index]; }
    void Add(TMenuItem* Item);
    void Insert(int Index, TMenuItem* Item);
    void Remove(TMenuItem* Item);
    // Frees every sub-item.
    void Clear();
    TMenuItem* Parent() const { return FParent; }
    TPopupMenu* Menu() const;
    void SetChecked(bool Value);
    // Raises OnClick (a radio item is checked first).
    virtual void Click();

    bool GetProperty(const std::wstring& PropName, std::wstring& Value) const override;
    bool SetProperty(const std::wstring& PropName, const std::wstring& Value) override;

    // The owner-drawn look; the windows of the layer call these for WM_DRAWITEM and
    // WM_MEASUREITEM of menus. False when the item is not one of ours.
    static bool DrawMenuItem(const DRAWITEMSTRUCT& D);
    static bool MeasureMenuItem(MEASUREITEMSTRUCT& M);

private:
    friend class TPopupMenu;
    TMenuItem* FParent = nullptr;
    TPopupMenu* FMenu = nullptr;
    std::vector<TMenuItem*> FItems;
    UINT FCommand = 0;
};

// Colours of the Office look (the default is a dark "Obsidian" scheme).
class TAdvMenuOfficeStyler : public TComponent {
public:
    using TComponent::TComponent;
    std::wstring ClassName() const override { return L"TAdvMenuOfficeStyler"; }
    TColor Background = 0xFAFAFA;
    TColor ImageColumnFrom = 0xF1EFEF, ImageColumnTo = 0xE3DEDE;
    TColor SeparatorColor = 0xC5C5C5;
    TColor SelectedFrom = 0xD9F8FF, SelectedTo = 0x8BDBFF, SelectedBorder = 0x3CB7FF;
    TColor TextColor = 0x000000, DisabledTextColor = 0x8D8D8D;
    TColor BorderColor = 0x868686;
};

class TPopupMenu : public TComponent {
public:
    explicit TPopupMenu(TComponent* AOwner);
    ~TPopupMenu() override;
    std::wstring ClassName() const override { return L"TPopupMenu"; }

    TMenuItem* Items() const { return FItems; }
    TCustomImageList* Images = nullptr;
    TAdvMenuOfficeStyler* MenuStyler = nullptr;
    // The control the menu was last opened for.
    TComponent* PopupComponent = nullptr;
    TNotifyEvent OnPopup;

    // Shows the menu at a screen point and runs the chosen item's click (after the menu closed).
    void Popup(int X, int Y);
    // The system menu for the visible items (the caller destroys it). Popup uses it.
    HMENU BuildMenu();
    // The item of a command identifier of the last built menu.
    TMenuItem* FindCommand(UINT Command) const;

private:
    void BuildInto(HMENU Menu, TMenuItem* Parent, UINT& NextId);
    TMenuItem* FItems;
};

class TAdvPopupMenu : public TPopupMenu {
public:
    using TPopupMenu::TPopupMenu;
    std::wstring ClassName() const override { return L"TAdvPopupMenu"; }
};

}  // namespace ui
