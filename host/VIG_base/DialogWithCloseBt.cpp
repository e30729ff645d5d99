#include "DialogWithCloseBt.h"

#include <QPushButton>

namespace VIG_BASE_MODULE {

namespace {
const int CloseButtonSize = 24;
const int CloseButtonMargin = 6;
} // namespace

DialogWithCloseBt::DialogWithCloseBt(QWidget* parent, bool moveable)
    : MoveableDialog(parent, moveable), closeBt(new QPushButton(QStringLiteral("\u00d7"), this))
{
    closeBt->setObjectName(QStringLiteral("VIG_BASE_MODULE__DialogWithCloseBt_closeBt"));
    closeBt->setFixedSize(CloseButtonSize, CloseButtonSize);
    closeBt->setFlat(true);
    closeBt->setFocusPolicy(Qt::NoFocus);
    closeBt->setCursor(Qt::PointingHandCursor);
    closeBt->setToolTip(tr("Close"));
    closeBt->setStyleSheet(QStringLiteral("QPushButton{color:#8a92aa;border:none;font-size:18px;}"
                                          "QPushButton:hover{color:#ffffff;background:#ff6e89;}"));
    connect(closeBt, &QPushButton::clicked, this, &QDialog::reject);
    placeCloseButton();
}

DialogWithCloseBt::~DialogWithCloseBt() = default;

QPushButton* DialogWithCloseBt::closeButton() const
{
    return closeBt;
}

void DialogWithCloseBt::placeCloseButton()
{
    closeBt->move(width() - CloseButtonSize - CloseButtonMargin, CloseButtonMargin);
    // Forms laid out after construction must not cover the button.
    closeBt->raise();
}

void DialogWithCloseBt::resizeEvent(QResizeEvent* event)
{
    MoveableDialog::resizeEvent(event);
    placeCloseButton();
}

void DialogWithCloseBt::showEvent(QShowEvent* event)
{
    MoveableDialog::showEvent(event);
    placeCloseButton();
}

} // namespace VIG_BASE_MODULE
