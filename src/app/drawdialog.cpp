// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/drawdialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QVBoxLayout>

#include "core/kinds.h"

namespace equat {

namespace {

QString FromCp1252(std::string_view s) {
    QString out;
    for (char c : s) out += QChar(static_cast<unsigned char>(c));
    return out;
}

// The label of case bit c for every kind: "Une solution / Deux racines / Une solution".
QString CaseLabel(int c) {
    QStringList names;
    for (int k = 0; k < kKindCount; ++k)
        for (const auto& info : KindCases(k))
            if (info.bit == c && !names.contains(FromCp1252(info.label)))
                names << FromCp1252(info.label);
    return names.join(" / ");
}

}  // namespace

DrawDialog::DrawDialog(const DrawChoices& choices, QWidget* parent) : QDialog(parent) {
    setObjectName("DrawDialog");
    setWindowTitle("Tirage");
    auto* form = new QFormLayout;
    for (int c = 0; c < kCaseCount; ++c) {
        cases_[c] = new QCheckBox(CaseLabel(c), this);
        cases_[c]->setChecked((choices.PickedCases() >> c) & 1u);
        cases_[c]->setToolTip(
            "Les cas que la feuille peut poser (1d / 2d / syst) ; tous coch\xC3\xA9s : le "
            "tirage habituel");
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
    for (int k = 0; k < kKindCount; ++k) {
        kinds_[k] = new QCheckBox(FromCp1252(kSheetKinds[k].caption), this);
        kinds_[k]->setChecked((choices.mixedKinds >> k) & 1u);
        kinds_[k]->setToolTip(
            "Feuille m\xC3\xAAl\xC3\xA9"
            "e : les types coch\xC3\xA9s et celui du bouton, "
            "num\xC3\xA9rot\xC3\xA9s comme une seule feuille");
        form->addRow(k == 0 ? "M\xC3\xAAler :" : "", kinds_[k]);
    }
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
