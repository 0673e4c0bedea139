// A label that reports a click, for the texts and pictures a user clicks to change.
#pragma once

#include <QLabel>

namespace clinora {

class ClickableLabel : public QLabel
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(ClickableLabel)

public:
    explicit ClickableLabel(QWidget *parent = nullptr);

Q_SIGNALS:
    void clicked();

protected:
    void mouseReleaseEvent(QMouseEvent *event) override;
};

} // namespace clinora
