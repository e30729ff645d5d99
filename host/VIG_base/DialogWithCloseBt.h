#pragma once

#include "MoveableDialog.h"

class QPushButton;

namespace VIG_BASE_MODULE {

// A moveable dialog with its own close button in the top right corner; the button rejects the dialog.
class DialogWithCloseBt : public MoveableDialog
{
    Q_OBJECT

public:
    explicit DialogWithCloseBt(QWidget* parent = nullptr, bool moveable = true);
    ~DialogWithCloseBt() override;

    QPushButton* closeButton() const;

protected:
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void placeCloseButton();

    QPushButton* closeBt = nullptr;
};

} // namespace VIG_BASE_MODULE
