// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <iterator>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "core/drawchoices.h"
#include "core/sheet.h"
#include "settings/inifile.h"

namespace equat {

// The rules of the window's settings file, without the window: which keys exist, how
// their texts are read back (trimming, ranges, booleans, quoting), the window placement
// entries and the order in which a save writes them. The window's adapter copies
// values between its controls and StoredValues, and maps its geometry onto
// WindowPlacement.

inline constexpr std::string_view kFormSection = "TForm1";
inline constexpr std::string_view kItemsSection = "TForm1.Combo1_Items";

inline constexpr std::string_view kDefaultInstructionItems[] = {
    "R\xE9soudre les \xE9quations suivantes :",
    "R\xE9soudre les \xE9quations suivantes (\xE9ventuellement \xE0 0,01 pr\xE8s)",
    "R\xE9soudre les syst\xE8mes suivants :",
};

// The stored control values, at their design values. Texts are Windows-1252.
struct StoredValues {
    int spMaxLigne = 25;
    int spinterligne = 1;
    std::string eTitre1{kDefaultTitle};
    std::string eSepar = kDefaultSeparator;
    int spCorriges = 1;
    int spSujets = 1;
    std::string saveDialogInitialDir;
    std::string combo1Text{kDefaultInstruction};
    std::vector<std::string> combo1Items{std::begin(kDefaultInstructionItems),
                                         std::end(kDefaultInstructionItems)};
    bool checkBox1Checked = true;
    int trbNiveauPosition = 1;
    bool ckbEditeChecked = false;
    int cbCorrigeItemIndex = 0;      // the answer key's style, in the list's order
    bool mnuVirguleChecked = false;  // decimals written with a comma
    int splitter1Position = 0;       // the subject's share of the panes in 1/1000; 0: as designed
    int spTirageValue = 0;           // the draw choices packed; 0: the kinds' own
    int spProjectionValue = 0;       // the projection's choices packed; 0: their defaults
    bool mnuGraphesChecked = false;  // a graph under each solution of the key

    bool operator==(const StoredValues&) const = default;
};

// One stored value of the window: its entry, its control and how its text is read back.
// kStoredSettings lists them in the order a save writes them; restore, save and the
// "differs from the current value" rule all walk that one list, so a new setting is a
// field of StoredValues, one row below and its control on the window.
struct StoredSetting {
    using Field =
        std::variant<int StoredValues::*, bool StoredValues::*, std::string StoredValues::*,
                     std::vector<std::string> StoredValues::*>;
    std::string_view key;      // entry of section TForm1; the list has a section of its own
    std::string_view control;  // object name of the window's control or menu item; empty: kept
                               // by the store
    Field field;
    int low = 0, high = 0;                      // integers: the range applied on restore
    std::size_t maxLength = std::string::npos;  // texts: cut to the field's length
    bool folder = false;  // a folder: a trailing delimiter is dropped on restore
    // Written only while it differs from its design value, so that the file of a teacher
    // who never changes it stays as earlier versions wrote it.
    bool onlyWhenChanged = false;
};

inline constexpr StoredSetting kStoredSettings[] = {
    {"spMaxLigne_Value", "spMaxLigne", &StoredValues::spMaxLigne, 1, kMaxQuestions},
    {"spinterligne_Value", "spinterligne", &StoredValues::spinterligne, 0, 10},
    {"eTitre1_Text", "eTitre1", &StoredValues::eTitre1, 0, 0, kMaxTitleLength},
    {"eSepar_Text", "eSepar", &StoredValues::eSepar, 0, 0, kMaxSeparatorLength},
    {"spCorriges_Value", "spCorriges", &StoredValues::spCorriges, 0, 1000},
    {"spSujets_Value", "spSujets", &StoredValues::spSujets, 0, 1000},
    {"SaveDialog1_InitialDir", "", &StoredValues::saveDialogInitialDir, 0, 0, std::string::npos,
     true},
    {"Combo1_Text", "Combo1", &StoredValues::combo1Text},
    {"Combo1_Items", "Combo1", &StoredValues::combo1Items},
    {"CheckBox1_Checked", "CheckBox1", &StoredValues::checkBox1Checked},
    {"trbNiveau_Position", "trbNiveau", &StoredValues::trbNiveauPosition, 1, 3},
    {"ckbEdite_Checked", "ckbEdite", &StoredValues::ckbEditeChecked},
    {"cbCorrige_ItemIndex", "cbCorrige", &StoredValues::cbCorrigeItemIndex, 0, kKeyStyleCount - 1,
     std::string::npos, false, true},
    {"mnuVirgule_Checked", "mnuVirgule", &StoredValues::mnuVirguleChecked, 0, 0, std::string::npos,
     false, true},
    {"Splitter1_Position", "Splitter1", &StoredValues::splitter1Position, 0, 1000,
     std::string::npos, false, true},
    {"Tirage_Choix", "spTirage", &StoredValues::spTirageValue, 0,
     static_cast<int>(kMaxPackedDrawChoices), std::string::npos, false, true},
    {"Projection_Choix", "spProjection", &StoredValues::spProjectionValue, 0, 4095,
     std::string::npos, false, true},
    {"mnuGraphes_Checked", "mnuGraphes", &StoredValues::mnuGraphesChecked, 0, 0, std::string::npos,
     false, true},
};

// The settings whose values differ, in list order: after a restore, the adapter runs the
// change handling of exactly these controls.
std::vector<const StoredSetting*> DifferingProps(const StoredValues& a, const StoredValues& b);

struct IniPoint {
    int x = 0, y = 0;
    bool operator==(const IniPoint&) const = default;
};

struct IniRect {
    int left = 0, top = 0, right = 0, bottom = 0;
    bool operator==(const IniRect&) const = default;
};

// The window's placement as the file keeps it. showCmd: 1 normal, 2 minimized,
// 3 maximized. Rectangles and positions are in screen pixels.
struct WindowPlacement {
    int flags = 0;
    int showCmd = 1;
    IniPoint minPosition;
    IniPoint maxPosition;
    IniRect normalRect;  // the rectangle of the window when neither maximized nor minimized
    bool operator==(const WindowPlacement&) const = default;
};

struct ScreenMetrics {
    int width = 0;
    int height = 0;
    int pixelsPerInch = 96;
};

enum class WindowState {
    kNormal,
    kMaximized,
    kMinimized,  // the window stays normal and the whole application is minimized
};

// Coordinates beyond this are taken as damage, not as a place on any screen.
inline constexpr int kMaxPlacementCoordinate = 1000000;

struct RestoreResult {
    // "FormVersion" below 0: nothing is applied.
    bool blocked = false;
    // When set, the window takes this placement without being shown, and a window meant
    // to appear centred keeps the stored position instead. showCmd holds the stored one.
    std::optional<WindowPlacement> placement;
    // The state to take; nullopt only when blocked.
    std::optional<WindowState> state;
    // The controls' values to apply: the current ones where nothing usable was stored,
    // integers clamped to their ranges, texts cut to their fields' lengths.
    StoredValues values;
};

// Reads section TForm1 and the list section. `current` and `currentPlacement` are what
// the window holds now; they stand wherever the file has nothing usable.
RestoreResult RestoreSettings(const IniDocument& ini, const StoredValues& current,
                              const WindowPlacement& currentPlacement, const ScreenMetrics& screen);

struct SaveInput {
    StoredValues values;
    WindowPlacement placement;
    ScreenMetrics screen;
    bool applicationMinimized = false;
    bool destroying = false;  // written as "Visible"
};

// Writes every entry, in order, into the document; other sections and keys stay.
void WriteSettings(IniDocument& ini, const SaveInput& input);

// Decimal integer with an optional sign, within int; with allowHex, "0x"/"0X" followed by
// up to eight hexadecimal digits is read too (as a 32-bit pattern). nullopt otherwise.
std::optional<int> ParseIniInt(std::string_view text, bool allowHex = false);

// Removes leading and trailing blanks and control characters.
std::string_view TrimText(std::string_view text);

// The settings file across one run of the program: restored once when the window is
// first shown, saved at the close request and, if that save did not succeed, once more
// when the window is destroyed.
class SettingsSession {
  public:
    enum class State { kNotRestored, kRestored, kSaved };

    explicit SettingsSession(IniFile file) : file_(std::move(file)) {}
    const IniFile& file() const { return file_; }
    State state() const { return state_; }

    // A missing or unreadable file restores nothing; it is not an error.
    RestoreResult Restore(const StoredValues& current, const WindowPlacement& currentPlacement,
                          const ScreenMetrics& screen);

    // Writes nothing (and succeeds) unless restored and not yet saved. The file is read
    // again, updated and replaced in one atomic write, so a failure leaves it as it was;
    // the adapter then shows IniWriteErrorMessage(file().path()).
    IniStatus Save(const SaveInput& input);

  private:
    IniFile file_;
    State state_ = State::kNotRestored;
};

}  // namespace equat
