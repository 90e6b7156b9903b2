#include "app/version/BuildVersionBlock.h"
#include "app/version/VersionBlockPlatform.h"

#include <QCoreApplication>
#include <QFileInfo>

namespace qzr {

std::unique_ptr<TVersionBlock> ReadVersionBlock(const QString& fileName)
{
    const QString file = QFileInfo(fileName).canonicalFilePath();
    if (file.isEmpty() ||
        file != QFileInfo(QCoreApplication::applicationFilePath()).canonicalFilePath())
        return nullptr;
    return BuildVersionBlock();
}

} // namespace qzr
