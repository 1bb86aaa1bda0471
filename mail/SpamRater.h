#pragma once

#include "mail/FilterBayesian.h"

#include <QString>

// Rates a page with the application's spam filter: 0 low, 1 medium, 2 high risk; the scores
// receive the tokens that weighed most. False when no rating could be made.
class ISpamRater
{
public:
    virtual ~ISpamRater() = default;
    virtual bool RateSpamWithTokens(const QString& page, int& rating, SpamFilter::TokenScoreMap& tokens) = 0;
};
