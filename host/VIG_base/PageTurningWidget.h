#pragma once

#include <QMetaType>
#include <QWidget>

class QComboBox;
class QLabel;
class QPushButton;

namespace VIG_BASE_MODULE {

enum PAGETURNFLAG { FIRST_PAGE = 0, PREVIOUS_PAGE = 1, NEXT_PAGE = 2, LAST_PAGE = 3 };

// Page controls under a table: first, previous, next and last page, the number of records, and a choice
// of 20, 50 or 100 records per page.
class PageTurningWidget : public QWidget
{
    Q_OBJECT

public:
    explicit PageTurningWidget(QWidget* parent = nullptr);
    ~PageTurningWidget() override;

    void setRecordsCount(int count);
    int recordsCount() const;
    // Previous also governs first, next also governs last.
    void setPriviousButtomEnabled(bool enabled);
    void setNextButtomEnabled(bool enabled);
    int numPerPage() const;

    QPushButton* firstButton() const;
    QPushButton* previousButton() const;
    QPushButton* nextButton() const;
    QPushButton* lastButton() const;
    QComboBox* numPerPageBox() const;

signals:
    void signalSetNumPerPage(int count); // 20, 50 or 100, never 0
    void signalPageChanged(PAGETURNFLAG flag);

private:
    QPushButton* makeButton(const QString& text, PAGETURNFLAG flag);

    QPushButton* firstBt = nullptr;
    QPushButton* previousBt = nullptr;
    QPushButton* nextBt = nullptr;
    QPushButton* lastBt = nullptr;
    QLabel* countLabel = nullptr;
    QComboBox* perPageBox = nullptr;
    int records = 0;
};

} // namespace VIG_BASE_MODULE

Q_DECLARE_METATYPE(VIG_BASE_MODULE::PAGETURNFLAG)
