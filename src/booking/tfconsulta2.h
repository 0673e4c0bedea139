// The rebooking dialog "FConsulta2": shows one entry of the cancelled or waiting list
// and rebooks it, corrects it, adds a waiting entry, hands the patient to the
// appointment dialog, records that the patient was told, or prints a slip.
#pragma once

#include "booking/rebooking.h"

#include <QDialog>

class QComboBox;
class QFrame;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

namespace clinora {

class AppContext;

class TFConsulta2 : public QDialog
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TFConsulta2)

public:
    explicit TFConsulta2(AppContext &context, QWidget *parent = nullptr);

    // Shows an entry of a list modally; false (nothing shown) when it is gone. The
    // result is the dialog's: Accepted when an operation changed the entry.
    bool openEntry(const AppointmentKey &key, RebookingEditor::Origin origin, int *result = nullptr);
    // Shows a new waiting entry modally; Accepted when it was added.
    int openNewWaiting();
    // The same without blocking, for the screen's own use and for tests.
    bool prepareEntry(const AppointmentKey &key, RebookingEditor::Origin origin);
    void prepareNewWaiting();

    RebookingEditor &editor() { return m_editor; }

    QLineEdit *DBEdit3 = nullptr; // Data
    QLineEdit *DBEdit4 = nullptr; // Hora
    QLineEdit *DBEdit2 = nullptr; // Medico
    QLineEdit *DBEdit1 = nullptr; // Paciente
    QLineEdit *DBEdit6 = nullptr; // Telefone
    QLineEdit *DBEdit9 = nullptr; // Situacao (hidden)
    QComboBox *DBComboBox1 = nullptr;
    QPlainTextEdit *DBMemo1 = nullptr;
    QLabel *Label5 = nullptr;      // doctor's or specialty's name
    QLabel *Label6 = nullptr;      // time
    QLabel *Label10 = nullptr;     // room
    QLabel *Label12 = nullptr;     // floor
    QLabel *Label7 = nullptr;      // "Desmarcação Comunicada"
    QLabel *Label8 = nullptr;      // title
    QFrame *NoticeFrame = nullptr; // around BAviso, shown from "Desmarcadas"
    QPushButton *BIncluir = nullptr;
    QPushButton *BAlterar = nullptr;
    QPushButton *BAviso = nullptr;
    QPushButton *BExportar = nullptr;
    QPushButton *Button3 = nullptr; // Imprimir
    QPushButton *BSair = nullptr;

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void done(int result) override;

private:
    void build();
    void FormActivate();
    void showLabels();
    void showKeyBoxes(bool shown);
    TypedEntry typed() const;
    void run(bool (RebookingEditor::*operation)(const TypedEntry &));

    AppContext &m_context;
    RebookingEditor m_editor;
    QList<QWidget *> m_keyBoxes; // the Data and Hora boxes with their captions
};

} // namespace clinora
