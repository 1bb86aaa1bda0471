#pragma once

#include <QIcon>

// The desktop's message icons under the system's ids (IDI_HAND, IDI_QUESTION, IDI_EXCLAMATION,
// IDI_ASTERISK); any other id gives the information icon.
QIcon LoadStandardIcon(int id);
