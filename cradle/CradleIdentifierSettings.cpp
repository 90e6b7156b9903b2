#include "cradle/CradleIdentifierSettings.h"

#include <QLoggingCategory>
#include <QSettings>

namespace qzr {

namespace {

Q_LOGGING_CATEGORY(lcSettings, "qzr.settings", QtWarningMsg)

void Override(QSettings& settings, const char* key, std::uint16_t& identifier)
{
    const QString name = QString::fromLatin1(key);
    if (!settings.contains(name))
        return;
    const QString text = settings.value(name).toString().trimmed();
    bool ok = false;
    const uint value = text.toUInt(&ok, 0);
    if (!ok || value > 0xFFFF) {
        qCWarning(lcSettings, "Ignoring the cradle identifier %s=%s: not a 16-bit number.", key,
                  qUtf8Printable(text));
        return;
    }
    identifier = static_cast<std::uint16_t>(value);
}

} // namespace

TCradleIdentifierSet ReadCradleIdentifiers(QSettings& systemSettings)
{
    TCradleIdentifierSet identifiers;
    systemSettings.beginGroup(QStringLiteral("FACTORY"));
    Override(systemSettings, "CRADLEVENDORID", identifiers.VendorId);
    Override(systemSettings, "HIDCRADLEPRODUCTID", identifiers.HidProductId);
    Override(systemSettings, "BRIDGECRADLEPRODUCTID", identifiers.BridgeProductId);
    systemSettings.endGroup();
    return identifiers;
}

TCradleIdentifierSet ReadCradleIdentifiers()
{
    QSettings systemSettings(QSettings::NativeFormat, QSettings::SystemScope,
                             QStringLiteral("Halvern"), QStringLiteral("QZR"));
    return ReadCradleIdentifiers(systemSettings);
}

} // namespace qzr
