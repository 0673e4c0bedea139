// The synchronisation dialog "Sincronização dos Bancos de Dados", shown before a
// guarded screen while the mirror is out of step with the system.
#pragma once

#include <QDialog>

class QLabel;
class QPushButton;

namespace clinora {

class MirroredClinic;
class RadioGroup;

class TFSincronizar : public QDialog
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TFSincronizar)

public:
    explicit TFSincronizar(MirroredClinic &context, QWidget *parent = nullptr);

    void done(int result) override;

protected:
    void showEvent(QShowEvent *event) override;

private:
    void RGSincronizarClick(int item);

    MirroredClinic &m_context;
    QLabel *Label1;
    QLabel *Comparison;
    RadioGroup *RGSincronizar;
    QPushButton *Button1;
};

// The mirror consistency check that every guarded screen runs before it opens: while
// mirroring is on and the two stamps differ, the synchronisation dialog comes first. A
// mirror found gone is told and mirroring goes off. Returns false when the program was
// ended (a recovery), and the screen must then not open.
bool mirrorConsistencyCheck(MirroredClinic &context, QWidget *parent);

} // namespace clinora
