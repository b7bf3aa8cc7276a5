#include "i18n/tree_header.h"

#include "ui/component.h"

namespace {
TTreeHeaderTexts* Texts(ui::TComponent* Tree) { return dynamic_cast<TTreeHeaderTexts*>(Tree); }
}  // namespace

// The fall-back branches stand for the ui layer's own draw tree, which has no header yet.

int TreeHeader_ColumnCount(ui::TComponent* Tree) {
    if (auto* t = Texts(Tree)) return t->HeaderColumnCount();
    return 0;
}

std::wstring TreeHeader_ColumnText(ui::TComponent* Tree, int Column) {
    if (auto* t = Texts(Tree)) return t->HeaderColumnText(Column);
    return {};
}

void TreeHeader_SetColumnText(ui::TComponent* Tree, int Column, const std::wstring& Text) {
    if (auto* t = Texts(Tree)) t->SetHeaderColumnText(Column, Text);
}

void TreeHeader_SetFontName(ui::TComponent* Tree, const std::wstring& FontName) {
    if (auto* t = Texts(Tree)) t->SetHeaderFontName(FontName);
}
