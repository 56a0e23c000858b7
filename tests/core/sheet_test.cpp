// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/sheet.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "core/graph.h"
#include "core/kinds.h"
#include "core/markup.h"
#include "core/sheetrtf.h"

using namespace equat;

namespace {

// The question a scripted draw v stands for: "v = 0", whose result is v.
QuestionModel ScriptedModel(int v) {
    WrittenEquation e{{AtomOf(Atom::Kind::Number, v)}, {AtomOf(Atom::Kind::Number, 0)}, 1, 1};
    QuestionResult r{Verdict::Values, {{"x", std::nullopt, std::to_string(v)}}, std::nullopt};
    return {"1d", 1, Statement{{e}}, r, std::nullopt};
}
std::string SubjectOf(int v) {
    std::string s;
    AppendSubjectRtf(s, ScriptedModel(v));
    return s;
}
std::string KeyOf(int v) {
    std::string s;
    AppendKeyRtf(s, ScriptedModel(v), KeyStyle::Decimal);
    return s;
}

// A kind whose draws come from a script, so the frame's own work can be checked exactly.
class ScriptedKind : public QuestionKind {
  public:
    explicit ScriptedKind(std::vector<int> draws) : draws_(std::move(draws)) {}
    std::string_view BaseNamePrefix() const override { return "Test_N"; }
    void Begin(int level) override {
        level_ = level;
        next_ = 0;
    }
    void Draw(RandomSource&, int i) override {
        values_[static_cast<std::size_t>(i)] = draws_.at(next_++);
    }
    std::string DiagnosticEntry(int i) const override {
        return "q" + std::to_string(i) + "=" + std::to_string(value(i));
    }
    std::string DuplicateKey(int i) const override { return std::to_string(value(i)); }
    QuestionModel Model(int i, bool) const override { return ScriptedModel(value(i)); }
    QuestionResult Result(int) const override { return {}; }
    int level_ = 0;

  private:
    int value(int i) const { return values_[static_cast<std::size_t>(i)]; }
    std::vector<int> draws_;
    std::size_t next_ = 0;
    std::array<int, kMaxQuestions + 1> values_{};
};

std::size_t Count(const std::string& s, const std::string& what) {
    std::size_t n = 0;
    for (auto p = s.find(what); p != std::string::npos; p = s.find(what, p + 1)) ++n;
    return n;
}

}  // namespace

TEST(BuildSheet, BaseNameAndHeaders) {
    ScriptedKind kind({7});
    RandomSource rng(0);  // the first two draws of R(100) from seed 0 are 0 and 3
    SheetSettings s;
    s.level = 2;
    s.count = 1;
    s.title = "T<b>itre<zz>";
    s.instruction = "Faire";
    const Sheet sheet = BuildSheet(kind, rng, s);
    EXPECT_EQ(sheet.baseName, "Test_N2_00_03");
    EXPECT_EQ(kind.level_, 2);
    const std::string subjectHead =
        std::string(kRtfHeader) +
        "\\f0 \\fs18 Test_N2_00_03 - \\ul T\\b itre\\'3czz>\\ul0 \\par \\par "
        "\\b Faire\\b \\par \\par \\b0 ";
    EXPECT_EQ(sheet.subject.substr(0, subjectHead.size()), subjectHead);
    EXPECT_NE(sheet.answerKey.find("Test_N2_00_03 - \\b Corrig\xE9\\b0  - \\ul T\\b itre"),
              std::string::npos);
    EXPECT_EQ(sheet.subject.back(), '}');
    EXPECT_EQ(sheet.answerKey.back(), '}');
}

TEST(BuildSheet, SeparatorNumberingAndInterline) {
    struct Case {
        int count;
        int interline;
        bool separatorOn;
        std::string separator;
    };
    const Case cases[] = {{1, 1, true, "---"},
                          {3, 0, true, "xxxx"},
                          {3, 10, false, "---"},
                          {4, 2, true, "2024"},
                          {2, 1, true, ""}};
    for (const auto& c : cases) {
        std::vector<int> draws;
        for (int i = 1; i <= c.count; ++i) draws.push_back(100 + i);
        ScriptedKind kind(draws);
        RandomSource rng(1);
        SheetSettings s;
        s.count = c.count;
        s.interline = c.interline;
        s.separatorOn = c.separatorOn;
        s.separator = c.separator;
        const Sheet sheet = BuildSheet(kind, rng, s);
        const std::string sep = c.separatorOn ? c.separator + "\\par " : " ";
        std::string subject, key;
        for (int i = 1; i <= c.count; ++i) {
            const std::string n = std::to_string(i);
            subject += sep + n + "\xB0/   " + SubjectOf(100 + i);
            if (i < c.count)
                for (int k = 0; k < c.interline; ++k) subject += "\\par ";
            key += sep + n + "\xB0/   " + KeyOf(100 + i);
        }
        subject += "}";
        key += "}";
        EXPECT_TRUE(sheet.subject.ends_with(subject)) << c.count << "/" << c.interline;
        EXPECT_TRUE(sheet.answerKey.ends_with(key)) << c.count << "/" << c.interline;
        EXPECT_EQ(sheet.log.size(), static_cast<std::size_t>(c.count));
    }
}

TEST(BuildSheet, DuplicatesAreDrawnAgainAndLogged) {
    // 5 and 6 are drawn twice; "1" then "12" are distinct keys.
    ScriptedKind kind({5, 6, 5, 6, 5, 1, 12});
    RandomSource rng;
    SheetSettings s;
    s.count = 4;
    const Sheet sheet = BuildSheet(kind, rng, s);
    const std::vector<std::string> log{"q1=5", "q2=6", "q3=5", "q3=6", "q3=5", "q3=1", "q4=12"};
    EXPECT_EQ(sheet.log, log);
    EXPECT_NE(sheet.subject.find("3\xB0/   " + SubjectOf(1)), std::string::npos);
    EXPECT_NE(sheet.subject.find("4\xB0/   " + SubjectOf(12) + "}"), std::string::npos);
}

TEST(BuildSheet, OutOfRangeSettingsAreClamped) {
    std::vector<int> draws(60);
    for (int k = 0; k < 60; ++k) draws[static_cast<std::size_t>(k)] = k;
    ScriptedKind kind(draws);
    RandomSource rng;
    SheetSettings s;
    s.count = 99;
    s.level = 7;
    s.interline = -3;
    const Sheet sheet = BuildSheet(kind, rng, s);
    EXPECT_EQ(sheet.log.size(), 40u);
    EXPECT_EQ(kind.level_, 3);
    EXPECT_EQ(Count(sheet.subject, "\\par \\par -"), 0u);
}

TEST(SeenQuestions, ExactMatchOnly) {
    SeenQuestions seen;
    seen.Clear();
    EXPECT_TRUE(seen.IsSeenQuestion(""));  // empty entries match an empty key
    seen.Store(1, "123");
    EXPECT_TRUE(seen.IsSeenQuestion("123"));
    EXPECT_FALSE(seen.IsSeenQuestion("12"));
    EXPECT_EQ(DuplicateKeyOf(std::array<std::int32_t, 3>{1, 23, -4}), "123-4");
    EXPECT_EQ(DuplicateKeyOf(std::array<std::int32_t, 3>{12, 3, -4}), "123-4");
}

namespace {

// An equation's value at (x, y), read from its atoms as mathematics.
Surd ValueOf(const WrittenEquation& e, const Surd& x, const Surd& y) {
    const SidePolynomial p = EquationPolynomial(e);
    return Surd(p.c) + Surd(p.x) * x + Surd(p.x2) * x * x + Surd(p.y) * y;
}

}  // namespace

// Every statement, read as mathematics, holds at its result: the model says what the
// documents show, for any renderer to write.
TEST(SheetModel, StatementsHoldAtTheirResults) {
    for (std::string_view name : {"1d", "2d", "syst"})
        for (int level = 1; level <= 3; ++level)
            for (std::uint32_t seed = 1; seed <= 25; ++seed) {
                const auto kind = MakeKind(name);
                RandomSource rng(seed);
                SheetSettings s;
                s.level = level;
                s.count = kMaxQuestions;
                for (const QuestionModel& q : BuildSheetModel(*kind, rng, s).questions) {
                    if (q.result.verdict != Verdict::Values) continue;
                    const auto& v = q.result.values;
                    const bool system = name == "syst";
                    ASSERT_EQ(q.statement.lines.size(), system ? 2u : 1u);
                    for (std::size_t root = 0; root < (name == "2d" ? 2u : 1u); ++root)
                        for (const WrittenEquation& e : q.statement.lines) {
                            const Surd x = *v[root].exact, y = system ? *v[1].exact : Surd(0);
                            ASSERT_EQ(ValueOf(e, x, y), Surd(0))
                                << name << " level " << level << " seed " << seed;
                        }
                }
            }
}
