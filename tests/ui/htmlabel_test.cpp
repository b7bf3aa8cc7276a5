// The HTML label: parsing the markup into runs, drawing it (read back from the pixels), finding
// links and raising the anchor event.
#include "ui_test_util.h"

#include "ui/forms.h"
#include "ui/htmlabel.h"

#include <gtest/gtest.h>

using namespace ui;

namespace {

struct RunCase {
    const wchar_t* Markup;
    std::vector<THTMLRun> Runs;
};

THTMLRun T(const wchar_t* S, TFontStyles St = 0, TColor C = clDefault, const wchar_t* Href = L"",
           TAlignment A = taLeftJustify) {
    THTMLRun r;
    r.Text = S;
    r.Style = St;
    r.Color = C;
    r.Href = Href;
    r.Align = A;
    return r;
}
THTMLRun Br(TAlignment A = taLeftJustify) {
    THTMLRun r;
    r.Break = true;
    r.Align = A;
    return r;
}

TEST(HTMLParseTest, MarkupBecomesRunsWithTheirLook) {
    const RunCase cases[] = {
        {L"plain text", {T(L"plain text")}},
        {L"a  b\r\n  c", {T(L"a b c")}},
        {L"<b>bold</b> <i>it</i><u>u</u>",
         {T(L"bold", fsBold), T(L" "), T(L"it", fsItalic), T(L"u", fsUnderline)}},
        {L"<B>nested <I>both</I></B>", {T(L"nested ", fsBold), T(L"both", fsBold | fsItalic)}},
        {L"one<br>two<BR/>three", {T(L"one"), Br(), T(L"two"), Br(), T(L"three")}},
        {L"<P align=\"center\">mid</P>after", {T(L"mid", 0, clDefault, L"", taCenter), Br(taCenter), T(L"after")}},
        {L"x<p align=right>r</p>", {T(L"x"), Br(), T(L"r", 0, clDefault, L"", taRightJustify), Br(taRightJustify)}},
        {L"Klicken Sie <a href=\"1\">hier</a> für mehr",
         {T(L"Klicken Sie "), T(L"hier", 0, clDefault, L"1"), T(L" für mehr")}},
        {L"<font color=\"#FF0000\">red</font> <font color=clBlue>blue</font>",
         {T(L"red", 0, RGB(255, 0, 0)), T(L" "), T(L"blue", 0, clBlue)}},
        {L"a &amp; b &lt;c&gt; &quot;d&quot;", {T(L"a & b <c> \"d\"")}},
        {L"<unknown>kept</unknown> 3 < 4", {T(L"kept 3 < 4")}},
    };
    for (const RunCase& c : cases) {
        std::vector<THTMLRun> got = HTML_Parse(c.Markup);
        ASSERT_EQ(got.size(), c.Runs.size()) << text_of(c.Markup);
        for (size_t i = 0; i < got.size(); ++i) {
            const THTMLRun &g = got[i], &e = c.Runs[i];
            EXPECT_EQ(g.Break, e.Break) << text_of(c.Markup) << " run " << i;
            EXPECT_EQ(text_of(g.Text), text_of(e.Text)) << text_of(c.Markup) << " run " << i;
            EXPECT_EQ(g.Style, e.Style) << text_of(c.Markup) << " run " << i;
            EXPECT_EQ(g.Color, e.Color) << text_of(c.Markup) << " run " << i;
            EXPECT_EQ(text_of(g.Href), text_of(e.Href)) << text_of(c.Markup) << " run " << i;
            EXPECT_EQ(g.Align, e.Align) << text_of(c.Markup) << " run " << i;
        }
    }
}

// Where the ink of a snapshot lies: the bounding box of non-white pixels and whether any pixel is
// clearly red.
struct Ink {
    int Left = 1 << 30, Top = 1 << 30, Right = -1, Bottom = -1;
    int Red = 0, Lines = 0;
};
// A line of text starts after at least two blank rows, so an underline a pixel below its
// words (how far depends on the font) is not taken for a line of its own.
Ink InkOf(const TSnapshot& S) {
    Ink k;
    int blankRows = 2;
    for (int y = 0; y < S.Pic.Height(); ++y) {
        bool row = false;
        for (int x = 0; x < S.Pic.Width(); ++x) {
            uint32_t p = S.At(x, y);
            if (p == 0xFFFFFF) continue;
            row = true;
            k.Left = std::min(k.Left, x);
            k.Right = std::max(k.Right, x);
            k.Top = std::min(k.Top, y);
            k.Bottom = std::max(k.Bottom, y);
            if (TSnapshot::R(p) > 150 && TSnapshot::G(p) < 90 && TSnapshot::B(p) < 90) ++k.Red;
        }
        if (row && blankRows >= 2) ++k.Lines;
        blankRows = row ? 0 : blankRows + 1;
    }
    return k;
}

class HTMLabelTest : public ::testing::Test {
protected:
    void SetUp() override {
        Form = CreateForm<TForm>(nullptr);
        Form->SetBorderStyle(bsNone);
        Form->SetClientSize(400, 200);
        Form->SetColor(clWhite);
        Label = Place<THTMLabel>(Form, L"HTMLabel1", Form, 10, 10, 300, 120);
        Label->SetTransparent(true);
    }
    void TearDown() override { Form->Free(); }
    TForm* Form = nullptr;
    THTMLabel* Label = nullptr;
};

TEST_F(HTMLabelTest, DrawsLinesAlignmentAndColours) {
    struct Case {
        const wchar_t* Markup;
        int Lines;
        const char* Where;  // "left", "centre", "right"
        bool Red;
    } cases[] = {
        {L"Hello", 1, "left", false},
        {L"Hello<br>World", 2, "left", false},
        {L"<P align=\"center\">Hello</P>", 1, "centre", false},
        {L"<P align=\"right\">Hello</P>", 1, "right", false},
        {L"<font color=\"#FF0000\">Hello</font>", 1, "left", true},
        {L"<b>two</b> <i>short</i> <u>lines</u><br>second", 2, "left", false},
    };
    for (const Case& c : cases) {
        Label->SetHTMLText(c.Markup);
        Ink k = InkOf(Snapshot(*Label));
        SCOPED_TRACE(text_of(c.Markup));
        EXPECT_EQ(k.Lines, c.Lines);
        EXPECT_EQ(k.Red > 0, c.Red);
        int mid = (k.Left + k.Right) / 2;
        if (std::string(c.Where) == "left") {
            EXPECT_LE(k.Left, 2);
        } else if (std::string(c.Where) == "centre") {
            // The ink is narrower than the advance widths by the glyphs' side bearings.
            EXPECT_NEAR(mid, 150, 6);
        } else {
            EXPECT_GE(k.Right, 292);
        }
    }
}

TEST_F(HTMLabelTest, WrapsAtTheWidthAndKeepsBlanksBetweenWords) {
    Label->SetHTMLText(L"aaaa bbbb cccc dddd eeee ffff gggg hhhh iiii jjjj kkkk llll mmmm nnnn oooo pppp");
    Ink k = InkOf(Snapshot(*Label));
    EXPECT_GE(k.Lines, 2);
    EXPECT_LE(k.Right, 299);
    // The blank between two words takes room: "aa aa" is wider than "aaaa".
    Label->SetHTMLText(L"ii ii");
    Ink spaced = InkOf(Snapshot(*Label));
    Label->SetHTMLText(L"iiii");
    Ink joined = InkOf(Snapshot(*Label));
    EXPECT_GT(spaced.Right - spaced.Left, joined.Right - joined.Left + 1);
}

TEST_F(HTMLabelTest, VerticalCentringAndMargins) {
    Label->SetMargins(4, 48, 4, 4);
    Label->SetVAlignment(taVerticalCenter);
    Label->SetHTMLText(L"x");
    Ink k = InkOf(Snapshot(*Label));
    // Centred in the 68 pixels left between the margins (48 .. 116).
    EXPECT_NEAR((k.Top + k.Bottom) / 2, (48 + 116) / 2, 4);
    EXPECT_GE(k.Left, 4);
}

TEST_F(HTMLabelTest, LinksAreFoundAndRaiseTheAnchorEventWhenClicked) {
    Label->SetHTMLText(L"Klicken Sie <a href=\"1\">hier</a> für mehr.<br><a href=\"second\">zweiter</a>");
    Form->Show();
    std::vector<std::wstring> clicked;
    Label->OnAnchorClick = [&](TComponent* s, const std::wstring& a) {
        EXPECT_EQ(s, Label);
        clicked.push_back(a);
    };
    // Find where the links are by hit-testing the label's own layout.
    POINT first{-1, -1}, second{-1, -1};
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 300; ++x) {
            std::wstring a = Label->AnchorAt(x, y);
            if (a == L"1" && first.x < 0) first = {x + 2, y + 2};
            if (a == L"second" && second.x < 0) second = {x + 2, y + 2};
        }
    ASSERT_GE(first.x, 0);
    ASSERT_GE(second.x, 0);
    EXPECT_GT(second.y, first.y);
    EXPECT_EQ(Label->AnchorAt(1, 2), L"");  // "Klicken" is no link
    auto click = [&](POINT p) {
        LPARAM lp = MAKELPARAM(p.x + Label->Left(), p.y + Label->Top());
        SendMessageW(Form->Handle(), WM_MOUSEMOVE, 0, lp);
        SendMessageW(Form->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, lp);
        SendMessageW(Form->Handle(), WM_LBUTTONUP, 0, lp);
    };
    // Over a link the hand cursor shows; elsewhere the label's own.
    SendMessageW(Form->Handle(), WM_MOUSEMOVE, 0, MAKELPARAM(first.x + Label->Left(), first.y + Label->Top()));
    EXPECT_EQ(Label->Cursor, crHandPoint);
    SendMessageW(Form->Handle(), WM_MOUSEMOVE, 0, MAKELPARAM(1 + Label->Left(), 2 + Label->Top()));
    EXPECT_EQ(Label->Cursor, crDefault);
    click(first);
    click(POINT{1, 2});
    click(second);
    EXPECT_EQ(clicked, (std::vector<std::wstring>{L"1", L"second"}));
}

TEST_F(HTMLabelTest, AutoSizingFitsTheHeightToTheText) {
    Label->AutoSizing = true;
    Label->SetMargins(0, 4, 0, 4);
    Label->SetHTMLText(L"eins");
    int one = Label->Height();
    Label->SetHTMLText(L"eins<br>zwei<br>drei");
    EXPECT_EQ(Label->Width(), 300);  // the width stays (vertical sizing)
    EXPECT_EQ(Label->Height() - 8, 3 * (one - 8));
}

TEST_F(HTMLabelTest, TextAsLinesAndAsOneText) {
    Label->SetHTMLText(L"<b>eins</b>\r\nzwei\r\n");
    EXPECT_EQ(Label->HTMLLines(), (std::vector<std::wstring>{L"<b>eins</b>", L"zwei"}));
    EXPECT_EQ(Label->HTMLText(), L"<b>eins</b>\r\nzwei\r\n");
    std::wstring v;
    EXPECT_TRUE(Label->GetProperty(L"HTMLText", v));
    EXPECT_EQ(v, Label->HTMLText());
    EXPECT_FALSE(Label->HasProperty(L"Caption"));
    EXPECT_TRUE(Label->GetProperty(L"AutoSizeType", v));
    EXPECT_EQ(v, L"asVertical");
}

}  // namespace
