#pragma once

#include "app/version/VersionResource.h"

#include <QDialog>

class QLabel;
class QPushButton;

namespace qzr {

class TUrlLabel;

// The About box: a picture, the program's file version and a web link, closed
// with one button. Its parts are stacked from the top with fixed heights and
// the box is as high as they are together; it is as wide as its picture, at
// least MinimumClientWidth. The version label and the link are never
// translated.
class TAboutForm : public QDialog {
    Q_OBJECT
public:
    static constexpr int TopPanelHeight = 21;
    static constexpr int VersionLabelHeight = 16;
    static constexpr int UrlHeight = 13;
    static constexpr int ButtonPanelHeight = 41;
    static constexpr int MinimumClientWidth = 230;

    // versionBlocks: where version blocks come from; empty: the platform's.
    explicit TAboutForm(TVersionBlockReader versionBlocks = {}, QWidget* parent = nullptr);

    // Shows the picture in the file instead of the built-in one and fits the
    // box to it; a file that does not load as a picture leaves the box as it
    // is.
    void LoadPicture(const QString& fileName);
    // The address the link opens.
    void SetLink(const QString& address);

    TVersionResource VersionResource;
    QLabel* VersionLabel = nullptr;
    QLabel* Image = nullptr;
    TUrlLabel* OvcURL = nullptr;
    QWidget* TopPanel = nullptr;
    QWidget* ButtonPanel = nullptr;
    QPushButton* BitBtn1 = nullptr;
    QPushButton* BitBtn2 = nullptr;

private:
    void BuildWindow();
    void FormCreate();
    void ShowPicture(const QPixmap& picture);
};

} // namespace qzr
