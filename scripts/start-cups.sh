#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Starts the print service (when it is not running) with a PDF queue "equat-pdf" for the
# printing tests, and prints the queue's output folder. Exit status 0 when the queue is
# ready, 1 when the print service cannot start here (the printing tests then skip).
set -uo pipefail

queue=${EQUAT_TEST_PRINTER:-equat-pdf}
out=/var/spool/cups-pdf/$queue

say() { echo "start-cups: $*" >&2; }

if [[ $(id -u) -ne 0 ]]; then
  say "not root: cannot start the print service or add a queue"
  exit 1
fi
for tool in cupsd lpadmin lpstat lpinfo; do
  if ! command -v "$tool" >/dev/null; then
    say "$tool is missing (scripts/install-deps.sh installs cups)"
    exit 1
  fi
done

if ! lpstat -r 2>/dev/null | grep -q 'is running'; then
  cupsd || { say "cupsd did not start"; exit 1; }
  for _ in $(seq 50); do
    lpstat -r 2>/dev/null | grep -q 'is running' && break
    sleep 0.1
  done
  if ! lpstat -r 2>/dev/null | grep -q 'is running'; then
    say "the print service does not answer"
    exit 1
  fi
fi

# The PDF queue's own settings (read by the backend for the URI cups-pdf:/QUEUE): a folder
# of its own, every file named with its job number.
mkdir -p "$out"
chmod 0777 "$out"
cat >/etc/cups/cups-pdf-"$queue".conf <<CONF
Out $out
AnonDirName $out
Label 1
CONF

ppd=$(lpinfo -m 2>/dev/null | awk '/CUPS-PDF_opt/ {print $1; exit}')
[[ -z $ppd ]] && ppd=$(lpinfo -m 2>/dev/null | awk '/CUPS-PDF/ {print $1; exit}')
if [[ -z $ppd ]]; then
  say "no CUPS-PDF driver (install printer-driver-cups-pdf)"
  exit 1
fi
# pdftocairo turns the submitted PDF into PostScript with its text still extractable.
if ! lpadmin -p "$queue" -E -v "cups-pdf:/$queue" -m "$ppd" \
    -o pdftops-renderer-default=pdftocairo 2>/dev/null; then
  say "cannot add the queue $queue"
  exit 1
fi
cupsenable "$queue" 2>/dev/null || true
cupsaccept "$queue" 2>/dev/null || true
lpadmin -d "$queue" >/dev/null 2>&1 || true
echo "$out"
