#pragma once

namespace ndb
{
class CNdbNewsletter;
}

// How the recipients of a newsletter fared by its send log.
struct DeliveryCounts
{
    int total = 0;
    int notSent = 0;           // no entry, no status or status 0
    int failed = 0;            // status 20
    int failedPermanently = 0; // status 30
    int pending = 0;           // status 40
    int logged = 0;            // status 10, 20, 30 or 40
    int delivered = 0;         // status 10
};

// A status the sender never writes counts in none of the numbers but the total.
void CountDeliveryStatus(const ndb::CNdbNewsletter& newsletter, DeliveryCounts& counts);
