// The history editor "Preenchimento do Quadro Histórico": shows the yearly totals of
// each specialty over three years (Historico.Txt), lets them be typed or cleared,
// and saves them.
#pragma once

#include "statistics/history_editor.h"

#include <QDialog>

class QLabel;
class QPushButton;
class QStackedWidget;
class QTableWidget;

namespace clinora {

class MirroredClinic;

class TFEditarHistorico : public QDialog
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TFEditarHistorico)

public:
    explicit TFEditarHistorico(MirroredClinic &context, QWidget *parent = nullptr);

    // The notice over the grid until the form is clicked.
    QLabel *Memo1 = nullptr;
    QLabel *Panel1 = nullptr;
    QTableWidget *Grade = nullptr;
    QPushButton *BMostrar = nullptr;
    QPushButton *BLimpar = nullptr;
    QPushButton *BIncluir = nullptr;
    QPushButton *BGravar = nullptr;
    QPushButton *Button1 = nullptr;

    // Whether the grid is shown (the notice hidden).
    bool gridShown() const;

public Q_SLOTS:
    void done(int result) override;

protected:
    void showEvent(QShowEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void FormActivate();
    void loadGrid();
    void setEditable(bool editable);
    void BMostrarClick();
    void BIncluirClick();
    void BLimparClick();
    void BGravarClick();
    void GradeMouseMove();

    MirroredClinic &m_context;
    QStackedWidget *m_stack = nullptr;
    HistoryTable m_table;
};

} // namespace clinora
