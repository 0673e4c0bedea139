// A list tab of the booking screen, "Desmarcadas" or "Em Espera": its buttons, the
// doctor-code box of the candidates, the count warning and the grid, a view on the
// list's model that selects several rows.
#pragma once

#include "booking/list_tab.h"

#include <QWidget>
#include <functional>

class QLabel;
class QLineEdit;
class QPushButton;
class QTableView;

namespace clinora {

class MirroredClinic;
class ClickableLabel;
class TFConsulta2;

class ListTabWidget : public QWidget
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(ListTabWidget)

public:
    ListTabWidget(MirroredClinic &context, ListTab::Kind kind, TFConsulta2 &dialog, QWidget *parent = nullptr);

    ListTab &tab() { return m_tab; }

    // "Atualizar": the whole list, with the count warning.
    void refresh();
    // Brings an entry of this list into view, selected alone; the whole list is opened
    // when the open one lacks it. False when the list does not hold the entry.
    bool showEntry(const AppointmentKey &key);
    // The grid's selected rows, in order.
    std::vector<int> selectedRows() const;

    // Set by the screen: shows the list of doctors and specialties.
    std::function<void()> showDoctorsAndSpecialties;

    static const QString kConventions;

    // The controls, named as on the screen: DBGrid1, BAtualizarEspera, Button16,
    // BExcluir, BImprimir, Edit1, Button12, Label37, Label41, Label42 on "Desmarcadas";
    // DBGrid2, Button2, Button6, Button8, Button4, Edit2, Button14, Label40, Label43,
    // Label44 on "Em Espera".
    QTableView *grid = nullptr;
    QPushButton *atualizar = nullptr;
    QPushButton *avisar = nullptr;  // "Desmarcadas" only
    QPushButton *incluir = nullptr; // "Em Espera" only
    QPushButton *excluir = nullptr;
    QPushButton *imprimir = nullptr;
    QLineEdit *codigo = nullptr;
    QPushButton *candidatos = nullptr;
    ClickableLabel *codMed = nullptr;
    QLabel *countWarning = nullptr;
    QLabel *adviceWarning = nullptr;

protected:
    void showEvent(QShowEvent *event) override;
    // Enter on a row of the grid opens it, as a double-click does.
    bool eventFilter(QObject *watched, QEvent *event) override;
    void hideEvent(QHideEvent *event) override;

private:
    void build(const QString &title, const QString &panel);
    void showWarning();
    void openRow(int row);
    void incluirClick();

    MirroredClinic &m_context;
    ListTab m_tab;
    TFConsulta2 &m_dialog;
    bool m_conventionsShown = false;
};

} // namespace clinora
