// An external statistics set: the eight files of a year in a folder of their own, read
// back for the report tables. The first byte of the input chooses which of the eight
// files the rest replaces; the other seven are the demonstration clinic's, read once per
// process: each input reads only the file it replaces, into a copy of the set as read
// whole, the way the set's reader reads that file. The copy is made once per process;
// after each input the one part the file went into is set back as read whole.
#include "support.h"

#include "app/context.h"
#include "core/data_files.h"
#include "statistics/external_sets.h"
#include "statistics/report_tables.h"
#include "statistics/statistics_set.h"

#include <QHash>

#include <algorithm>
#include <initializer_list>

using namespace clinora;

namespace {

// Reads one file of the folder into the set, as readStatisticsSet reads it.
void readInto(StatisticsSet &set, const QString &prefix, const QString &name)
{
    if (name == files::kDoctorMonths)
        set.doctorMonths.load(prefix + name);
    else if (name == files::kSituationMonths)
        set.situationMonths.load(prefix + name);
    else if (name == files::kSpecialtyMonths)
        set.specialtyMonths.load(prefix + name);
    else if (name == files::kHistory)
        set.history.load(prefix + name);
    else if (name == files::kSpecialties)
        set.specialties.load(prefix);
    else if (name == files::kSituations)
        set.situations.load(prefix);
    else if (name == files::kDoctors || name == files::kTimetable) {
        const QStringList problems = set.doctors.load(prefix);
        if (!problems.isEmpty())
            throw DamagedFileError(problems.join(QLatin1Char('\n')));
    } else
        fuzz::fail("a file of the set that the target does not read", name);
}

// Sets the part of the set that the file goes into back as it is in the set read whole.
void restore(StatisticsSet &set, const StatisticsSet &read, const QString &name)
{
    if (name == files::kDoctorMonths)
        set.doctorMonths = read.doctorMonths;
    else if (name == files::kSituationMonths)
        set.situationMonths = read.situationMonths;
    else if (name == files::kSpecialtyMonths)
        set.specialtyMonths = read.specialtyMonths;
    else if (name == files::kHistory)
        set.history = read.history;
    else if (name == files::kSpecialties)
        set.specialties = read.specialties;
    else if (name == files::kSituations)
        set.situations = read.situations;
    else if (name == files::kDoctors || name == files::kTimetable)
        set.doctors = read.doctors;
    else
        fuzz::fail("a file of the set that the target does not restore", name);
}

struct Set
{
    QString folder;
    QString prefix;
    StatisticsSet read;                 // the demonstration clinic's set, read whole
    QHash<QString, QByteArray> original; // its files as they are
};

const Set &demoSet()
{
    static const Set set = [] {
        const AppContext &clinic = fuzz::demoClinic();
        Set s;
        s.folder = fuzz::folder(QStringLiteral("conjunto"));
        s.prefix = s.folder + QLatin1Char('/');
        for (const QString &name : sets::setFiles()) {
            s.original.insert(name, fuzz::readFile(clinic.file(name)));
            fuzz::writeFile(s.prefix + name, s.original.value(name));
        }
        s.read = readStatisticsSet(s.folder);
        // Each file read again on its own leaves the set as read whole.
        for (const QString &name : sets::setFiles()) {
            StatisticsSet again = s.read;
            readInto(again, s.prefix, name);
            fuzz::require(again.doctorMonths.lines() == s.read.doctorMonths.lines()
                              && again.situationMonths.lines() == s.read.situationMonths.lines()
                              && again.specialtyMonths.lines() == s.read.specialtyMonths.lines()
                              && again.history.lines() == s.read.history.lines()
                              && again.doctors.codMedLines() == s.read.doctors.codMedLines()
                              && again.doctors.timetableLines() == s.read.doctors.timetableLines(),
                          "a file of the set read on its own differs", name);
        }
        return s;
    }();
    return set;
}

} // namespace

// The clinic is made and read before the first input, outside the time an input may take.
extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    demoSet();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const Set &set = demoSet();
    if (size == 0)
        return 0;
    const QStringList &names = sets::setFiles();
    const QString name = names.at(data[0] % names.size());
    const QString path = set.prefix + name;
    fuzz::writeFile(path, data + 1, size - 1);

    // The report tables the file goes into; the others are the ones of the set read whole.
    const auto feeds = [&](std::initializer_list<QLatin1String> sources) {
        return std::any_of(sources.begin(), sources.end(), [&](QLatin1String source) { return name == source; });
    };
    const bool doctors = feeds({files::kDoctorMonths, files::kDoctors, files::kTimetable, files::kSpecialties});
    const bool situations = feeds({files::kSituationMonths, files::kSituations});
    const bool specialties = feeds({files::kSpecialtyMonths, files::kSpecialties});
    const bool history = feeds({files::kHistory, files::kSpecialtyMonths, files::kSpecialties});

    static StatisticsSet read = set.read;
    fuzz::readsCleanly([&] {
        readInto(read, set.prefix, name);
        for (int filter : {0, 51, 57}) {
            if (doctors)
                reports::doctorTable(read, filter);
            if (situations)
                reports::situationTable(read, filter);
        }
        QList<reports::ReportTable> tables;
        if (specialties)
            tables << reports::specialtyTable(read);
        if (history)
            tables << reports::historyTable(read);
        for (const reports::ReportTable &table : tables) {
            for (auto orientation : {reports::Orientation::Vertical, reports::Orientation::Horizontal}) {
                reports::ReportTable copy = table;
                reports::takePercentages(copy, orientation);
            }
        }
    });
    restore(read, set.read, name);
    fuzz::writeFile(path, set.original.value(name));
    return 0;
}
