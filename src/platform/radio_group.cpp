#include "platform/radio_group.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QGridLayout>
#include <QRadioButton>

namespace clinora {

RadioGroup::RadioGroup(const QString &name, const QString &caption, const QStringList &items, int columns,
                       QWidget *parent)
    : QGroupBox(caption, parent), m_buttons(new QButtonGroup(this))
{
    setObjectName(name);
    auto *layout = new QGridLayout(this);
    const int rows = (static_cast<int>(items.size()) + columns - 1) / columns;
    for (int i = 0; i < items.size(); ++i) {
        auto *button = new QRadioButton(items[i], this);
        button->setObjectName(name + QStringLiteral("_%1").arg(i));
        m_buttons->addButton(button, i);
        layout->addWidget(button, i % rows, i / rows);
    }
    connect(m_buttons, &QButtonGroup::idClicked, this, &RadioGroup::clicked);
}

int RadioGroup::itemIndex() const
{
    return m_buttons->checkedId();
}

void RadioGroup::setItemIndex(int index)
{
    if (index < 0) {
        // An exclusive group cannot be emptied while it is exclusive.
        m_buttons->setExclusive(false);
        for (QAbstractButton *b : m_buttons->buttons())
            b->setChecked(false);
        m_buttons->setExclusive(true);
        return;
    }
    if (QAbstractButton *b = m_buttons->button(index))
        b->setChecked(true);
}

} // namespace clinora
