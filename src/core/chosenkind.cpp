// SPDX-License-Identifier: GPL-3.0-or-later
// A sheet drawn under DrawChoices: its questions spread over kinds and levels, each of a
// case it may be of and with solutions of the asked kind.
#include <bit>
#include <numeric>

#include "core/kinds.h"
#include "core/numbertext.h"

namespace equat {

namespace {

// Draws of one question before the last one is kept as it is. Every choice the checks let
// through is drawn far sooner (the kinds draw the rare cases in their own targeted draws),
// so this only bounds the time of a fault.
constexpr int kMaxChosenAttempts = 1 << 18;

class ChosenKind final : public QuestionKind {
  public:
    ChosenKind(int kind, const DrawChoices& choices) : kind_(kind), choices_(choices) {}

    std::string_view BaseNamePrefix() const override {
        return choices_.IsMixed() ? "Mixte_N" : kSheetKinds[kind_].make()->BaseNamePrefix();
    }
    std::string BaseNameOf(int level) const override {
        return std::string(BaseNamePrefix()) + (choices_.progressive ? "1-3" : DecimalText(level));
    }
    // The parts stay from sheet to sheet, as a kind's tables do: remade, each would
    // allocate its questions' texts again.
    void Begin(int level) override {
        level_ = level;
        for (auto& part : parts_) part.count = -1;
    }
    void Prepare(RandomSource& rng, int count) override;
    void Draw(RandomSource& rng, int i) override;
    std::string DiagnosticEntry(int i) const override {
        // The part numbers its own questions: the sheet's number instead.
        const std::string entry = Part(i).DiagnosticEntry(Local(i));
        return DecimalText(i) + entry.substr(DecimalText(Local(i)).size());
    }
    std::string DuplicateKey(int i) const override {
        return DecimalText(Slot(i).part) + ":" + Part(i).DuplicateKey(Local(i));
    }
    QuestionModel Model(int i, bool steps) const override { return Part(i).Model(Local(i), steps); }
    QuestionResult Result(int i) const override { return Part(i).Result(Local(i)); }

  private:
    struct Position {
        int part = 0, local = 0;
        int target = -1;  // the case it must be of; -1: any picked one
    };
    struct KindPart {
        int kind, level;
        std::unique_ptr<QuestionKind> questions;
        int count = 0;  // -1: not begun on this sheet
    };
    const Position& Slot(int i) const { return positions_.at(static_cast<std::size_t>(i)); }
    const QuestionKind& Part(int i) const { return *parts_.at(Slot(i).part).questions; }
    int Local(int i) const { return Slot(i).local; }
    int PartOf(int kind, int level);
    std::vector<int> Kinds() const;

    int kind_;
    DrawChoices choices_;
    int level_ = 1;
    std::vector<KindPart> parts_;
    std::array<Position, kMaxQuestions + 1> positions_{};
};

std::vector<int> ChosenKind::Kinds() const {
    if (!choices_.IsMixed()) return {kind_};
    std::vector<int> kinds;
    for (int k = 0; k < kKindCount; ++k)
        if ((choices_.mixedKinds >> k) & 1u) kinds.push_back(k);
    return kinds;
}

int ChosenKind::PartOf(int kind, int level) {
    std::size_t p = 0;
    while (p < parts_.size() && (parts_[p].kind != kind || parts_[p].level != level)) ++p;
    if (p == parts_.size()) parts_.push_back({kind, level, kSheetKinds[kind].make(), -1});
    if (parts_[p].count < 0) {
        parts_[p].questions->Begin(level);
        parts_[p].count = 0;
    }
    return static_cast<int>(p);
}

void ChosenKind::Prepare(RandomSource& rng, int count) {
    const std::vector<int> kinds = Kinds();
    const int k = static_cast<int>(kinds.size());
    // Which kind each question is of: blocks in the table's order, or in turn.
    std::vector<std::vector<int>> of(kinds.size());
    for (int p = 0; p < count; ++p)
        of[static_cast<std::size_t>(choices_.interleaved ? p % k : p * k / count)].push_back(p + 1);
    for (std::size_t g = 0; g < kinds.size(); ++g) {
        const unsigned picked = KindPickedCases(choices_, kinds[g]);
        const int pickedCount = std::popcount(picked);
        const auto& mine = of[g];
        const int m = static_cast<int>(mine.size());
        for (int t = 0; t < m; ++t) {
            const int level = choices_.progressive ? 1 + 3 * t / m : level_;
            Position& pos = positions_.at(static_cast<std::size_t>(mine[t]));
            pos.part = PartOf(kinds[g], level);
            pos.local = ++parts_[pos.part].count;
            pos.target = -1;
        }
        // A restricted choice of cases is drawn in equal shares: a level that never gives a
        // case by itself still gives it.
        if (picked != KindPickedCases(DrawChoices{}, kinds[g]))
            for (int i : mine) {
                int nth = pickedCount > 1 ? rng.RandomInt(pickedCount) : 0;
                for (int c = 0; c < kCaseCount; ++c)
                    if (((picked >> c) & 1u) && nth-- == 0) positions_[i].target = c;
            }
        if (!choices_.everyCase) continue;
        // Each picked case on a question of its own, the questions drawn at random.
        std::vector<int> order = mine;
        for (int j = m - 1; j > 0; --j) std::swap(order[j], order[rng.RandomInt(j + 1)]);
        int next = 0;
        for (int c = 0; c < kCaseCount && next < m; ++c)
            if ((picked >> c) & 1u) positions_[order[next++]].target = c;
    }
}

void ChosenKind::Draw(RandomSource& rng, int i) {
    const Position& pos = Slot(i);
    QuestionKind& part = *parts_.at(pos.part).questions;
    const unsigned picked = KindPickedCases(choices_, parts_.at(pos.part).kind);
    int target = pos.target;
    if (target < 0 && choices_.solutions != Solutions::Any) {
        // The case as the level itself gives it, then that case with the asked solutions:
        // restricting the solutions keeps the level's mix of cases (integer roots are so
        // rare that they would otherwise leave a sheet of "no real root").
        part.DrawToward(rng, pos.local, -1, Solutions::Any);
        const QuestionResult r = part.Result(pos.local);
        target = CaseOf(r);
        if (((picked >> target) & 1u) == 0) {
            target = -1;
        } else if (SolutionsAre(r, choices_.solutions)) {
            return;
        }
    }
    for (int attempt = 0; attempt < kMaxChosenAttempts; ++attempt) {
        part.DrawToward(rng, pos.local, target, choices_.solutions);
        const QuestionResult r = part.Result(pos.local);
        const int c = CaseOf(r);
        if (((picked >> c) & 1u) && (target < 0 || c == target) &&
            SolutionsAre(r, choices_.solutions))
            return;
    }
}

}  // namespace

std::unique_ptr<QuestionKind> MakeSheetKind(std::string_view name, const DrawChoices& choices) {
    const int kind = KindIndex(name);
    if (kind < 0) return nullptr;
    if (choices.IsDefault()) return kSheetKinds[kind].make();
    return std::make_unique<ChosenKind>(kind, choices);
}

}  // namespace equat
