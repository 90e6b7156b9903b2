// Any file as language.mdb: opened, looked up in every language and appended
// to, as the translator uses it. Every failure must be a TTranslatorError.

#include "translation/LanguageTable.h"
#include "translation/TranslatorError.h"

#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>

#include <cstddef>
#include <cstdint>

namespace {

QTemporaryDir* Directory = nullptr;

} // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    static QCoreApplication application(*argc, *argv);
    static QTemporaryDir directory;
    Directory = &directory;
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QString path = Directory->filePath(QStringLiteral("language.mdb"));
    QFile::remove(path);
    QFile::remove(path + "-journal");
    {
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly))
            return 0;
        file.write(reinterpret_cast<const char*>(data), static_cast<qint64>(size));
    }
    qzr::TLanguageTable table;
    try {
        table.Open(path);
        for (const QString& key : {QStringLiteral("MainForm.Caption"),
                                   QStringLiteral("CradleForm.ReadButton.caption")}) {
            for (int language = 0; language < qzr::LanguageCount; ++language)
                table.Lookup(key, static_cast<qzr::TLanguage>(language));
        }
        table.Append(QStringLiteral("Fuzz.New.caption"), QStringLiteral("New"));
    } catch (const qzr::TTranslatorError&) {
    }
    return 0;
}
