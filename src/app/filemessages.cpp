// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/filemessages.h"

#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMessageBox>
#include <QPushButton>
#include <QStringList>
#include <QUrl>

namespace equat {

QString FileNameOf(const std::string& path) {
    return QFileInfo(QFile::decodeName(path.c_str())).fileName();
}

std::optional<QString> ReplaceQuestion(const std::vector<std::string>& paths,
                                       const QString& folder) {
    QStringList existing;
    for (const auto& path : paths)
        if (QFileInfo::exists(QFile::decodeName(path.c_str()))) existing << FileNameOf(path);
    if (existing.isEmpty()) return std::nullopt;
    const QString where = QDir::toNativeSeparators(folder);
    return existing.size() == 1 ? QString("Le fichier %1 existe déjà dans %2. Le remplacer ?")
                                      .arg(existing[0], where)
                                : QString("%1 fichiers existent déjà dans %2 (%3). Les remplacer ?")
                                      .arg(existing.size())
                                      .arg(where, existing.join(", "));
}

QString WrittenMessage(const std::vector<std::string>& written, const QString& folder) {
    QStringList names;
    for (const auto& name : written) names << FileNameOf(name);
    constexpr int kListed = 6;
    if (names.size() > kListed) names = names.mid(0, kListed) << "…";
    const QString where = QDir::toNativeSeparators(folder);
    return written.size() == 1
               ? QString("Fichier enregistré dans %1 :\n%2").arg(where, names.join('\n'))
               : QString("%1 fichiers enregistrés dans %2 :\n%3")
                     .arg(written.size())
                     .arg(where, names.join('\n'));
}

bool RunConfirmBox(QWidget* parent, const QString& title, const QString& question) {
    return QMessageBox::question(parent, title, question, QMessageBox::Yes | QMessageBox::No,
                                 QMessageBox::No) == QMessageBox::Yes;
}

void RunDoneBox(QWidget* parent, const QString& title, const QString& message,
                const QString& folder) {
    QMessageBox box(QMessageBox::Information, title, message, QMessageBox::Ok, parent);
    box.setObjectName("FilesDone");
    QPushButton* open = box.addButton("Ouvrir le dossier", QMessageBox::ActionRole);
    box.exec();
    if (box.clickedButton() == open) QDesktopServices::openUrl(QUrl::fromLocalFile(folder));
}

}  // namespace equat
