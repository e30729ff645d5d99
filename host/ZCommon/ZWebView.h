#pragma once

#include <QStringList>
#include <QVariant>
#include <QWebView>

namespace ZCOMMON {

// A web view whose page is driven from C++ by calling the page's own script functions.
class ZWebView : public QWebView
{
    Q_OBJECT

public:
    explicit ZWebView(QWidget* parent = nullptr);
    ~ZWebView() override;

    // Calls window[function](arguments...) in the main frame and returns its result. Every argument reaches
    // the function as a string value: nothing of an argument is ever parsed as script.
    QVariant callJSFunction(const QString& function, const QStringList& arguments);

    // The script literal for a text, safe to embed anywhere in a script (pure ASCII, quotes escaped).
    static QString scriptStringLiteral(const QString& text);
};

} // namespace ZCOMMON
