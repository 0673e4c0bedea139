// The status screen "Situação das Cópias de Segurança": a picture of the system drive,
// the mirror and the journal between them.
#pragma once

#include "protection/synchronisation.h"

#include <QDialog>

class QFrame;
class QLabel;

namespace clinora {

class MirroredClinic;

class TFMostraCopias : public QDialog
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TFMostraCopias)

public:
    explicit TFMostraCopias(MirroredClinic &context, QWidget *parent = nullptr);

    // The status screen from the menu: the warnings, then the picture. Returns what it
    // found, the journal count among it.
    mirror::CopiesStatus execute();

protected:
    void showEvent(QShowEvent *event) override;

private:
    void FormActivate();

    MirroredClinic &m_context;
    int m_journalCount = 0;
    bool m_notCurrent = false;

    QFrame *DriveInt;
    QFrame *DriveExt;
    QFrame *MovDrive;
    QFrame *MovInter;
    QLabel *Label2;
    QLabel *Label3;
    QLabel *Label5;
    QLabel *Label6;
};

} // namespace clinora
