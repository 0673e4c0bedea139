// The window "Pesquisas Diversas", open beside the others: where a patient is booked,
// the hours of chosen doctors (or of the doctors of chosen specialties) on chosen
// dates, all, free or occupied, and the way to the cancelled and waiting lists. A
// double-click on a result (or Enter) goes to it on the booking screen. The lists are
// read when the window opens; each time it comes back to the front they are read again
// when their files changed, and the result on show is searched again when the table,
// the open dates or the chosen doctors changed, so that a booking, a date closed or a
// doctor changed meanwhile in another window shows here.
#pragma once

#include "search/name_search.h"
#include "search/slot_search.h"

#include <QDialog>
#include <functional>

class QFrame;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QTableView;

namespace clinora {

class AppContext;
class ClickableLabel;
class TFVisaoGeral;

class TFPesquisas : public QDialog
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TFPesquisas)

public:
    explicit TFPesquisas(AppContext &context, QWidget *parent = nullptr);

    // Set by the main window: opens the booking screen as its menu item does (the mirror
    // check, the month prepared, the sheets refreshed), then runs the action on it.
    std::function<void(std::function<void(TFVisaoGeral &)>)> openBookingScreen;

    const SlotSearch &slotSearch() const { return m_slots; }
    SlotGrid &grid(SlotGrid::Show show);
    NameSearch &nameSearch() { return m_names; }

    ClickableLabel *Label5 = nullptr; // "Pesquisas"
    ClickableLabel *Label1 = nullptr;
    ClickableLabel *Label2 = nullptr;
    ClickableLabel *Label3 = nullptr;
    ClickableLabel *Label8 = nullptr;
    QLabel *LEspecialidade = nullptr;
    QLabel *LMedico = nullptr;
    QLabel *LData = nullptr;
    QListWidget *ListBox3 = nullptr;
    QListWidget *ListBox1 = nullptr;
    QListWidget *ListBox2 = nullptr;
    QLineEdit *Edit2 = nullptr;
    QPushButton *BExecutarCons2 = nullptr;
    QLabel *LGrade = nullptr;
    QLabel *Label7 = nullptr;
    QPushButton *BTodos = nullptr;
    QPushButton *BLivres = nullptr;
    QPushButton *BOcupados = nullptr;
    QPushButton *Button2 = nullptr;
    QPushButton *Button1 = nullptr;
    QTableView *SGConsultas = nullptr;
    QTableView *SGLivres = nullptr;
    QTableView *SGOcupados = nullptr;
    QFrame *Panel1 = nullptr;
    QLabel *Label6 = nullptr;
    QTableView *DBGrid1 = nullptr;
    QLabel *Label4 = nullptr;
    QLineEdit *Edit1 = nullptr;
    QPushButton *BProcurar = nullptr;
    QPushButton *BSair = nullptr;

    void done(int result) override;

protected:
    void showEvent(QShowEvent *event) override;
    bool event(QEvent *event) override;

private:
    QTableView *resultGrid(SlotGrid &model, const char *name);
    void FormActivate();
    // The window back at the front: the lists read again, the receptionist's choices
    // kept where they are still offered, and a result on show made again.
    void refreshOnActivation();
    // Runs a reading of the lists; false when it failed. Its error is told unless it is
    // the one told last.
    bool readOrTell(const std::function<void()> &read);
    void fillLists();
    // The lists that come from memory: the specialties and the doctors.
    void fillMemoryLists();
    // What the files of the lists were like when they were read, and the day: the lists
    // are read again only when this changes.
    QStringList listFilesStamp() const;
    void refreshResults();
    void clearResults();
    QTableView *shownResults() const;
    void Label1Click();
    void Label2Click();
    void Label3Click();
    void Label8Click();
    void ListBox3Click();
    void Edit2Change(const QString &text);
    void BExecutarCons2Click();
    void showResults(QTableView *grid);
    void Button2Click();
    void resultDblClick(const SlotGrid &model, int row);
    void BProcurarClick();
    void DBGrid1DblClick(int row);
    void hideResultButtons(bool all);
    void setSlotSearchVisible(bool lists, bool specialties);
    void hideResults();
    // The slot search's lists and results, or the name panel: they share one place.
    void showNamePanel(bool shown);
    // Closes this window and shows the booking screen, then acts on it.
    void goToBookingScreen(std::function<void(TFVisaoGeral &)> then);

    AppContext &m_context;
    SlotSearch m_slots;
    SlotGrid m_all;
    SlotGrid m_free;
    SlotGrid m_occupied;
    NameSearch m_names;
    QWidget *m_slotArea = nullptr;
    // What the doctor list holds: nothing yet, every doctor, or those of the chosen
    // specialties.
    enum class DoctorItems { None, All, OfSpecialties } m_doctorItems = DoctorItems::None;
    // The doctors and dates of the result on show.
    QStringList m_resultCodes;
    QStringList m_resultDays;
    // The error an activation told last: told once, not at every activation that follows
    // the closing of its own error box.
    QString m_activationError;
    QStringList m_listStamp;
};

} // namespace clinora
