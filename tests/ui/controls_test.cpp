// Controls: class names and the properties the form translation reads, check box and radio
// button behaviour, window-less controls' mouse events, list view, tab set, page control, glow
// button, menus, fonts.
#include "ui_test_util.h"

#include "settings/radio_group.h"
#include "ui/advctrls.h"
#include "ui/application.h"
#include "ui/comctrls.h"
#include "ui/forms.h"
#include "ui/htmlabel.h"
#include "ui/menus.h"
#include "ui/stdctrls.h"

#include <gtest/gtest.h>

#include <memory>

using namespace ui;

namespace {

class ControlTest : public ::testing::Test {
protected:
    void SetUp() override {
        Form = CreateForm<TForm>(nullptr);
        Form->SetBorderStyle(bsNone);
        Form->SetClientSize(500, 400);
    }
    void TearDown() override { Form->Free(); }
    // Mouse messages to the form at a client point, as the system sends them.
    void Mouse(UINT Msg, int X, int Y, WPARAM Keys = 0) {
        SendMessageW(Form->Handle(), Msg, Keys, MAKELPARAM(X, Y));
    }
    void ClickAt(int X, int Y) {
        Mouse(WM_MOUSEMOVE, X, Y);
        Mouse(WM_LBUTTONDOWN, X, Y, MK_LBUTTON);
        Mouse(WM_LBUTTONUP, X, Y);
    }
    TForm* Form = nullptr;
};

TEST_F(ControlTest, ClassNamesAreTheOnesTheTranslationDispatchesOn) {
    struct Case {
        TComponent* C;
        const wchar_t* Name;
    } cases[] = {
        {new TLabel(Form), L"TLabel"},
        {new THTMLabel(Form), L"THTMLabel"},
        {new TAdvSmoothLabel(Form), L"TAdvSmoothLabel"},
        {new TAdvOfficeTabSet(Form), L"TAdvOfficeTabSet"},
        {new TListView(Form), L"TListView"},
        {new TCheckBox(Form), L"TCheckBox"},
        {new TRadioButton(Form), L"TRadioButton"},
        {new TButton(Form), L"TButton"},
        {new TAdvGlowButton(Form), L"TAdvGlowButton"},
        {new TGroupBox(Form), L"TGroupBox"},
        {new TPanel(Form), L"TPanel"},
        {new TAdvPanel(Form), L"TAdvPanel"},
        {new TAdvSmoothPanel(Form), L"TAdvSmoothPanel"},
        {new TImage(Form), L"TImage"},
        {new TBevel(Form), L"TBevel"},
        {new TListBox(Form), L"TListBox"},
        {new TPageControl(Form), L"TPageControl"},
        {new TTabSheet(Form), L"TTabSheet"},
        {new TPopupMenu(Form), L"TPopupMenu"},
        {new TAdvPopupMenu(Form), L"TAdvPopupMenu"},
        {new TMenuItem(Form), L"TMenuItem"},
        {new TImageList(Form), L"TImageList"},
        {Form, L"TForm"},
    };
    for (const Case& c : cases) EXPECT_EQ(c.C->ClassName(), c.Name);
    // Owned components are listed in creation order.
    ASSERT_EQ(Form->ComponentCount(), int(std::size(cases)) - 1);
    for (int i = 0; i < Form->ComponentCount(); ++i) EXPECT_EQ(Form->Components(i), cases[i].C);
}

TEST_F(ControlTest, PropertiesForTheTranslationByName) {
    auto* label = Place<TLabel>(Form, L"Label1", Form, 0, 0, 80, 13);
    auto* check = Place<TCheckBox>(Form, L"CheckBox1", Form, 0, 20, 361, 17);
    auto* html = Place<THTMLabel>(Form, L"HTMLabel1", Form, 0, 40, 368, 85);
    auto* smooth = Place<TAdvSmoothLabel>(Form, L"Smooth", Form, 0, 130, 100, 20);
    auto* menu = new TPopupMenu(Form);
    auto* item = new TMenuItem(Form);
    std::wstring v;
    struct Case {
        TComponent* C;
        const wchar_t* Prop;
        bool Has;
        const wchar_t* Value;
    } cases[] = {
        {label, L"Caption", true, L""},     {label, L"AutoSize", true, L"True"},
        {label, L"Width", true, nullptr},   {check, L"Width", true, L"361"},
        {check, L"Caption", true, L""},     {check, L"AutoSize", false, nullptr},
        {html, L"HTMLText", true, L""},     {html, L"Caption", false, nullptr},
        {html, L"AutoSizeType", true, L"asVertical"},
        {smooth, L"Caption", false, nullptr}, {menu, L"Caption", false, nullptr},
        {item, L"Caption", true, L""},      {check, L"CaptionMaxWidth", false, nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(text_of(c.C->ClassName()) + "." + text_of(c.Prop));
        EXPECT_EQ(c.C->GetProperty(c.Prop, v), c.Has);
        if (c.Has && c.Value) {
            EXPECT_EQ(v, c.Value);
        }
    }
    EXPECT_TRUE(check->SetProperty(L"Caption", L"Kontextmenü"));
    EXPECT_EQ(check->Caption(), L"Kontextmenü");
    EXPECT_TRUE(item->SetProperty(L"Caption", L"Hilfe"));
    EXPECT_EQ(item->Caption, L"Hilfe");
    EXPECT_FALSE(menu->SetProperty(L"Caption", L"x"));
    label->SetAutoSize(false);
    EXPECT_TRUE(label->GetProperty(L"AutoSize", v));
    EXPECT_EQ(v, L"False");
}

TEST_F(ControlTest, CheckBoxRaisesClickWhenCodeOrUserChangesIt) {
    auto* main = Place<TCheckBox>(Form, L"CheckBox_ShowContextMenu", Form, 10, 10, 200, 17);
    auto* dep = Place<TCheckBox>(Form, L"CheckBox_Context_BX", Form, 30, 30, 200, 17);
    int clicks = 0;
    main->OnClick = [&](TComponent*) {
        ++clicks;
        dep->SetEnabled(main->Checked());
    };
    main->SetChecked(true);  // from code, before the window exists
    EXPECT_EQ(clicks, 1);
    main->SetChecked(true);  // no change, no event
    EXPECT_EQ(clicks, 1);
    Form->Show();
    EXPECT_EQ(SendMessageW(main->Handle(), BM_GETCHECK, 0, 0), BST_CHECKED);
    SendMessageW(main->Handle(), BM_CLICK, 0, 0);  // the user
    EXPECT_FALSE(main->Checked());
    EXPECT_EQ(SendMessageW(main->Handle(), BM_GETCHECK, 0, 0), BST_UNCHECKED);
    EXPECT_EQ(clicks, 2);
    EXPECT_FALSE(dep->Enabled());
    EXPECT_FALSE(IsWindowEnabled(dep->Handle()));
}

TEST_F(ControlTest, RadioButtonsOfOneParentFormAGroupAndFitTheRadioGroupStore) {
    auto* box1 = Place<TGroupBox>(Form, L"GroupBox_BX1", Form, 10, 10, 300, 120);
    auto* box2 = Place<TGroupBox>(Form, L"GroupBox_Other", Form, 10, 140, 300, 60);
    TRadioButton* r[4];
    for (int i = 0; i < 4; ++i)
        r[i] = Place<TRadioButton>(Form, (L"RadioButton_BX_Methode" + std::to_wstring(i)).c_str(), box1, 8, 20 + 22 * i, 280, 17);
    auto* other = Place<TRadioButton>(Form, L"RadioButton_Other", box2, 8, 20, 280, 17);
    other->SetChecked(true);
    r[2]->SetChecked(true);
    Form->Show();
    EXPECT_TRUE(other->Checked());  // another parent, another group
    SendMessageW(r[0]->Handle(), BM_CLICK, 0, 0);
    EXPECT_TRUE(r[0]->Checked());
    EXPECT_FALSE(r[2]->Checked());
    EXPECT_EQ(SendMessageW(r[2]->Handle(), BM_GETCHECK, 0, 0), BST_UNCHECKED);
    EXPECT_TRUE(other->Checked());
    // The settings code stores and loads the group through TRadioButtonBase.
    const std::wstring key = L"SOFTWARE\\Corvane\\BlankoTests\\ControlTest_RadioGroup";
    TRadioButtonList list{r[0], r[1], r[2], r[3]};
    Save_RadioGroup(HKEY_CURRENT_USER, key, list);
    r[3]->SetChecked(true);
    Load_RadioGroup(HKEY_CURRENT_USER, key, list);
    EXPECT_TRUE(r[0]->Checked());
    EXPECT_FALSE(r[3]->Checked());
    RegDeleteTreeW(HKEY_CURRENT_USER, key.c_str());
}

TEST_F(ControlTest, WindowlessControlsGetClicksEnterAndLeaveFromTheirParent) {
    auto* back = Place<TImage>(Form, L"Image_Back", Form, 0, 0, 500, 400);
    auto* img = Place<TImage>(Form, L"Image1", Form, 100, 100, 50, 50);
    auto* off = Place<TLabel>(Form, L"Label_Disabled", Form, 300, 100, 50, 20);
    off->SetAutoSize(false);
    off->SetEnabled(false);
    std::vector<std::string> log;
    auto track = [&](TControl* c, const char* n) {
        c->OnClick = [&log, n](TComponent*) { log.push_back(std::string(n) + ":click"); };
        c->OnMouseEnter = [&log, n](TComponent*) { log.push_back(std::string(n) + ":enter"); };
        c->OnMouseLeave = [&log, n](TComponent*) { log.push_back(std::string(n) + ":leave"); };
        c->OnMouseDown = [&log, n](TComponent*, TMouseButton, TShiftState, int X, int Y) {
            log.push_back(std::string(n) + ":down " + std::to_string(X) + "," + std::to_string(Y));
        };
    };
    track(back, "back");
    track(img, "img");
    track(off, "off");
    Form->Show();
    ClickAt(110, 120);  // the upper image gets it, at its own coordinates
    Mouse(WM_MOUSEMOVE, 20, 20);
    ClickAt(310, 105);  // a disabled control lets the one below have it
    // Press inside, release outside: no click.
    Mouse(WM_MOUSEMOVE, 110, 110);
    Mouse(WM_LBUTTONDOWN, 110, 110, MK_LBUTTON);
    Mouse(WM_MOUSEMOVE, 400, 300, MK_LBUTTON);
    Mouse(WM_LBUTTONUP, 400, 300);
    EXPECT_EQ(log, (std::vector<std::string>{
                       "img:enter", "img:down 10,20", "img:click", "img:leave", "back:enter",
                       "back:down 310,105", "back:click", "back:leave", "img:enter", "img:down 10,10",
                       "img:leave", "back:enter"}));
}

TEST_F(ControlTest, CursorOfAWindowlessControlShowsOverIt) {
    auto* img = Place<TImage>(Form, L"Image1", Form, 100, 100, 50, 50);
    img->Cursor = crHandPoint;
    Form->Show();
    POINT p = img->ClientToScreen(POINT{10, 10});
    SetCursorPos(p.x, p.y);
    SetCursor(nullptr);
    SendMessageW(Form->Handle(), WM_SETCURSOR, WPARAM(Form->Handle()), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
    EXPECT_EQ(GetCursor(), Application.HandCursor());
}

TEST_F(ControlTest, ListViewKeepsColumnsItemsAndSelection) {
    auto* lv = Place<TListView>(Form, L"ListView_Options_Language", Form, 10, 10, 480, 200);
    lv->AddColumn(L"Sprache", 200);
    lv->AddColumn(L"Übersetzer", 280);
    for (const wchar_t* n : {L"Deutsch", L"English", L"Français"}) {
        TListItem& it = lv->AddItem(n, 0);
        it.SubItems = {L"translator", L"1"};
    }
    EXPECT_EQ(lv->ItemIndex(), -1);
    std::vector<int> changes;
    lv->OnSelectItem = [&](TComponent*, int i, bool sel) {
        if (sel) changes.push_back(i);
    };
    Form->Show();
    HWND h = lv->Handle();
    EXPECT_EQ(ListView_GetItemCount(h), 3);
    wchar_t buf[64];
    ListView_GetItemText(h, 2, 0, buf, 64);
    EXPECT_STREQ(buf, L"Français");
    ListView_GetItemText(h, 1, 2, buf, 64);
    EXPECT_STREQ(buf, L"1");
    LVCOLUMNW col{};
    col.mask = LVCF_TEXT;
    col.pszText = buf;
    col.cchTextMax = 64;
    lv->SetColumnCaption(1, L"Translator");
    SendMessageW(h, LVM_GETCOLUMNW, 1, LPARAM(&col));
    EXPECT_STREQ(buf, L"Translator");
    // The user selects the second row.
    ListView_SetItemState(h, 1, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    EXPECT_EQ(lv->ItemIndex(), 1);
    EXPECT_EQ(changes, std::vector<int>{1});
    EXPECT_EQ(lv->Item(lv->ItemIndex()).SubItems[1], L"1");
    // The selection survives a new window (hosting recreates windows).
    lv->RecreateWnd();
    EXPECT_EQ(lv->ItemIndex(), 1);
    lv->Clear();
    EXPECT_EQ(ListView_GetItemCount(lv->Handle()), 0);
    EXPECT_EQ(lv->ItemIndex(), -1);
}

TEST_F(ControlTest, OfficeTabSetRaisesChangeOnlyForTheUsersPick) {
    auto* tabs = Place<TAdvOfficeTabSet>(Form, L"AdvOfficeTabSet1", Form, 10, 10, 480, 28);
    tabs->TabHeight = 28;
    auto* pages = Place<TPageControl>(Form, L"PageControl1", Form, 10, 40, 480, 300);
    for (int i = 0; i < 6; ++i) {
        auto* sheet = new TTabSheet(Form);
        sheet->Name = L"TabSheet" + std::to_wstring(i);
        sheet->SetParent(pages);
        sheet->SetCaption(L"Page " + std::to_wstring(i));
        sheet->SetTabVisible(false);
    }
    int changes = 0;
    tabs->OnChange = [&](TComponent*) {
        ++changes;
        pages->SetActivePageIndex(tabs->Tab(tabs->ActiveTabIndex()).ImageIndex);
    };
    for (int page : {1, 3, 4}) tabs->AddTab(pages->Pages(page)->Caption()).ImageIndex = page;
    pages->SetActivePageIndex(1);
    EXPECT_EQ(tabs->ActiveTabIndex(), 0);
    Form->Show();
    // Hidden tabs: the pages fill the whole control, only the active one shows.
    EXPECT_EQ(pages->Pages(1)->BoundsRect().top, 0);
    EXPECT_EQ(pages->Pages(1)->Width(), 480);
    EXPECT_TRUE(pages->Pages(1)->Visible());
    EXPECT_FALSE(pages->Pages(3)->Visible());
    RECT r = tabs->TabRect(2);
    LPARAM at = MAKELPARAM(r.left + 5, r.top + 5);
    SendMessageW(tabs->Handle(), WM_MOUSEMOVE, 0, at);
    SendMessageW(tabs->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, at);
    SendMessageW(tabs->Handle(), WM_LBUTTONUP, 0, at);
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(tabs->ActiveTabIndex(), 2);
    EXPECT_EQ(pages->ActivePageIndex(), 4);
    EXPECT_TRUE(pages->Pages(4)->Visible());
    EXPECT_FALSE(pages->Pages(1)->Visible());
    tabs->SetActiveTabIndex(0);  // code: no event
    EXPECT_EQ(changes, 1);
    tabs->ClearTabs();
    EXPECT_EQ(tabs->ActiveTabIndex(), -1);
}

TEST_F(ControlTest, GlowButtonClicksOpensItsMenuAndIgnoresClicksWhileDisabled) {
    auto* b = Place<TAdvGlowButton>(Form, L"AdvToolBarButton_BX_Start", Form, 10, 10, 88, 66);
    int clicks = 0;
    b->OnClick = [&](TComponent*) { ++clicks; };
    Form->Show();
    HWND h = b->Handle();
    auto press = [&](int X, int Y) {
        SendMessageW(h, WM_MOUSEMOVE, 0, MAKELPARAM(X, Y));
        SendMessageW(h, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(X, Y));
    };
    press(20, 20);
    EXPECT_TRUE(b->Hot());
    EXPECT_TRUE(b->Down());
    SendMessageW(h, WM_LBUTTONUP, 0, MAKELPARAM(20, 20));
    EXPECT_FALSE(b->Down());
    EXPECT_EQ(clicks, 1);
    b->SetEnabled(false);
    b->Click();  // code can still raise it; the mouse cannot reach a disabled window
    EXPECT_EQ(clicks, 2);
    EXPECT_FALSE(IsWindowEnabled(h));
    b->SetEnabled(true);
    // A drop-down button opens its menu from the arrow part instead of clicking.
    b->DropDownButton = true;
    b->Layout = blGlyphTop;
    int drops = 0;
    b->OnDropDown = [&](TComponent*) { ++drops; };
    RECT dd = b->DropDownRect();
    press(dd.left + 10, dd.top + 5);
    SendMessageW(h, WM_LBUTTONUP, 0, MAKELPARAM(dd.left + 10, dd.top + 5));
    EXPECT_EQ(drops, 1);
    EXPECT_EQ(clicks, 2);
    press(20, 20);
    SendMessageW(h, WM_LBUTTONUP, 0, MAKELPARAM(20, 20));
    EXPECT_EQ(clicks, 3);
}

TEST_F(ControlTest, PopupMenuBuildsVisibleItemsWithTheirStates) {
    auto* menu = new TAdvPopupMenu(Form);
    menu->MenuStyler = new TAdvMenuOfficeStyler(Form);
    struct Spec {
        const wchar_t* Caption;
        bool Enabled, Visible, Checked, Radio;
        intptr_t Help;
    } spec[] = {{L"Ordner hinzufügen", true, true, false, false, 11},
                {L"-", true, true, false, false, 0},
                {L"Verborgen", true, false, false, false, 0},
                {L"Liste löschen", false, true, false, false, 0},
                {L"Schnell", true, true, false, true, 0},
                {L"Standard", true, true, true, true, 0}};
    std::vector<TMenuItem*> items;
    std::vector<intptr_t> clicked;
    for (auto& s : spec) {
        auto* mi = new TMenuItem(Form);
        mi->Caption = s.Caption;
        mi->Enabled = s.Enabled;
        mi->Visible = s.Visible;
        mi->Checked = s.Checked;
        mi->RadioItem = s.Radio;
        mi->HelpContext = s.Help;
        mi->OnClick = [&clicked](TComponent* c) { clicked.push_back(dynamic_cast<TMenuItem*>(c)->HelpContext); };
        menu->Items()->Add(mi);
        items.push_back(mi);
    }
    HMENU h = menu->BuildMenu();
    ASSERT_EQ(GetMenuItemCount(h), 5);  // the hidden item is left out
    MENUITEMINFOW mi{};
    mi.cbSize = sizeof(mi);
    mi.fMask = MIIM_STATE | MIIM_FTYPE | MIIM_DATA | MIIM_ID;
    GetMenuItemInfoW(h, 2, TRUE, &mi);  // "Liste löschen"
    EXPECT_TRUE(mi.fState & MFS_DISABLED);
    EXPECT_TRUE(mi.fType & MFT_OWNERDRAW);
    EXPECT_EQ(reinterpret_cast<TMenuItem*>(mi.dwItemData), items[3]);
    EXPECT_EQ(menu->FindCommand(mi.wID), items[3]);
    DestroyMenu(h);
    // Choosing a radio item checks it and unchecks its group.
    items[4]->Click();
    EXPECT_TRUE(items[4]->Checked);
    EXPECT_FALSE(items[5]->Checked);
    items[0]->Click();
    EXPECT_EQ(clicked, (std::vector<intptr_t>{0, 11}));
    // Clearing frees the items (also from their owner's list).
    int before = Form->ComponentCount();
    menu->Items()->Clear();
    EXPECT_EQ(menu->Items()->Count(), 0);
    EXPECT_EQ(Form->ComponentCount(), before - 6);
}

TEST_F(ControlTest, FontsFollowTheParentUntilSetAndTellTheirControls) {
    Form->Font().SetName(L"Tahoma");
    Form->Font().SetHeight(-11);
    auto* panel = Place<TPanel>(Form, L"Panel1", Form, 0, 0, 200, 100);
    auto* label = Place<TLabel>(Form, L"Label1", panel, 5, 5, 50, 13);
    auto* own = Place<TLabel>(Form, L"Label2", panel, 5, 25, 50, 13);
    own->Font().SetHeight(-15);
    EXPECT_FALSE(own->ParentFont());
    Form->Font().SetColor(0x123456);
    EXPECT_EQ(label->Font().Color(), 0x123456u);
    EXPECT_EQ(panel->Font().Color(), 0x123456u);
    EXPECT_TRUE(label->ParentFont());
    EXPECT_NE(own->Font().Color(), 0x123456u);
    // An auto-sized label grows with its font.
    label->SetCaption(L"Fortschritt:");
    int w = label->Width();
    label->Font().SetStyle(fsBold);
    label->Font().SetHeight(-15);
    EXPECT_GT(label->Width(), w);
    EXPECT_EQ(Form->Font().Size(), 8);
    TFont f;
    f.SetSize(8);
    EXPECT_EQ(f.Height(), -11);
}

TEST_F(ControlTest, DefaultAndCancelButtonsAnswerEnterAndEscape) {
    auto* ok = Place<TButton>(Form, L"Button_Ok", Form, 10, 10, 75, 25);
    auto* cancel = Place<TButton>(Form, L"Button_Cancel", Form, 100, 10, 75, 25);
    auto* other = Place<TButton>(Form, L"Button_Other", Form, 200, 10, 75, 25);
    ok->Default = true;
    cancel->Cancel = true;
    std::vector<std::string> log;
    ok->OnClick = [&](TComponent*) { log.push_back("ok"); };
    cancel->OnClick = [&](TComponent*) { log.push_back("cancel"); };
    other->OnClick = [&](TComponent*) { log.push_back("other"); };
    Form->Show();
    auto key = [&](HWND w, WPARAM vk) {
        MSG m{w, WM_KEYDOWN, vk, 0, 0, {0, 0}};
        if (!Application.IsDialogKey(m)) {
            TranslateMessage(&m);
            DispatchMessageW(&m);
        }
    };
    key(ok->Handle(), VK_RETURN);
    key(other->Handle(), VK_RETURN);  // the focused button answers Enter
    key(other->Handle(), VK_ESCAPE);
    EXPECT_EQ(log, (std::vector<std::string>{"ok", "other", "cancel"}));
}

}  // namespace

namespace {

TEST_F(ControlTest, HintShowsAfterThePauseOverAControlWithAHint) {
    auto* img = Place<TImage>(Form, L"Image1", Form, 100, 100, 50, 50);
    img->Hint = L"Optionen";
    Form->ShowHint = true;
    Form->Show();
    Application.HintPause = 100;
    // A visible hint window of this thread (other test programs may run at the same time).
    auto tipVisible = [] {
        bool found = false;
        EnumThreadWindows(
            GetCurrentThreadId(),
            [](HWND w, LPARAM lp) -> BOOL {
                wchar_t cls[64];
                GetClassNameW(w, cls, 64);
                if (lstrcmpiW(cls, TOOLTIPS_CLASSW) == 0 && IsWindowVisible(w)) *reinterpret_cast<bool*>(lp) = true;
                return TRUE;
            },
            LPARAM(&found));
        return found;
    };
    // The pointer really over the control: the system reports leaving the window otherwise.
    POINT sp = Form->ClientToScreen(POINT{120, 120});
    SetCursorPos(sp.x, sp.y);
    Mouse(WM_MOUSEMOVE, 120, 120);
    Sleep(20);
    Application.ProcessMessages();
    EXPECT_FALSE(tipVisible());  // not before the pause
    DWORD start = GetTickCount();
    while (!tipVisible() && GetTickCount() - start < 2000) {
        Sleep(10);
        Application.ProcessMessages();
    }
    EXPECT_TRUE(tipVisible());
    Mouse(WM_MOUSEMOVE, 300, 300);  // moving off the control hides it
    EXPECT_FALSE(tipVisible());
    Application.HintPause = 500;
}

}  // namespace

namespace {

TEST_F(ControlTest, OwnerDrawnListBoxPaintsItsRowsThroughTheReflectedDrawMessage) {
    auto* panel = Place<TPanel>(Form, L"Panel1", Form, 0, 0, 400, 300);
    auto* list = Place<TListBox>(Form, L"ListBox_Skins", panel, 10, 10, 300, 280);
    list->Style = lbOwnerDrawFixed;
    list->ItemHeight = 92;
    for (const wchar_t* s : {L"default", L"dark"}) list->AddItem(s);
    list->SetItemIndex(1);
    std::vector<std::pair<int, int>> drawn;  // item, row height
    bool selectedSeen = false;
    list->OnDrawItem = [&](TComponent* c, int i, const RECT& r, HDC, UINT state) {
        EXPECT_EQ(c, list);
        drawn.emplace_back(i, r.bottom - r.top);
        if (i == 1) selectedSeen = (state & ODS_SELECTED) != 0;
    };
    Form->Show();
    UpdateWindow(list->Handle());
    ASSERT_GE(drawn.size(), 2u);
    EXPECT_EQ(drawn[0], std::make_pair(0, 92));
    EXPECT_EQ(drawn[1], std::make_pair(1, 92));
    EXPECT_TRUE(selectedSeen);
    EXPECT_EQ(list->ItemIndex(), 1);
}

TEST_F(ControlTest, WindowStateFollowsMaximiseAndRestore) {
    Form->SetBorderStyle(bsSizeable);
    Form->Show();
    Form->SetWindowState(wsMaximized);
    EXPECT_EQ(Form->WindowState(), wsMaximized);
    EXPECT_TRUE(IsZoomed(Form->Handle()));
    Form->SetWindowState(wsNormal);
    EXPECT_EQ(Form->WindowState(), wsNormal);
    EXPECT_FALSE(IsZoomed(Form->Handle()));
}

}  // namespace
