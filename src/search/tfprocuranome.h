// The dialog "Pesquisar por Nome", opened by F4 on the booking screen: finds a
// patient's appointments and list entries by part of the name; a double-click on a
// hit closes it and names the hit to go to.
#pragma once

#include "search/name_search.h"

#include <QDialog>
#include <optional>

class QLabel;
class QLineEdit;
class QPushButton;
class QTableView;

namespace clinora {

class Clinic;

class TFProcuraNome : public QDialog
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TFProcuraNome)

public:
    explicit TFProcuraNome(Clinic &context, QWidget *parent = nullptr);

    // Shows the dialog modally; the hit double-clicked, or nothing when it was closed.
    std::optional<AppointmentKey> choose();

    NameSearch &search() { return m_search; }

    QLabel *Label1 = nullptr;
    QLineEdit *Edit1 = nullptr;
    QPushButton *Button1 = nullptr;
    QTableView *DBGrid1 = nullptr;
    QPushButton *Button2 = nullptr;

protected:
    void showEvent(QShowEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    void FormActivate();
    void Button1Click();
    void DBGrid1DblClick(int row);

    Clinic &m_context;
    NameSearch m_search;
    std::optional<AppointmentKey> m_chosen;
};

} // namespace clinora
