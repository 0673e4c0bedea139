// Posting the pending movements: every valid line of MovMes.Txt is added to the
// month of its doctor's row, of its situation row and of its specialty row; a line
// that is not a movement or has no row to go to is set aside, as it was, in
// MovMesSeparadas.Txt; a line that would take a count past its cell stays pending.
#pragma once

#include <QString>
#include <QStringList>

namespace clinora {

class AppContext;
class Dialogs;
class StatisticsFiles;

struct PostingResult
{
    int posted = 0;
    QStringList setAside;   // the lines moved to MovMesSeparadas.Txt
    QString setAsideReason; // why the first of them could not be posted
    QStringList kept;       // the lines left pending
    QString keptReason;     // the cell the first of them would overflow
};

// Posts into the tables of the files, in memory; the set-aside file is staged with
// them. An empty MovMes.Txt changes nothing.
PostingResult postPending(StatisticsFiles &files);

// Tells the user about the lines set aside or left pending, one message each.
void reportPosting(const PostingResult &result, Dialogs &dialogs);

// Whether MovMes.Txt holds lines that the tables do not count yet: the reports warn
// before showing tables that leave them out.
bool unpostedMovements(const AppContext &context);

// "Atualizar Quadros e Gráficos": posts, commits the tables, MovMes.Txt and the
// set-aside file together, marks the tables up to date and reports.
PostingResult postPendingMovements(AppContext &context);

} // namespace clinora
