#include "WordwrapLabel.h"

#include <QAbstractTextDocumentLayout>
#include <QTextDocument>
#include <QtMath>

namespace ZCOMMON {

WordwrapLabel::WordwrapLabel(QWidget* parent) : QTextEdit(parent)
{
    setReadOnly(true);
    setAcceptRichText(false);
    setFrameShape(QFrame::NoFrame);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setLineWrapMode(QTextEdit::WidgetWidth);
    setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    setTextInteractionFlags(Qt::TextSelectableByMouse);
    setContextMenuPolicy(Qt::NoContextMenu);
    document()->setDocumentMargin(2);
    QSizePolicy policy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    policy.setHeightForWidth(true);
    setSizePolicy(policy);
    connect(document()->documentLayout(), &QAbstractTextDocumentLayout::documentSizeChanged, this,
            &WordwrapLabel::fitHeight);
    fitHeight();
}

WordwrapLabel::~WordwrapLabel() = default;

void WordwrapLabel::setText(const QString& text)
{
    // Setting a text rebuilds and lays out the document; panels refill their labels often with the same.
    if (text == toPlainText())
        return;
    setPlainText(text);
    fitHeight();
}

QString WordwrapLabel::text() const
{
    return toPlainText();
}

int WordwrapLabel::heightForWidth(int width) const
{
    const int margins = frameWidth() * 2 + contentsMargins().left() + contentsMargins().right();
    const int textWidth = qMax(1, width - margins);
    // The text is laid out for the label's own width already, and a layout mostly asks for that one.
    if (document()->textWidth() == textWidth)
        return qCeil(document()->size().height()) + frameWidth() * 2;
    QTextDocument* measure = document()->clone();
    measure->setTextWidth(textWidth);
    const int height = qCeil(measure->size().height()) + frameWidth() * 2;
    delete measure;
    return height;
}

bool WordwrapLabel::hasHeightForWidth() const
{
    return true;
}

QSize WordwrapLabel::sizeHint() const
{
    const int width = qMax(60, QTextEdit::sizeHint().width());
    return QSize(width, heightForWidth(width));
}

QSize WordwrapLabel::minimumSizeHint() const
{
    return QSize(20, fontMetrics().height() + 4);
}

void WordwrapLabel::resizeEvent(QResizeEvent* event)
{
    QTextEdit::resizeEvent(event);
    fitHeight();
}

void WordwrapLabel::fitHeight()
{
    const int height = qCeil(document()->size().height()) + frameWidth() * 2;
    if (height > 0 && height != this->height()) {
        setFixedHeight(height);
        updateGeometry();
    }
}

} // namespace ZCOMMON
