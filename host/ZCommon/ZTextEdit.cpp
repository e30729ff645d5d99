#include "ZTextEdit.h"

#include <QMimeData>
#include <QTextCursor>

namespace ZCOMMON {

ZTextEdit::ZTextEdit(QWidget* parent) : QTextEdit(parent)
{
    setAcceptRichText(false);
    connect(this, &QTextEdit::textChanged, this, &ZTextEdit::enforceMaxLength);
}

ZTextEdit::~ZTextEdit() = default;

void ZTextEdit::setMaxLength(int maxLength)
{
    maxTextLength = qMax(0, maxLength);
    enforceMaxLength();
}

int ZTextEdit::maxLength() const
{
    return maxTextLength;
}

bool ZTextEdit::canInsertFromMimeData(const QMimeData* source) const
{
    return source && source->hasText();
}

void ZTextEdit::insertFromMimeData(const QMimeData* source)
{
    if (source && source->hasText())
        textCursor().insertText(source->text());
}

void ZTextEdit::enforceMaxLength()
{
    if (trimming)
        return;
    const QString text = toPlainText();
    if (maxTextLength > 0 && text.size() > maxTextLength) {
        trimming = true;
        setPlainText(text.left(maxTextLength));
        QTextCursor cursor = textCursor();
        cursor.movePosition(QTextCursor::End);
        setTextCursor(cursor);
        trimming = false;
    }
    emit signalTextLengthChanged(toPlainText().size());
}

} // namespace ZCOMMON
