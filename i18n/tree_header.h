// What the form translation needs of a draw tree's header: the number of header columns, their
// texts and the header font's name. The translation reaches the header only through these four
// functions, so they are the one place that knows how a tree keeps its header.
//
// A tree that implements TTreeHeaderTexts is served through it. The draw tree of the ui layer has
// no header columns yet: until it has, such a tree counts as having no columns and its font name
// is not kept. Connecting the real header means filling in the fall-back branches in
// tree_header.cpp (column count, column text read and write, header font name).
#pragma once

#include <string>

namespace ui {
class TComponent;
}

class TTreeHeaderTexts {
public:
    virtual ~TTreeHeaderTexts() = default;
    virtual int HeaderColumnCount() const = 0;
    virtual std::wstring HeaderColumnText(int Column) const = 0;
    virtual void SetHeaderColumnText(int Column, const std::wstring& Text) = 0;
    virtual void SetHeaderFontName(const std::wstring& FontName) = 0;
};

int TreeHeader_ColumnCount(ui::TComponent* Tree);
std::wstring TreeHeader_ColumnText(ui::TComponent* Tree, int Column);
void TreeHeader_SetColumnText(ui::TComponent* Tree, int Column, const std::wstring& Text);
void TreeHeader_SetFontName(ui::TComponent* Tree, const std::wstring& FontName);
