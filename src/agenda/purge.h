// The purge of past appointments: deletes the dated appointments before today minus
// the keep-days, keeping those the automatic entry has not counted yet; cancelled and
// waiting entries are never purged.
#pragma once

namespace clinora {

class AppContext;

struct PurgeResult
{
    int deleted = 0;
    bool beyondLimit = false; // a row lies after the prepared limit date
    bool cancelled = false;   // the user answered No
};

// With ask, the user confirms first. Whenever the computer's date lies more than a month
// after the prepared limit and the bookings of the limit's last month would go, the user
// is asked (default No), naming the date and how many rows would go; No deletes nothing.
// Takes the mirror snapshot when mirroring is on
// and something was deleted, and warns ("CUIDADO") about rows beyond the limit.
PurgeResult purgePastAppointments(AppContext &context, bool ask);

} // namespace clinora
