#pragma once

#include <QIcon>

// The desktop's message icons under the system's ids (IDI_HAND, IDI_QUESTION, IDI_EXCLAMATION,
// IDI_ASTERISK); any other id gives the information icon.
QIcon LoadStandardIcon(int id);

// An icon resource of the program itself ("ICON" icons/<id>.png of the built-in resources, whatever
// language module is loaded); a null icon when there is none.
QIcon LoadProgramIcon(unsigned int id);
