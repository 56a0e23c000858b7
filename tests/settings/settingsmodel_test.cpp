// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings/settingsmodel.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <fstream>
#include <functional>
#include <string>
#include <vector>

namespace equat {

void PrintTo(const StoredValues& v, std::ostream* os) {
    *os << "{" << v.spMaxLigne << ", " << v.spinterligne << ", [" << v.eTitre1 << "], [" << v.eSepar
        << "], " << v.spCorriges << ", " << v.spSujets << ", [" << v.saveDialogInitialDir << "], ["
        << v.combo1Text << "], " << v.combo1Items.size() << " items, " << v.checkBox1Checked << ", "
        << v.trbNiveauPosition << ", " << v.ckbEditeChecked << "}";
}

namespace {

namespace fs = std::filesystem;

const ScreenMetrics kScreen{1024, 768, 96};
const WindowPlacement kCurrentPlacement{0, 1, {-1, -1}, {-1, -1}, {113, 174, 911, 594}};

RestoreResult Restore(const std::string& formLines, const std::string& more = "") {
    const IniDocument doc = IniDocument::Parse("[TForm1]\r\n" + formLines + more);
    return RestoreSettings(doc, StoredValues{}, kCurrentPlacement, kScreen);
}

TEST(SettingsModel, RestoresStoredValuesWithTheirRules) {
    using Check = std::function<void(StoredValues&)>;
    struct Case {
        const char* name;
        std::string lines;
        Check expect;  // applied to the design values, gives the expected ones
    } cases[] = {
        {"nothing stored", "", [](StoredValues&) {}},
        {"above range", "spMaxLigne_Value=99\r\n", [](StoredValues& v) { v.spMaxLigne = 40; }},
        {"not a number", "spMaxLigne_Value=abc\r\n", [](StoredValues& v) { v.spMaxLigne = 1; }},
        {"blanks trimmed", "spMaxLigne_Value= 12 \r\n", [](StoredValues& v) { v.spMaxLigne = 12; }},
        {"hexadecimal is not decimal", "spMaxLigne_Value=0x10\r\n",
         [](StoredValues& v) { v.spMaxLigne = 1; }},
        {"beyond int", "spSujets_Value=99999999999\r\n", [](StoredValues& v) { v.spSujets = 0; }},
        {"interline and copies", "spinterligne_Value=11\r\nspCorriges_Value=5000\r\n",
         [](StoredValues& v) {
             v.spinterligne = 10;
             v.spCorriges = 1000;
         }},
        {"level 0", "trbNiveau_Position=0\r\n", [](StoredValues& v) { v.trbNiveauPosition = 1; }},
        {"level 2", "trbNiveau_Position=2\r\n", [](StoredValues& v) { v.trbNiveauPosition = 2; }},
        {"false in small letters", "CheckBox1_Checked=false\r\nckbEdite_Checked=TRUE\r\n",
         [](StoredValues& v) {
             v.checkBox1Checked = false;
             v.ckbEditeChecked = true;
         }},
        {"0 is no boolean", "CheckBox1_Checked=0\r\nckbEdite_Checked=1\r\n", [](StoredValues&) {}},
        {"empty title", "eTitre1_Text=\r\n", [](StoredValues& v) { v.eTitre1.clear(); }},
        {"quoted title", "eTitre1_Text=\"\"Nom\"\"\r\n",
         [](StoredValues& v) { v.eTitre1 = "\"Nom\""; }},
        {"texts trimmed", "Combo1_Text=\"  Calculer\t\"\r\neSepar_Text=' ** '\r\n",
         [](StoredValues& v) {
             v.combo1Text = "Calculer";
             v.eSepar = "**";
         }},
        {"texts cut to their fields", "eTitre1_Text=" + std::string(300, 't') + "\r\n",
         [](StoredValues& v) { v.eTitre1 = std::string(kMaxTitleLength, 't'); }},
        {"folder delimiter dropped", "SaveDialog1_InitialDir=C:\\Docs\\\r\n",
         [](StoredValues& v) { v.saveDialogInitialDir = "C:\\Docs"; }},
        {"drive root kept", "SaveDialog1_InitialDir=C:\\\r\n",
         [](StoredValues& v) { v.saveDialogInitialDir = "C:\\"; }},
        {"unix folder", "SaveDialog1_InitialDir=/home/t/\r\n",
         [](StoredValues& v) { v.saveDialogInitialDir = "/home/t"; }},
        {"unix root kept", "SaveDialog1_InitialDir=/\r\n",
         [](StoredValues& v) { v.saveDialogInitialDir = "/"; }},
        {"blocked by FormVersion", "FormVersion=-1\r\nspMaxLigne_Value=5\r\n",
         [](StoredValues&) {}},
        {"hexadecimal FormVersion", "FormVersion=0x0\r\nspMaxLigne_Value=5\r\n",
         [](StoredValues& v) { v.spMaxLigne = 5; }},
    };
    for (const auto& c : cases) {
        StoredValues expected;
        c.expect(expected);
        EXPECT_EQ(Restore(c.lines).values, expected) << c.name;
    }
    EXPECT_TRUE(Restore("FormVersion=-1\r\n").blocked);
    EXPECT_FALSE(Restore("FormVersion=-1\r\n").state);
}

TEST(SettingsModel, RestoresTheInstructionList) {
    const std::vector<std::string> design = StoredValues{}.combo1Items;
    struct Case {
        const char* name;
        std::string section;
        std::vector<std::string> expected;
    } cases[] = {
        {"no section", "", design},
        {"two items", "Count=2\r\nItem0=a\r\nitem1= \" b \"\r\n", {"a", " b "}},
        {"Count 0", "Count=0\r\nItem0=a\r\n", design},
        {"Count not a number", "Count=x\r\nItem0=a\r\n", design},
        {"missing item is empty", "Count=3\r\nItem0=a\r\nItem2=c\r\n", {"a", "", "c"}},
        {"huge Count bounded by the entries", "Count=2000000000\r\nItem0=a\r\n", {"a", ""}},
    };
    for (const auto& c : cases) {
        const std::string more = c.section.empty() ? "" : "[TForm1.Combo1_Items]\r\n" + c.section;
        const RestoreResult r = Restore("Combo1_Text=typed\r\n", more);
        EXPECT_EQ(r.values.combo1Items, c.expected) << c.name;
        EXPECT_EQ(r.values.combo1Text, "typed") << c.name;
    }
}

TEST(SettingsModel, RestoresThePlacement) {
    const IniRect cur = kCurrentPlacement.normalRect;
    struct Case {
        const char* name;
        std::string lines;
        std::optional<IniRect> rect;
        IniPoint minPos, maxPos;
        WindowState state;
    } cases[] = {
        {"nothing stored", "", std::nullopt, {}, {}, WindowState::kNormal},
        {"this screen's key wins",
         "NormPos(1024x768)=1,2,300,400\r\nNormPos=5,6,700,800\r\nShowCmd=1\r\n",
         IniRect{1, 2, 300, 400},
         {},
         {},
         WindowState::kNormal},
        {"another screen uses the plain key",
         "NormPos(1920x1080)=1,2,300,400\r\nNormPos=5,6,700,800\r\n",
         IniRect{5, 6, 700, 800},
         {},
         {},
         WindowState::kNormal},
        {"empty suffixed value falls back",
         "NormPos(1024x768)=\r\nNormPos=5,6,700,800\r\n",
         IniRect{5, 6, 700, 800},
         {},
         {},
         WindowState::kNormal},
        {"another pixels per inch: state only",
         "PixelsPerInch=120\r\nNormPos=5,6,700,800\r\nShowCmd=3\r\n",
         std::nullopt,
         {},
         {},
         WindowState::kMaximized},
        {"left not below right",
         "NormPos=700,6,700,800\r\n",
         std::nullopt,
         {},
         {},
         WindowState::kNormal},
        {"absurd coordinates",
         "NormPos=-2147483648,0,2147483647,10\r\n",
         std::nullopt,
         {},
         {},
         WindowState::kNormal},
        {"missing parts from the window",
         "NormPos=10, 20\r\n",
         IniRect{10, 20, cur.right, cur.bottom},
         {},
         {},
         WindowState::kNormal},
        {"commas and blanks",
         "MinMaxPos=3 ,x, 5,6\r\nShowCmd=2\r\n",
         cur,
         {3, 0},
         {5, 6},
         WindowState::kMinimized},
        {"show 6 and 7 minimize", "ShowCmd=7\r\n", std::nullopt, {}, {}, WindowState::kMinimized},
        {"show 9 is normal", "ShowCmd=9\r\n", std::nullopt, {}, {}, WindowState::kNormal},
        {"unknown show is normal", "ShowCmd=4\r\n", std::nullopt, {}, {}, WindowState::kNormal},
    };
    for (const auto& c : cases) {
        const RestoreResult r = Restore(c.lines);
        EXPECT_EQ(r.state, c.state) << c.name;
        ASSERT_EQ(r.placement.has_value(), c.rect.has_value()) << c.name;
        if (!c.rect) continue;
        EXPECT_EQ(r.placement->normalRect, *c.rect) << c.name;
        EXPECT_EQ(r.placement->minPosition, c.minPos) << c.name;
        EXPECT_EQ(r.placement->maxPosition, c.maxPos) << c.name;
    }
    const RestoreResult flags = Restore("Flags=0x2\r\nNormPos=5,6,700,800\r\n");
    EXPECT_EQ(flags.placement->flags, 2);
    EXPECT_EQ(Restore("Flags=x\r\nNormPos=5,6,700,800\r\n").placement->flags, 0);
}

SaveInput DesignSave() {
    SaveInput in;
    in.placement = {0, 1, {-1, -1}, {-1, -1}, {100, 50, 916, 519}};
    in.screen = kScreen;
    return in;
}

TEST(SettingsModel, WritesEveryEntryInOrder) {
    IniDocument doc;
    WriteSettings(doc, DesignSave());
    EXPECT_EQ(doc.Text(),
              "[TForm1]\r\nFormVersion=0\r\nFlags=0\r\nShowCmd=1\r\nPixelsPerInch=96\r\n"
              "MinMaxPos(1024x768)=-1,-1,-1,-1\r\nMinMaxPos=-1,-1,-1,-1\r\n"
              "NormPos(1024x768)=100,50,916,519\r\nNormPos=100,50,916,519\r\nVisible=0\r\n"
              "spMaxLigne_Value=25\r\nspinterligne_Value=1\r\n"
              "eTitre1_Text=Nom :                       Pr\xE9nom :                         "
              "    Classe :\r\n"
              "eSepar_Text=" +
                  std::string(123, '-') +
                  "\r\n"
                  "spCorriges_Value=1\r\nspSujets_Value=1\r\nSaveDialog1_InitialDir=\r\n"
                  "Combo1_Text=Calculer\r\nCheckBox1_Checked=True\r\ntrbNiveau_Position=1\r\n"
                  "ckbEdite_Checked=False\r\n\r\n"
                  "[TForm1.Combo1_Items]\r\nCount=3\r\n"
                  "Item0=R\xE9soudre les \xE9quations suivantes :\r\n"
                  "Item1=R\xE9soudre les \xE9quations suivantes (\xE9ventuellement \xE0 0,01 "
                  "pr\xE8s)\r\n"
                  "Item2=R\xE9soudre les syst\xE8mes suivants :\r\n");
}

TEST(SettingsModel, SaveThenRestoreGivesTheValuesBack) {
    SaveInput in = DesignSave();
    StoredValues& v = in.values;
    v.spMaxLigne = 7;
    v.eTitre1 = "\"Devoir\"";
    v.eSepar = "'*'";
    v.saveDialogInitialDir = "/home/t/Documents";
    v.combo1Text = "  R\xE9soudre \r\n";
    v.combo1Items = {"Calculer ", "\"q\"", " ", "a\r\nb"};
    v.checkBox1Checked = false;
    v.trbNiveauPosition = 3;
    v.ckbEditeChecked = true;
    v.cbCorrigeItemIndex = 2;
    v.mnuVirguleChecked = true;
    in.placement.showCmd = 3;
    in.applicationMinimized = true;
    in.destroying = true;

    // Unknown sections and keys, in any layout, stay byte for byte.
    const std::string unknownHead = "; keep me\n[Other]\nx = 1\n\n";
    const std::string unknownTail = "[More]\r\ny=\"2\"";
    IniDocument doc =
        IniDocument::Parse(unknownHead + "[TForm1]\r\nMine=1\r\nspMaxLigne_Value=9\r\n\r\n" +
                           "[TForm1.Combo1_Items]\r\nCount=9\r\n\r\n" + unknownTail);
    WriteSettings(doc, in);
    const std::string text = doc.Text();
    EXPECT_EQ(text.rfind(unknownHead + "[TForm1]\r\nMine=1\r\nspMaxLigne_Value=7\r\n", 0), 0u);
    EXPECT_NE(text.find("\r\n\r\n" + unknownTail + "\r\n\r\n[TForm1.Combo1_Items]\r\nCount=4\r\n"),
              std::string::npos);

    const RestoreResult r =
        RestoreSettings(IniDocument::Parse(text), StoredValues{}, kCurrentPlacement, kScreen);
    StoredValues expected = v;
    expected.combo1Text = "R\xE9soudre";
    expected.combo1Items.back() = "a  b";
    EXPECT_EQ(r.values, expected);
    EXPECT_EQ(r.state, WindowState::kMinimized);
    EXPECT_EQ(r.placement->normalRect, in.placement.normalRect);
    EXPECT_EQ(IniDocument::Parse(text).Find("TForm1", "Visible"), "1");
    std::vector<std::string_view> differing;
    for (const StoredSetting* s : DifferingProps(StoredValues{}, r.values))
        differing.push_back(s->key);
    EXPECT_EQ(differing,
              (std::vector<std::string_view>{
                  "spMaxLigne_Value", "eTitre1_Text", "eSepar_Text", "SaveDialog1_InitialDir",
                  "Combo1_Text", "Combo1_Items", "CheckBox1_Checked", "trbNiveau_Position",
                  "ckbEdite_Checked", "cbCorrige_ItemIndex", "mnuVirgule_Checked"}));

    // Back at its design value the entry goes, and the file is as an older version wrote it.
    IniDocument again = IniDocument::Parse(text);
    WriteSettings(again, DesignSave());
    IniDocument fresh;
    WriteSettings(fresh, DesignSave());
    EXPECT_EQ(again.Find("TForm1", "cbCorrige_ItemIndex"), std::nullopt);
    EXPECT_EQ(fresh.Find("TForm1", "cbCorrige_ItemIndex"), std::nullopt);
    EXPECT_EQ(again.Find("TForm1", "mnuVirgule_Checked"), std::nullopt);
}

class SettingsSessionTest : public ::testing::Test {
  protected:
    void SetUp() override {
        char templ[] = "/tmp/equat-settings-XXXXXX";
        ASSERT_NE(::mkdtemp(templ), nullptr);
        dir_ = templ;
        path_ = dir_ / "equat.ini";
    }
    void TearDown() override {
        std::error_code ec;
        fs::remove_all(dir_, ec);
    }
    std::string Slurp() const {
        std::ifstream in(path_, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }
    void Spit(const std::string& s) const { std::ofstream(path_, std::ios::binary) << s; }
    std::optional<std::string> Stored(std::string_view section, std::string_view key) const {
        return IniDocument::Parse(Slurp()).Find(section, key);
    }
    fs::path dir_, path_;
};

TEST_F(SettingsSessionTest, SavesOnlyAfterARestoreAndOnce) {
    SettingsSession session{IniFile(path_)};
    EXPECT_TRUE(session.Save(DesignSave()));
    EXPECT_FALSE(fs::exists(path_)) << "no save before a restore";

    const RestoreResult r = session.Restore(StoredValues{}, kCurrentPlacement, kScreen);
    EXPECT_EQ(r.values, StoredValues{});
    EXPECT_FALSE(r.placement);
    ASSERT_TRUE(session.Save(DesignSave()));
    EXPECT_EQ(session.state(), SettingsSession::State::kSaved);
    EXPECT_EQ(Stored("TForm1", "Visible"), "0");
    EXPECT_EQ(Stored("TForm1.Combo1_Items", "Count"), "3");

    SaveInput destroying = DesignSave();
    destroying.destroying = true;
    EXPECT_TRUE(session.Save(destroying));
    EXPECT_EQ(Stored("TForm1", "Visible"), "0") << "no second save";
}

TEST_F(SettingsSessionTest, BlockedRestoreStillSavesVersionZero) {
    Spit("[TForm1]\r\nFormVersion=-1\r\nspMaxLigne_Value=5\r\n");
    SettingsSession session{IniFile(path_)};
    const RestoreResult r = session.Restore(StoredValues{}, kCurrentPlacement, kScreen);
    EXPECT_TRUE(r.blocked);
    EXPECT_EQ(r.values.spMaxLigne, 25);
    ASSERT_TRUE(session.Save(DesignSave()));
    EXPECT_EQ(Stored("TForm1", "FormVersion"), "0");
    EXPECT_EQ(Stored("TForm1", "spMaxLigne_Value"), "25");
}

TEST_F(SettingsSessionTest, EmptiedListBringsBackTheDesignItems) {
    SettingsSession first{IniFile(path_)};
    first.Restore(StoredValues{}, kCurrentPlacement, kScreen);
    SaveInput in = DesignSave();
    in.values.combo1Items.clear();
    ASSERT_TRUE(first.Save(in));
    EXPECT_FALSE(IniDocument::Parse(Slurp()).HasSection("TForm1.Combo1_Items"));

    SettingsSession second{IniFile(path_)};
    const RestoreResult r = second.Restore(StoredValues{}, kCurrentPlacement, kScreen);
    EXPECT_EQ(r.values.combo1Items, StoredValues{}.combo1Items);
}

TEST_F(SettingsSessionTest, FailedCloseSaveIsRetriedAtDestruction) {
    const std::string original = "[TForm1]\r\nspMaxLigne_Value=5\r\n";
    Spit(original);
    ::chmod(path_.c_str(), 0444);
    SettingsSession session{IniFile(path_)};
    EXPECT_EQ(session.Restore(StoredValues{}, kCurrentPlacement, kScreen).values.spMaxLigne, 5);

    EXPECT_FALSE(session.Save(DesignSave()));
    EXPECT_EQ(session.state(), SettingsSession::State::kRestored);
    EXPECT_EQ(Slurp(), original) << "a failed save leaves the file whole";
    EXPECT_EQ(IniWriteErrorMessage(session.file().path()),
              "Impossible d'\xC3\xA9"
              "crire dans " +
                  path_.string() + ".");

    ::chmod(path_.c_str(), 0644);
    SaveInput destroying = DesignSave();
    destroying.destroying = true;
    ASSERT_TRUE(session.Save(destroying));
    EXPECT_EQ(Stored("TForm1", "Visible"), "1");
    EXPECT_EQ(session.state(), SettingsSession::State::kSaved);
}

TEST_F(SettingsSessionTest, UnreadableFileIsNeitherUsedNorReplaced) {
    fs::create_directory(path_);  // exists, cannot be read as a file
    SettingsSession session{IniFile(path_)};
    EXPECT_EQ(session.Restore(StoredValues{}, kCurrentPlacement, kScreen).values, StoredValues{});
    EXPECT_FALSE(session.Save(DesignSave()));
    EXPECT_TRUE(fs::is_directory(path_));
}

}  // namespace
}  // namespace equat
