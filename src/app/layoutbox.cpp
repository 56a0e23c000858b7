// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/layoutbox.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QVBoxLayout>
#include <algorithm>
#include <iterator>

#include "settings/qtcp1252.h"

namespace equat {

AdaptedLayoutBox::AdaptedLayoutBox(QWidget* parent, bool forSet)
    : QGroupBox("Mise en page adaptée", parent) {
    setObjectName("gbAdaptee");
    setToolTip(
        "Les mêmes questions et résultats, plus faciles à lire : une police simple, plus "
        "grande, des lignes espacées, un x droit, de la place pour écrire");
    cbPolice = new QComboBox(this);
    cbPolice->setObjectName("cbPolice");
    for (const auto& f : kAdaptedFonts) cbPolice->addItem(FromCp1252(f.label));
    cbPolice->setToolTip("Police du texte ; un signe qui lui manque vient d'une autre police");
    cbTaille = new QComboBox(this);
    cbTaille->setObjectName("cbTaille");
    for (int size : kAdaptedSizes) cbTaille->addItem(QString("%1 points").arg(size));
    cbTaille->setToolTip("Taille du texte");
    cbInterligne = new QComboBox(this);
    cbInterligne->setObjectName("cbInterligne");
    cbInterligne->addItems({"1,5", "2"});
    cbInterligne->setToolTip("Espace entre les lignes, en hauteurs de ligne");
    ckbCreme = new QCheckBox("Page crème (PDF)", this);
    ckbCreme->setObjectName("ckbCreme");
    ckbCreme->setToolTip("Un fond crème plutôt que blanc dans le PDF, moins éblouissant");
    ckbCorrigeAdapte = new QCheckBox("Corrigé adapté aussi", this);
    ckbCorrigeAdapte->setObjectName("ckbCorrigeAdapte");
    ckbCorrigeAdapte->setToolTip("Le corrigé dans la même mise en page");
    auto* form = new QFormLayout(this);
    if (forSet) {
        ckbToutes = new QCheckBox("Toutes les copies", this);
        ckbToutes->setObjectName("ckbToutes");
        ckbToutes->setToolTip(
            "Toutes les copies en mise en page adaptée ; sinon seulement les noms suivis de "
            "« ;A » (par exemple « Inès Ba;;A », ou « Tom Martin;3;A » au niveau 3)");
        form->addRow(ckbToutes);
        connect(ckbToutes, &QCheckBox::toggled, this, &AdaptedLayoutBox::Changed);
    } else {
        setCheckable(true);
        setToolTip(toolTip() + " ; décoché : la mise en page standard");
        connect(this, &QGroupBox::toggled, this, &AdaptedLayoutBox::Changed);
    }
    form->addRow("Police", cbPolice);
    form->addRow("Taille", cbTaille);
    form->addRow("Interligne", cbInterligne);
    form->addRow(ckbCreme);
    form->addRow(ckbCorrigeAdapte);
    for (QComboBox* c : {cbPolice, cbTaille, cbInterligne})
        connect(c, &QComboBox::currentIndexChanged, this, &AdaptedLayoutBox::Changed);
    for (QCheckBox* c : {ckbCreme, ckbCorrigeAdapte})
        connect(c, &QCheckBox::toggled, this, &AdaptedLayoutBox::Changed);
    SetLayout(AdaptedLayout{});
}

AdaptedLayout AdaptedLayoutBox::Layout() const {
    AdaptedLayout l;
    l.on = ckbToutes ? ckbToutes->isChecked() : isChecked();
    l.font = kAdaptedFonts[std::clamp(cbPolice->currentIndex(), 0, kAdaptedFontCount - 1)].font;
    l.size = kAdaptedSizes[std::clamp(cbTaille->currentIndex(), 0, 2)];
    l.doubleSpacing = cbInterligne->currentIndex() == 1;
    l.cream = ckbCreme->isChecked();
    l.key = ckbCorrigeAdapte->isChecked();
    return l;
}

void AdaptedLayoutBox::SetLayout(const AdaptedLayout& layout) {
    if (ckbToutes) {
        ckbToutes->setChecked(layout.on);
    } else {
        setChecked(layout.on);
    }
    for (int k = 0; k < kAdaptedFontCount; ++k)
        if (kAdaptedFonts[k].font == layout.font) cbPolice->setCurrentIndex(k);
    for (int k = 0; k < 3; ++k)
        if (kAdaptedSizes[k] == layout.size) cbTaille->setCurrentIndex(k);
    cbInterligne->setCurrentIndex(layout.doubleSpacing ? 1 : 0);
    ckbCreme->setChecked(layout.cream);
    ckbCorrigeAdapte->setChecked(layout.key);
}

AdaptedLayoutDialog::AdaptedLayoutDialog(QWidget* parent) : QDialog(parent) {
    setObjectName("AdaptedLayoutDialog");
    setWindowTitle("Mise en page adaptée");
    box = new AdaptedLayoutBox(this, false);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* all = new QVBoxLayout(this);
    all->addWidget(box);
    all->addWidget(buttons);
}

}  // namespace equat
