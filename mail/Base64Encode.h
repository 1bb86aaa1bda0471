#pragma once

#include <QByteArray>
#include <QString>

// Standard Base64 (RFC 4648 alphabet, "=" fill) without line breaks; the text replaces what the
// output held. Always true.
bool EncodeBase64(const QByteArray& bytes, QString& text);
