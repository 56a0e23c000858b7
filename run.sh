#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs what is missing, builds, and starts Equat.
set -euo pipefail
cd "$(dirname "$0")"
./scripts/install-deps.sh
cmake --preset dev -DEQUAT_GUI=ON >/dev/null
cmake --build build -j "$(nproc)"
if [[ -x build/bin/equat && ( -n ${DISPLAY:-} || -n ${WAYLAND_DISPLAY:-} ) ]]; then
  exec build/bin/equat "$@"
fi
[[ -x build/bin/equat ]] && echo "Aucun affichage graphique (DISPLAY) : la fenêtre ne peut pas s'ouvrir."
mkdir -p out
build/bin/equat-sheet --kind 1d --level 2 --count 25 --output out/feuille.rtf
echo "Sample worksheet written: out/feuille.rtf and its answer key out/feuille_Cor.rtf"
