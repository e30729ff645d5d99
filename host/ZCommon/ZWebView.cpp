#include "ZWebView.h"

#include <QWebFrame>
#include <QWebPage>

namespace ZCOMMON {

ZWebView::ZWebView(QWidget* parent) : QWebView(parent) {}

ZWebView::~ZWebView()
{
    // A page stopped while QWebView is being destroyed still reports its load; by then the derived
    // views that listen to it are gone.
    // page() would make a page when there is none yet.
    if (QWebPage* ownPage = findChild<QWebPage*>(QString(), Qt::FindDirectChildrenOnly))
        disconnect(ownPage, nullptr, this, nullptr);
}

QString ZWebView::scriptStringLiteral(const QString& text)
{
    // Everything but letters, digits and a few harmless signs becomes a \u escape, so the literal can hold
    // no quote, backslash, line break, "<" or "/" of its own: it cannot end early or close a script tag.
    QString literal;
    literal.reserve(text.size() + 2);
    literal += QLatin1Char('"');
    for (const QChar c : text) {
        const ushort u = c.unicode();
        const bool plain = (u >= 'a' && u <= 'z') || (u >= 'A' && u <= 'Z') || (u >= '0' && u <= '9') ||
                           u == ' ' || u == '_' || u == '.' || u == ',' || u == ':' || u == '-';
        if (plain)
            literal += c;
        else
            literal += QStringLiteral("\\u%1").arg(u, 4, 16, QLatin1Char('0'));
    }
    literal += QLatin1Char('"');
    return literal;
}

QVariant ZWebView::callJSFunction(const QString& function, const QStringList& arguments)
{
    QStringList literals;
    literals.reserve(arguments.size());
    for (const QString& argument : arguments)
        literals << scriptStringLiteral(argument);

    const QString script = QStringLiteral("(function(){var f=window[%1];"
                                          "if(typeof f!=='function'){return undefined;}"
                                          "return f.apply(window,[%2]);})()")
                               .arg(scriptStringLiteral(function), literals.join(QLatin1Char(',')));
    return page()->mainFrame()->evaluateJavaScript(script);
}

} // namespace ZCOMMON
