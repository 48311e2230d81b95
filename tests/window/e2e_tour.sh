#!/usr/bin/env bash
# A whole session of the real game in a real X window, with sound recorded by SDL's disk audio
# driver: the splash, the menu, a survival game (fire, move, pause, screenshot, unpause, Escape),
# a level game at a chosen start level (fire, screenshot, Escape), and the exit entry. The game
# must end with status 0, keep every record of the score file, save real pictures of the game, and
# have played the music and the sound effects.
#   e2e_tour.sh PATH_OF_SWAYFIRE BUILD_DIR
set -u
source "$(dirname "$0")/e2e_lib.bash"

install_game True
seed_scores
sound=$work/sound.raw
start_game SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE="$sound"
check "no window titled \"$title\"" wait_window
check "the game never reached its main loop" wait_main_loop

menu_shot=$(take_screenshot)
check "T in the menu saved no screenshot" test -n "$menu_shot"
# Down and back up: two clicks, the cursor on SURVIVAL again.
keys Down Up
keys Return
sleep 1
keys a d w s
hold Right 0.3
keys p
paused_shot=$(take_screenshot)
check "T in a paused game saved no screenshot" test -n "$paused_shot"
keys p
keys Escape

# The level entry, two levels up (the score file says level 3 was reached), and a level game.
keys Down Right Right Return
sleep 1
keys a w
level_shot=$(take_screenshot)
check "T in a level game saved no screenshot" test -n "$level_shot"
keys Escape

# Back in the menu the cursor is still on the level entry; one down is the exit entry. A pause
# before Return lets the sound thread, which may lag on a busy machine, write the last cursor
# move's sound before the game closes the device.
keys Down
sleep 1
keys Return
wait_game 10
check "the exit entry: status $status (0 expected)" test "$status" = 0

# Leaving games by Escape records nothing: the old records stay, the missing entries are added.
check "the score file lost records" \
  scores_intact SCORE/M1=4321 SCORE/M2-1=0 SCORE/M2-2=1500 SCORE/M2-3=777 SCORE/M2-50=0 LEVEL/PASSED=3

check "three screenshots expected, found $(screenshots | wc -l)" test "$(screenshots | wc -l)" = 3
for shot in "$menu_shot" "$paused_shot" "$level_shot"; do
  [ -n "$shot" ] && check "$(basename "$shot") is not a picture of the game" is_game_picture "$shot"
done
if [ -n "$menu_shot" ] && [ -n "$paused_shot" ] && [ -n "$level_shot" ]; then
  check "the survival game looks like the menu" pictures_differ "$menu_shot" "$paused_shot"
  check "the level game looks like the menu" pictures_differ "$menu_shot" "$level_shot"
fi

# The music from the start; "enter" at both game starts, "menu_opt" for each cursor and level
# move, "fire" for the player's shots (and the enemies').
files=$folder/files
check "no music or sound effects in the recording" \
  "$audio_helper" "$sound" "$files/music.ogg" 8 \
  "$files/enter.wav" 2 "$files/menu_opt.wav" 6 "$files/fire.wav" 6

finish
