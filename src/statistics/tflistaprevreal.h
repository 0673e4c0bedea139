// The weekly report screen "Listagem Previsão / Realização de Consultas": the list of
// weeks, their creation from a typed first day, and the landscape printout of the
// chosen week's booked and attended patients per doctor.
#pragma once

#include "statistics/weeks.h"

#include <QDialog>

class QLabel;
class QListWidget;
class QPlainTextEdit;
class QPushButton;

namespace clinora {

class MirroredClinic;

class TFListaPrevReal : public QDialog
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TFListaPrevReal)

public:
    explicit TFListaPrevReal(MirroredClinic &context, QWidget *parent = nullptr);

    const Weeks &weeks() const { return m_weeks; }

    QPlainTextEdit *Memo1 = nullptr;
    QLabel *Label1 = nullptr;
    QLabel *Label2 = nullptr;
    QListWidget *ListBox1 = nullptr;
    QPushButton *BCriarSemanas = nullptr;
    QPushButton *Button1 = nullptr;
    QPushButton *BSair = nullptr;

protected:
    void showEvent(QShowEvent *event) override;

private:
    void FormActivate();
    void BCriarSemanasClick();
    void Button1Click();
    // Fills the list from Semanas.Txt and chooses the last week with counts.
    void loadWeeks();

    MirroredClinic &m_context;
    Weeks m_weeks;
};

} // namespace clinora
