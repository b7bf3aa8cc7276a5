#include "ui/virtual_tree.h"

#include "ui/menus.h"

#include <shellapi.h>
#include <windowsx.h>

#include <algorithm>

namespace ui {

// ---- header -------------------------------------------------------------------------------

TVTHeader::TVTHeader(TBaseVirtualTree& Tree) : FTree(Tree) {
    FFont.OnChange = [this] { Changed(); };
}

TVirtualTreeColumn& TVTHeader::AddColumn(const std::wstring& Text, int Width) {
    TVirtualTreeColumn c;
    c.Text = Text;
    c.Width = std::max(c.MinWidth, Width);
    FColumns.push_back(c);
    Changed();
    return FColumns.back();
}

void TVTHeader::ClearColumns() {
    FColumns.clear();
    Changed();
}

void TVTHeader::SetColumnWidth(int Index, int Width) {
    if (Index < 0 || Index >= ColumnCount()) return;
    FColumns[size_t(Index)].Width = std::max(FColumns[size_t(Index)].MinWidth, Width);
    Changed();
}

void TVTHeader::SetColumnText(int Index, const std::wstring& Text) {
    if (Index < 0 || Index >= ColumnCount()) return;
    FColumns[size_t(Index)].Text = Text;
    Changed();
}

int TVTHeader::ColumnLeft(int Index) const {
    int x = 0;
    for (int i = 0; i < Index && i < ColumnCount(); ++i)
        if (FColumns[size_t(i)].Options & coVisible) x += FColumns[size_t(i)].Width;
    return x;
}

void TVTHeader::Changed() {
    FTree.UpdateScrollBar();
    FTree.Invalidate();
}

// ---- store --------------------------------------------------------------------------------

TBaseVirtualTree::TBaseVirtualTree(TComponent* AOwner) : TCustomControl(AOwner), FHeader(*this) {
    FWidth = 200;
    FHeight = 100;
    TabStop = true;
    FParentColor = false;
    FColor = clWindow;
}

TBaseVirtualTree::~TBaseVirtualTree() {
    // The window goes first, so that nothing paints or clicks into nodes being freed.
    DestroyHandle();
    FreeNodes();
}

void TBaseVirtualTree::FreeNodes() {
    while (FFirst) {
        PVirtualNode next = FFirst->NextSibling;
        delete FFirst;
        FFirst = next;
    }
    FLast = nullptr;
    FCount = 0;
    FSelectedCount = 0;
    FFocused = FAnchor = nullptr;
}

PVirtualNode TBaseVirtualTree::AddChild(PVirtualNode Parent) {
    if (Parent) return nullptr;
    auto* node = new TVirtualNode;
    if (FNewNodeData) node->Data = FNewNodeData();
    node->Index = FCount;
    node->NodeHeight = std::max(1, DefaultNodeHeight);
    node->PrevSibling = FLast;
    if (FLast)
        FLast->NextSibling = node;
    else
        FFirst = node;
    FLast = node;
    ++FCount;
    StructureChanged();
    return node;
}

void TBaseVirtualTree::DeleteNode(PVirtualNode Node) {
    if (!Node) return;
    for (PVirtualNode n = Node->NextSibling; n; n = n->NextSibling) --n->Index;
    if (Node->Selected) --FSelectedCount;
    if (FFocused == Node) FFocused = nullptr;
    if (FAnchor == Node) FAnchor = nullptr;
    if (Node->PrevSibling)
        Node->PrevSibling->NextSibling = Node->NextSibling;
    else
        FFirst = Node->NextSibling;
    if (Node->NextSibling)
        Node->NextSibling->PrevSibling = Node->PrevSibling;
    else
        FLast = Node->PrevSibling;
    --FCount;
    delete Node;
    StructureChanged();
}

void TBaseVirtualTree::Clear() {
    FreeNodes();
    FOffsetY = 0;
    StructureChanged();
}

void TBaseVirtualTree::StructureChanged() {
    if (!FHandle) return;
    SetOffsetY(FOffsetY);  // keeps the offset inside the shrunk range
    UpdateScrollBar();
    Invalidate();
}

void TBaseVirtualTree::SetNodeHeight(PVirtualNode Node, int Height) {
    if (!Node) return;
    Node->NodeHeight = std::max(1, Height);
    StructureChanged();
}

// ---- selection ----------------------------------------------------------------------------

void TBaseVirtualTree::DoChange(PVirtualNode Node) {
    if (OnChange) OnChange(this, Node);
}

void TBaseVirtualTree::SetSelected(PVirtualNode Node, bool Value) {
    if (!Node || Node->Selected == Value) return;
    if (Value && !(SelectionOptions & toMultiSelect)) {
        for (PVirtualNode n = FFirst; n; n = n->NextSibling) n->Selected = false;
        FSelectedCount = 0;
    }
    Node->Selected = Value;
    FSelectedCount += Value ? 1 : -1;
    Invalidate();
    DoChange(Node);
}

PVirtualNode TBaseVirtualTree::GetFirstSelected() const {
    return GetNextSelected(nullptr);
}

PVirtualNode TBaseVirtualTree::GetNextSelected(PVirtualNode Node) const {
    for (PVirtualNode n = Node ? Node->NextSibling : FFirst; n; n = n->NextSibling)
        if (n->Selected) return n;
    return nullptr;
}

std::vector<PVirtualNode> TBaseVirtualTree::GetSortedSelection() const {
    std::vector<PVirtualNode> v;
    for (PVirtualNode n = GetFirstSelected(); n; n = GetNextSelected(n)) v.push_back(n);
    return v;
}

void TBaseVirtualTree::ClearSelection() {
    if (!FSelectedCount) return;
    for (PVirtualNode n = FFirst; n; n = n->NextSibling) n->Selected = false;
    FSelectedCount = 0;
    Invalidate();
    DoChange(nullptr);
}

void TBaseVirtualTree::SelectAll() {
    if (!(SelectionOptions & toMultiSelect) || FSelectedCount == FCount) return;
    for (PVirtualNode n = FFirst; n; n = n->NextSibling) n->Selected = true;
    FSelectedCount = FCount;
    Invalidate();
    DoChange(nullptr);
}

void TBaseVirtualTree::DeleteSelectedNodes() {
    for (PVirtualNode n = FFirst; n;) {
        PVirtualNode next = n->NextSibling;
        if (n->Selected) DeleteNode(n);
        n = next;
    }
}

void TBaseVirtualTree::SetFocusedNode(PVirtualNode Node) {
    if (FFocused == Node) return;
    FFocused = Node;
    if (Node) ScrollIntoView(Node);
    Invalidate();
}

void TBaseVirtualTree::SelectRange(PVirtualNode From, PVirtualNode To, bool Keep) {
    if (!From) From = To;
    if (From->Index > To->Index) std::swap(From, To);
    bool changed = false;
    for (PVirtualNode n = FFirst; n; n = n->NextSibling) {
        bool in = n->Index >= From->Index && n->Index <= To->Index;
        bool want = in || (Keep && n->Selected);
        if (n->Selected != want) {
            n->Selected = want;
            FSelectedCount += want ? 1 : -1;
            changed = true;
        }
    }
    if (changed) {
        Invalidate();
        DoChange(To);
    }
}

void TBaseVirtualTree::SelectByUser(PVirtualNode Node, TShiftState Shift, bool Toggle) {
    const bool multi = (SelectionOptions & toMultiSelect) != 0;
    if (multi && (Shift & ssShift)) {
        SelectRange(FAnchor ? FAnchor : Node, Node, (Shift & ssCtrl) != 0);
    } else if (multi && (Shift & ssCtrl)) {
        if (Toggle) SetSelected(Node, !Node->Selected);
        FAnchor = Node;
    } else {
        // Only this node: one change notification for the whole step.
        bool changed = !Node->Selected || FSelectedCount != 1;
        for (PVirtualNode n = FFirst; n; n = n->NextSibling) n->Selected = n == Node;
        FSelectedCount = 1;
        FAnchor = Node;
        if (changed) {
            Invalidate();
            DoChange(Node);
        }
    }
}

void TBaseVirtualTree::FocusByUser(PVirtualNode Node, TShiftState Shift) {
    if (!Node) return;
    SetFocusedNode(Node);
    // Ctrl with the arrow keys moves the focus alone; Ctrl+Space toggles.
    if ((Shift & ssCtrl) && !(Shift & ssShift)) return;
    SelectByUser(Node, Shift, false);
}

// ---- geometry and scrolling ---------------------------------------------------------------

int TBaseVirtualTree::RangeY() const {
    int h = 0;
    for (PVirtualNode n = FFirst; n; n = n->NextSibling) h += n->NodeHeight;
    return h;
}

int TBaseVirtualTree::RowAreaHeight() const { return std::max(0, ClientHeight() - FHeader.ShownHeight()); }

int TBaseVirtualTree::NodeTop(PVirtualNode Node) const {
    int y = 0;
    for (PVirtualNode n = FFirst; n && n != Node; n = n->NextSibling) y += n->NodeHeight;
    return y;
}

PVirtualNode TBaseVirtualTree::GetNodeAt(int X, int Y) const {
    int top = FHeader.ShownHeight();
    if (Y < top || X < 0 || X >= ClientWidth()) return nullptr;
    int y = top - FOffsetY;
    for (PVirtualNode n = FFirst; n; n = n->NextSibling) {
        if (Y >= y && Y < y + n->NodeHeight) return n;
        y += n->NodeHeight;
    }
    return nullptr;
}

RECT TBaseVirtualTree::GetDisplayRect(PVirtualNode Node) const {
    int top = FHeader.ShownHeight() + NodeTop(Node) - FOffsetY;
    return RECT{0, top, ClientWidth(), top + NodeHeight(Node)};
}

void TBaseVirtualTree::SetOffsetY(int Value) {
    int v = std::clamp(Value, 0, std::max(0, RangeY() - RowAreaHeight()));
    if (v == FOffsetY) return;
    FOffsetY = v;
    UpdateScrollBar();
    Invalidate();
}

void TBaseVirtualTree::ScrollIntoView(PVirtualNode Node) {
    if (!Node) return;
    int top = NodeTop(Node), h = RowAreaHeight();
    if (top < FOffsetY)
        SetOffsetY(top);
    else if (top + Node->NodeHeight > FOffsetY + h)
        SetOffsetY(top + Node->NodeHeight - h);
}

void TBaseVirtualTree::UpdateScrollBar() {
    if (!FHandle) return;
    SCROLLINFO si{};
    si.cbSize = sizeof si;
    si.fMask = SIF_RANGE | SIF_PAGE | SIF_POS | SIF_DISABLENOSCROLL;
    si.nMin = 0;
    si.nMax = std::max(0, RangeY() - 1);
    si.nPage = UINT(RowAreaHeight());
    si.nPos = FOffsetY;
    SetScrollInfo(FHandle, SB_VERT, &si, TRUE);
}

void TBaseVirtualTree::Resize() {
    SetOffsetY(FOffsetY);
    UpdateScrollBar();
    Invalidate();
    TCustomControl::Resize();
}

// ---- window -------------------------------------------------------------------------------

void TBaseVirtualTree::SetBorderVisible(bool Value) {
    if (FBorder == Value) return;
    FBorder = Value;
    if (FHandle) RecreateWnd();
}

void TBaseVirtualTree::SetAcceptFiles(bool Value) {
    FAcceptFiles = Value;
    if (FHandle) DragAcceptFiles(FHandle, Value);
}

void TBaseVirtualTree::CreateParams(TCreateParams& P) {
    TCustomControl::CreateParams(P);
    P.Style |= WS_VSCROLL | WS_TABSTOP;
    P.ExStyle &= ~WS_EX_CONTROLPARENT;
    if (FBorder) P.ExStyle |= WS_EX_CLIENTEDGE;
    if (FAcceptFiles) P.ExStyle |= WS_EX_ACCEPTFILES;
}

void TBaseVirtualTree::CreateWnd() {
    // A tree on no parent stays a store: it never becomes a window of its own.
    if (!FParent) return;
    TCustomControl::CreateWnd();
}

void TBaseVirtualTree::InitWnd() {
    TCustomControl::InitWnd();
    if (FAcceptFiles) DragAcceptFiles(FHandle, TRUE);
    SetOffsetY(FOffsetY);
    UpdateScrollBar();
}

void TBaseVirtualTree::DropFiles(HDROP Drop) {
    std::vector<std::wstring> files;
    UINT count = DragQueryFileW(Drop, 0xFFFFFFFF, nullptr, 0);
    for (UINT i = 0; i < count; ++i) {
        // Asked for its length first: a long path is taken whole, never cut to MAX_PATH.
        UINT len = DragQueryFileW(Drop, i, nullptr, 0);
        if (!len) continue;
        std::wstring s(len + 1, L'\0');
        UINT got = DragQueryFileW(Drop, i, s.data(), len + 1);
        if (got != len) continue;
        s.resize(len);
        files.push_back(std::move(s));
    }
    DragFinish(Drop);
    OnDropFiles(this, files);
}

LRESULT TBaseVirtualTree::WndProc(UINT Msg, WPARAM WParam, LPARAM LParam) {
    switch (Msg) {
        case WM_GETDLGCODE:
            return DLGC_WANTARROWS | DLGC_WANTCHARS;
        case WM_VSCROLL: {
            SCROLLINFO si{};
            si.cbSize = sizeof si;
            si.fMask = SIF_ALL;
            GetScrollInfo(FHandle, SB_VERT, &si);
            int line = DefaultNodeHeight, page = std::max(1, RowAreaHeight());
            int y = FOffsetY;
            switch (LOWORD(WParam)) {
                case SB_LINEUP: y -= line; break;
                case SB_LINEDOWN: y += line; break;
                case SB_PAGEUP: y -= page; break;
                case SB_PAGEDOWN: y += page; break;
                case SB_TOP: y = 0; break;
                case SB_BOTTOM: y = RangeY(); break;
                case SB_THUMBTRACK: case SB_THUMBPOSITION: y = si.nTrackPos; break;
            }
            SetOffsetY(y);
            return 0;
        }
        case WM_MOUSEWHEEL: {
            int delta = GET_WHEEL_DELTA_WPARAM(WParam);
            SetOffsetY(FOffsetY - delta * 3 * DefaultNodeHeight / WHEEL_DELTA);
            return 0;
        }
        case WM_SETFOCUS: case WM_KILLFOCUS:
            Invalidate();
            break;
        case WM_DROPFILES:
            if (OnDropFiles) {
                DropFiles(HDROP(WParam));
                return 0;
            }
            // Without a handler of its own the drop goes to the parent window's handling.
            if (HWND p = GetParent(FHandle)) return SendMessageW(p, Msg, WParam, LParam);
            DragFinish(HDROP(WParam));
            return 0;
        case WM_RBUTTONUP: {
            // The layer takes the mouse messages itself; the context menu follows the release
            // as the system would make it.
            // A mouse-up handler may have freed the tree: only its window tells.
            HWND h = FHandle;
            LRESULT r = TCustomControl::WndProc(Msg, WParam, LParam);
            if (IsWindow(h) && FromHandle(h) == this) {
                POINT p{GET_X_LPARAM(LParam), GET_Y_LPARAM(LParam)};
                ::ClientToScreen(h, &p);
                SendMessageW(h, WM_CONTEXTMENU, WPARAM(h), MAKELPARAM(p.x, p.y));
            }
            return r;
        }
        case WM_SETCURSOR:
            if (HWND(WParam) == FHandle && LOWORD(LParam) == HTCLIENT) {
                POINT p;
                GetCursorPos(&p);
                ::ScreenToClient(FHandle, &p);
                if (FResizingColumn >= 0 || ResizeColumnAt(p.x, p.y) >= 0) {
                    SetCursor(LoadCursorW(nullptr, IDC_SIZEWE));
                    return TRUE;
                }
            }
            break;
    }
    return TCustomControl::WndProc(Msg, WParam, LParam);
}

// ---- mouse and keys -----------------------------------------------------------------------

int TBaseVirtualTree::ResizeColumnAt(int X, int Y) const {
    if (!FHeader.Visible() || !(FHeader.Options & hoColumnResize) || Y < 0 || Y >= FHeader.Height) return -1;
    for (int i = 0; i < FHeader.ColumnCount(); ++i) {
        const auto& c = FHeader.Columns(i);
        if (!(c.Options & coVisible) || !(c.Options & coResizable)) continue;
        int right = FHeader.ColumnLeft(i) + c.Width;
        if (X >= right - 3 && X <= right + 2) return i;
    }
    return -1;
}

void TBaseVirtualTree::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
    if (Button == mbLeft) {
        int col = ResizeColumnAt(X, Y);
        if (col >= 0) {
            FResizingColumn = col;
            FResizeStartX = X;
            FResizeStartWidth = FHeader.Columns(col).Width;
        } else if (PVirtualNode n = GetNodeAt(X, Y)) {
            SetFocusedNode(n);
            SelectByUser(n, Shift, true);
        } else if (Y >= FHeader.ShownHeight() && !(Shift & (ssShift | ssCtrl))) {
            ClearSelection();  // a click below the rows
        }
    } else if (Button == mbRight && (SelectionOptions & toRightClickSelect)) {
        // The menu acts on what was clicked: an unselected row becomes the selection.
        if (PVirtualNode n = GetNodeAt(X, Y)) {
            SetFocusedNode(n);
            if (!n->Selected) SelectByUser(n, 0, true);
        }
    }
    TCustomControl::MouseDown(Button, Shift, X, Y);
}

void TBaseVirtualTree::MouseMove(TShiftState Shift, int X, int Y) {
    if (FResizingColumn >= 0) FHeader.SetColumnWidth(FResizingColumn, FResizeStartWidth + X - FResizeStartX);
    TCustomControl::MouseMove(Shift, X, Y);
}

void TBaseVirtualTree::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
    if (Button == mbLeft) FResizingColumn = -1;
    TCustomControl::MouseUp(Button, Shift, X, Y);
}

void TBaseVirtualTree::KeyDown(WORD& Key, TShiftState Shift) {
    TCustomControl::KeyDown(Key, Shift);  // OnKeyDown
    if (!Key) return;
    bool doDefault = true;
    if (OnKeyAction) OnKeyAction(this, Key, Shift, doDefault);
    if (!doDefault || !Key) return;
    PVirtualNode f = FFocused;
    int page = std::max(1, RowAreaHeight() / std::max(1, DefaultNodeHeight));
    PVirtualNode target = nullptr;
    switch (Key) {
        case VK_UP: target = f ? (f->PrevSibling ? f->PrevSibling : f) : FFirst; break;
        case VK_DOWN: target = f ? (f->NextSibling ? f->NextSibling : f) : FFirst; break;
        case VK_HOME: target = FFirst; break;
        case VK_END: target = FLast; break;
        case VK_PRIOR:
            target = f ? f : FFirst;
            for (int i = 0; i < page && target && target->PrevSibling; ++i) target = target->PrevSibling;
            break;
        case VK_NEXT:
            target = f ? f : FFirst;
            for (int i = 0; i < page && target && target->NextSibling; ++i) target = target->NextSibling;
            break;
        case VK_SPACE:
            if (f && (Shift & ssCtrl)) {
                SelectByUser(f, ssCtrl, true);
                Key = 0;
            }
            return;
        case 'A':
            if (Shift & ssCtrl) {
                SelectAll();
                Key = 0;
            }
            return;
        default:
            return;
    }
    if (target) FocusByUser(target, Shift);
    Key = 0;
}

// ---- painting -----------------------------------------------------------------------------

void TBaseVirtualTree::PaintHeader(HDC DC) {
    const int h = FHeader.Height, w = ClientWidth();
    RECT all{0, 0, w, h};
    paint::Fill(DC, all, clBtnFace);
    HPEN shadow = CreatePen(PS_SOLID, 1, ColorToRGB(clBtnShadow));
    HPEN light = CreatePen(PS_SOLID, 1, ColorToRGB(clBtnHighlight));
    HGDIOBJ oldPen = SelectObject(DC, shadow);
    MoveToEx(DC, 0, h - 1, nullptr);
    LineTo(DC, w, h - 1);
    int x = 0;
    for (int i = 0; i < FHeader.ColumnCount(); ++i) {
        const auto& c = FHeader.Columns(i);
        if (!(c.Options & coVisible)) continue;
        RECT r{x, 0, x + c.Width, h - 1};
        // Flat button: a light left edge and a dark right edge.
        SelectObject(DC, light);
        MoveToEx(DC, r.left, 0, nullptr);
        LineTo(DC, r.left, h - 1);
        SelectObject(DC, shadow);
        MoveToEx(DC, r.right - 1, 2, nullptr);
        LineTo(DC, r.right - 1, h - 3);
        RECT t{r.left + Margin, r.top, r.right - Margin, r.bottom};
        UINT align = c.Alignment == taCenter ? DT_CENTER : c.Alignment == taRightJustify ? DT_RIGHT : DT_LEFT;
        paint::Text(DC, c.Text, t, FHeader.Font(), align | DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS,
                    clBtnText);
        x = r.right;
    }
    SelectObject(DC, oldPen);
    DeleteObject(shadow);
    DeleteObject(light);
}

void TBaseVirtualTree::PaintRow(HDC DC, PVirtualNode Node, int Top) {
    const int w = ClientWidth();
    const bool focusedCtl = Focused();
    const bool sel = Node->Selected;
    const TColor selBack = focusedCtl ? clHighlight : clBtnFace;
    const TColor selText = focusedCtl ? clHighlightText : FFont.Color();
    struct TCell {
        int Column;
        RECT R;
    };
    std::vector<TCell> cells;
    if (FHeader.ColumnCount() == 0) {
        cells.push_back({NoColumn, RECT{0, Top, w, Top + Node->NodeHeight}});
    } else {
        int x = 0;
        for (int i = 0; i < FHeader.ColumnCount(); ++i) {
            const auto& c = FHeader.Columns(i);
            if (!(c.Options & coVisible)) continue;
            cells.push_back({i, RECT{x, Top, x + c.Width, Top + Node->NodeHeight}});
            x += c.Width;
        }
    }
    // The row's background: the selection colour over the whole row (full-row selection) or
    // over the first cell only.
    RECT row{0, Top, w, Top + Node->NodeHeight};
    paint::Fill(DC, row, Color());
    if (sel) {
        RECT s = row;
        if (!(SelectionOptions & toFullRowSelect) && !cells.empty()) s = cells.front().R;
        paint::Fill(DC, s, selBack);
    }
    for (const TCell& cell : cells) {
        bool cellSel = sel && ((SelectionOptions & toFullRowSelect) || &cell == &cells.front());
        if (OnDrawNode) {
            int saved = SaveDC(DC);
            IntersectClipRect(DC, cell.R.left, cell.R.top, cell.R.right, cell.R.bottom);
            SelectObject(DC, FFont.Handle());
            SetTextColor(DC, ColorToRGB(cellSel ? selText : FFont.Color()));
            SetBkMode(DC, TRANSPARENT);
            TVTPaintInfo info;
            info.Canvas = DC;
            info.Node = Node;
            info.Column = cell.Column;
            info.CellRect = cell.R;
            info.ContentRect = RECT{cell.R.left + Margin, cell.R.top, cell.R.right - Margin, cell.R.bottom};
            info.Selected = cellSel;
            info.Focused = focusedCtl && Node == FFocused;
            OnDrawNode(this, info);
            RestoreDC(DC, saved);
        }
        if (PaintOptions & toShowVertGridLines) {
            RECT g{cell.R.right - 1, cell.R.top, cell.R.right, cell.R.bottom};
            paint::Fill(DC, g, clBtnFace);
        }
    }
    if (PaintOptions & toShowHorzGridLines) paint::Fill(DC, RECT{0, row.bottom - 1, w, row.bottom}, clBtnFace);
    if (focusedCtl && Node == FFocused && !(PaintOptions & toHideFocusRect)) {
        RECT f = (SelectionOptions & toFullRowSelect) || cells.empty() ? row : cells.front().R;
        SetTextColor(DC, RGB(0, 0, 0));
        SetBkColor(DC, RGB(255, 255, 255));
        DrawFocusRect(DC, &f);
    }
}

void TBaseVirtualTree::Paint(HDC DC) {
    const int w = ClientWidth(), h = ClientHeight(), top = FHeader.ShownHeight();
    RECT clip;
    if (GetClipBox(DC, &clip) == NULLREGION) return;
    int y = top - FOffsetY;
    int saved = SaveDC(DC);
    IntersectClipRect(DC, 0, top, w, h);
    for (PVirtualNode n = FFirst; n && y < h; n = n->NextSibling) {
        if (y + n->NodeHeight > top && y + n->NodeHeight > clip.top && y < clip.bottom) PaintRow(DC, n, y);
        y += n->NodeHeight;
    }
    RestoreDC(DC, saved);
    if (y < h) paint::Fill(DC, RECT{0, std::max(y, top), w, h}, Color());
    if (top) PaintHeader(DC);
}

}  // namespace ui
