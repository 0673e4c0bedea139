// The window that closes ("Fechar/Reservar Horários") and reopens ("Abrir/Liberar
// Horários") a period of the day for the chosen doctors on the chosen dates, and
// prints what the last operation did.
#pragma once

#include "doctors/blocking.h"

#include <QDialog>
#include <functional>
#include <optional>

class QFrame;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;

namespace clinora {

class AppContext;

class TFSemConsulta : public QDialog
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TFSemConsulta)

public:
    explicit TFSemConsulta(AppContext &context, QWidget *parent = nullptr);

    // Whether an operation of this run changed the appointment table.
    bool tableChanged() const { return m_tableChanged; }

    // Set by the main window: the booking screen's cancelled and waiting lists show the
    // table as it now is.
    std::function<void()> listsChanged;

    QLineEdit *Edit1 = nullptr; // "Início"
    QLineEdit *Edit2 = nullptr; // "Fim"
    QFrame *Panel1 = nullptr;   // around the two time boxes
    QListWidget *ListBox1 = nullptr;
    QListWidget *ListBox2 = nullptr;
    QFrame *Panel2 = nullptr;
    QPushButton *BBloqueiaHora = nullptr;
    QPushButton *Button2 = nullptr;
    QPushButton *BLimpar = nullptr;
    QPushButton *BImprimir = nullptr;
    QPushButton *BSair = nullptr;

    void done(int result) override;

protected:
    void showEvent(QShowEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void FormActivate();
    void Panel2MouseMove();
    void runOperation(blocking::Mode mode);
    void print(bool displaced);
    void FormClose();

    AppContext &m_context;
    bool m_tableChanged = false;
    std::optional<blocking::Result> m_last;
};

} // namespace clinora
