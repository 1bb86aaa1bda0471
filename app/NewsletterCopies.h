#pragma once

#include <memory>

namespace ndb
{
class CNdbNewsletter;
}

// Copies of the open newsletter that Save As writes: made through the newsletter's archived
// form, each with an identifier of its own and no send log.
namespace NewsletterCopies
{
// Null when the newsletter cannot be archived and read back.
std::unique_ptr<ndb::CNdbNewsletter> MakeCopy(ndb::CNdbNewsletter& newsletter);
// A copy as a template: flagged as one, without path, importance, creation time, recipients or
// sender profile.
std::unique_ptr<ndb::CNdbNewsletter> MakeTemplate(ndb::CNdbNewsletter& newsletter);
} // namespace NewsletterCopies
