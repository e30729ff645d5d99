#pragma once

#include <QObject>
#include <QString>

class QTranslator;

namespace VIG_BASE_MODULE {

// Entry object of a module library: the host calls moduleInit() once after loading it.
class ModuleInitialization : public QObject
{
    Q_OBJECT

public:
    explicit ModuleInitialization(QObject* parent = nullptr);
    ~ModuleInitialization() override;

    virtual void recoveryToInitialState();
    virtual void moduleInit();

    // The host's language, as a module's translation names it: "zh" (the default) or "en".
    static void setLanguage(const QString& language);
    static QString language();

protected:
    virtual void init();

    // Installs the translation at a (resource) path in the application; false when it cannot be loaded.
    bool loadTranslator(const QString& path);
    // Adds the style sheet at a (resource) path to the application's style sheet, once per path; false when
    // it cannot be read.
    bool loadStyleSheet(const QString& path);

private:
    QTranslator* translator = nullptr;
    QStringList loadedStyleSheets;
};

} // namespace VIG_BASE_MODULE
