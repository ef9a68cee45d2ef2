#pragma once

#include <QDialog>
#include <QElapsedTimer>
#include <string>
#include <string_view>

class QAction;
class QLabel;
class QToolButton;

namespace orlenta {

// "Reading disc information...": the disc's title, the directory being read and Stop reading.
// It cannot be closed by the user; the reading hides it when it ends. It is handed the progress
// of the walk and decides itself how often to show it.
class TReadingDiscForm : public QDialog {
    Q_OBJECT
public:
    explicit TReadingDiscForm(QWidget* parent);

    // The button shows the action's caption and icon, is enabled with it and runs it.
    void BindStopReading(QAction* action);
    // The walk of the disc titled discTitle begins: the window shows, centred, no directory yet.
    void StartReading(const QString& discTitle);
    // The walk reached directory (bytes as the file system gives them); it is shown when pending
    // events next run or when the walk ends.
    void NoteDirectory(std::string_view directory);
    // Called after each entry of the walk: at most every few milliseconds, shows the directory
    // noted last and lets pending events run (repaints, Stop reading).
    void LetEventsRun();
    // The walk ended: the directory noted last is shown.
    void ShowNotedDirectory();
    // Shows the window centred on its parent.
    void ShowCentred();

protected:
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void SetDiscTitle(const QString& title);
    void SetCurrentDirectory(const QString& directory);

    QWidget* LabelPanel = nullptr;
    QLabel* DiscTitleLabel = nullptr;
    QLabel* CurrentDirectoryLabel = nullptr;
    QWidget* ButtonPanel = nullptr;
    QToolButton* StopReadingButton = nullptr;
    QString FCurrentDirectory;
    // The directory reported last, and whether the label shows it already.
    std::string FNotedDirectory;
    bool FNotedDirectoryShown = true;
    // Since pending events last ran.
    QElapsedTimer FSinceEvents;
};

} // namespace orlenta
