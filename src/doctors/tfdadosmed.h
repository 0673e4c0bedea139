// "Ficha Dados do Médico": the form on which doctors are registered, changed, sent on
// leave and removed, and their weekly timetables edited. It shows what the doctor
// editor logic returns and forwards every event to it.
#pragma once

#include "doctors/doctor_editor.h"

#include <QDialog>
#include <QList>
#include <array>

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QRadioButton;
class QTableWidget;

namespace clinora {

class AppContext;
class ClickableLabel;
class TFHorarios;

class TFDadosMed : public QDialog
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TFDadosMed)

public:
    explicit TFDadosMed(AppContext &context, QWidget *parent = nullptr);
    ~TFDadosMed() override;

    // Resets the form and shows it modally.
    void execute();
    // The opening of the form (run by execute before the form shows).
    void FormShow();

    const DoctorEditor &editor() const { return m_editor; }
    // The painted notice, empty when none is shown.
    QString noticeText() const;

    QLineEdit *ECod = nullptr;
    QLineEdit *ENome = nullptr;
    QComboBox *CBEsp = nullptr;
    QLineEdit *ESala = nullptr;
    QLineEdit *EAndar = nullptr;
    QLineEdit *ETurno = nullptr;
    QTableWidget *SGHorasDias = nullptr;
    std::array<QCheckBox *, 7> weekdayBoxes{}; // CBSeg ... CBSab, CBDom
    QListWidget *ListBox1 = nullptr;
    QPushButton *BLimpaGrade = nullptr;
    QPushButton *BretornaHorarios = nullptr;
    QPushButton *Button2 = nullptr;
    QRadioButton *RBTemp = nullptr;
    QRadioButton *RBDef = nullptr;
    QRadioButton *RBLimpar = nullptr;
    QLineEdit *ESaida = nullptr;
    QLineEdit *ERetorno = nullptr;
    QLabel *leaveEndLabel = nullptr;
    QPushButton *BAlterar = nullptr;
    QPushButton *Button1 = nullptr;
    ClickableLabel *Label3 = nullptr;
    QLabel *Label9 = nullptr;
    QLabel *Label10 = nullptr;
    QLabel *Label12 = nullptr;
    QLabel *Label13 = nullptr;
    QPushButton *BLimpa = nullptr;

public Q_SLOTS:
    // Closing ("Sair", Esc): the snapshot and the files; a failed write keeps the form
    // open so that nothing typed is lost.
    void reject() override;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void buildForm();
    QWidget *buildTimetable();

    DoctorForm readForm() const;
    void render(const DoctorForm &form);
    void renderGrid(const TimetableGrid &grid);
    void renderSpecialty(const QString &specialty);
    void showFreeCodes();
    void showNotice(bool shown);
    void uncheckWeekdays();
    void uncheckLeaveButtons();
    void resetTimeList();
    void focusLeaveStart();

    void ECodClick();
    void ECodChange();
    void ListBox1Click();
    void BLimpaGradeClick();
    void BretornaHorariosClick();
    void RBTempClick();
    void RBDefClick();
    void RBLimparClick();
    void BAlterarClick();
    void Label3Click();

    AppContext &m_context;
    DoctorEditor m_editor;
    TFHorarios *m_list = nullptr;
    QButtonGroup *m_leaveButtons = nullptr;
    QLabel *m_notice = nullptr;
    // Set while the form writes its own widgets, so that no handler takes it for the user.
    bool m_rendering = false;
    // The leave date boxes typed into since the form last filled them.
    QList<QLineEdit *> m_datesTyped;
};

} // namespace clinora
