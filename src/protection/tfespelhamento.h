// The status and location dialog "Espelhamento": mirroring on or off, and the drive
// that holds the mirror. Closing it applies the choice.
#pragma once

#include <QDialog>

class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace clinora {

class MirroredClinic;
class RadioGroup;

class TFEspelhamento : public QDialog
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TFEspelhamento)

public:
    explicit TFEspelhamento(MirroredClinic &context, QWidget *parent = nullptr);
    ~TFEspelhamento() override;

    void done(int result) override;

protected:
    void showEvent(QShowEvent *event) override;

private:
    void FormActivate();
    void RGEspelhoClick(int item);
    void BAlterarClick();
    void GBEspelhoExit();
    void FormClose();

    MirroredClinic &m_context;
    bool m_wasOn = false;
    QString m_chosenLocation;

    RadioGroup *RGEspelho;
    QGroupBox *GBEspelho;
    QLabel *Label1;
    QLineEdit *EDrive;
    QPushButton *BAlterar;
    QComboBox *CBDrive;
    QPushButton *BSair;
};

} // namespace clinora
