#include "logdata/ChartForm.h"

#include "logdata/FileDialogFilter.h"
#include "logdata/LogDataFile.h"
#include "logdata/TextExport.h"

#include <QApplication>
#include <QChartView>
#include <QClipboard>
#include <QFileDialog>
#include <QMessageBox>
#include <QPainter>
#include <QPrintPreviewDialog>
#include <QPrinter>

namespace qzr {

void TChartForm::BitBtn2Click()
{
    auto* preview = new QPrintPreviewDialog(this);
    // The chart is wider than high.
    preview->printer()->setPageOrientation(QPageLayout::Landscape);
    preview->setObjectName(QStringLiteral("PrintPreview"));
    preview->setWindowTitle(QStringLiteral("Print Preview"));
    if (FEnvironment.TranslateWindow)
        FEnvironment.TranslateWindow(*preview);
    connect(preview, &QPrintPreviewDialog::paintRequested, this,
            [this](QPrinter* printer) { PrintChart(*printer); });
    preview->exec();
    delete preview;
}

void TChartForm::PrintChart(QPrinter& printer)
{
    QPainter painter(&printer);
    const QRect page(0, 0, painter.device()->width(), painter.device()->height());
    Chart->render(&painter, page, Chart->viewport()->rect(), Qt::KeepAspectRatio);
}

QImage TChartForm::ChartImage() const
{
    return Chart->grab().toImage();
}

void TChartForm::BitBtn3Click()
{
    QApplication::clipboard()->setImage(ChartImage());
}

void TChartForm::SaveBtnClick()
{
    const QString fileName = AskSaveFile(
        "SaveDialog", QStringLiteral("Save QZR1 logged data to ..."),
        QStringLiteral("Logger files (*.qzr)|*.qzr|All files (*.*)|*.*"), QStringLiteral("qzr"));
    if (fileName.isEmpty())
        return;
    try {
        SaveLogDataFile(fileName, FChartData);
    } catch (const TLogDataFileError& error) {
        ShowError(QString::fromStdString(error.what()));
    }
}

void TChartForm::ExportBtnClick()
{
    const QString fileName = AskSaveFile(
        "ExportDialog", QStringLiteral("Export QZR1 logged data to ..."),
        QStringLiteral("Text files (*.txt)|*.txt|All files (*.*)|*.*"), QStringLiteral("txt"));
    if (fileName.isEmpty())
        return;
    try {
        ReplaceFileContent(fileName, LogDataText(FWalk, FSensorUnits, QLocale()));
    } catch (const TLogDataFileError& error) {
        ShowError(QString::fromStdString(error.what()));
    }
}

QString TChartForm::Translated(const QString& key, const QString& text) const
{
    return FEnvironment.Translate ? FEnvironment.Translate(key, text) : text;
}

QString TChartForm::AskSaveFile(const char* dialogName, const QString& title, const QString& filter,
                                const QString& suffix)
{
    const QString base = QStringLiteral("ChartForm.") + QLatin1String(dialogName);
    const TFileRequest request{Translated(base + QStringLiteral(".title"), title),
                               QtFileFilter(Translated(base + QStringLiteral(".filter"), filter)),
                               suffix};
    if (FEnvironment.ChooseSaveFile)
        return FEnvironment.ChooseSaveFile(*this, request);
    QFileDialog dialog(this, request.Title, QString(), request.Filter);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setDefaultSuffix(request.DefaultSuffix);
    dialog.setOption(QFileDialog::DontConfirmOverwrite);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().constFirst();
}

void TChartForm::ShowError(const QString& message)
{
    if (FEnvironment.ShowError)
        FEnvironment.ShowError(*this, message);
    else
        QMessageBox::critical(this, QApplication::applicationDisplayName(), message);
}

} // namespace qzr
