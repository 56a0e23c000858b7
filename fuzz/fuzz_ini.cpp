// SPDX-License-Identifier: GPL-3.0-or-later
// Feeds arbitrary bytes to the INI reader, the writer and the settings rules: nothing may
// crash, a parse followed by Text must give the bytes back, restored values must lie in
// their ranges, and values restored then saved must restore to themselves.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "settings/inifile.h"
#include "settings/settingsmodel.h"

namespace {

void Check(bool ok) {
    if (!ok) std::abort();
}

bool InRange(int v, int low, int high) {
    return v >= low && v <= high;
}

bool HasCr(const equat::StoredValues& v) {
    auto cr = [](const std::string& s) { return s.find('\r') != std::string::npos; };
    if (cr(v.eTitre1) || cr(v.eSepar) || cr(v.combo1Text)) return true;
    for (const auto& item : v.combo1Items)
        if (cr(item)) return true;
    return false;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    equat::IniDocument doc = equat::IniDocument::Parse(bytes);
    Check(doc.Text() == bytes);

    const equat::ScreenMetrics screen{1024, 768, 96};
    const equat::WindowPlacement placement{0, 1, {-1, -1}, {-1, -1}, {10, 10, 810, 440}};
    const equat::RestoreResult r =
        equat::RestoreSettings(doc, equat::StoredValues{}, placement, screen);
    const equat::StoredValues& v = r.values;
    Check(InRange(v.spMaxLigne, 1, 40) && InRange(v.spinterligne, 0, 10) &&
          InRange(v.spCorriges, 0, 1000) && InRange(v.spSujets, 0, 1000) &&
          InRange(v.trbNiveauPosition, 1, 3));
    Check(v.eTitre1.size() <= equat::kMaxTitleLength);
    Check(v.eSepar.size() <= equat::kMaxSeparatorLength);
    Check(!r.placement || r.placement->normalRect.left < r.placement->normalRect.right);

    // Save what was restored into the same document, then restore again.
    equat::SaveInput in;
    in.values = v;
    in.placement = r.placement.value_or(placement);
    in.screen = screen;
    equat::WriteSettings(doc, in);
    const equat::RestoreResult again = equat::RestoreSettings(
        equat::IniDocument::Parse(doc.Text()), equat::StoredValues{}, placement, screen);
    Check(!again.blocked);
    // Texts are saved trimmed; a key that was missing kept the untrimmed design text.
    equat::StoredValues expected = v;
    for (std::string* t : {&expected.eTitre1, &expected.eSepar, &expected.combo1Text})
        *t = std::string(equat::TrimText(*t));
    expected.saveDialogInitialDir = again.values.saveDialogInitialDir;
    if (!HasCr(v)) Check(again.values == expected);
    if (r.placement)
        Check(again.placement && again.placement->normalRect == in.placement.normalRect);
    return 0;
}
