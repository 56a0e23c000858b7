// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <QDialog>

#include "core/drawchoices.h"
#include "core/kinds.h"

class QCheckBox;
class QComboBox;

namespace equat {

// "Tirage…": the cases, the kind of solutions, a progressive or a mixed sheet.
class DrawDialog : public QDialog {
  public:
    DrawDialog(const DrawChoices& choices, QWidget* parent);
    DrawChoices Choices() const;

  private:
    QCheckBox* cases_[kCaseCount]{};
    QCheckBox* every_;
    QComboBox* solutions_;
    QCheckBox* progressive_;
    QCheckBox* kinds_[kKindCount]{};  // in kSheetKinds' order
    QComboBox* mix_;
};

}  // namespace equat
