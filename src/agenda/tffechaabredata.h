// The dialog "Dias sem atendimentos": closes the typed dates (their appointments go to
// the cancelled list), lists the closed dates and opens the selected ones again.
#pragma once

#include <QDialog>

class QFrame;
class QLabel;
class QListWidget;
class QPushButton;
class QTableWidget;

namespace clinora {

class AppContext;

class TFFechaAbreData : public QDialog
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TFFechaAbreData)

public:
    static constexpr int kEntryRows = 20;
    static constexpr int kVisibleRows = 10;

    explicit TFFechaAbreData(AppContext &context, QWidget *parent = nullptr);

    // Whether an appointment was moved or deleted since the dialog was shown.
    bool tableChanged() const { return m_tableChanged; }

    QFrame *Panel2 = nullptr;
    QLabel *Label1 = nullptr;
    QTableWidget *StringGrid1 = nullptr;
    QPushButton *BIncluir = nullptr;
    QPushButton *BConsulta = nullptr;
    QPushButton *BFimConsulta = nullptr;
    QPushButton *BExcluir = nullptr;
    QListWidget *ListBox1 = nullptr;
    QPushButton *Button1 = nullptr;

    void done(int result) override;

protected:
    void showEvent(QShowEvent *event) override;

private:
    void FormActivate();
    void BConsultaClick();
    void BFimConsultaClick();
    void BIncluirClick();
    void BExcluirClick();
    void Panel2Exit();
    void FormClose();

    QString cellText(int col, int row) const;
    void setCellText(int col, int row, const QString &text);

    AppContext &m_context;
    bool m_tableChanged = false;
};

} // namespace clinora
