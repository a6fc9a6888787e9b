#!/usr/bin/env bash
# Checks that a report saved as RTF opens in a real word processor with the
# same lines: writes sample report lines (or the lines of a UTF-8 text file
# given as the argument) through the program's RTF writer, converts the RTF
# to text with LibreOffice headless and compares the lines.
#
#   bench/rtf_libreoffice_check.sh [lines.txt]
#
# Needs a built tree (./run build) and LibreOffice:
#   apt-get install -y libreoffice-writer-nogui
# Not part of CI.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
soffice=$(command -v soffice || command -v libreoffice || true)
[ -n "$soffice" ] || { echo "LibreOffice (soffice) is not installed" >&2; exit 2; }
[ -f build/libkorvana_gui.a ] || { echo "build first: ./run build" >&2; exit 2; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

if [ $# -ge 1 ]; then
  cp "$1" "$work/lines.txt"
else
  # Report lines with trailing spaces, Cyrillic, the RTF specials, symbols of
  # Windows-1251 and characters outside it.
  cat > "$work/lines.txt" <<'LINES'
Всего раздач: 50

Расклад      N         E         S         W       Всего       Пики      Червы     Бубны     Трефы     Всего  
4-3-3-3   (5)10.00  (7)14.00  (0) 0.00 (12)24.00 (24)12.00     (3) 6.00  (4) 8.00  (5)10.00  (6)12.00 (18) 9.00
 1.       J542               2.       AJ62               
   98          AKQT63         4            K873         
набрано пользователем: {скобки} и \обратная\ черта, \par \'e0 \u1234?
№ «ёлка» — € ‰ ™ Ђ ў ї
♠AK ♥QJ ♦T9 ♣876 中文 🂡
	табуляция	внутри
LINES
fi

# A small program that writes the lines through the report writer.
cat > "$work/write_rtf.cpp" <<'CPP'
#include <QFile>
#include <QStringList>
#include "reports/windows/ReportFiles.h"
int main(int argc, char** argv) {
    QFile in(QString::fromLocal8Bit(argv[1]));
    if (argc < 3 || !in.open(QIODevice::ReadOnly)) return 2;
    QStringList lines = QString::fromUtf8(in.readAll()).split('\n');
    if (!lines.isEmpty() && lines.last().isEmpty()) lines.removeLast();
    const QString failure = WriteReportFile(QString::fromLocal8Bit(argv[2]), TReportFormat::RichText, lines);
    return failure.isEmpty() ? 0 : 1;
}
CPP
g++ -std=c++20 -fPIC -I"$root/src" "$work/write_rtf.cpp" "$root/build/libkorvana_gui.a" \
  $(pkg-config --cflags --libs Qt6Core) -o "$work/write_rtf"
"$work/write_rtf" "$work/lines.txt" "$work/report.rtf"

"$soffice" --headless --norestore "-env:UserInstallation=file://$work/profile" \
  --convert-to "txt:Text (encoded):UTF8" --outdir "$work/out" "$work/report.rtf" >/dev/null 2>&1
[ -f "$work/out/report.txt" ] || { echo "LibreOffice did not convert the file" >&2; exit 1; }
# Strip a byte-order mark and carriage returns before comparing.
sed -e '1s/^\xEF\xBB\xBF//' -e 's/\r$//' "$work/out/report.txt" > "$work/back.txt"

if diff -u "$work/lines.txt" "$work/back.txt"; then
  echo "OK: $(wc -l < "$work/lines.txt") lines read back unchanged by LibreOffice"
  font=$(grep -o 'fcharset204 Courier New' "$work/report.rtf" || true)
  echo "font table: ${font:-missing}"
else
  echo "DIFFERENT: LibreOffice read other lines (diff above)" >&2
  exit 1
fi
