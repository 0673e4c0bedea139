// The dialog "Agenda Futura": shows the prepared limit date and moves it forward, with
// the holidays of the new days.
#pragma once

#include <QDate>
#include <QDialog>

class QFrame;
class QLabel;
class QLineEdit;
class QPushButton;
class QTableWidget;

namespace clinora {

class AppContext;

class TFPrepararFuturo : public QDialog
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TFPrepararFuturo)

public:
    explicit TFPrepararFuturo(AppContext &context, QWidget *parent = nullptr);

    QLabel *Label1 = nullptr;
    QFrame *Panel1 = nullptr;
    QLabel *Label2 = nullptr;
    QLabel *Label3 = nullptr;
    QLineEdit *Edit1 = nullptr;
    QLabel *Label4 = nullptr;
    QTableWidget *StringGrid1 = nullptr;
    QPushButton *Button1 = nullptr;
    QPushButton *Button2 = nullptr;

protected:
    void showEvent(QShowEvent *event) override;

private:
    void FormActivate();
    void Button1Click();
    QStringList holidayCells() const;

    AppContext &m_context;
    QDate m_currentLimit;
};

} // namespace clinora
