#pragma once

#include <QTextEdit>

namespace ZCOMMON {

// A text edit that takes plain text only (pasted markup loses its formatting) and can limit its length.
class ZTextEdit : public QTextEdit
{
    Q_OBJECT

public:
    explicit ZTextEdit(QWidget* parent = nullptr);
    ~ZTextEdit() override;

    // 0 (the default) means no limit; longer text is cut at the limit.
    void setMaxLength(int maxLength);
    int maxLength() const;

signals:
    void signalTextLengthChanged(int length);

protected:
    bool canInsertFromMimeData(const QMimeData* source) const override;
    void insertFromMimeData(const QMimeData* source) override;

private:
    void enforceMaxLength();

    int maxTextLength = 0;
    bool trimming = false;
};

} // namespace ZCOMMON
