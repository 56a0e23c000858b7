// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <initializer_list>
#include <string>
#include <string_view>

namespace equat {

// The tools speak French under a French locale (the first of LC_ALL, LC_MESSAGES, LANG
// set) when the translations are built in, English otherwise. Call Tr only inside
// namespace equat: lupdate takes the namespace as the texts' context.
bool ToolsInFrench();

// For functions at namespace scope that call Tr: lupdate takes a qualified return type
// such as std::string for the context.
using Text = std::string;

// source (English, UTF-8) in the tools' language, %1, %2, ... replaced by args.
std::string Tr(const char* source, std::initializer_list<std::string_view> args = {});

// A message of the core (UTF-8), whose fixed phrases are French where the window shows
// them and English elsewhere, with those phrases in the tools' language.
std::string CoreText(std::string text);

}  // namespace equat
