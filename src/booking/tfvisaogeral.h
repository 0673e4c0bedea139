// The booking screen "Marcação de Consultas": the month tab, the 31 day tabs and the
// tabs of the cancelled and waiting lists, with the buttons and keys around them.
#pragma once

#include "booking/month_overview.h"
#include "store/appointment.h"

#include <QDialog>
#include <QEvent>
#include <array>
#include <functional>
#include <memory>

class QComboBox;
class QDateEdit;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QTabWidget;
class QTimer;

namespace clinora {

class AppContext;
class GridView;
class ListTabWidget;
class TFAviso;
class TFConsulta;
class TFConsulta2;
class TFConsultasDia;
class TFFichaMed;
class TFGradeHoras;
class TFHorarios;
class TFProcuraNome;

class TFVisaoGeral : public QDialog
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TFVisaoGeral)

public:
    explicit TFVisaoGeral(AppContext &context, QWidget *parent = nullptr);
    ~TFVisaoGeral() override;

    // Fills column 0, the headings and the month summary (the menu calls it before
    // showing the screen).
    void prepareMonthTab();
    // Shows the screen modally; then, when given, runs once the screen has been
    // activated (its sheets refreshed and the month tab current).
    int showScreen(std::function<void()> then = {});

    MonthOverview &overview() { return m_overview; }
    TFConsulta &consulta() { return *FConsulta; }
    TFConsultasDia &consultasDia() { return *FConsultasDia; }
    TFFichaMed &fichaMed() { return *FFichaMed; }
    TFAviso &aviso() { return *FAviso; }
    TFConsulta2 &consulta2() { return *FConsulta2; }
    TFProcuraNome &procuraNome() { return *FProcuraNome; }
    // The tabs "Desmarcadas" and "Em Espera".
    ListTabWidget &desmarcadas() { return *m_desmarcadas; }
    ListTabWidget &emEspera() { return *m_emEspera; }
    // Switches to the list tab of an entry (cancelled or waiting) and selects it there;
    // false when neither list holds it.
    bool showListEntry(const AppointmentKey &key);

    // The controls of one day tab.
    struct DayTab
    {
        QWidget *page = nullptr;      // TabSheet2 ... TabSheet31, TabSheet33
        GridView *grid = nullptr;     // StringGrid(d + 1)
        QLabel *label = nullptr;      // Label(d + 5)
        QPushButton *limpar = nullptr;
        QPushButton *atualizar = nullptr;
        QLineEdit *cod = nullptr;     // Edit(2d + 5)
        QLineEdit *nome = nullptr;    // Edit(2d + 6)
    };
    const DayTab &dayTab(int day) const { return m_days.at(static_cast<std::size_t>(day)); }

    // Switches to a day's tab and makes (slot, code) its current cell, its row on top.
    void goToSlot(int day, int slot, int code);
    // The one guarded jump to a slot of a date (dd/mm/yy): only to a tab that stands
    // for that date, and to a real slot and doctor; otherwise the user is told that
    // the appointment is outside the sheets. False when told.
    bool goToAppointment(const QString &date, int slot, int code);
    // Goes to a row of the table: a cancelled or waiting entry selected on its list
    // tab, a dated appointment on its sheet (through the guarded jump).
    bool showAppointment(const AppointmentKey &key);
    // F4: the name search; a hit double-clicked is shown.
    void openNameSearch();
    // A double-click on a day sheet cell: the appointment dialog for it.
    void openAppointment(int day, int slot, int code);

    QTabWidget *PageControl1 = nullptr;
    QWidget *TabSheet1 = nullptr;
    QWidget *TabDesmarcadas = nullptr;
    QWidget *TabEmEspera = nullptr;
    GridView *StringGrid1 = nullptr;
    GridView *SGMascara = nullptr;
    QComboBox *ComboBox1 = nullptr;
    QPushButton *BAtualizar0 = nullptr;
    QProgressBar *ProgressBar1 = nullptr;
    QDateEdit *DateTimePicker1 = nullptr;
    QLabel *PHoje = nullptr;
    QLineEdit *Edit3 = nullptr;
    QLineEdit *Edit4 = nullptr;
    QLineEdit *Edit5 = nullptr;
    QLineEdit *Edit6 = nullptr;
    QLabel *Label5 = nullptr;
    QPushButton *BSair = nullptr;
    QPushButton *BitBtn4 = nullptr;
    QPushButton *BitBtn3 = nullptr;
    QPushButton *Button10 = nullptr;
    QPushButton *BitBtn1 = nullptr;
    QTimer *Timer1 = nullptr;

protected:
    void showEvent(QShowEvent *event) override;
    void reject() override;
    bool eventFilter(QObject *watched, QEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    void buildMonthTab();
    void buildDayTab(int day);
    void FormActivate();
    void Timer1Timer();
    void closeScreen(bool closeQueries);
    void BAtualizar0Click();
    void ComboBox1Click();
    void ComboBox1DblClick();
    void showFilteredGrid(bool filtered);
    void monthKey(int key);
    void dayKey(int day, int key);
    void functionKey(int key);
    void markDays();
    void placeTodayMark();
    void showDayList(int day, int code, bool modal);
    // The notice of a disabled day: modal on entering its page, once per visit; without
    // blocking when the mouse comes back over the sheet.
    void disabledDayEvent(QObject *watched, QEvent::Type type);
    // F3: the attendance sheet of a doctor's day, or why there is none.
    void showSheet(int day, int code);
    int activeDay() const;
    // After a tab switch: the keyboard on the current cell of the page's sheet.
    void focusCurrentSheet();

    AppContext &m_context;
    MonthOverview m_overview;
    std::array<DayTab, 32> m_days{}; // index 1 to 31
    TFConsulta *FConsulta = nullptr;
    TFConsulta2 *FConsulta2 = nullptr;
    ListTabWidget *m_desmarcadas = nullptr;
    ListTabWidget *m_emEspera = nullptr;
    TFConsultasDia *FConsultasDia = nullptr;
    TFAviso *FAviso = nullptr;
    // A window of its own, outside the screen's tree: its boxes share the names
    // "Edit1" ... "Edit72" with the day tabs.
    std::unique_ptr<TFFichaMed> FFichaMed;
    TFGradeHoras *FGradeHoras = nullptr;
    TFHorarios *FHorarios = nullptr;
    TFProcuraNome *FProcuraNome = nullptr;
    std::function<void()> m_afterActivate;
    int m_ticks = 0;
    bool m_firstTick = true;
    QString m_limitText;
    qint64 m_lastMarks = 0;
    int m_noticeVisit = 0;         // the day whose page has shown its notice in this visit
    bool m_showAgainArmed = false; // the mouse left the disabled sheet after the notice
};

} // namespace clinora
