#!/usr/bin/env python3
"""Writes the ham and spam corpora of the spam word database.

Each message is composed from the hand-written sentence banks of corpus_ham.py and corpus_spam.py
(subject, greeting, a few paragraphs of one kind of mail, sign-off, footer), plus the whole
messages written out there. The output depends only on the banks and the seed, so running the
script again gives the same files.

    tools/spamdb/make_corpus.py [OUTPUT_FOLDER]    (default: data/spamdb/corpus)

Then build the database:

    build/Release/tools/kv_spamdb_builder data/spamdb/corpus/ham data/spamdb/corpus/spam \
        data/spamdb/spamdb.dat
"""

import pathlib
import random
import sys

import corpus_ham
import corpus_spam

HERE = pathlib.Path(__file__).resolve().parent
SEED = 20071
HAM_PER_KIND = 20
SPAM_PER_KIND = 17


def ham_slots(rng, kind, bank):
    slots = {
        "first": rng.choice(corpus_ham.FIRST_NAMES),
        "last": rng.choice(corpus_ham.LAST_NAMES),
        "town": rng.choice(corpus_ham.TOWNS),
        "day": rng.choice(corpus_ham.DAYS),
        "date": rng.randint(1, 28),
        "month": rng.choice(corpus_ham.MONTHS),
        "time": rng.choice(corpus_ham.TIMES),
        "num": rng.randint(2, 140),
        "ver": "%d.%d" % (rng.randint(2, 9), rng.randint(0, 12)),
    }
    for extra in ("event", "dish", "vegetable"):
        if extra in bank:
            slots[extra] = rng.choice(bank[extra])
    slots["org"] = rng.choice(bank["org"]).format(**slots)
    return slots


def paragraphs(rng, sentences, slots, count, per_paragraph):
    # Bank order is kept, so steps of a recipe or an invitation stay in a sensible sequence.
    chosen = [sentences[i] for i in sorted(rng.sample(range(len(sentences)), count))]
    out, i = [], 0
    while i < len(chosen):
        n = rng.randint(*per_paragraph)
        out.append(" ".join(s.format(**slots) for s in chosen[i:i + n]))
        i += n
    return out


def compose_ham(rng, kind, bank):
    slots = ham_slots(rng, kind, bank)
    greeting = rng.choice(corpus_ham.GREETINGS + bank["greetings"])
    parts = [rng.choice(bank["subjects"]).format(**slots), greeting.format(**slots)]
    parts += paragraphs(rng, bank["body"], slots, rng.randint(4, 8), (1, 3))
    if rng.random() < 0.6:
        parts += paragraphs(rng, corpus_ham.COMMON, slots, rng.randint(1, 2), (1, 2))
    parts.append(rng.choice(corpus_ham.SIGN_OFFS) + "\n" + rng.choice(
        ["{first} {last}", "{first}", "The team at {org}", "{org}", "{first} {last}, secretary"]).format(**slots))
    footer = rng.choice(corpus_ham.FOOTERS).format(**slots)
    if footer:
        parts.append(footer)
    return "\n\n".join(parts) + "\n"


def shout(rng, sentence):
    roll = rng.random()
    if roll < 0.12:
        return sentence.upper()
    if roll < 0.25:
        return sentence.rstrip(".!") + "!!!"
    return sentence


def compose_spam(rng, kind, bank):
    subject = rng.choice(bank["subjects"])
    if rng.random() < 0.2:
        subject = subject.upper()
    parts = [subject, rng.choice(corpus_spam.GREETINGS)]
    body = bank["body"]
    chosen = [body[i] for i in sorted(rng.sample(range(len(body)), rng.randint(3, 7)))]
    i = 0
    while i < len(chosen):
        n = rng.randint(1, 3)
        parts.append(" ".join(shout(rng, s) for s in chosen[i:i + n]))
        i += n
    parts.append(rng.choice(corpus_spam.SIGN_OFFS) + "\n" + rng.choice(corpus_spam.SIGNERS))
    footer = rng.choice(corpus_spam.FOOTERS)
    if footer:
        parts.append(footer)
    return "\n\n".join(parts) + "\n"


def write_kind(folder, module, per_kind, compose, rng):
    folder.mkdir(parents=True, exist_ok=True)
    for old in folder.glob("*.txt"):
        old.unlink()
    for kind, bank in module.CATEGORIES.items():
        for n in range(1, per_kind + 1):
            (folder / ("%s-%03d.txt" % (kind, n))).write_text(compose(rng, kind, bank), encoding="utf-8")
    for n, text in enumerate(module.WHOLE, 1):
        (folder / ("written-%03d.txt" % n)).write_text(text.strip() + "\n", encoding="utf-8")


def main():
    out = pathlib.Path(sys.argv[1]) if len(sys.argv) > 1 else HERE.parent.parent / "data" / "spamdb" / "corpus"
    rng = random.Random(SEED)
    write_kind(out / "ham", corpus_ham, HAM_PER_KIND, compose_ham, rng)
    write_kind(out / "spam", corpus_spam, SPAM_PER_KIND, compose_spam, rng)


if __name__ == "__main__":
    main()
