#include "i18n/tree_header.h"

#include "ui/virtual_tree.h"

namespace {
ui::TBaseVirtualTree* TreeOf(ui::TComponent* Tree) { return dynamic_cast<ui::TBaseVirtualTree*>(Tree); }
}  // namespace

int TreeHeader_ColumnCount(ui::TComponent* Tree) {
    auto* t = TreeOf(Tree);
    return t ? t->Header().ColumnCount() : 0;
}

std::wstring TreeHeader_ColumnText(ui::TComponent* Tree, int Column) {
    auto* t = TreeOf(Tree);
    if (!t || Column < 0 || Column >= t->Header().ColumnCount()) return {};
    return t->Header().Columns(Column).Text;
}

void TreeHeader_SetColumnText(ui::TComponent* Tree, int Column, const std::wstring& Text) {
    auto* t = TreeOf(Tree);
    if (t && Column >= 0 && Column < t->Header().ColumnCount()) t->Header().SetColumnText(Column, Text);
}

void TreeHeader_SetFontName(ui::TComponent* Tree, const std::wstring& FontName) {
    if (auto* t = TreeOf(Tree)) t->Header().Font().SetName(FontName);
}
