#pragma once

#include <QDialog>

class QAction;
class QLabel;
class QToolButton;

namespace orlenta {

// "Reading disc information...": the disc's title, the directory being read and Stop reading.
// It cannot be closed by the user; the reading hides it when it ends.
class TReadingDiscForm : public QDialog {
    Q_OBJECT
public:
    explicit TReadingDiscForm(QWidget* parent);

    // The button shows the action's caption and icon, is enabled with it and runs it.
    void BindStopReading(QAction* action);
    void SetDiscTitle(const QString& title);
    void SetCurrentDirectory(const QString& directory);
    // Shows the window centred on its parent.
    void ShowCentred();

protected:
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    QWidget* LabelPanel = nullptr;
    QLabel* DiscTitleLabel = nullptr;
    QLabel* CurrentDirectoryLabel = nullptr;
    QWidget* ButtonPanel = nullptr;
    QToolButton* StopReadingButton = nullptr;
    QString FCurrentDirectory;
};

} // namespace orlenta
