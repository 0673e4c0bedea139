// The list window "Relação dos Médicos": the registered doctors, or the doctors with
// the specialties.
#pragma once

#include <QDialog>

class QListWidget;

namespace clinora {

class Clinic;

class TFHorarios : public QDialog
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TFHorarios)

public:
    explicit TFHorarios(Clinic &context, QWidget *parent = nullptr);

    // Fills the list with the doctors and shows it modally (at 330, 120, 310 x 420).
    void showDoctorList();
    // Reloads the specialties and shows both lists modally (at 100, 100, 610 x 440);
    // afterwards the window goes back to 240 x 400.
    void showDoctorsAndSpecialties();

    // The list as filled, for the callers that show the window themselves.
    void fillDoctorList();
    void fillDoctorsAndSpecialties();

    QListWidget *ListBox1 = nullptr;

private:
    void place(int left, int top, int width, int height);

    Clinic &m_context;
};

} // namespace clinora
