// SPDX-License-Identifier: GPL-3.0-or-later
// The toolkit's own texts must reach the teacher in French: context menus, standard
// buttons, the input box, the save dialog and the printer dialog.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QFileDialog>
#include <QInputDialog>
#include <QLabel>
#include <QMenu>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>
#include <functional>
#include <memory>

#include "app/run.h"
#include "app/uequat.h"
#include "platform/richedit.h"
#include "qt_environment.h"

namespace equat {
namespace {

// Every text a widget shows: its title, its actions, its buttons and its labels, without
// mnemonics and shortcuts.
QStringList ShownTexts(QWidget& widget) {
    QStringList texts{widget.windowTitle()};
    for (QAction* action : widget.actions()) texts << action->text();
    for (auto* button : widget.findChildren<QAbstractButton*>()) texts << button->text();
    for (auto* label : widget.findChildren<QLabel*>()) texts << label->text();
    for (QString& text : texts) text = text.section('\t', 0, 0).remove('&').trimmed();
    return texts;
}

struct Case {
    const char* name;
    std::function<QWidget*(TForm1&)> open;
    QStringList french;
    QStringList english;
};

TEST(ToolkitTranslations, EveryToolkitTextATeacherSeesIsFrench) {
    ASSERT_TRUE(InstallToolkitTranslations(*QCoreApplication::instance()))
        << "Qt's French catalogue (qtbase_fr.qm) is not installed";
    const std::vector<Case> cases = {
        {"subject context menu",
         [](TForm1& form) { return form.RxE1->createStandardContextMenu(); },
         {"Copier", "Tout sélectionner"},
         {"Copy", "Select All"}},
        {"subject context menu in edit mode",
         [](TForm1& form) {
             form.RxE1->setReadOnly(false);
             return form.RxE1->createStandardContextMenu();
         },
         {"Annuler", "Rétablir", "Couper", "Copier", "Coller", "Supprimer", "Tout sélectionner"},
         {"Undo", "Redo", "Cut", "Copy", "Paste", "Delete", "Select All"}},
        {"title field context menu",
         [](TForm1& form) { return form.eTitre1->createStandardContextMenu(); },
         {"Couper", "Coller", "Tout sélectionner"},
         {"Cut", "Paste", "Select All"}},
        {"error box",
         [](TForm1& form) {
             return new QMessageBox(QMessageBox::Critical, "Equat", "x",
                                    QMessageBox::Ok | QMessageBox::Cancel, &form);
         },
         {"Annuler"},
         {"Cancel"}},
        {"input box",
         [](TForm1& form) { return new QInputDialog(&form); },
         {"Annuler"},
         {"Cancel"}},
        {"save dialog",
         [](TForm1& form) {
             auto* dialog = new QFileDialog(&form);
             dialog->setOption(QFileDialog::DontUseNativeDialog);
             dialog->setAcceptMode(QFileDialog::AcceptSave);
             return dialog;
         },
         {"Enregistrer", "Annuler", "Nom de fichier :"},
         {"Save", "Cancel", "File name:"}},
    };
    for (const Case& c : cases) {
        TForm1 form;
        const std::unique_ptr<QWidget> widget(c.open(form));
        ASSERT_TRUE(widget) << c.name;
        widget->show();
        const QStringList texts = ShownTexts(*widget);
        for (const QString& text : c.french)
            EXPECT_TRUE(texts.contains(text)) << c.name << ": no \"" << text.toStdString()
                                              << "\" in " << texts.join('|').toStdString();
        for (const QString& text : c.english)
            EXPECT_FALSE(texts.contains(text))
                << c.name << ": still \"" << text.toStdString() << '"';
    }
}

TEST(ToolkitTranslations, PrinterDialogIsFrench) {
    ASSERT_TRUE(InstallToolkitTranslations(*QCoreApplication::instance()));
    QPrinter printer;
    QPrintDialog dialog(&printer);
    dialog.show();
    const QStringList texts = ShownTexts(dialog);
    EXPECT_TRUE(texts.contains("Imprimer")) << texts.join('|').toStdString();
    EXPECT_FALSE(texts.contains("Print"));
    EXPECT_FALSE(texts.contains("Cancel"));
}

}  // namespace
}  // namespace equat
