#pragma once

#include <QByteArray>

// Decodes Base64 text, skipping every byte outside the alphabet (padding, line breaks); a NUL
// byte where a group would start ends the input. Without an output buffer only the length is
// reported. The decoded length is always stored in *outputLength (which holds the buffer's
// capacity on entry); true only when all of it was written into the buffer.
bool DecodeBase64(const char* input, int inputLength, unsigned char* output, int* outputLength);

// The bytes of Base64 text, decoded as DecodeBase64 does.
QByteArray DecodeBase64Bytes(const QByteArray& text);
