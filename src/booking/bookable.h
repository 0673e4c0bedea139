// Whether a patient may be booked on a date: never on a closed date, nor beyond the
// prepared limit, whatever a day sheet that has not been refreshed still shows.
#pragma once

#include <QString>

namespace clinora {

class Paths;

// The message that refuses a booking on a date (dd/mm/yy), or an empty text when the
// date is open for booking. Reads ArqFolgas.Txt and DataIniFim.Txt as they stand.
QString bookingRefusal(const Paths &paths, const QString &date);

} // namespace clinora
