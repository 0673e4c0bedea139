// "Horários do Médico": one doctor's weekly timetable, read only in effect.
#pragma once

#include <QDialog>

class QLabel;
class QPushButton;
class QTableWidget;

namespace clinora {

class Clinic;

class TFGradeHoras : public QDialog
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TFGradeHoras)

public:
    explicit TFGradeHoras(Clinic &context, QWidget *parent = nullptr);

    // Fills the grid from the timetable of doctor k (Monday to Saturday, then Sunday).
    void fill(int code);
    // Fills and shows the window modally.
    void showTimetable(int code);

    QLabel *Label1 = nullptr;
    QLabel *Label2 = nullptr;
    QTableWidget *SGGradeHoras = nullptr;
    QPushButton *Button1 = nullptr;

protected:
    void keyPressEvent(QKeyEvent *event) override;

private:
    Clinic &m_context;
};

} // namespace clinora
