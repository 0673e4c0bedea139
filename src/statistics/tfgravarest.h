// The external statistics windows: "Gravar Estatísticas" writes the open year's set
// under a name onto a drive, "Copiar Estatísticas" copies a set from one drive to
// another.
#pragma once

#include <QDialog>

class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;

namespace clinora {

class MirroredClinic;
class Services;

// Fills a drive list with the drives there are, keeping the chosen one when it still is.
void fillDrives(QComboBox *drives, const Services &services, QChar preferred);

class TFGravarEst : public QDialog
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TFGravarEst)

public:
    explicit TFGravarEst(MirroredClinic &context, QWidget *parent = nullptr);

    QLabel *LLocal = nullptr;
    QComboBox *CBDrive = nullptr;
    QLabel *LNome = nullptr;
    QLineEdit *ENome = nullptr;
    QPushButton *Button1 = nullptr;
    QPushButton *Button2 = nullptr;

protected:
    void showEvent(QShowEvent *event) override;

private:
    void Button1Click();

    MirroredClinic &m_context;
};

class TFCopiarEst : public QDialog
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TFCopiarEst)

public:
    explicit TFCopiarEst(MirroredClinic &context, QWidget *parent = nullptr);

    QLabel *Label1 = nullptr;
    QComboBox *DriveIni = nullptr;
    // The sets on the source drive.
    QListWidget *DiretorioIni = nullptr;
    QComboBox *DriveFim = nullptr;
    QPushButton *Button1 = nullptr;
    QPushButton *Button2 = nullptr;

protected:
    void showEvent(QShowEvent *event) override;

private:
    void fillSets();
    void Button1Click();

    MirroredClinic &m_context;
};

} // namespace clinora
