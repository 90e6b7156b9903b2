#include "app/MainForm.h"

#include "app/AboutForm.h"
#include "cradle/CradleForm.h"
#include "cradle/SpiLink.h"
#include "widgets/RadioGroup.h"

#include <app/texts/Texts.h>
#include <catalogue/PersonalityData.h>
#include <logdata/ChartForm.h>
#include <translation/Translator.h>
#include <widgets/Hint.h>

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QIcon>
#include <QLabel>
#include <QMessageBox>
#include <QScreen>
#include <QSettings>
#include <QStatusBar>
#include <QStatusTipEvent>
#include <QStyle>
#include <QTimer>
#include <QToolBar>

#include <algorithm>
#include <exception>
#include <utility>

namespace qzr {

namespace {

const QString LanguageSection = QStringLiteral("Language/selection");
constexpr int DefaultLanguageIndex = 1;
constexpr int LanguageSelectorWidth = 152;
constexpr int HintPanelWidth = 250;

void ShowErrorBox(const QString& text)
{
    QMessageBox::critical(nullptr, QApplication::applicationDisplayName(), text);
}

} // namespace

TMainForm::TMainForm(TMainFormEnvironment environment)
    : Cradles(nullptr, environment.Devices), FEnvironment(std::move(environment)),
      FSensorView(FEnvironment.PersonalityData.SensorTable),
      FSensorWizard(FEnvironment.PersonalityData.SensorTable, FEnvironment.Translator)
{
    if (!FEnvironment.ShowError)
        FEnvironment.ShowError = ShowErrorBox;
    BuildWindow();
    Cradles.Loaded();
    FormCreate();
}

TMainForm::~TMainForm()
{
    ReleaseBridgePolls();
    qApp->removeEventFilter(this);
    Cradles.DisconnectAll();
    QSettings ini(FEnvironment.IniFile, QSettings::IniFormat);
    ini.setValue(LanguageSection, static_cast<int>(FEnvironment.Translator.CurrLanguage()));
    qDeleteAll(CradleForms());
    qDeleteAll(TChartForm::Windows());
}

void TMainForm::BuildWindow()
{
    setObjectName(QStringLiteral("MainForm"));
    setWindowFlags(windowFlags() & ~Qt::WindowMaximizeButtonHint);
    QPalette white = palette();
    white.setColor(QPalette::Window, Qt::white);
    setPalette(white);
    setAutoFillBackground(true);
    CreateActions();

    auto* toolBar = new QToolBar(this);
    toolBar->setObjectName(QStringLiteral("ActionToolBar1"));
    toolBar->setMovable(false);
    toolBar->setFloatable(false);
    toolBar->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    toolBar->setIconSize(QSize(16, 16));
    toolBar->addAction(FileOpen);
    toolBar->addAction(HelpAboutAction);
    toolBar->addAction(FileExitAction);
    auto* spacer = new QWidget(toolBar);
    spacer->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
    toolBar->addWidget(spacer);
    OvcLanguageSelector = new QComboBox(toolBar);
    OvcLanguageSelector->setObjectName(QStringLiteral("OvcLanguageSelector"));
    OvcLanguageSelector->setProperty("tag", 999);
    OvcLanguageSelector->setFixedWidth(LanguageSelectorWidth);
    OvcLanguageSelector->addItems(TTranslator::LanguageNames());
    FLanguageSelectorItem = toolBar->addWidget(OvcLanguageSelector);
    addToolBar(toolBar);

    HintPanel = new QLabel(this);
    HintPanel->setObjectName(QStringLiteral("HintPanel"));
    HintPanel->setProperty("tag", 999);
    HintPanel->setFixedWidth(HintPanelWidth);
    statusBar()->setObjectName(QStringLiteral("StatusBar"));
    statusBar()->setSizeGripEnabled(false);
    statusBar()->addWidget(HintPanel);

    // The toolbar and the status bar fill the client area; never clip them.
    setFixedSize(ClientWidth, std::max(ClientHeight, toolBar->sizeHint().height() +
                                                         statusBar()->sizeHint().height()));
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        QRect frame = frameGeometry();
        frame.moveCenter(screen->availableGeometry().center());
        move(frame.topLeft());
    }
    // The long part of the hint of whatever is under the mouse, in any window.
    qApp->installEventFilter(this);
}

void TMainForm::CreateActions()
{
    FileOpen = new QAction(style()->standardIcon(QStyle::SP_DialogOpenButton),
                           QStringLiteral("&Open..."), this);
    FileOpen->setObjectName(QStringLiteral("FileOpen"));
    FileOpen->setShortcut(QKeySequence(QStringLiteral("Ctrl+O")));
    SetHint(*FileOpen, QStringLiteral("Open|Opens an existing file"));
    connect(FileOpen, &QAction::triggered, this, &TMainForm::FileOpenExecute);

    HelpAboutAction = new QAction(style()->standardIcon(QStyle::SP_MessageBoxInformation),
                                  QStringLiteral("&About..."), this);
    HelpAboutAction->setObjectName(QStringLiteral("HelpAboutAction"));
    SetHint(*HelpAboutAction, QStringLiteral("About|Show program information"));
    connect(HelpAboutAction, &QAction::triggered, this, &TMainForm::HelpAboutActionExecute);

    FileExitAction = new QAction(style()->standardIcon(QStyle::SP_DialogCloseButton),
                                 QStringLiteral("E&xit"), this);
    FileExitAction->setObjectName(QStringLiteral("FileExitAction"));
    SetHint(*FileExitAction, QStringLiteral("Exit|Quits the application"));
    connect(FileExitAction, &QAction::triggered, this, &QWidget::close);
}

void TMainForm::FormCreate()
{
    TPersonalityData& personality = FEnvironment.PersonalityData;
    TTranslator& translator = FEnvironment.Translator;
    // Any failure here abandons the rest of these steps without a message.
    try {
        FTexts = std::make_unique<TTexts>();
        FMessageTexts = std::make_unique<TTextsMessageSource>(*FTexts);
        QApplication::setApplicationDisplayName(personality.AppTitle);
        QApplication::setWindowIcon(QIcon(personality.Iconfile));
        {
            QSettings ini(FEnvironment.IniFile, QSettings::IniFormat);
            if (personality.HasTranslations)
                translator.SetLanguage(ini.value(LanguageSection, DefaultLanguageIndex).toInt());
            else
                translator.SetLanguage(langEnglish);
            OvcLanguageSelector->setCurrentIndex(translator.CurrLanguage());
        }
        translator.TranslateAllForms();
        setWindowTitle(personality.MainformCaption);
        connect(&personality.SensorTable, &TSensorTable::CurrentChanged, this,
                &TMainForm::ShowCurrentSensorEverywhere);
        Cradles.OnDeviceChange = [this](QObject*) { ScanAfterDeviceChange(); };
        // The bridges found now are opened and set up in the scan's order,
        // but their first polls wait until this window is on screen.
        FBridgePollsHeld = true;
        TSpiLink::HoldPolls(true);
        QTimer::singleShot(FirstPollDeadline, this, &TMainForm::ReleaseBridgePolls);
        CradlesDeviceChange();
    } catch (const std::exception&) {
    }
    LatestSessionID = 0;
    UpdateAllowances();
    connect(OvcLanguageSelector, &QComboBox::currentIndexChanged, this,
            &TMainForm::OvcLanguageSelectorChange);
}

void TMainForm::UpdateAllowances()
{
    FLanguageSelectorItem->setVisible(FEnvironment.PersonalityData.HasTranslations);
}

std::uint8_t TMainForm::NewSessionID()
{
    LatestSessionID = static_cast<std::uint8_t>(LatestSessionID + 1);
    return LatestSessionID;
}

void TMainForm::OvcLanguageSelectorChange(int index)
{
    try {
        FEnvironment.Translator.SetLanguage(static_cast<std::uint8_t>(index));
        FEnvironment.Translator.TranslateAllForms();
    } catch (const std::exception& error) {
        FEnvironment.ShowError(QString::fromStdString(error.what()));
    }
}

void TMainForm::HelpAboutActionExecute()
{
    const auto aboutForm = std::make_unique<TAboutForm>();
    FEnvironment.Translator.TranslateForm(*aboutForm);
    aboutForm->LoadPicture(FEnvironment.PersonalityData.AboutformImage);
    aboutForm->SetLink(FEnvironment.PersonalityData.AboutformLink);
    aboutForm->exec();
}

void TMainForm::closeEvent(QCloseEvent* event)
{
    event->accept();
    // Ends the event loop at once: quit() would first ask every window to
    // close, and a control window that holds its cradle refuses.
    QCoreApplication::exit(0);
}

void TMainForm::paintEvent(QPaintEvent* event)
{
    QMainWindow::paintEvent(event);
    ReleaseBridgePolls();
}

void TMainForm::ReleaseBridgePolls()
{
    if (!FBridgePollsHeld)
        return;
    FBridgePollsHeld = false;
    TSpiLink::HoldPolls(false);
}

bool TMainForm::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::StatusTip)
        HintPanel->setText(static_cast<QStatusTipEvent*>(event)->tip());
    return QMainWindow::eventFilter(watched, event);
}

void TMainForm::ShowCurrentSensorEverywhere()
{
    for (TCradleForm* window : CradleForms())
        window->ShowCurrentSensor();
}

} // namespace qzr
