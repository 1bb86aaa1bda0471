#pragma once

#include <QString>

// The product and the maker's address: the X-Mailer of sent mail and the generator of the pages
// generated for it.
inline const QString MailerText = QStringLiteral("Kelvora (www.talvecor.com)");
