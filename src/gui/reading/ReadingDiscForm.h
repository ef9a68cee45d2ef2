#pragma once

#include <QDialog>
#include <QElapsedTimer>
#include <functional>
#include <string>
#include <string_view>

class QAction;
class QLabel;
class QToolButton;

namespace orlenta {

class TDiscReading;

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
    // Binds reading's hooks so that its walks show here: the title and the directory being read,
    // window disabled while only Stop reading takes input. When a walk ends (or does not start)
    // the window hides and window is enabled again; ready then runs, and must leave busy mode.
    void FollowReading(TDiscReading& reading, QWidget& window, std::function<void()> ready);

    // The directory being read (bytes as the file system gives them), noted without painting:
    // eliding a path shapes the whole text, which for each of a hundred thousand directories
    // would cost more than reading them. It is shown by ShowNotedDirectory.
    void NoteDirectory(std::string_view directory);
    // Shows the noted directory, when it is not shown already.
    void ShowNotedDirectory();
    // Lets pending events (repaints, Stop reading) run, with the noted directory shown, when
    // 20 ms have passed since they last ran; called after every entry a reading finds, since on
    // an optical disc a single entry can take a good part of a second.
    void LetEventsRunWhenDue();
    // How many archives of this reading could not be read whole; shown beside Stop reading when
    // there are any.
    void SetArchivesNotWhole(unsigned long long count);
    // How many folders of this reading could not be read; shown under the directory being read
    // when there are any, with the first of them in its tool tip.
    void SetUnreadableFolders(unsigned long long count, const QString& details);

protected:
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    QWidget* LabelPanel = nullptr;
    QLabel* DiscTitleLabel = nullptr;
    QLabel* CurrentDirectoryLabel = nullptr;
    QWidget* ButtonPanel = nullptr;
    QToolButton* StopReadingButton = nullptr;
    QLabel* ArchivesNotWholeLabel = nullptr;
    unsigned long long FArchivesNotWhole = 0;
    QLabel* UnreadableFoldersLabel = nullptr;
    unsigned long long FUnreadableFolders = 0;
    QString FCurrentDirectory;
    std::string FNotedDirectory;
    bool FNotedDirectoryShown = true;
    QElapsedTimer FSinceEvents;
};

} // namespace orlenta
