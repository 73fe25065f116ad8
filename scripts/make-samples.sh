#!/usr/bin/env bash
# Builds the sample dictionaries with lexora-dict:
#   personal.dict   American, "Personal", from the wamerican word list (or the bundled sample words)
#   british.dict    British, "British Personal", from wbritish (or the bundled sample words)
#   canadian.dict   Canadian, "Canadian Personal", from wcanadian, when it is installed
#   collected.dict  "Collected Words": a few hundred words with "new" codes, as collected from typing
# Usage: make-samples.sh LEXORA_DICT OUTPUT_DIR SAMPLE_WORDS [WORD_LIST_DIR]
set -euo pipefail

if [ $# -lt 3 ]; then
    echo "usage: $0 LEXORA_DICT OUTPUT_DIR SAMPLE_WORDS [WORD_LIST_DIR]" >&2
    exit 2
fi
tool=$1
out=$2
sample=$3
lists=${4:-/usr/share/dict}

mkdir -p "$out"
work=$(mktemp -d "$out/.samples.XXXXXX")
trap 'rm -rf "$work"' EXIT

# A word list without possessives ("dog's") and blank lines. The contractions with "is" and "us" that
# look like possessives ("it's", "that's", "let's") stay: they are among the commonest words typed.
plain_list() {
    grep -v -E "'s\$" "$1" | grep -v '^[[:space:]]*$' || true
    grep -x -E "(it|that|he|she|there|here|what|who|where|when|how|why|let)'s" "$1" || true
}

# build NAME DISPLAY_NAME VARIETY LIST: builds NAME in the work folder, then moves it into place, so
# that a failure never leaves a half-built dictionary behind.
build() {
    local name=$1 display=$2 variety=$3 list=$4
    shift 4
    "$tool" create "$work/$name" --name "$display" --variety "$variety" >/dev/null
    "$tool" import "$work/$name" "$list" "$@" >"$work/$name.log"
    echo "$name: $(sed -n 1p "$work/$name.log")"
    "$tool" check "$work/$name" >/dev/null
    mv -f "$work/$name" "$out/$name"
}

word_list() {
    local file=$1 target=$2
    if [ -r "$lists/$file" ]; then
        plain_list "$lists/$file" >"$target"
    else
        echo "note: $lists/$file is missing; using the bundled sample words" >&2
        cp "$sample" "$target"
    fi
}

word_list american-english "$work/american.txt"
build personal.dict "Personal" american "$work/american.txt" --grammar advanced

word_list british-english "$work/british.txt"
build british.dict "British Personal" british "$work/british.txt" --grammar advanced

if [ -r "$lists/canadian-english" ]; then
    word_list canadian-english "$work/canadian.txt"
    build canadian.dict "Canadian Personal" canadian "$work/canadian.txt" --grammar advanced
fi

# Collected words: every twelfth sample word, as typed over time, plus words of everyday typing that
# no word list has yet.
{
    awk -F '\t' 'NR % 12 == 0 { print $1 }' "$sample"
    printf '%s\n' blog blogger btw selfie emoji hashtag podcast smartphone app apps online offline website \
        webcam email emailed emailing texting texted gonna wanna gotta lol omg okay ok covid wifi login \
        logout username password inbox download uploaded unfollow retweet livestream vlog tweeted googled \
        crowdfunding staycation bingeing photobomb hangry
} >"$work/collected.txt"
build collected.dict "Collected Words" american "$work/collected.txt" --unknown
