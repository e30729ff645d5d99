#pragma once

#include <QPair>
#include <QVector>
#include <QWidget>

class QVBoxLayout;

namespace VIG_BASE_MODULE {

// The handling history of an alarm as a vertical time line of (time, note) entries, in the order added.
class HandleTimeAxis : public QWidget
{
    Q_OBJECT

public:
    explicit HandleTimeAxis(QWidget* parent = nullptr);
    ~HandleTimeAxis() override;

    void addHandleInfo(const QString& time, const QString& note);
    void clear();

    int count() const;
    QVector<QPair<QString, QString>> entries() const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QVBoxLayout* entriesLayout = nullptr;
    QVector<QPair<QString, QString>> handleInfos;
    QList<QWidget*> rows;
};

} // namespace VIG_BASE_MODULE
