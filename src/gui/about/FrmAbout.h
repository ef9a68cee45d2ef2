#pragma once

#include "core/about/AboutTexts.h"
#include "core/about/EasterEggsKey.h"

#include <QDialog>
#include <memory>

class QFrame;
class QLabel;
class QPushButton;
class QScreen;
class QVBoxLayout;

namespace orlenta {

class TEasterEggsForm;

// The About box: product name, version, the maker's links and a notice, with hidden panels that
// typed words call up. ShowAboutBox shows it without making it modal and waits for its result.
class TfrmAbout : public QDialog {
    Q_OBJECT
public:
    enum class TResult { None, Ok, Cancel };

    explicit TfrmAbout(QWidget* parent = nullptr);
    ~TfrmAbout() override;

    // Shows texts: the product name at its size with the version beside it, the links to the
    // maker's addresses, the notice and the hidden URL and update panels.
    void SetTexts(const TAboutTexts& texts, const TMakerAddresses& maker);
    // Places the box in the middle of screen.
    void CenterOnScreen(const QScreen* screen);
    // OK by the button, Cancel by the close box or by another window taking the activation;
    // None while the box waits for one of them.
    TResult Result() const { return FResult; }
    // Lets events run until the box has a result or the application quits.
    void WaitForResult();

signals:
    void ResultSet();

protected:
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void done(int result) override;

private:
    // The product name with the version beside it.
    void CreateTitlePanel();
    // The maker, the mail and web addresses and the software line.
    void CreateAddressLabels();
    // The notice at the foot of the panel; returns the line above it.
    QFrame* CreateNotice();
    void LayOutAboutPanel(QFrame* rule);
    // Ok below the panels, with the dialog's own layout.
    void CreateButtonRow();
    void FormKeyPress(char32_t character);
    void ShowPanel(QWidget* panel);
    void SetResult(TResult result);
    void PlaceVersion();

    QWidget* FHostPanel = nullptr;
    QVBoxLayout* FHostLayout = nullptr;
    QWidget* FAboutPanel = nullptr;
    QWidget* FTitlePanel = nullptr;
    QLabel* FProductName = nullptr;
    QLabel* FVersion = nullptr;
    QLabel* FMakerLabel = nullptr;
    QLabel* FEmail = nullptr;
    QLabel* FSite = nullptr;
    QLabel* FSoftware = nullptr;
    QLabel* FNoticeLabel = nullptr;
    QPushButton* FOKButton = nullptr;

    std::unique_ptr<TEasterEggsForm> FEasterEggsForm;
    TEasterEggsKey FEasterEggsKey;
    QWidget* FCurrentPanel = nullptr;
    QString FUrlAppName;
    TResult FResult = TResult::None;
    bool FKeyPreview = false;
};

} // namespace orlenta
