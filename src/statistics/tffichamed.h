// The attendance sheet window "Ficha de Atendimentos": a doctor's day, one row per
// slot with the patient, telephone, situation and presence; a view from the booking
// screen (F3) or the individual entry that records it; printable.
#pragma once

#include "statistics/attendance_sheet.h"

#include <QDialog>
#include <array>
#include <functional>

class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace clinora {

class AppContext;

class TFFichaMed : public QDialog
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TFFichaMed)

public:
    explicit TFFichaMed(AppContext &context, QWidget *parent = nullptr);

    // The booking screen's view of a doctor's day: read and print only, modal.
    void showView(QDate date, int doctor);
    // The individual entry: the sheet with "Gravar Presenças", beside its caller.
    void showEntry(QDate date, int doctor);

    // Where a double-click on a patient goes: day of the month, slot, doctor.
    std::function<void(int day, int slot, int doctor)> goToSlot;
    // Told each time "Gravar Presenças" has written the sheet's counts.
    std::function<void()> recordedSheet;

    const AttendanceSheet &sheet() const { return m_sheet; }
    bool recorded() const { return m_recorded; }

    // The names of row k's controls (1 to 24).
    static QString timeLabelName(int k);
    static QString patientName(int k);
    static QString telephoneName(int k);
    static QString situationName(int k);
    static QString presenceName(int k);

    QLabel *Label28 = nullptr; // the doctor's name
    QLabel *Label30 = nullptr; // the date
    QGroupBox *GroupBox1 = nullptr;
    std::array<QLabel *, 24> times{};
    std::array<QLineEdit *, 24> patients{};
    std::array<QLineEdit *, 24> telephones{};
    std::array<QLineEdit *, 24> situations{};
    std::array<QCheckBox *, 24> presences{};
    QPushButton *BProcessar = nullptr;
    QPushButton *BImprimir = nullptr;
    QPushButton *BSair = nullptr;

public Q_SLOTS:
    void done(int result) override;

protected:
    void showEvent(QShowEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void FormActivate();
    void BProcessarClick();
    void BImprimirClick();
    void PatientDblClick(int k);
    void setWhite(bool white);

    AppContext &m_context;
    AttendanceSheet m_sheet;
    bool m_recorded = false;
};

} // namespace clinora
