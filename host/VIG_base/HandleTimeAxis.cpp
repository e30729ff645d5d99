#include "HandleTimeAxis.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QVBoxLayout>

namespace VIG_BASE_MODULE {

namespace {
const int AxisX = 10;
const int EntryIndent = 24;
} // namespace

HandleTimeAxis::HandleTimeAxis(QWidget* parent) : QWidget(parent), entriesLayout(new QVBoxLayout(this))
{
    entriesLayout->setContentsMargins(EntryIndent, 6, 6, 6);
    entriesLayout->setSpacing(10);
    entriesLayout->addStretch(1);
}

HandleTimeAxis::~HandleTimeAxis() = default;

void HandleTimeAxis::addHandleInfo(const QString& time, const QString& note)
{
    handleInfos.append(qMakePair(time, note));

    auto* row = new QWidget(this);
    auto* rowLayout = new QVBoxLayout(row);
    rowLayout->setContentsMargins(0, 0, 0, 0);
    rowLayout->setSpacing(2);
    auto* timeLabel = new QLabel(time, row);
    auto* noteLabel = new QLabel(note, row);
    for (QLabel* label : {timeLabel, noteLabel}) {
        label->setTextFormat(Qt::PlainText);
        label->setWordWrap(true);
        label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    }
    timeLabel->setStyleSheet(QStringLiteral("color:#7994eb;"));
    noteLabel->setStyleSheet(QStringLiteral("color:#dfe1e8;"));
    rowLayout->addWidget(timeLabel);
    rowLayout->addWidget(noteLabel);

    entriesLayout->insertWidget(entriesLayout->count() - 1, row);
    rows.append(row);
    update();
}

void HandleTimeAxis::clear()
{
    handleInfos.clear();
    qDeleteAll(rows);
    rows.clear();
    update();
}

int HandleTimeAxis::count() const
{
    return handleInfos.size();
}

QVector<QPair<QString, QString>> HandleTimeAxis::entries() const
{
    return handleInfos;
}

void HandleTimeAxis::paintEvent(QPaintEvent* event)
{
    QWidget::paintEvent(event);
    if (rows.isEmpty())
        return;
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const int top = rows.first()->geometry().top() + 8;
    const int bottom = rows.last()->geometry().top() + 8;
    painter.setPen(QPen(QColor(0x55, 0x5c, 0x73), 2));
    painter.drawLine(AxisX, top, AxisX, bottom);
    painter.setPen(Qt::NoPen);
    for (int i = 0; i < rows.size(); ++i) {
        painter.setBrush(i == 0 ? QColor(0xff, 0x6e, 0x89) : QColor(0x49, 0xcc, 0x90));
        painter.drawEllipse(QPoint(AxisX, rows.at(i)->geometry().top() + 8), 5, 5);
    }
}

} // namespace VIG_BASE_MODULE
