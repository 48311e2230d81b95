# Shared by the end-to-end tests (tests/window/e2e_*.sh, and package.sh for the packaged game), on
# top of window_lib.bash: a scratch home, keys typed into the game's window with xdotool, and
# checks of what it leaves behind (exit status, score file, screenshots). Sourced, not run: its name does not end in .sh,
# so it is not registered as a test itself.
#
# The game reads the keys once per pass, 60 passes a second, and a press counts once per pass: two
# presses of one key that reach it between two passes count as one. So every key goes on its own,
# held for a few passes, with a pause after it.

source "$(dirname "${BASH_SOURCE[0]}")/window_lib.bash"
audio_helper=$build/tests/audio_check
require_tools xdotool identify compare "$audio_helper"

start_display
use_scratch_home

# Records from earlier games, as a player's score file holds them: a few best scores, the highest
# level passed, and no entries yet for the other start levels (the game adds them as "0").
seed_scores() {
  printf '[SCORE]\r\nM1=4321\r\nM2-2=1500\r\nM2-3=777\r\n[LEVEL]\r\nPASSED=3\r\n' >"$score_file"
}

window_id() {
  xdotool search --name "^$title\$" 2>/dev/null | head -n 1
}

# Waits for the window and gives it the keyboard.
wait_window() {
  "$close_helper" --find "$title" 30 || return 1
  local id
  id=$(window_id)
  [ -n "$id" ] && timeout 10 xdotool windowfocus --sync "$id"
}

# Types keys one by one: each held for about 5 passes, then a pause of about 15 passes.
keys() {
  local key
  for key in "$@"; do
    xdotool keydown "$key"
    sleep 0.08
    xdotool keyup "$key"
    sleep 0.25
  done
}

# Holds a key down for $2 seconds.
hold() {
  xdotool keydown "$1"
  sleep "$2"
  xdotool keyup "$1"
  sleep 0.1
}

screenshots() {
  find "$work" -name 'swayfire-*.png' -newer "$folder/opt.ini" | sort
}

# Presses T and waits for the new screenshot; prints its path.
take_screenshot() {
  local before after _
  before=$(screenshots | wc -l)
  keys t
  for _ in $(seq 30); do
    after=$(screenshots | wc -l)
    if [ "$after" -gt "$before" ]; then
      screenshots | tail -n 1
      return 0
    fi
    sleep 0.1
  done
  return 1
}

# A screenshot of the game: a PNG file of the 640 x 480 frame that is not one flat colour.
is_game_picture() {
  local file=$1 signature format deviation
  [ -f "$file" ] || return 1
  signature=$(head -c 8 "$file" | od -An -tx1 | tr -d ' \n')
  [ "$signature" = 89504e470d0a1a0a ] || {
    echo "  $file: no PNG signature ($signature)"
    return 1
  }
  format=$(identify -format '%m %w %h' "$file" 2>&1)
  [ "$format" = "PNG 640 480" ] || {
    echo "  $file: $format (PNG 640 480 expected)"
    return 1
  }
  deviation=$(identify -format '%[fx:standard_deviation]' "$file")
  awk -v d="$deviation" 'BEGIN { exit !(d > 0.03) }' || {
    echo "  $file: nearly one colour (standard deviation $deviation)"
    return 1
  }
}

# Two pictures that clearly differ (normalised root-mean-square difference above 0.05).
pictures_differ() {
  local difference
  difference=$(compare -metric RMSE "$1" "$2" null: 2>&1 | sed -n 's/.*(\(.*\)).*/\1/p')
  awk -v d="${difference:-0}" 'BEGIN { exit !(d > 0.05) }' || {
    echo "  $1 and $2 hardly differ (RMSE ${difference:-?})"
    return 1
  }
}

# The score file parses as INI text and holds M1 and M2-1..M2-50 in [SCORE], every value a whole
# number; the arguments name entries that must hold given values (SECTION/KEY=VALUE).
scores_intact() {
  [ -f "$score_file" ] || {
    echo "  no score file"
    return 1
  }
  tr -d '\r' <"$score_file" | awk -v wanted="$*" '
    /^[ \t]*$/ { next }
    /^\[[^]]+\]$/ { section = substr($0, 2, length($0) - 2); next }
    /^[^=\[]+=/ {
      key = substr($0, 1, index($0, "=") - 1)
      value[section "/" key] = substr($0, index($0, "=") + 1)
      next
    }
    { print "  not INI: " $0; bad = 1 }
    END {
      need["SCORE/M1"] = 1
      for (i = 1; i <= 50; i++) need["SCORE/M2-" i] = 1
      for (k in need) {
        if (!(k in value)) { print "  missing " k; bad = 1 }
        else if (value[k] !~ /^[0-9]+$/) { print "  " k " is \"" value[k] "\""; bad = 1 }
      }
      n = split(wanted, pairs, " ")
      for (i = 1; i <= n; i++) {
        split(pairs[i], kv, "=")
        if (value[kv[1]] != kv[2]) {
          print "  " kv[1] " is \"" value[kv[1]] "\" (\"" kv[2] "\" expected)"; bad = 1
        }
      }
      exit bad
    }'
}
