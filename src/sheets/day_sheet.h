// One day sheet of the booking screen: 51 rows (0 = heading row, 1 to 50 = doctors) by
// 25 columns (0 = doctor column, 1 to 24 = slots) of text, a label and an enabled state.
#pragma once

#include "sheets/text_grid.h"

namespace clinora {

class DaySheet : public TextGrid
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(DaySheet)

public:
    static constexpr int kColumns = 25;
    static constexpr int kRows = 51;
    // The role that tells a view what a slot cell holds.
    enum Role { KindRole = Qt::UserRole + 1 };
    enum class Kind { Free, NoSlot, Marked, Booked, Reserved, Other };

    explicit DaySheet(int day, QObject *parent = nullptr);

    int day() const { return m_day; }
    // Empties the slot cells (columns 1 to 24) of every doctor row.
    void clearSlots() { clearBody(); }

    bool isEnabled() const { return m_enabled; }
    void setEnabled(bool enabled);
    QString label() const { return m_label; }
    void setLabel(const QString &label);

    static Kind kindOf(const QString &text);

Q_SIGNALS:
    void enabledChanged(bool enabled);
    void labelChanged(const QString &label);

protected:
    QVariant cellData(const QString &text, int col, int row, int role) const override;

private:
    int m_day;
    bool m_enabled = true;
    QString m_label;
};

} // namespace clinora
