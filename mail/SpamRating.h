#pragma once

#include "mail/FilterBayesian.h"

#include <QString>

class CX2Element;

// The spam risk of a page, as the Send and Spam Check dialogs show it.
enum SpamRating
{
    SpamRatingNone = 0,
    SpamRatingSuspicious = 1,
    SpamRatingSpam = 2,
};

constexpr double SuspiciousScore = 0.98;
constexpr double SpamScore = 0.99;

// Appends the visible text of a document tree, depth first: text nodes as parsed; style, script
// and object elements with nothing of their content; a blank before every element that is not
// an inline run (a, b, strong, i, em, span, font, s), so words of adjacent paragraphs stay apart
// while a bold run inside a word does not split it.
void CollectSpamText(const CX2Element& node, QString& text);

// The rating of a combined score and the scored tokens: spam when the score or any single token
// reaches 0.99, suspicious from 0.98 on; a score that is not a number rates as no risk.
int SpamRatingOf(double score, const SpamFilter::TokenScoreMap& tokens);
