#pragma once

#include <QString>

// The layout text that Save Layout stores: the markup of the live page's body, without the
// running server's address in either host form ("localhost", "127.0.0.1") so that resources stay
// relative, and without the edit page's live style sheet, read by the program's own HTML parser
// and written out again. False when the parser cannot read it.
bool MakeStoredLayout(const QString& bodyMarkup, int serverPort, QString& layout);
