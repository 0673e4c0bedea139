// The two register windows: "Cadastro das Especialidades" (TFDadosEsp, codes 51 to 80)
// and "Cadastro das Situações" (TFDadosSit, codes 1 to 9). A two-column grid of code
// and name; "Gravar e Sair" writes the file, "Sair sem gravar" and Esc leave it.
#pragma once

#include <QDialog>

class QPushButton;
class QTableWidget;

namespace clinora {

class MirroredClinic;

class TFDadosRegistro : public QDialog
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TFDadosRegistro)

public:
    // Fills the grid from the file and shows the window modally.
    void open();
    // The names in the order the rows stand on screen.
    QStringList namesInRowOrder() const;

    QTableWidget *Grade = nullptr;
    QPushButton *Button1 = nullptr;
    QPushButton *Button2 = nullptr;

protected:
    struct Kind
    {
        const char *objectName;
        QString caption;
        QString heading;
        QString file;
        int rows;
        bool rowsMovable;
    };
    TFDadosRegistro(MirroredClinic &context, Kind kind, QWidget *parent);

    virtual void readNames(QStringList &names) = 0;
    virtual void writeNames(const QStringList &names) = 0;
    // Whether the rows may be written in the order they stand (it says why not).
    virtual bool orderAccepted() { return true; }
    // The row (from 0) that stands at each position on screen.
    QList<int> rowOrder() const;
    // The names by the row they were read into.
    QStringList namesByRow() const;
    MirroredClinic &m_context;

private:
    void load();
    void Button1Click();

    Kind m_kind;
    // The file could not be read at this opening: it is never written over.
    bool m_readFailed = false;
};

class TFDadosEsp final : public TFDadosRegistro
{
    Q_OBJECT
public:
    explicit TFDadosEsp(MirroredClinic &context, QWidget *parent = nullptr);

private:
    void readNames(QStringList &names) override;
    void writeNames(const QStringList &names) override;
    bool orderAccepted() override;
};

class TFDadosSit final : public TFDadosRegistro
{
    Q_OBJECT
public:
    explicit TFDadosSit(MirroredClinic &context, QWidget *parent = nullptr);

private:
    void readNames(QStringList &names) override;
    void writeNames(const QStringList &names) override;
};

} // namespace clinora
