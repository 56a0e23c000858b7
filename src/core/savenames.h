// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <string>
#include <string_view>

namespace equat {

// The pair of files a sheet is saved to. The extension of a name runs from the last "."
// of its file-name part (after the last folder separator or drive colon).
struct SaveNames {
    std::string subject;    // the name, ".rtf" added when it has no extension
    std::string answerKey;  // the name without its extension, then "_Cor.rtf"
};
SaveNames SaveNamesFor(std::string_view chosen);

// True when the name's extension is ".txt" in any letter case: such a file is plain text.
bool IsPlainTextName(std::string_view name);

}  // namespace equat
