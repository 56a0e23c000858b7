// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <algorithm>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace equat {

// The prologue every document starts with: code page 1252, French, the five fonts and
// the 17-entry colour table. It opens the document group; the final "}" closes it.
extern const std::string_view kRtfHeader;

// Translates the sheets' tag language into an RTF fragment. Ordinary characters (RTF
// syntax included) pass unchanged, control characters vanish, unknown tags vanish,
// and a NUL ends the text.
//
// Tags: <b> </b> <i> </i> <u> </u> <s> </s> (switches), <sup> <sub> and </sup> </sub> (back to
// the baseline), <arial> <times> <courier> <symbol>, <te=N> (size, half-points), <ce=NAME>
// (colour) and <cf=NAME> (highlight) by the names of the colour table, <br> (paragraph), <tab>.
// Tables, for the keys' own layouts only (never kept from a teacher's text):
//   <row=W1,W2,...,Wn>  opens a row of n cells (1..kMaxRowCells) of the given widths in twips,
//                       each bordered and its text centered; it starts a paragraph;
//   <cell>              ends a cell's text (a cell may hold several paragraphs, <br>);
//   </row>              ends the row, after its last <cell>; the text after it is an ordinary
//                       paragraph. Rows that follow one another make one table.
// A row tag whose widths are not numbers, or out of bounds, vanishes like any unknown tag.
std::string MarkupToRtf(std::string_view markup);
// The same, appended to out.
void AppendMarkupRtf(std::string& out, std::string_view markup);

// A table row's definition, every cell bordered by a single line, the right edges in twips,
// then the reset of the paragraph into the row: "\\trowd...\\cellxN\\pard\\intbl ".
void AppendRowRtf(std::string& out, const std::vector<int>& edges);

// Markup that shows the Windows-1252 text as typed: RTF's signs and "<" escaped, control
// characters dropped.
std::string TextAsMarkup(std::string_view text);
// A teacher's own text (title, instruction, separator) as markup: the markup's own tags act,
// every other sign shows as typed (braces, backslashes, a "<" that opens no tag), control
// characters dropped. Ordinary texts come back unchanged.
std::string TeacherMarkup(std::string_view text);

// Index 0..16 of a colour name of the colour table, or -1.
int ColourIndex(std::string_view name);

// What a tag of the markup does, for a writer of another format than RTF. `value`: 1 or 0 for
// the switches (bold, italic, underline, strike), the font (0 Arial, 1 Times, 2 Courier,
// 3 Symbol), the size in half-points (-1: a size with no number), the colour's index.
enum class TagKind : std::uint8_t {
    Unknown,
    Bold,
    Italic,
    Underline,
    Strike,
    Super,
    Sub,
    Baseline,
    Font,
    Size,
    Colour,
    Highlight,
    Break,
    Tab,
    Row,     // value: the number of cells; RowEdges gives their right edges
    Cell,    // ends a cell
    RowEnd,  // ends a row
};
// The bounds of a row tag: cells, and the width of a whole row in twips (22 inches).
inline constexpr int kMaxRowCells = 63;
inline constexpr int kMaxRowTwips = 31680;
struct MarkupTag {
    TagKind kind = TagKind::Unknown;
    int value = 0;
};
// A tag's text, lower case, without its brackets. A size whose text is more than a number
// reads as Unknown: the teacher's markup never keeps one (TeacherMarkup).
MarkupTag ReadTag(std::string_view tag);
// The right edges of a row tag's cells, twips from the row's left; empty when the tag is no
// row tag that ReadTag accepts.
std::vector<int> RowEdges(std::string_view tag);

// Walks markup as the converter reads it: runs of text (RTF's escapes in them pass as they
// are) and tags (lower case). Control characters vanish, a NUL or an unclosed tag ends it.
template <class OnText, class OnTag>
void ForEachMarkup(std::string_view markup, OnText&& onText, OnTag&& onTag) {
    const char* p = markup.data();
    const char* const end = p + markup.size();
    std::string lower;  // a tag with capitals, in lower case
    while (p < end) {
        // The run of ordinary characters in one go.
        const char* run = p;
        while (p < end && static_cast<unsigned char>(*p) >= 32 && *p != '<') ++p;
        if (p > run) onText(std::string_view(run, static_cast<std::size_t>(p - run)));
        if (p == end || *p == '\0') return;
        if (*p != '<') {  // a control character vanishes
            ++p;
            continue;
        }
        const char* const open = ++p;
        while (p < end && *p != '>' && *p != '\0') ++p;
        std::string_view tag(open, static_cast<std::size_t>(p - open));
        // Tags are read in lower case; most have no capital to copy.
        if (std::any_of(tag.begin(), tag.end(), [](char c) { return c >= 'A' && c <= 'Z'; })) {
            lower.assign(tag);
            for (char& t : lower)
                if (t >= 'A' && t <= 'Z') t = static_cast<char>(t - 'A' + 'a');
            tag = lower;
        }
        onTag(tag);
        if (p == end || *p != '>') return;
        ++p;
    }
}

}  // namespace equat
