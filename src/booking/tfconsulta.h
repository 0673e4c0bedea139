// The appointment dialog "Consulta": books, changes, deletes, cancels, cuts, pastes
// and prints the appointment of one doctor's slot on one date.
#pragma once

#include "booking/appointment_editor.h"

#include <QDialog>

class QComboBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

namespace clinora {

class AppContext;

class TFConsulta : public QDialog
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TFConsulta)

public:
    explicit TFConsulta(AppContext &context, QWidget *parent = nullptr);

    // Prepares the dialog for a sheet cell and shows it modally.
    void openFor(const CurrentCell &cell);
    // Prepares and activates without blocking (the screen shows it, tests drive it).
    void prepareFor(const CurrentCell &cell);

    AppointmentEditor &editor() { return m_editor; }

    QLineEdit *DBEdit1 = nullptr;  // Paciente
    QLineEdit *DBEdit2 = nullptr;  // Medico (hidden)
    QLineEdit *DBEdit3 = nullptr;  // Data
    QLineEdit *DBEdit4 = nullptr;  // Hora (hidden)
    QLineEdit *DBEdit6 = nullptr;  // Telefone
    QLineEdit *DBEdit9 = nullptr;  // Situacao (hidden)
    QComboBox *DBComboBox1 = nullptr;
    QPlainTextEdit *DBMemo1 = nullptr;
    QLabel *Label5 = nullptr;  // doctor's name
    QLabel *Label6 = nullptr;  // time
    QLabel *Label10 = nullptr; // room
    QLabel *Label12 = nullptr; // floor
    QLabel *Label8 = nullptr;  // title
    QPushButton *BIncluir = nullptr;
    QPushButton *BAlterar = nullptr;
    QPushButton *BExcluir = nullptr;
    QPushButton *Button1 = nullptr; // P
    QPushButton *Button2 = nullptr; // H
    QPushButton *Button3 = nullptr; // Imprimir
    QPushButton *BExportar = nullptr;
    QPushButton *BImportar = nullptr;
    QPushButton *BSair = nullptr;

protected:
    void keyPressEvent(QKeyEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;
    void done(int result) override;

private:
    void build();
    void FormActivate();
    TypedAppointment typed() const;
    void run(bool (AppointmentEditor::*operation)(const TypedAppointment &));
    void finish(bool done);
    void BSairClick();
    void BImprimirClick();

    AppContext &m_context;
    AppointmentEditor m_editor;
};

} // namespace clinora
