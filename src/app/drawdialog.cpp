// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/drawdialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QVBoxLayout>

#include "app/uequat.h"
#include "core/kinds.h"
#include "settings/qtcp1252.h"

namespace equat {

namespace {

constexpr int kButtonKinds = TForm1::kKindButtonCount;

// The label of case bit c in the words of the kinds that have a button: "Une solution /
// Deux racines"; every kind's words are in its hint.
QString CaseLabel(int c) {
    QStringList names;
    for (const KindInfo* kind : KindsInWindowOrder())
        for (const auto& info : kind->cases)
            if (info.bit == c && kind->place < kButtonKinds &&
                !names.contains(FromCp1252(info.label)))
                names << FromCp1252(info.label);
    return kKindCount > kButtonKinds ? names.join(" / ") + " \xE2\x80\xA6" : names.join(" / ");
}

// Case bit c as each kind words it, one kind a line.
QString CaseHint(int c) {
    QString hint = "Les cas que la feuille peut poser ; tous coch\xC3\xA9s : le tirage habituel.";
    for (const KindInfo* kind : KindsInWindowOrder())
        for (const auto& info : kind->cases)
            if (info.bit == c)
                hint += "\n" + FromCp1252(kind->caption) + " : " +
                        (info.possible ? FromCp1252(info.label) : QString("jamais"));
    return hint;
}

}  // namespace

DrawDialog::DrawDialog(const DrawChoices& choices, QWidget* parent) : QDialog(parent) {
    setObjectName("DrawDialog");
    setWindowTitle("Tirage");
    auto* form = new QFormLayout;
    for (int c = 0; c < kCaseCount; ++c) {
        cases_[c] = new QCheckBox(CaseLabel(c), this);
        cases_[c]->setChecked((choices.PickedCases() >> c) & 1u);
        cases_[c]->setToolTip(CaseHint(c));
        form->addRow(c == 0 ? "Cas :" : "", cases_[c]);
    }
    every_ = new QCheckBox("Chaque cas choisi au moins une fois", this);
    every_->setChecked(choices.everyCase);
    every_->setToolTip("Chaque cas coch\xC3\xA9 para\xC3\xAEt sur au moins une question");
    form->addRow("", every_);
    solutions_ = new QComboBox(this);
    for (const auto& s : kSolutions) solutions_->addItem(FromCp1252(s.label));
    solutions_->setCurrentIndex(static_cast<int>(choices.solutions));
    solutions_->setToolTip(
        "Entiers seulement : pour une feuille sans calculatrice ; les cas sans solution "
        "restent permis");
    form->addRow("Solutions :", solutions_);
    progressive_ = new QCheckBox("Progressive : niveaux 1, 2 puis 3 par tiers", this);
    progressive_->setChecked(choices.progressive);
    progressive_->setToolTip("Une seule feuille qui monte du niveau 1 au niveau 3");
    form->addRow("", progressive_);
    // Three kinds a row, in the order of their places, so that every kind fits on screen.
    auto* kinds = new QGridLayout;
    int shown = 0;
    for (const KindInfo* kind : KindsInWindowOrder()) {
        const auto k = static_cast<std::size_t>(kind - kSheetKinds);
        kinds_[k] = new QCheckBox(FromCp1252(kind->caption), this);
        kinds_[k]->setChecked((choices.mixedKinds >> k) & 1u);
        kinds_[k]->setToolTip(
            "Feuille m\xC3\xAAl\xC3\xA9"
            "e : les types coch\xC3\xA9s et celui du bouton, "
            "num\xC3\xA9rot\xC3\xA9s comme une seule feuille");
        kinds->addWidget(kinds_[k], shown / 3, shown % 3);
        ++shown;
    }
    form->addRow("M\xC3\xAAler :", kinds);
    mix_ = new QComboBox(this);
    mix_->addItems({"Par blocs", "En alternance"});
    mix_->setCurrentIndex(choices.interleaved ? 1 : 0);
    mix_->setToolTip("Un type apr\xC3\xA8s l'autre, ou les types tour \xC3\xA0 tour");
    form->addRow("Ordre :", mix_);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(buttons);
}

DrawChoices DrawDialog::Choices() const {
    DrawChoices c;
    for (int k = 0; k < kCaseCount; ++k)
        if (cases_[k]->isChecked()) c.cases |= 1u << k;
    // None or all: the kinds' own draw.
    if (c.cases == kAllCases) c.cases = 0;
    c.everyCase = every_->isChecked();
    c.solutions = kSolutions[solutions_->currentIndex()].value;
    c.progressive = progressive_->isChecked();
    for (int k = 0; k < kKindCount; ++k)
        if (kinds_[k]->isChecked()) c.mixedKinds |= 1u << k;
    c.interleaved = mix_->currentIndex() == 1;
    return c;
}

}  // namespace equat
