#pragma once

#include <QString>
#include <QWidget>

class QLabel;
class QPlainTextEdit;

namespace orlenta {

// Holds the hidden panels of the About box. The form itself is never shown: the box moves a
// panel into its own window while that panel is called up, and gives it back afterwards.
class TEasterEggsForm : public QWidget {
    Q_OBJECT
public:
    TEasterEggsForm();

    // Fills the URL panel's text, the download address and the update panel's line from the
    // maker's site S, software page P and the application name N.
    void FillInfo(const QString& site, const QString& softwarePage, const QString& appName);

    // The panel of that object name, wherever it is shown at the moment; nullptr for none.
    QWidget* Panel(const QString& name) const;
    // The address the update panel's line opens.
    const QString& UpdateUrl() const { return FUpdateUrl; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void DownloadNowLabelClick();

    QWidget* FUrlPanel = nullptr;
    QPlainTextEdit* FUrlMemo = nullptr;
    QWidget* FUpdatePanel = nullptr;
    QLabel* FDownloadNowLabel = nullptr;
    QWidget* FMakerPanel = nullptr;
    QString FUpdateUrl;
};

} // namespace orlenta
