#pragma once

#include <QTextEdit>

namespace ZCOMMON {

// A read-only text box that wraps its text (also inside long words) and grows in height to show all of it.
// The text is always plain text, never markup.
class WordwrapLabel : public QTextEdit
{
    Q_OBJECT

public:
    explicit WordwrapLabel(QWidget* parent = nullptr);
    ~WordwrapLabel() override;

    void setText(const QString& text);
    QString text() const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;
    bool hasHeightForWidth() const override;
    int heightForWidth(int width) const override;

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void fitHeight();
};

} // namespace ZCOMMON
