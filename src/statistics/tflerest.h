// The reader "Ler Estatísticas": a drive, then one of the statistics sets in its
// \Consultas\Estatisticas, chosen for the report screen to show.
#pragma once

#include <QDialog>

class QComboBox;
class QLabel;
class QListWidget;
class QPushButton;

namespace clinora {

class Clinic;
class ClickableLabel;

class TFLerEst : public QDialog
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TFLerEst)

public:
    explicit TFLerEst(Clinic &context, QWidget *parent = nullptr);

    // The folder of the set chosen when the window closed; empty when none was.
    const QString &chosenSet() const { return m_chosen; }

    QLabel *LLocal = nullptr;
    QComboBox *CBDrive = nullptr;
    ClickableLabel *Panel1 = nullptr;
    QListWidget *LBDiretorio = nullptr;
    QPushButton *Button2 = nullptr;
    QPushButton *Button1 = nullptr;

protected:
    void showEvent(QShowEvent *event) override;

private:
    void Panel1Click();
    void LBDiretorioDblClick();
    void Button2Click();

    Clinic &m_context;
    QString m_listed; // the folder the list shows
    QString m_chosen;
};

} // namespace clinora
