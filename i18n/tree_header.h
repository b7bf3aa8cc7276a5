// What the form translation needs of a draw tree's header: the number of header columns, their
// texts and the header font's name. The translation reaches the header only through these four
// functions; a component that is no draw tree has no columns.
#pragma once

#include <string>

namespace ui {
class TComponent;
}

int TreeHeader_ColumnCount(ui::TComponent* Tree);
std::wstring TreeHeader_ColumnText(ui::TComponent* Tree, int Column);
void TreeHeader_SetColumnText(ui::TComponent* Tree, int Column, const std::wstring& Text);
void TreeHeader_SetFontName(ui::TComponent* Tree, const std::wstring& FontName);
