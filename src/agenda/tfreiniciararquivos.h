// The restart dialog "Reiniciar Arquivos": which groups of data files go back to their
// templates ("Limpar") and which stay ("Manter").
#pragma once

#include <QDialog>

class QLabel;
class QPushButton;

namespace clinora {

class AppContext;
class RadioGroup;

class TFReiniciarArquivos : public QDialog
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TFReiniciarArquivos)

public:
    explicit TFReiniciarArquivos(AppContext &context, QWidget *parent = nullptr);

    // The statistics group, hidden as delivered, offered where the statistics wing is
    // shown.
    void showStatisticsGroup(bool shown);

protected:
    void showEvent(QShowEvent *event) override;

private:
    void Button1Click();

    AppContext &m_context;
    QLabel *Label5;
    RadioGroup *RGMed;
    RadioGroup *RGEsp;
    RadioGroup *RGSit;
    RadioGroup *RGConsultas;
    // Hidden unless the statistics wing is shown: resets the open year's statistics.
    RadioGroup *RGEstatisticas;
    QLabel *Label1;
    QLabel *Label2;
    QPushButton *Button1;
    QPushButton *Button2;
};

} // namespace clinora
