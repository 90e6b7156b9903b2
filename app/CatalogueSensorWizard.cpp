#include "app/CatalogueSensorWizard.h"

#include <catalogue/SensorSetup.h>
#include <catalogue/SensorTable.h>
#include <catalogue/WizardForm.h>
#include <translation/Translator.h>

#include <memory>

namespace qzr {

void TCatalogueSensorWizard::OpenWizard(QWidget& owner, float sensitivity,
                                        std::function<void(TSensorChoice)> closed)
{
    auto wizard = std::make_unique<TWizardForm>(FCatalogue, &owner);
    FTranslator.TranslateForm(*wizard);
    wizard->SetSensitivity(sensitivity);
    wizard->setAttribute(Qt::WA_DeleteOnClose);
    wizard->setWindowModality(Qt::WindowModal);
    TWizardForm* shown = wizard.release();
    QObject::connect(
        shown, &QDialog::finished, shown, [this, shown, closed = std::move(closed)](int result) {
            if (result != QDialog::Accepted) {
                closed({});
                return;
            }
            // The sensor picked now, whatever the shared catalogue
            // shows by the time the choice is applied.
            closed([sensor = FCatalogue.Current(),
                    sensitivity = shown->Sensitivity()](TSetupData& image, int firmwareVersion) {
                ApplySensorSetup(image, SensorSetupFor(sensor, sensitivity, firmwareVersion));
            });
        });
    shown->open();
}

} // namespace qzr
