// The owner-drawn tree and the progress bar with their windows: rows painted through OnDrawNode,
// selection by mouse and keys, the header's columns, scrolling, dropped files, the popup menu on
// right click. (The window-less store is tested with the engine.)
#include "ui_test_util.h"

#include "ui/forms.h"
#include "ui/menus.h"
#include "ui/progress_bar.h"
#include "ui/virtual_tree.h"

#include <commctrl.h>
#include <shlobj.h>
#include <gtest/gtest.h>

#include <cstring>
#include <set>

using namespace ui;

namespace {

struct TRow : TNodeData {
    int Value = 0;
};

constexpr int kHeader = 18, kRow = 18;

class TreeTest : public ::testing::Test {
protected:
    void SetUp() override {
        Form = CreateForm<TForm>(nullptr);
        Form->SetBorderStyle(bsNone);
        Form->SetClientSize(400, 300);
        Tree = Place<TVirtualDrawTree>(Form, L"VirtualDrawTree_BX", Form, 0, 0, 300, 200);
        Tree->SetBorderVisible(false);
        Tree->SetNodeDataType<TRow>();
        Tree->SelectionOptions = toFullRowSelect | toMultiSelect | toRightClickSelect;
        Tree->Header().Height = kHeader;
        Tree->Header().AddColumn(L"Datei / Ordner", 200);
        Tree->Header().AddColumn(L"Größe", 80);
        for (int i = 0; i < 5; ++i) Tree->GetNodeData<TRow>(Tree->AddChild(nullptr))->Value = i;
        Tree->OnChange = [this](TBaseVirtualTree*, PVirtualNode) { ++Changes; };
        Form->Show();
    }
    void TearDown() override { Form->Free(); }

    PVirtualNode Node(int I) const {
        PVirtualNode n = Tree->GetFirst();
        while (n && I--) n = Tree->GetNext(n);
        return n;
    }
    std::set<int> SelectedValues() const {
        std::set<int> s;
        for (auto n = Tree->GetFirstSelected(); n; n = Tree->GetNextSelected(n)) s.insert(Tree->GetNodeData<TRow>(n)->Value);
        return s;
    }
    LPARAM RowPoint(int Row) const { return MAKELPARAM(20, kHeader + Row * kRow + kRow / 2 - Tree->OffsetY()); }
    void Click(int Row, WPARAM Keys = 0, bool Right = false) {
        HWND h = Tree->Handle();
        SendMessageW(h, Right ? WM_RBUTTONDOWN : WM_LBUTTONDOWN, Keys | (Right ? MK_RBUTTON : MK_LBUTTON), RowPoint(Row));
        SendMessageW(h, Right ? WM_RBUTTONUP : WM_LBUTTONUP, Keys, RowPoint(Row));
    }

    TForm* Form = nullptr;
    TVirtualDrawTree* Tree = nullptr;
    int Changes = 0;
};

TEST_F(TreeTest, RowsArePaintedCellByCellThroughTheDrawHandler) {
    Tree->SetSelected(Node(1), true);
    struct Call {
        int Value, Column;
        RECT Cell, Content;
        bool Selected;
    };
    std::vector<Call> calls;
    Tree->OnDrawNode = [&](TBaseVirtualTree* Sender, TVTPaintInfo& I) {
        EXPECT_EQ(Sender, Tree);
        calls.push_back({Tree->GetNodeData<TRow>(I.Node)->Value, I.Column, I.CellRect, I.ContentRect, I.Selected});
        // Each row paints a 16-pixel "icon" in a colour of its own at the content's left.
        RECT icon{I.ContentRect.left, I.ContentRect.top + 1, I.ContentRect.left + 16, I.ContentRect.top + 17};
        if (I.Column == 0) paint::Fill(I.Canvas, icon, RGB(10 * Tree->GetNodeData<TRow>(I.Node)->Value, 200, 0));
    };
    TSnapshot s = Snapshot(*Tree);
    ASSERT_EQ(calls.size(), 10u);  // five rows, two columns each
    for (size_t k = 0; k < calls.size(); ++k) {
        const Call& c = calls[k];
        int row = int(k / 2), col = int(k % 2);
        EXPECT_EQ(c.Value, row);
        EXPECT_EQ(c.Column, col);
        int left = col == 0 ? 0 : 200;
        EXPECT_EQ(c.Cell.left, left);
        EXPECT_EQ(c.Cell.top, kHeader + row * kRow);
        EXPECT_EQ(c.Cell.bottom - c.Cell.top, kRow);
        EXPECT_EQ(c.Content.left, left + Tree->Margin);
        EXPECT_EQ(c.Selected, row == 1);  // full-row selection: both cells
    }
    for (int row = 0; row < 5; ++row)
        EXPECT_EQ(s.At(Tree->Margin + 8, kHeader + row * kRow + 8), uint32_t(RGB(0, 200, 10 * row)))
            << "row " << row;  // the snapshot reads 0xRRGGBB, RGB() builds 0xBBGGRR
    // The selected row's background (the highlight colour, or the button face while the tree
    // has no focus) spans the whole row.
    uint32_t face = GetSysColor(Tree->Focused() ? COLOR_HIGHLIGHT : COLOR_BTNFACE);
    uint32_t faceRgb = ((face & 0xFF) << 16) | (face & 0xFF00) | ((face >> 16) & 0xFF);
    EXPECT_EQ(s.At(250, kHeader + kRow + 9), faceRgb);
    EXPECT_NE(s.At(250, kHeader + 2 * kRow + 9), faceRgb);
}

TEST_F(TreeTest, MouseSelectsWithCtrlAndShiftAndRaisesChange) {
    struct Step {
        int Row;
        WPARAM Keys;
        std::set<int> Expected;
    } steps[] = {
        {1, 0, {1}},
        {3, MK_SHIFT, {1, 2, 3}},
        {0, MK_CONTROL, {0, 1, 2, 3}},
        {2, MK_CONTROL, {0, 1, 3}},
        {4, MK_SHIFT, {2, 3, 4}},  // the range runs from the last Ctrl-click
        {4, 0, {4}},
    };
    for (const Step& s : steps) {
        int before = Changes;
        Click(s.Row, s.Keys);
        EXPECT_EQ(SelectedValues(), s.Expected) << "click on row " << s.Row;
        EXPECT_GT(Changes, before);
        EXPECT_EQ(Tree->FocusedNode(), Node(s.Row));
    }
    EXPECT_EQ(Tree->SelectedCount(), 1u);
    // Without multiple selection Ctrl and Shift select one row only.
    Tree->SelectionOptions &= ~toMultiSelect;
    Click(1);
    Click(3, MK_SHIFT);
    EXPECT_EQ(SelectedValues(), std::set<int>{3});
}

TEST_F(TreeTest, KeysMoveTheFocusAndTheDeleteKeyReachesTheKeyAction) {
    Tree->SetFocus();
    std::vector<WORD> actions;
    Tree->OnKeyAction = [&](TBaseVirtualTree* T, WORD& Key, TShiftState&, bool& DoDefault) {
        actions.push_back(Key);
        if (Key == VK_DELETE) {  // as the wipe view does: remove the selected rows
            T->DeleteSelectedNodes();
            DoDefault = false;
        }
    };
    auto key = [&](WORD K) { SendMessageW(Tree->Handle(), WM_KEYDOWN, K, 0); };
    key(VK_DOWN);
    EXPECT_EQ(SelectedValues(), std::set<int>{0});
    key(VK_DOWN);
    key(VK_DOWN);
    EXPECT_EQ(SelectedValues(), std::set<int>{2});
    key(VK_END);
    EXPECT_EQ(Tree->FocusedNode(), Node(4));
    key(VK_UP);
    key(VK_DELETE);
    EXPECT_EQ(actions, (std::vector<WORD>{VK_DOWN, VK_DOWN, VK_DOWN, VK_END, VK_UP, VK_DELETE}));
    EXPECT_EQ(Tree->RootNodeCount(), 4u);
    EXPECT_EQ(Tree->SelectedCount(), 0u);
    EXPECT_EQ(Tree->FocusedNode(), nullptr);
    std::vector<int> left;
    for (auto n = Tree->GetFirst(); n; n = Tree->GetNext(n)) left.push_back(Tree->GetNodeData<TRow>(n)->Value);
    EXPECT_EQ(left, (std::vector<int>{0, 1, 2, 4}));
    key(VK_DELETE);  // nothing selected: nothing goes
    EXPECT_EQ(Tree->RootNodeCount(), 4u);
}

TEST_F(TreeTest, HeaderColumnsKeepTextsAndResizeByDraggingTheirEdge) {
    TVTHeader& h = Tree->Header();
    ASSERT_EQ(h.ColumnCount(), 2);
    EXPECT_EQ(h.Columns(0).Text, L"Datei / Ordner");
    // The header shows the texts: its pixels change when a text does.
    auto header = [&] {
        TSnapshot s = Snapshot(*Tree);
        std::vector<uint32_t> px;
        for (int y = 0; y < kHeader; ++y)
            for (int x = 200; x < 280; ++x) px.push_back(s.At(x, y));
        return px;
    };
    auto before = header();
    h.SetColumnText(1, L"Size");
    h.SetColumnText(5, L"none");  // no such column: ignored
    EXPECT_EQ(h.Columns(1).Text, L"Size");
    EXPECT_NE(header(), before);
    h.Font().SetName(L"Tahoma");
    EXPECT_EQ(h.ColumnLeft(1), 200);
    // Drag the first column's right edge 40 pixels to the left.
    HWND w = Tree->Handle();
    SendMessageW(w, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(199, 5));
    SendMessageW(w, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(159, 5));
    SendMessageW(w, WM_LBUTTONUP, 0, MAKELPARAM(159, 5));
    EXPECT_EQ(h.Columns(0).Width, 160);
    EXPECT_EQ(h.ColumnLeft(1), 160);
    EXPECT_EQ(Tree->SelectedCount(), 0u);  // a header press selects nothing
    // A hidden header gives its room to the rows.
    h.Options &= ~hoVisible;
    h.Changed();
    EXPECT_EQ(Tree->GetNodeAt(20, 5), Node(0));
}

TEST_F(TreeTest, ScrollsToKeepTheFocusedRowInView) {
    for (int i = 5; i < 40; ++i) Tree->GetNodeData<TRow>(Tree->AddChild(nullptr))->Value = i;
    const int rows = Tree->ClientHeight() - kHeader;
    EXPECT_EQ(Tree->RangeY(), 40 * kRow);
    Tree->SetFocus();
    SendMessageW(Tree->Handle(), WM_KEYDOWN, VK_END, 0);
    EXPECT_EQ(Tree->OffsetY(), 40 * kRow - rows);
    RECT r = Tree->GetDisplayRect(Node(39));
    EXPECT_EQ(r.bottom, Tree->ClientHeight());
    EXPECT_EQ(Tree->GetNodeAt(20, r.top + 2), Node(39));
    SendMessageW(Tree->Handle(), WM_VSCROLL, SB_TOP, 0);
    EXPECT_EQ(Tree->OffsetY(), 0);
    SendMessageW(Tree->Handle(), WM_VSCROLL, SB_LINEDOWN, 0);
    EXPECT_EQ(Tree->OffsetY(), kRow);
    SCROLLINFO si{};
    si.cbSize = sizeof si;
    si.fMask = SIF_ALL;
    GetScrollInfo(Tree->Handle(), SB_VERT, &si);
    EXPECT_EQ(si.nPos, kRow);
    EXPECT_EQ(int(si.nPage), rows);
    // Emptying the list scrolls back to the top.
    Tree->Clear();
    EXPECT_EQ(Tree->OffsetY(), 0);
}

// A WM_DROPFILES message as Explorer sends it: a DROPFILES block with the wide paths.
HGLOBAL MakeDrop(const std::vector<std::wstring>& Paths) {
    size_t chars = 1;
    for (auto& p : Paths) chars += p.size() + 1;
    HGLOBAL g = GlobalAlloc(GHND, sizeof(DROPFILES) + chars * sizeof(wchar_t));
    auto* df = static_cast<DROPFILES*>(GlobalLock(g));
    df->pFiles = sizeof(DROPFILES);
    df->fWide = TRUE;
    auto* out = reinterpret_cast<wchar_t*>(df + 1);
    for (auto& p : Paths) {
        memcpy(out, p.c_str(), (p.size() + 1) * sizeof(wchar_t));
        out += p.size() + 1;
    }
    *out = 0;
    GlobalUnlock(g);
    return g;
}

TEST_F(TreeTest, DroppedFilesReachTheHandlerWholeOrElseTheParent) {
    Tree->SetAcceptFiles(true);
    EXPECT_TRUE(GetWindowLongW(Tree->Handle(), GWL_EXSTYLE) & WS_EX_ACCEPTFILES);
    const std::wstring longPath = L"C:\\" + std::wstring(300, L'x') + L"\\file.txt";
    const std::vector<std::wstring> paths{L"C:\\a.txt", longPath, L"D:\\Ordner"};
    std::vector<std::wstring> got;
    Tree->OnDropFiles = [&](TBaseVirtualTree*, const std::vector<std::wstring>& Files) { got = Files; };
    SendMessageW(Tree->Handle(), WM_DROPFILES, WPARAM(MakeDrop(paths)), 0);
    EXPECT_EQ(got, paths);  // the long path is not cut to MAX_PATH
    // Without a handler the form's own hook gets the drop.
    Tree->OnDropFiles = nullptr;
    auto old = Form->WindowProc();
    int formDrops = 0;
    Form->SetWindowProc([&](UINT Msg, WPARAM W, LPARAM L) -> LRESULT {
        if (Msg == WM_DROPFILES) {
            ++formDrops;
            EXPECT_EQ(DragQueryFileW(HDROP(W), 0xFFFFFFFF, nullptr, 0), 3u);
            DragFinish(HDROP(W));
            return 0;
        }
        return old(Msg, W, L);
    });
    SendMessageW(Tree->Handle(), WM_DROPFILES, WPARAM(MakeDrop(paths)), 0);
    Form->SetWindowProc(old);
    EXPECT_EQ(formDrops, 1);
}

TEST_F(TreeTest, RightClickSelectsTheRowAndOpensThePopupMenu) {
    auto* menu = new TPopupMenu(Form);
    auto* item = new TMenuItem(Form);
    item->Caption = L"Aus Liste entfernen";
    menu->Items()->Add(item);
    Tree->PopupMenu = menu;
    std::set<int> selectedAtPopup;
    int popups = 0;
    menu->OnPopup = [&](TComponent*) {
        ++popups;
        selectedAtPopup = SelectedValues();
        After(100, [] { EndMenu(); });
    };
    Click(1);
    Click(3, MK_CONTROL);
    Click(3, 0, true);  // on a selected row: the selection stays
    EXPECT_EQ(popups, 1);
    EXPECT_EQ(selectedAtPopup, (std::set<int>{1, 3}));
    EXPECT_EQ(menu->PopupComponent, Tree);
    Click(0, 0, true);  // on another row: that row becomes the selection
    EXPECT_EQ(popups, 2);
    EXPECT_EQ(selectedAtPopup, std::set<int>{0});
}

TEST(TreeWithoutWindow, ATreeOnNoParentStaysAStoreAndAHiddenOneStillSelects) {
    TVirtualDrawTree store;
    store.AddChild(nullptr);
    store.SetSelected(store.GetFirst(), true);
    EXPECT_EQ(store.Handle(), nullptr);
    EXPECT_EQ(store.SelectedCount(), 1u);
    // The context program's list: on a form, invisible.
    TForm* form = CreateForm<TForm>(nullptr);
    auto* tree = Place<TVirtualDrawTree>(form, L"VirtualDrawTree_BX", form, 488, 18, 32, 32);
    tree->Hide();
    tree->Header().AddColumn(L"Datei / Ordner", 100);
    int draws = 0;
    tree->OnDrawNode = [&](TBaseVirtualTree*, TVTPaintInfo&) { ++draws; };
    for (int i = 0; i < 3; ++i) tree->AddChild(nullptr);
    form->Show();
    UpdateWindow(form->Handle());
    EXPECT_FALSE(IsWindowVisible(tree->Handle()));
    EXPECT_EQ(draws, 0);
    tree->DeleteNode(tree->GetFirst());
    EXPECT_EQ(tree->RootNodeCount(), 2u);
    form->Free();
}

TEST(ProgressBarWindow, TheWindowFollowsTheBarBeforeAndAfterItExists) {
    TForm* form = CreateForm<TForm>(nullptr);
    auto* bar = Place<TProgressBar>(form, L"ProgressBar_BX", form, 8, 119, 300, 17);
    EXPECT_EQ(bar->ClassName(), L"TProgressBar");
    bar->SetMax(50);
    bar->SetPosition(7);  // before the window exists
    form->Show();
    HWND h = bar->Handle();
    ASSERT_NE(h, nullptr);
    wchar_t cls[64];
    GetClassNameW(h, cls, 64);
    EXPECT_STREQ(cls, PROGRESS_CLASSW);
    EXPECT_EQ(SendMessageW(h, PBM_GETPOS, 0, 0), 7);
    EXPECT_EQ(SendMessageW(h, PBM_GETRANGE, FALSE, 0), 50);
    struct Case {
        std::function<void()> Do;
        int Position;
    } cases[] = {
        {[&] { bar->StepBy(1); }, 8},
        {[&] { bar->StepBy(100); }, 50},
        {[&] { bar->SetPosition(45); bar->Step = 10; bar->StepIt(); }, 0},  // wraps like the system's
        {[&] { bar->SetMin(5); }, 5},
        {[&] { bar->SetMax(3); bar->SetMax(20); bar->SetPosition(12); }, 12},
    };
    for (auto& c : cases) {
        c.Do();
        EXPECT_EQ(bar->Position(), c.Position);
        EXPECT_EQ(SendMessageW(h, PBM_GETPOS, 0, 0), c.Position);
    }
    EXPECT_EQ(SendMessageW(h, PBM_GETRANGE, TRUE, 0), bar->Min());
    form->Free();
}

}  // namespace
