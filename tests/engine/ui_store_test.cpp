#include "ui/progress_bar.h"
#include "ui/virtual_tree.h"

#include <gtest/gtest.h>

namespace {

struct TRecord : ui::TNodeData {
    int Value = 0;
};

TEST(VirtualTreeStore, AddIterateDeleteReindex) {
    ui::TVirtualDrawTree tree;
    EXPECT_EQ(tree.ClassName(), L"TVirtualDrawTree");
    EXPECT_EQ(tree.Handle(), nullptr);
    tree.SetNodeDataType<TRecord>();
    EXPECT_EQ(tree.NodeDataSize(), sizeof(TRecord));
    ui::PVirtualNode nodes[4];
    for (int i = 0; i < 4; ++i) {
        nodes[i] = tree.AddChild(nullptr);
        ASSERT_NE(nodes[i], nullptr);
        tree.GetNodeData<TRecord>(nodes[i])->Value = i;
    }
    EXPECT_EQ(tree.AddChild(nodes[0]), nullptr);  // one level only
    EXPECT_EQ(tree.RootNodeCount(), 4u);

    tree.DeleteNode(nodes[1]);
    tree.DeleteNode(nodes[3]);
    std::vector<int> values;
    unsigned index = 0;
    for (auto n = tree.GetFirst(); n; n = tree.GetNext(n)) {
        EXPECT_EQ(n->Index, index++);
        values.push_back(tree.GetNodeData<TRecord>(n)->Value);
    }
    EXPECT_EQ(values, (std::vector<int>{0, 2}));
    EXPECT_EQ(tree.GetLast(), nodes[2]);
    tree.DeleteNode(nodes[0]);
    tree.DeleteNode(nodes[2]);
    EXPECT_EQ(tree.GetFirst(), nullptr);
    EXPECT_EQ(tree.RootNodeCount(), 0u);
    EXPECT_NE(tree.AddChild(nullptr), nullptr);  // usable again after it was emptied
}

TEST(VirtualTreeStore, DrawHandlerSlot) {
    ui::TVirtualDrawTree tree;
    int calls = 0;
    tree.OnDrawNode = [&](ui::TBaseVirtualTree* sender, ui::TVTPaintInfo& info) {
        EXPECT_EQ(sender, &tree);
        ++calls;
    };
    ui::TVTPaintInfo info;
    tree.OnDrawNode(&tree, info);
    EXPECT_EQ(calls, 1);
}

TEST(ProgressBarState, RangeStepsAndClamping) {
    ui::TProgressBar bar;
    EXPECT_EQ(bar.ClassName(), L"TProgressBar");
    bar.SetMax(3);
    for (int i = 0; i < 5; ++i) bar.StepBy(1);
    EXPECT_EQ(bar.Position(), 3);  // stops at its maximum
    bar.SetPosition(-4);
    EXPECT_EQ(bar.Position(), 0);
    bar.SetMax(10);
    bar.Step = 4;
    bar.StepIt();
    bar.StepIt();
    EXPECT_EQ(bar.Position(), 8);
    bar.StepIt();  // past the end: starts again, like the system control
    EXPECT_EQ(bar.Position(), 0);
    bar.SetPosition(7);
    bar.SetMax(5);
    EXPECT_EQ(bar.Position(), 5);
    EXPECT_FALSE(bar.HandleAllocated());  // a bar on no parent never makes a window
}

}  // namespace
