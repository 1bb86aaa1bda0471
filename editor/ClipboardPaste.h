#pragma once

#include <QString>

class CIEBrowser;
struct PasteContext;

// The editor's two paste commands. The engine never pastes foreign HTML into the newsletter:
// the program reads the clipboard itself, cleans the HTML into the editor's own, and inserts it
// at the selection as one undo step.

// The value after the key, up to the end of its line, trimmed; the key is found in any case.
QString FindHeaderValue(const QString& text, const QString& key);
// The folder of the page the clipboard's HTML was copied from ("SourceURL:" of the "HTML Format"
// header, or the source address a browser leaves beside its HTML), with its trailing separator;
// empty when the clipboard does not tell.
QString GetClipboardSourceBase();
// Plain text as paragraphs: "&", "<" and ">" escaped, one paragraph per line, an empty line
// between two others as a paragraph with a non-breaking space.
QString PlainTextToParagraphs(const QString& text);

// Paste ("Edit Paste"): the clipboard's HTML, or its text as paragraphs, cleaned for the
// newsletter with images taken into it. False out of edit mode or with nothing to paste.
bool PasteClipboard(CIEBrowser& browser, PasteContext& context);
// Paste as text ("Edit Paste as text"): the clipboard's plain text as paragraphs.
bool PasteClipboardAsText(CIEBrowser& browser);
