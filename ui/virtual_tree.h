// The owner-drawn list of the wipe view: a tree control whose root-level nodes are the rows, each
// with a record of the owner's type in its data area, painted cell by cell through OnDrawNode.
//
// The store works without a window: the context program keeps its list invisible and the
// engine's tests need none. A tree without a parent never makes a window; one placed on a form
// gets its window with the form's (hidden or not) and paints itself from then on: a header with
// columns, rows with selection (single, multiple, full row), focus, vertical scrolling, keys, a
// popup menu on right click and files dropped from Explorer.
#pragma once

#include "ui/component.h"
#include "ui/controls.h"

#include <windows.h>

#include <cstddef>
#include <functional>
#include <memory>
#include <string>
#include <type_traits>
#include <vector>

namespace ui {

// Base of every per-node record: the tree owns the records and frees them with their nodes.
class TNodeData {
public:
    virtual ~TNodeData() = default;
};

struct TVirtualNode {
    unsigned Index = 0;                    // position among its siblings, kept up to date
    TVirtualNode* PrevSibling = nullptr;
    TVirtualNode* NextSibling = nullptr;
    std::unique_ptr<TNodeData> Data;
    int NodeHeight = 0;                    // pixels; set from the tree's DefaultNodeHeight
    bool Selected = false;                 // kept by the tree: use Selected/SetSelected
};
using PVirtualNode = TVirtualNode*;

class TBaseVirtualTree;

// The column index handed to OnDrawNode for the one cell of a tree without columns.
constexpr int NoColumn = -1;

// What the owner-draw handler gets for one cell. The canvas comes with the row's background
// filled (selection colour for selected rows), the tree's font selected, the text colour set to
// match the background and a transparent background mode; drawing is clipped to the cell.
struct TVTPaintInfo {
    HDC Canvas = nullptr;
    PVirtualNode Node = nullptr;
    int Column = 0;
    RECT CellRect{};      // the whole cell
    RECT ContentRect{};   // the cell less the margin: where the content goes
    bool Selected = false;
    bool Focused = false;  // the node is the focused node (and the tree has the keyboard focus)
};

using TVTDrawNodeEvent = std::function<void(TBaseVirtualTree* Sender, TVTPaintInfo& PaintInfo)>;
using TVTChangeEvent = std::function<void(TBaseVirtualTree* Sender, PVirtualNode Node)>;
// A key for the tree; clearing DoDefault keeps the tree from handling it (moving the focus...).
using TVTKeyActionEvent =
    std::function<void(TBaseVirtualTree* Sender, WORD& CharCode, TShiftState& Shift, bool& DoDefault)>;
// Files dropped from Explorer, full paths in drop order.
using TVTDropFilesEvent = std::function<void(TBaseVirtualTree* Sender, const std::vector<std::wstring>& Files)>;

// Column options.
using TVTColumnOptions = unsigned;
constexpr TVTColumnOptions coVisible = 1, coResizable = 2, coAllowClick = 4, coParentColor = 8,
                           coEnabled = 16;
constexpr TVTColumnOptions DefaultColumnOptions = coVisible | coResizable | coAllowClick | coEnabled;

struct TVirtualTreeColumn {
    std::wstring Text;
    int Width = 50;
    int MinWidth = 10;
    TVTColumnOptions Options = DefaultColumnOptions;
    TAlignment Alignment = taLeftJustify;
};

// Header options.
using TVTHeaderOptions = unsigned;
constexpr TVTHeaderOptions hoVisible = 1, hoColumnResize = 2, hoDrag = 4, hoShowImages = 8,
                           hoShowSortGlyphs = 16, hoHotTrack = 32;

class TVTHeader {
public:
    explicit TVTHeader(TBaseVirtualTree& Tree);
    // The columns in display order. Change them through the tree's own methods or change a
    // column in place and call Changed().
    int ColumnCount() const { return int(FColumns.size()); }
    TVirtualTreeColumn& Columns(int Index) { return FColumns[size_t(Index)]; }
    const TVirtualTreeColumn& Columns(int Index) const { return FColumns[size_t(Index)]; }
    TVirtualTreeColumn& AddColumn(const std::wstring& Text, int Width);
    void ClearColumns();
    void SetColumnWidth(int Index, int Width);
    // Sets a column's text and repaints (the form translation sets them one line per column).
    void SetColumnText(int Index, const std::wstring& Text);
    // Left edge of a column in the tree's client pixels.
    int ColumnLeft(int Index) const;

    TVTHeaderOptions Options = hoVisible | hoColumnResize;
    int Height = 18;
    TFont& Font() { return FFont; }
    bool Visible() const { return (Options & hoVisible) != 0; }
    // The header's height on screen (0 when hidden).
    int ShownHeight() const { return Visible() ? Height : 0; }
    // Repaints after columns or options were changed.
    void Changed();

private:
    TBaseVirtualTree& FTree;
    std::vector<TVirtualTreeColumn> FColumns;
    TFont FFont;
};

// Options of the tree (sets of flags).
using TVTSelectionOptions = unsigned;
constexpr TVTSelectionOptions toFullRowSelect = 1, toMultiSelect = 2, toRightClickSelect = 4;
using TVTPaintOptions = unsigned;
constexpr TVTPaintOptions toHideFocusRect = 1, toShowHorzGridLines = 2, toShowVertGridLines = 4;

class TBaseVirtualTree : public TCustomControl {
public:
    explicit TBaseVirtualTree(TComponent* AOwner = nullptr);
    ~TBaseVirtualTree() override;
    std::wstring ClassName() const override { return L"TBaseVirtualTree"; }
    bool HasCaption() const override { return false; }

    // Declares the record type every new node carries; NodeDataSize reports its size.
    template <typename T>
    void SetNodeDataType() {
        static_assert(std::is_base_of_v<TNodeData, T>, "node records derive from TNodeData");
        FNodeDataSize = sizeof(T);
        FNewNodeData = [] { return std::unique_ptr<TNodeData>(new T()); };
    }
    std::size_t NodeDataSize() const { return FNodeDataSize; }

    // Adds a node at the end of the root level and returns it. The list has one level only: any
    // other parent gives nullptr and adds nothing.
    PVirtualNode AddChild(PVirtualNode Parent);
    // The node's record, or nullptr when it has none of that type.
    template <typename T>
    T* GetNodeData(PVirtualNode Node) const {
        return Node ? dynamic_cast<T*>(Node->Data.get()) : nullptr;
    }

    PVirtualNode GetFirst() const { return FFirst; }
    PVirtualNode GetNext(PVirtualNode Node) const { return Node ? Node->NextSibling : nullptr; }
    PVirtualNode GetPrevious(PVirtualNode Node) const { return Node ? Node->PrevSibling : nullptr; }
    PVirtualNode GetLast() const { return FLast; }
    // Removes the node with its record; the nodes behind it move up one index. A deleted
    // selected or focused node leaves the selection or focus without raising OnChange.
    void DeleteNode(PVirtualNode Node);
    void Clear();
    unsigned RootNodeCount() const { return FCount; }

    // Paints one cell of a row; the windowed control calls it from its paint cycle.
    TVTDrawNodeEvent OnDrawNode;
    // The selection changed (by the user or by code); Node is the node concerned or nullptr.
    TVTChangeEvent OnChange;
    // A key pressed in the tree, before the tree handles it.
    TVTKeyActionEvent OnKeyAction;
    // Files dropped onto the tree (the window accepts drops while AcceptFiles is set). Without a
    // handler the drop is passed on to the parent window, which may take it.
    TVTDropFilesEvent OnDropFiles;

    // Header and columns.
    TVTHeader& Header() { return FHeader; }
    const TVTHeader& Header() const { return FHeader; }

    TVTSelectionOptions SelectionOptions = toMultiSelect | toRightClickSelect;
    TVTPaintOptions PaintOptions = 0;
    // Height of newly added nodes.
    int DefaultNodeHeight = 18;
    int NodeHeight(PVirtualNode Node) const { return Node ? Node->NodeHeight : 0; }
    void SetNodeHeight(PVirtualNode Node, int Height);
    // Pixels between a cell's edge and its content rectangle.
    int Margin = 4;
    // A border around the client area (the wipe view has none).
    bool BorderVisible() const { return FBorder; }
    void SetBorderVisible(bool Value);
    // Whether the window takes files dropped from Explorer (DragAcceptFiles).
    bool AcceptFiles() const { return FAcceptFiles; }
    void SetAcceptFiles(bool Value);

    // Selection.
    bool Selected(PVirtualNode Node) const { return Node && Node->Selected; }
    void SetSelected(PVirtualNode Node, bool Value);
    unsigned SelectedCount() const { return FSelectedCount; }
    // Selected nodes first to last.
    PVirtualNode GetFirstSelected() const;
    PVirtualNode GetNextSelected(PVirtualNode Node) const;
    std::vector<PVirtualNode> GetSortedSelection() const;
    void ClearSelection();
    void SelectAll();
    // Deletes every selected node.
    void DeleteSelectedNodes();
    PVirtualNode FocusedNode() const { return FFocused; }
    void SetFocusedNode(PVirtualNode Node);

    // Geometry: the node under a client point (nullptr outside rows), a node's rectangle in
    // client pixels (with the header and scrolling taken into account), scrolling.
    PVirtualNode GetNodeAt(int X, int Y) const;
    RECT GetDisplayRect(PVirtualNode Node) const;
    int OffsetY() const { return FOffsetY; }
    void SetOffsetY(int Value);
    void ScrollIntoView(PVirtualNode Node);
    // Total height of all rows.
    int RangeY() const;

    void Paint(HDC DC) override;

protected:
    // Called after nodes were added or removed.
    virtual void StructureChanged();
    virtual void DoChange(PVirtualNode Node);
    friend class TVTHeader;

    void CreateParams(TCreateParams& Params) override;
    void CreateWnd() override;
    void InitWnd() override;
    LRESULT WndProc(UINT Msg, WPARAM WParam, LPARAM LParam) override;
    void KeyDown(WORD& Key, TShiftState Shift) override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseMove(TShiftState Shift, int X, int Y) override;
    void Resize() override;

private:
    void FreeNodes();
    void UpdateScrollBar();
    void PaintHeader(HDC DC);
    void PaintRow(HDC DC, PVirtualNode Node, int Top);
    int NodeTop(PVirtualNode Node) const;
    int RowAreaHeight() const;
    // Click or key selection: plain selects only Node, Ctrl toggles, Shift selects the range
    // from the anchor.
    void SelectByUser(PVirtualNode Node, TShiftState Shift, bool Toggle);
    void SelectRange(PVirtualNode From, PVirtualNode To, bool Keep);
    void FocusByUser(PVirtualNode Node, TShiftState Shift);
    // The column whose right edge is within a few pixels of X in the header, or -1.
    int ResizeColumnAt(int X, int Y) const;
    void DropFiles(HDROP Drop);

    std::size_t FNodeDataSize = 0;
    std::function<std::unique_ptr<TNodeData>()> FNewNodeData;
    PVirtualNode FFirst = nullptr;
    PVirtualNode FLast = nullptr;
    unsigned FCount = 0;
    unsigned FSelectedCount = 0;
    PVirtualNode FFocused = nullptr;
    PVirtualNode FAnchor = nullptr;
    int FOffsetY = 0;
    bool FBorder = true;
    bool FAcceptFiles = false;
    int FResizingColumn = -1;
    int FResizeStartX = 0, FResizeStartWidth = 0;
    TVTHeader FHeader;
};

class TVirtualDrawTree : public TBaseVirtualTree {
public:
    using TBaseVirtualTree::TBaseVirtualTree;
    std::wstring ClassName() const override { return L"TVirtualDrawTree"; }
};

}  // namespace ui
