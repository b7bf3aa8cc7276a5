// The list store of the wipe list: a tree control whose root-level nodes are the rows, each with a
// record of the owner's type in its data area. Works without a window (the context program keeps
// its list invisible, tests need none); the windowed control derives from it and repaints itself
// from the structure-change hook.
#pragma once

#include "ui/component.h"

#include <windows.h>

#include <cstddef>
#include <functional>
#include <memory>
#include <type_traits>

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
};
using PVirtualNode = TVirtualNode*;

class TBaseVirtualTree;

// What the owner-draw handler gets for one cell.
struct TVTPaintInfo {
    HDC Canvas = nullptr;
    PVirtualNode Node = nullptr;
    int Column = 0;
    RECT ContentRect{};
};

using TVTDrawNodeEvent = std::function<void(TBaseVirtualTree* Sender, TVTPaintInfo& PaintInfo)>;

class TBaseVirtualTree : public TComponent {
public:
    explicit TBaseVirtualTree(TComponent* AOwner = nullptr);
    ~TBaseVirtualTree() override;
    std::wstring ClassName() const override { return L"TBaseVirtualTree"; }

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
    PVirtualNode GetLast() const { return FLast; }
    // Removes the node with its record; the nodes behind it move up one index.
    void DeleteNode(PVirtualNode Node);
    void Clear();
    unsigned RootNodeCount() const { return FCount; }

    // Paints one cell of a row; the windowed control calls it from its paint cycle.
    TVTDrawNodeEvent OnDrawNode;

    // The control's window; nullptr while the tree has none.
    virtual HWND Handle() const { return nullptr; }

protected:
    // Called after nodes were added or removed; the windowed control repaints here.
    virtual void StructureChanged() {}

private:
    std::size_t FNodeDataSize = 0;
    std::function<std::unique_ptr<TNodeData>()> FNewNodeData;
    PVirtualNode FFirst = nullptr;
    PVirtualNode FLast = nullptr;
    unsigned FCount = 0;
};

class TVirtualDrawTree : public TBaseVirtualTree {
public:
    using TBaseVirtualTree::TBaseVirtualTree;
    std::wstring ClassName() const override { return L"TVirtualDrawTree"; }
};

}  // namespace ui
