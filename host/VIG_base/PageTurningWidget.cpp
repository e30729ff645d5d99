#include "PageTurningWidget.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>

namespace VIG_BASE_MODULE {

PageTurningWidget::PageTurningWidget(QWidget* parent) : QWidget(parent)
{
    qRegisterMetaType<PAGETURNFLAG>("PAGETURNFLAG");
    qRegisterMetaType<PAGETURNFLAG>("VIG_BASE_MODULE::PAGETURNFLAG");

    countLabel = new QLabel(this);
    perPageBox = new QComboBox(this);
    for (int count : {20, 50, 100})
        perPageBox->addItem(tr("%1 / page").arg(count), count);
    firstBt = makeButton(tr("First"), FIRST_PAGE);
    previousBt = makeButton(tr("Previous"), PREVIOUS_PAGE);
    nextBt = makeButton(tr("Next"), NEXT_PAGE);
    lastBt = makeButton(tr("Last"), LAST_PAGE);

    auto* box = new QHBoxLayout(this);
    box->setContentsMargins(9, 4, 9, 4);
    box->setSpacing(6);
    box->addWidget(countLabel);
    box->addStretch(1);
    box->addWidget(perPageBox);
    box->addWidget(firstBt);
    box->addWidget(previousBt);
    box->addWidget(nextBt);
    box->addWidget(lastBt);

    connect(perPageBox, QOverload<int>::of(&QComboBox::currentIndexChanged), this, [this](int index) {
        const int count = perPageBox->itemData(index).toInt();
        if (count > 0)
            emit signalSetNumPerPage(count);
    });

    setRecordsCount(0);
    setPriviousButtomEnabled(false);
    setNextButtomEnabled(false);
}

PageTurningWidget::~PageTurningWidget() = default;

QPushButton* PageTurningWidget::makeButton(const QString& text, PAGETURNFLAG flag)
{
    auto* button = new QPushButton(text, this);
    button->setFocusPolicy(Qt::NoFocus);
    connect(button, &QPushButton::clicked, this, [this, flag] { emit signalPageChanged(flag); });
    return button;
}

void PageTurningWidget::setRecordsCount(int count)
{
    records = qMax(0, count);
    countLabel->setText(tr("%1 records").arg(records));
}

int PageTurningWidget::recordsCount() const
{
    return records;
}

void PageTurningWidget::setPriviousButtomEnabled(bool enabled)
{
    firstBt->setEnabled(enabled);
    previousBt->setEnabled(enabled);
}

void PageTurningWidget::setNextButtomEnabled(bool enabled)
{
    nextBt->setEnabled(enabled);
    lastBt->setEnabled(enabled);
}

int PageTurningWidget::numPerPage() const
{
    return perPageBox->currentData().toInt();
}

QPushButton* PageTurningWidget::firstButton() const
{
    return firstBt;
}

QPushButton* PageTurningWidget::previousButton() const
{
    return previousBt;
}

QPushButton* PageTurningWidget::nextButton() const
{
    return nextBt;
}

QPushButton* PageTurningWidget::lastButton() const
{
    return lastBt;
}

QComboBox* PageTurningWidget::numPerPageBox() const
{
    return perPageBox;
}

} // namespace VIG_BASE_MODULE
