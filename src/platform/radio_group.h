// A radio group: a captioned box of exclusive choices laid out in columns, whose
// clicked signal comes only from the user (selecting from code is not a click).
#pragma once

#include <QGroupBox>
#include <QStringList>

class QButtonGroup;

namespace clinora {

class RadioGroup : public QGroupBox
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(RadioGroup)

public:
    RadioGroup(const QString &name, const QString &caption, const QStringList &items, int columns = 1,
               QWidget *parent = nullptr);

    // The chosen item, -1 when none.
    int itemIndex() const;
    // Chooses an item (-1: none) without a click.
    void setItemIndex(int index);

Q_SIGNALS:
    // The user chose an item.
    void clicked(int index);

private:
    QButtonGroup *m_buttons;
};

} // namespace clinora
