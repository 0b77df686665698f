#!/usr/bin/env bash
# Fills <corpus>/<target>/ with the demo's own files (or the parts of them each reader takes),
# plus every input that ever stopped a reader (fuzz/regressions).
#   bash fuzz/seed-corpus.sh <corpus folder>
set -euo pipefail
src=$(cd "$(dirname "$0")/.." && pwd)
out=$1
data=$src/data
mkdir -p "$out"
for t in $(cat "$src/fuzz/targets.txt"); do
  mkdir -p "$out/$t"
  if [ -d "$src/fuzz/regressions/$t" ]; then cp "$src/fuzz/regressions/$t"/* "$out/$t/" 2>/dev/null || true; fi
done
scenes=$(find "$data/Game" -name '*.txt')
n=0
for f in $scenes "$data"/Data/*.txt "$data/Game.txt"; do
  n=$((n + 1))
  split -l 20 -d "$f" "$out/words/$n-"
done
cp "$data/Data/Characters.txt" "$data/Data/Enemies.txt" "$out/characters/"
for f in "$data/Data/Characters.txt" "$data/Data/Enemies.txt"; do
  { grep '^Character' "$f"; echo EndOfSave; } > "$out/people_save/$(basename "$f")"
done
cp "$data/Data/Magic.txt" "$out/spells/"
cp "$data/Data/Potions.txt" "$out/potions/"
cp "$data/Data/Items.txt" "$out/items/"
n=0
for f in $scenes; do
  n=$((n + 1))
  cp "$f" "$out/scene/$n-$(basename "$f")"
  grep -h '^ *Battle ' "$f" | sed 's/^ *Battle //' > "$out/battle/$n.txt" || true
  grep -h '^Tile ' "$f" | sed 's/^Tile //' > "$out/legend/$n.txt" || true
done
find "$out" -type f -empty -delete
cp "$data/Game.txt" "$out/game_txt/demo-Game.txt"
cp "$src/fuzz/seeds/Game.txt" "$out/game_txt/mini-Game.txt"
cp "$src/fuzz/seeds/"*.save "$out/game_save/"
cp "$src/fuzz/seeds/battle.txt" "$out/battle/"
