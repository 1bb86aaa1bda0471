#pragma once

#include <QByteArrayList>
#include <QStringList>

// What a strict reader refuses in messages as they were stored (mail_check.py: Python's email
// package with its strict policy, and the MIME rules it lets pass): one line per fault, naming
// the message by its place in the list; empty when every message is clean.
QStringList StrictMailFaults(const QByteArrayList& messages);
