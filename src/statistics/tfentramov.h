// The movement-entry form "Entrada de Movimentos": the individual layout opens a
// doctor's attendance sheet of a day to record it; the collective layout takes totals
// (doctor, situation, quantity, month, year) entry after entry. What was recorded is
// posted when the form closes.
#pragma once

#include "statistics/movement_entry.h"

#include <QDialog>

class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;

namespace clinora {

class AppContext;
class ClickableLabel;
class TFFichaMed;

class TFEntraMov : public QDialog
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TFEntraMov)

public:
    explicit TFEntraMov(AppContext &context, QWidget *parent = nullptr);
    ~TFEntraMov() override;

    enum class Layout { Individual, Collective };
    // Opened from the menu: a new list of entries, the layout, shown modally.
    void open(Layout layout);
    // QDialog's own open() stays callable beside it.
    using QDialog::open;

    const CollectiveEntry &collected() const { return m_entry; }
    TFFichaMed &fichaMed() { return *FFichaMed; }

signals:
    // The doctor label was clicked: the list of the doctors is to be shown.
    void doctorListRequested();

public:

    QLabel *Label5 = nullptr;
    QLabel *Label8 = nullptr;
    QLabel *Label6 = nullptr;
    QLineEdit *Edit5 = nullptr;
    ClickableLabel *Label7 = nullptr;
    QLineEdit *Edit6 = nullptr;
    QPushButton *Button4 = nullptr;
    ClickableLabel *Label1 = nullptr;
    QLineEdit *Edit1 = nullptr;
    QLabel *Label2 = nullptr;
    QLineEdit *Edit2 = nullptr;
    QLabel *Label3 = nullptr;
    QLineEdit *Edit3 = nullptr;
    QLabel *Label4 = nullptr;
    QLineEdit *Edit4 = nullptr;
    QLabel *Label9 = nullptr;
    QLineEdit *Edit7 = nullptr;
    QPushButton *BConfirma = nullptr;
    // The entries confirmed since the form opened, so that the receptionist sees them.
    QListWidget *LBEntradas = nullptr;
    QPushButton *Button2 = nullptr;
    QPushButton *Button1 = nullptr;

public Q_SLOTS:
    void done(int result) override;

protected:
    void showEvent(QShowEvent *event) override;

private:
    void setLayoutShown(Layout layout);
    void FormActivate();
    void DoctorLabelClick();
    void Button4Click();
    void BConfirmaClick();
    void Button2Click();
    // Appends the entries and posts, once after new work; false when that failed and
    // the form must stay open with its entries.
    bool processOnClose();

    AppContext &m_context;
    CollectiveEntry m_entry;
    // Cleared by every confirmed entry and every recorded sheet.
    bool m_processed = true;
    TFFichaMed *FFichaMed = nullptr;
    QList<QWidget *> m_individual;
    QList<QWidget *> m_collective;
};

} // namespace clinora
