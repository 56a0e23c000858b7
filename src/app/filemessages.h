// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <QString>
#include <optional>
#include <string>
#include <vector>

class QWidget;

namespace equat {

// What the window and its dialogs say around the files they write, the same words
// everywhere. Paths are as the file functions take them (QFile::encodeName).

QString FileNameOf(const std::string& path);
// The question before replacing the files of `paths` that exist in `folder`; nullopt when
// none does.
std::optional<QString> ReplaceQuestion(const std::vector<std::string>& paths,
                                       const QString& folder);
// "2 fichiers enregistrés dans <folder> :" and their names, the first few.
QString WrittenMessage(const std::vector<std::string>& written, const QString& folder);

// The real boxes, for those that have no replacement of their own (tests answer them).
bool RunConfirmBox(QWidget* parent, const QString& title, const QString& question);
void RunDoneBox(QWidget* parent, const QString& title, const QString& message,
                const QString& folder);

}  // namespace equat
