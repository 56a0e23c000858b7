// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <QDialog>
#include <QGroupBox>

#include "core/adapted.h"

class QCheckBox;
class QComboBox;

namespace equat {

// The choices of the adapted layout (font, size, spacing, cream page, key), shared by the
// class-set dialog and the window's settings dialog. For a set, "Toutes les copies" turns it
// on (otherwise only the names marked A have it); for the pair on screen, the group's own
// check does.
class AdaptedLayoutBox : public QGroupBox {
    Q_OBJECT
  public:
    AdaptedLayoutBox(QWidget* parent, bool forSet);
    AdaptedLayout Layout() const;
    void SetLayout(const AdaptedLayout& layout);

    QComboBox* cbPolice;
    QComboBox* cbTaille;
    QComboBox* cbInterligne;
    QCheckBox* ckbCreme;
    QCheckBox* ckbCorrigeAdapte;
    QCheckBox* ckbToutes = nullptr;  // for a set only

  signals:
    void Changed();
};

// "Mise en page adaptée" of the window's Feuille menu: the choices for the pair on screen.
class AdaptedLayoutDialog : public QDialog {
    Q_OBJECT
  public:
    explicit AdaptedLayoutDialog(QWidget* parent);
    AdaptedLayoutBox* box;
};

}  // namespace equat
