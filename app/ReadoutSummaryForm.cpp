#include "app/ReadoutSummaryForm.h"

#include <QLabel>
#include <QVBoxLayout>

namespace qzr {

TReadoutSummaryForm::TReadoutSummaryForm() : QWidget(nullptr, Qt::Window)
{
    setObjectName(QStringLiteral("ReadoutSummaryForm"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("Logged data"));
    auto* layout = new QVBoxLayout(this);
    RecordsLabel = new QLabel(this);
    RecordsLabel->setObjectName(QStringLiteral("RecordsLabel"));
    // The count is data, not designed text.
    RecordsLabel->setProperty("tag", 999);
    layout->addWidget(RecordsLabel);
    resize(320, 80);
}

void TReadoutSummaryForm::SetData(const TLogData& data)
{
    FData = data;
    RecordsLabel->setText(QStringLiteral("%1 records read.").arg(RecordCount(FData)));
}

std::size_t RecordCount(const TLogData& data)
{
    std::size_t count = 0;
    while (count < LogRecordCount && !data.Record(count).Erased())
        ++count;
    return count;
}

} // namespace qzr
