// The day list window "Consultas do Dia": one doctor's booked and free slots of a day,
// printable; a double-click goes to the slot on the day sheet.
#pragma once

#include "booking/day_list.h"

#include <QDialog>

#include <functional>

class QListWidget;
class QPushButton;

namespace clinora {

class AppContext;

class TFConsultasDia : public QDialog
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TFConsultasDia)

public:
    explicit TFConsultasDia(AppContext &context, QWidget *parent = nullptr);

    // Fills the lists for a day number and a doctor code.
    void fill(int day, int code);
    // Fills and shows the list beside the booking screen, or modally.
    void showList(int day, int code, bool modal);

    // Where a double-click goes: the date shown, the slot, the doctor code.
    std::function<void(const QString &date, int slot, int code)> goToSlot;

    const DayList &list() const { return m_list; }

    QListWidget *ListBox1 = nullptr;
    QListWidget *ListBox2 = nullptr;
    QPushButton *BImprimir = nullptr;
    QPushButton *BSair = nullptr;

protected:
    void keyPressEvent(QKeyEvent *event) override;

private:
    void ListBoxDblClick(QListWidget *list);
    void BImprimirClick();

    AppContext &m_context;
    DayList m_list;
};

} // namespace clinora
