// The notice window "Aviso": why a day sheet cannot be used. Only "Sair" closes it.
#pragma once

#include <QDialog>

class QLabel;
class QPushButton;

namespace clinora {

class TFAviso : public QDialog
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TFAviso)

public:
    explicit TFAviso(QWidget *parent = nullptr);

    // Sets the text and shows the window modally at the top edge of the main window.
    void showNotice(const QString &text);
    // Shows the window again without blocking, with the text it last had.
    void showAgain();
    bool hintShown() const { return m_hint; }

    QLabel *Label1 = nullptr;
    QPushButton *Button1 = nullptr;

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void reject() override;

private:
    void placeAtTop();

    bool m_hint = false;
    bool m_leaving = false;
};

} // namespace clinora
