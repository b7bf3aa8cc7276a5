#include "ui/virtual_tree.h"

namespace ui {

TBaseVirtualTree::TBaseVirtualTree(TComponent* AOwner) : TComponent(AOwner) {}

TBaseVirtualTree::~TBaseVirtualTree() {
    // No structure notification from here: a derived window is already gone.
    while (FFirst) {
        PVirtualNode next = FFirst->NextSibling;
        delete FFirst;
        FFirst = next;
    }
}

PVirtualNode TBaseVirtualTree::AddChild(PVirtualNode Parent) {
    if (Parent) return nullptr;
    auto* node = new TVirtualNode;
    if (FNewNodeData) node->Data = FNewNodeData();
    node->Index = FCount;
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
    while (FFirst) {
        PVirtualNode next = FFirst->NextSibling;
        delete FFirst;
        FFirst = next;
    }
    FLast = nullptr;
    FCount = 0;
    StructureChanged();
}

}  // namespace ui
