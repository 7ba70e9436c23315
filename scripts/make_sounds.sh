#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Makes the ten sound effects in resources/sounds from nothing but sox's
# synthesiser and espeak-ng's voice: 16-bit mono PCM at 22050 Hz.
# The wave files are committed; the build does not run this script.
set -euo pipefail

for tool in sox espeak-ng; do
  if ! command -v "$tool" >/dev/null; then
    sudo_cmd=""
    [ "$(id -u)" -ne 0 ] && sudo_cmd="sudo"
    $sudo_cmd apt-get install -y -qq --no-install-recommends sox espeak-ng
    break
  fi
done

out="$(cd "$(dirname "$0")/.." && pwd)/resources/sounds"
tmp="$(mktemp -d)"
trap 'rm -rf "$tmp"' EXIT
mkdir -p "$out"

fmt=(-r 22050 -c 1 -b 16 -e signed-integer)
# sox's noise generators are seeded from the clock unless told otherwise;
# a fixed seed makes every run write the same files.
export SOX_OPTS="-R"

# A short blast: filtered noise with a sharp attack and a decaying tail.
blast() {  # file seconds lowpass-hz gain-db
  sox -n "${fmt[@]}" "$1" synth "$2" brownnoise \
    lowpass "$3" fade q 0.003 "$2" "$(echo "$2 * 0.85" | bc -l)" gain -n "$4"
}

# Tank: a cannon shot. Two variants: a sharp crack, and a deeper thump with
# a short echo.
blast "$tmp/crack.wav" 0.45 2500 -1
sox -n "${fmt[@]}" "$tmp/click.wav" synth 0.02 whitenoise gain -6 fade q 0.001 0.02 0.015
sox "$tmp/click.wav" "$tmp/crack.wav" "$out/tank1.wav" gain -n -1
blast "$tmp/thump.wav" 0.6 900 -1
sox "$tmp/thump.wav" "$out/tank2.wav" echo 0.8 0.7 90 0.35 gain -n -1

# Distant: a fight out of sight, heard as a low muffled rumble.
blast "$tmp/far1.wav" 0.8 220 -8
sox "$tmp/far1.wav" "$out/distant1.wav" reverb 40 gain -n -9
blast "$tmp/far2.wav" 0.7 320 -8
sox "$tmp/far2.wav" "$tmp/far2b.wav" pad 0.18 0 gain -4
sox -m "$tmp/far2.wav" "$tmp/far2b.wav" "$out/distant2.wav" trim 0 0.8 gain -n -9

# Fighter: a burst of machine-gun fire, one shot every 60 ms.
sox -n "${fmt[@]}" "$tmp/shot.wav" synth 0.06 whitenoise lowpass 3000 fade q 0.002 0.06 0.045
sox "$tmp/shot.wav" "$tmp/burst.wav" repeat 9
sox "$tmp/burst.wav" "$out/fighter.wav" fade q 0 0.6 0.15 gain -n -2

# Ship: a heavy naval gun, a deep boom rolling on over the water.
blast "$tmp/boom.wav" 0.9 500 -1
sox "$tmp/boom.wav" "$out/ship.wav" gain -10 bass +6 reverb 60 trim 0 1.1 fade q 0 1.1 0.3 gain -n -1

# Bomber: a falling whistle, then a big explosion.
sox -n "${fmt[@]}" "$tmp/whistle.wav" synth 0.5 sine 1700-500 fade q 0.05 0.5 0.02 gain -14
blast "$tmp/bomb.wav" 1.0 700 -1
sox "$tmp/bomb.wav" "$tmp/bomb2.wav" gain -10 bass +8 gain -n -1
sox "$tmp/whistle.wav" "$tmp/bomb2.wav" "$out/bomber.wav"

# Para: the canopy opening, a rush of air that swells and settles.
sox -n "${fmt[@]}" "$tmp/wind.wav" synth 0.8 pinknoise sinc 300-2500 \
  fade q 0.25 0.8 0.4 tremolo 6 30 gain -n -6
sox -n "${fmt[@]}" "$tmp/flap.wav" synth 0.08 brownnoise lowpass 600 fade q 0.005 0.08 0.06 gain -n -3
sox "$tmp/flap.wav" "$tmp/flap_late.wav" pad 0.25 0
sox -m "$tmp/wind.wav" "$tmp/flap_late.wav" "$out/para.wav" trim 0 0.8 gain -n -2

# Haha: a slow, deep mocking laugh.
espeak-ng -v en+m3 -p 20 -s 190 -g 0 -w "$tmp/laugh.wav" "Ha ha ha ha!"
sox "$tmp/laugh.wav" "${fmt[@]}" "$out/haha.wav" pitch -300 silence 1 0.01 1% reverse silence 1 0.01 1% reverse gain -n -1

# Victory: a short brass fanfare, G G G C, then a held E over C.
note() {  # file seconds frequency
  sox -n "${fmt[@]}" "$1" synth "$2" sawtooth "$3" sawtooth "$(echo "$3 * 2.003" | bc -l)" \
    lowpass 2400 fade q 0.02 "$2" 0.06 gain -n -6
}
note "$tmp/n1.wav" 0.16 392
note "$tmp/n2.wav" 0.16 392
note "$tmp/n3.wav" 0.16 392
note "$tmp/n4.wav" 0.5 523.25
note "$tmp/n5.wav" 0.2 440
note "$tmp/n6.wav" 0.9 659.25
sox -n "${fmt[@]}" "$tmp/gap.wav" trim 0 0.04
sox "$tmp/n1.wav" "$tmp/gap.wav" "$tmp/n2.wav" "$tmp/gap.wav" "$tmp/n3.wav" "$tmp/gap.wav" \
  "$tmp/n4.wav" "$tmp/n5.wav" "$tmp/n6.wav" "$out/victory.wav" gain -8 reverb 30 gain -n -1

for f in bomber tank1 tank2 distant1 distant2 fighter para ship haha victory; do
  printf '%-10s %6d bytes  %ss\n' "$f.wav" "$(stat -c %s "$out/$f.wav")" "$(soxi -D "$out/$f.wav")"
done
