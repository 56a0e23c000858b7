// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <cstdint>
#include <string>
#include <string_view>

namespace equat {

// The prologue every document starts with: code page 1252, French, the five fonts and
// the 17-entry colour table. It opens the document group; the final "}" closes it.
extern const std::string_view kRtfHeader;

// Translates the sheets' tag language into an RTF fragment. Ordinary characters (RTF
// syntax included) pass unchanged, control characters vanish, unknown tags vanish,
// and a NUL ends the text.
std::string MarkupToRtf(std::string_view markup);
// The same, appended to out.
void AppendMarkupRtf(std::string& out, std::string_view markup);

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
    Tab
};
struct MarkupTag {
    TagKind kind = TagKind::Unknown;
    int value = 0;
};
// A tag's text, lower case, without its brackets. A size whose text is more than a number
// reads as Unknown: the teacher's markup never keeps one (TeacherMarkup).
MarkupTag ReadTag(std::string_view tag);

// Walks markup as the converter reads it: runs of text (RTF's escapes in them pass as they
// are) and tags (lower case). Control characters vanish, a NUL or an unclosed tag ends it.
template <class OnText, class OnTag>
void ForEachMarkup(std::string_view markup, OnText&& onText, OnTag&& onTag) {
    const char* p = markup.data();
    const char* const end = p + markup.size();
    std::string tag;
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
        ++p;
        tag.clear();
        while (p < end && *p != '>' && *p != '\0') {
            char t = *p++;
            if (t >= 'A' && t <= 'Z') t = static_cast<char>(t - 'A' + 'a');
            tag += t;
        }
        onTag(std::string_view(tag));
        if (p == end || *p != '>') return;
        ++p;
    }
}

}  // namespace equat
