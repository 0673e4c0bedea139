// The year commands of the statistics menu: "Abrir, Limpar (reiniciar) as
// Estatísticas", which closes a past year or resets the open one, and the manual pair
// that closes the year (posting only the old year's lines) and later opens the next.
#pragma once

namespace clinora {

class AppContext;

// "Abrir, Limpar": with the current year open, asks and resets it (a copy of its
// files kept first); otherwise asks and closes the year of the year code, opening the
// current one. Returns true when something was done.
bool reopenOrResetStatistics(AppContext &context);

// The manual close: posts the pending lines of the closing year, keeps those of
// January and February pending for the new one (all of them copied to
// Movimento.Txt first), and marks the year closed ("F" and the year of 62 days
// ago), in one commit. True when done.
bool closeYearByHand(AppContext &context);

// The manual open: refused while a December line is pending; otherwise shifts the
// history (the newest column the closed year's totals), takes the tables from their
// templates keeping the pending lines, makes the weeks and opens the year of 32 days
// from now, counted up to yesterday, in one commit. True when done.
bool openYearByHand(AppContext &context);

} // namespace clinora
