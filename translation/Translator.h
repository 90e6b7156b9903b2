#pragma once

#include "Language.h"
#include "LanguageTable.h"

#include <QObject>
#include <QString>
#include <functional>

class QWidget;

namespace qzr {

class TTranslatorError;

struct TTranslatorOptions {
    // The language database; empty: language.mdb beside the program (see
    // DefaultLanguageDatabase).
    QString DatabasePath;
    // Shows an error to the user; empty: a critical message box.
    std::function<void(const QString&)> ShowError;
    // Asks the application to end; empty: a queued QCoreApplication::quit,
    // which takes effect once the event loop runs.
    std::function<void()> RequestQuit;
};

// Translates the windows of the program from the language table. Keys are
// built from the window's and the controls' object names (conventions in
// translation/README.md); keys met for the first time are added to the table
// with the window's text as their default. One instance for the program,
// created after the application object and before the windows.
class TTranslator : public QObject {
    Q_OBJECT

public:
    explicit TTranslator(TTranslatorOptions options = {}, QObject* parent = nullptr);
    ~TTranslator() override;

    // (Re)opens the database. A missing file is reported as a critical file
    // and the application is asked to end; any failure to open leaves the
    // translator closed, so that every text stays as designed.
    void OpenDatabase();
    void CloseDatabase();
    bool ConnectionIsvalid() const { return FTable.IsOpen(); }
    QString DatabasePath() const { return FDatabasePath; }

    // Stores the language (a TLanguage value) and translates nothing; an
    // index that names no language column is ignored.
    void SetLanguage(int languageIndex);
    TLanguage CurrLanguage() const { return FCurrLanguage; }
    TLanguage CurrentLanguage() const { return FCurrLanguage; }
    void SetCurrentLanguage(int languageIndex) { SetLanguage(languageIndex); }

    // The names of the languages, in TLanguage order.
    static QStringList LanguageNames() { return LanguageColumnNames(); }

    // The text for the key in the current language: the first row with this
    // key; its default when the row's language column is empty, when the
    // translator is closed or when the default is empty. An unknown key is
    // added with its default. Throws TTranslatorError when the table cannot
    // be read or written.
    QString Translate(const QString& key, const QString& defaultText);

    // Translates one window and the windows it owns. A table that fails
    // while it is read or appended to is closed and its failure shown once,
    // naming the file; the program goes on untranslated.
    void TranslateForm(QWidget& targetForm);
    // Translates every top-level window of the application, hidden ones
    // included.
    void TranslateAllForms();

private:
    void GiveUpDatabase(const TTranslatorError& error);

    TTranslatorOptions FOptions;
    TLanguageTable FTable;
    QString FDatabasePath;
    TLanguage FCurrLanguage = langEnglish;
};

} // namespace qzr
