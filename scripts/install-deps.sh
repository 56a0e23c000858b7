#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs the Debian 12 packages that building, running and testing need.
# Only missing packages are installed, so a second run is quick and quiet.
set -euo pipefail

packages=(
  # build
  build-essential cmake ninja-build pkg-config clang-14 libclang-rt-14-dev clang-format
  libgtest-dev libgmock-dev libbenchmark-dev
  # zlib: the OpenDocument exports' zip archives; libdeflate: the PDF streams
  zlib1g-dev libdeflate-dev
  # tests: an independent reader of the .odt archives
  libzip-dev
  # tests: the exports' XML checked well-formed
  libxml2-utils
  # Qt 6 and what its widgets need at run time
  qt6-base-dev qt6-svg-dev libgl-dev qt6-qpa-plugins
  # lupdate and lrelease: the tools' French texts
  qt6-l10n-tools
  # the toolkit's own texts in French (menus, standard buttons, file and print dialogs)
  qt6-translations-l10n
  # fonts metric-compatible with the documents' fonts
  fonts-liberation fonts-dejavu-core
  # the fonts of adapted copies (DejaVu Sans is above)
  fonts-sil-andika fonts-opendyslexic
  # tests: a display, screenshots, PDF text, LibreOffice for interoperability, a print service
  xvfb xauth imagemagick poppler-utils libreoffice-writer-nogui
  cups cups-client cups-bsd cups-ipp-utils printer-driver-cups-pdf
  # packaging
  desktop-file-utils dpkg-dev file lintian appstream man-db
)

# With --tests, what only the tests need and a teacher's first start should not wait for: the
# LaTeX exports compiled with pdflatex (Times, French, TikZ for the graphs) and prepared by the
# multiple-choice package's own tool (it brings a large TeX Live), its scoring data read with
# sqlite3.
if [[ ${1:-} == --tests ]]; then
  packages+=(
    texlive-latex-base texlive-latex-recommended texlive-fonts-recommended texlive-lang-french
    texlive-pictures auto-multiple-choice sqlite3
  )
fi

missing=()
for p in "${packages[@]}"; do
  [[ $p == \#* ]] && continue
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done

if ((${#missing[@]})); then
  echo "Installing: ${missing[*]}"
  sudo_cmd=()
  [[ $(id -u) -ne 0 ]] && sudo_cmd=(sudo)
  # A machine that has just started often runs its own package updates: wait for their
  # lock rather than fail at once.
  lock_wait=${EQUAT_APT_LOCK_TIMEOUT:-600}
  echo "Waiting up to ${lock_wait} s for the package lock if another install holds it"
  apt_opts=(-o "DPkg::Lock::Timeout=${lock_wait}")
  "${sudo_cmd[@]}" apt-get "${apt_opts[@]}" update -qq
  DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get "${apt_opts[@]}" install -y -qq \
    --no-install-recommends "${missing[@]}"
fi
