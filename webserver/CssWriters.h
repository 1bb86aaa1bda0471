#pragma once

#include "ndb/NdbFieldValue.h"

#include <QString>

class IPageContext;
namespace ndb
{
class CNdbStyle;
}

// CSS text of the style records of a newsletter. Colours resolve through the palette of the
// context's current newsletter; without one they are written black.

// Appends the one declaration that style field id stands for (nothing for fields that are not
// CSS properties). Always true.
bool WriteFieldCss(const ndb::CNdbFieldValue& value, const ndb::CNdbStyle& record, QString& output,
                   const IPageContext* context, int id);
// Every field in ascending id order; false without a record.
bool WriteRecordCss(QString& output, const ndb::CNdbStyle* record, const IPageContext* context);
// As WriteRecordCss, but margins, paddings and the font written as shorthands where possible,
// which mail programs read more reliably than the single properties.
bool WriteBoxSpacingCss(QString& output, const ndb::CNdbStyle* record, const IPageContext* context);
// Two classes per palette colour (".text_<key>", ".bg_<key>") and one rule per named style of
// the context's current newsletter; empty without one.
QString BuildNewsletterCss(const IPageContext* context);
