#!/usr/bin/env python3
"""Writes searchindex.js beside the help pages of each language under data/help/content/: the
title and the words of every page, which SearchResult.htm searches. Run it after changing a page;
the index is committed."""
import html.parser
import json
import os
import sys

CONTENT = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "data", "help", "content")
NOT_INDEXED = {"SearchResult.htm", "PageNotFound.htm"}


class PageText(html.parser.HTMLParser):
    def __init__(self):
        super().__init__(convert_charrefs=True)
        self.title = ""
        self.words = []
        self.where = []

    def handle_starttag(self, tag, attrs):
        if tag in ("title", "body", "script", "style") or (tag == "p" and ("class", "nav") in attrs):
            self.where.append(tag if tag != "p" else "nav")
        elif tag == "p" and self.where:
            self.where.append("p")

    def handle_endtag(self, tag):
        if self.where and (tag == self.where[-1] or (tag == "p" and self.where[-1] == "nav")):
            self.where.pop()

    def handle_data(self, data):
        inside = self.where[-1] if self.where else ""
        if inside == "title":
            self.title += data
        elif "body" in self.where and inside not in ("nav", "script", "style"):
            self.words.append(data)


def index_language(folder):
    entries = []
    for name in sorted(os.listdir(folder)):
        if not name.endswith(".htm") or name in NOT_INDEXED:
            continue
        parser = PageText()
        with open(os.path.join(folder, name), encoding="utf-8") as f:
            parser.feed(f.read())
        text = " ".join(" ".join(parser.words).split())
        entries.append({"page": name, "title": parser.title.strip(), "text": text})
    with open(os.path.join(folder, "searchindex.js"), "w", encoding="utf-8") as f:
        f.write("// Written by tools/make_help_index.py from the pages of this folder.\nvar HelpIndex = ")
        json.dump(entries, f, ensure_ascii=False, indent=1)
        f.write(";\n")


def main():
    for language in sorted(os.listdir(CONTENT)):
        index_language(os.path.join(CONTENT, language))
    return 0


if __name__ == "__main__":
    sys.exit(main())
