#include "Translator.h"

#include "DatabaseLocation.h"
#include "FormTranslator.h"
#include "TranslatorError.h"

#include <QApplication>
#include <QFileInfo>
#include <QMessageBox>
#include <QWidget>

namespace qzr {
namespace {

void ShowErrorBox(const QString& message)
{
    QMessageBox::critical(nullptr, QGuiApplication::applicationDisplayName(), message);
}

void QueueQuit()
{
    QMetaObject::invokeMethod(QCoreApplication::instance(), &QCoreApplication::quit,
                              Qt::QueuedConnection);
}

} // namespace

TTranslator::TTranslator(TTranslatorOptions options, QObject* parent)
    : QObject(parent), FOptions(std::move(options))
{
    if (!FOptions.ShowError)
        FOptions.ShowError = ShowErrorBox;
    if (!FOptions.RequestQuit)
        FOptions.RequestQuit = QueueQuit;
    OpenDatabase();
}

TTranslator::~TTranslator()
{
    CloseDatabase();
}

void TTranslator::OpenDatabase()
{
    CloseDatabase();
    FDatabasePath =
        FOptions.DatabasePath.isEmpty() ? DefaultLanguageDatabase() : FOptions.DatabasePath;
    if (!QFileInfo::exists(FDatabasePath)) {
        FOptions.ShowError("ERROR: Critical file " + FDatabasePath +
                           " not found. Please reinstall the application.");
        FOptions.RequestQuit();
    }
    try {
        FTable.Open(FDatabasePath);
    } catch (const TTranslatorError& error) {
        FOptions.ShowError(error.Message());
    }
}

void TTranslator::CloseDatabase()
{
    FTable.Close();
}

void TTranslator::SetLanguage(int languageIndex)
{
    if (languageIndex >= 0 && languageIndex < LanguageCount)
        FCurrLanguage = static_cast<TLanguage>(languageIndex);
}

QString TTranslator::Translate(const QString& key, const QString& defaultText)
{
    if (defaultText.isEmpty() || !ConnectionIsvalid())
        return defaultText;
    const std::optional<QString> text = FTable.Lookup(key, FCurrLanguage);
    if (!text) {
        FTable.Append(key, defaultText);
        return defaultText;
    }
    return text->isEmpty() ? defaultText : *text;
}

void TTranslator::TranslateForm(QWidget& targetForm)
{
    try {
        TranslateWindow(targetForm, [this](const QString& key, const QString& text) {
            return Translate(key, text);
        });
    } catch (const TTranslatorError& error) {
        GiveUpDatabase(error);
    }
}

void TTranslator::TranslateAllForms()
{
    const QWidgetList windows = QApplication::topLevelWidgets();
    for (QWidget* window : windows) {
        if (!window->parentWidget() && IsTranslatableWindow(*window))
            TranslateForm(*window);
    }
}

void TTranslator::GiveUpDatabase(const TTranslatorError& error)
{
    // A table that opened but fails on use (a damaged file, a locked or
    // read-only one) is closed: the windows keep the texts they have, and
    // the failure is told once instead of at every window.
    CloseDatabase();
    FOptions.ShowError("The language database " + FDatabasePath +
                       " cannot be used; the program goes on untranslated.\n" + error.Message());
}

} // namespace qzr
