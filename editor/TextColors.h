#pragma once

class CIEBrowser;
namespace ndb
{
class CNdbColor;
}

// Colour the selected text of an editor in edit mode, as one undo step each ("Text Color",
// "Text Background Color"). The engine wraps the selected text in font elements; exactly these
// are then rewritten: a palette colour becomes the generator's "text_" or "bg_" class of the
// colour's key, a fixed colour the colour itself, and the colour's text form goes into the
// element's metadata ("color", "background-color"). Other text of the page is not touched.
// False out of edit mode or without selected text.
bool ApplyTextColor(CIEBrowser& browser, const ndb::CNdbColor& color);
bool ApplyFillColor(CIEBrowser& browser, const ndb::CNdbColor& color);
